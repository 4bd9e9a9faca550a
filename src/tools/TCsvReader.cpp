#include "tools/TCsvReader.h"

#include "tools/TTextEncoding.h"

#include <cstring>
#include <istream>
#include <memory>

namespace qm::tools {

TCsvError::TCsvError(int64_t line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), mLine(line)
{
}

TCsvReader::TEncoding TCsvReader::TextEncodingOf(std::istream& in)
{
    // Checked in chunks; a character cut at a chunk's end is carried into the next chunk.
    constexpr size_t kChunk = 1 << 16;
    std::string carry;
    const std::unique_ptr<char[]> buffer(new char[kChunk]); // not zero-filled: read over at once
    bool valid = true;
    while (valid && in) {
        in.read(buffer.get(), static_cast<std::streamsize>(kChunk));
        const auto got = static_cast<size_t>(in.gcount());
        if (got == 0)
            break;
        std::string text = carry;
        text.append(buffer.get(), got);
        // Keep up to 3 trailing bytes of an unfinished sequence for the next round.
        size_t cut = text.size();
        for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
            const auto b = static_cast<unsigned char>(text[text.size() - back]);
            if ((b & 0xC0) == 0x80)
                continue;
            if (b >= 0xC0) {
                const size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
                if (need > back)
                    cut = text.size() - back;
            }
            break;
        }
        carry = text.substr(cut);
        valid = TTextEncoding::IsValidUtf8(std::string_view(text).substr(0, cut));
    }
    if (valid && !carry.empty())
        valid = false; // the file ends inside a character
    in.clear();
    in.seekg(0);
    return valid ? TEncoding::Utf8 : TEncoding::Windows1252;
}

TCsvReader::TCsvReader(std::istream& in) : mSource(in)
{
    transfer::TCsvRecordReader::TOptions options;
    options.maxFields = 1 << 30;
    options.maxFieldBytes = size_t(1) << 40;
    options.skipEmptyLines = true;
    options.strictQuotes = true;
    mReader = std::make_unique<transfer::TCsvRecordReader>(mSource, options);
}

size_t TCsvReader::TStreamSource::Read(char* buffer, size_t size)
{
    in.read(buffer, static_cast<std::streamsize>(size));
    size_t got = static_cast<size_t>(in.gcount());
    if (!started) {
        started = true;
        // The first read fills the buffer, so a mark is either whole in it or absent.
        if (got >= 3 && std::memcmp(buffer, "\xEF\xBB\xBF", 3) == 0) {
            std::memmove(buffer, buffer + 3, got - 3);
            got -= 3;
            consumed += 3;
        }
    }
    consumed += int64_t(got);
    return got;
}

bool TCsvReader::Next(std::vector<std::string>& fields)
{
    fields.clear();
    try {
        if (!mReader->Next())
            return false;
    } catch (const transfer::TCsvFormatError& error) {
        if (error.Kind() == transfer::TCsvFormatError::TKind::Unclosed)
            throw TCsvError(error.Line(),
                            "a quoted field is not closed before the end of the file");
        throw TCsvError(error.Line(), "text after the closing quote of a field (a quote inside a "
                                      "quoted field must be doubled)");
    }
    for (int i = 0; i < mReader->FieldCount(); ++i)
        fields.emplace_back(mReader->Field(i));
    return true;
}

} // namespace qm::tools
