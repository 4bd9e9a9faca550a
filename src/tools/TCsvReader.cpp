#include "tools/TCsvReader.h"

#include "tools/TTextEncoding.h"

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

TCsvReader::TCsvReader(std::istream& in) : mIn(in), mBuffer(1 << 16) {}

int TCsvReader::Peek()
{
    if (mPos == mEnd) {
        mIn.read(mBuffer.data(), static_cast<std::streamsize>(mBuffer.size()));
        mEnd = static_cast<size_t>(mIn.gcount());
        mPos = 0;
        if (mEnd == 0)
            return -1;
    }
    return static_cast<unsigned char>(mBuffer[mPos]);
}

int TCsvReader::Get()
{
    const int c = Peek();
    if (c >= 0) {
        ++mPos;
        ++mBytesRead;
    }
    return c;
}

bool TCsvReader::Next(std::vector<std::string>& fields)
{
    fields.clear();
    if (!mStarted) {
        mStarted = true;
        // The first read fills the buffer, so a mark is either whole in it or absent.
        if (Peek() == 0xEF && mEnd - mPos >= 3 && mBuffer[mPos + 1] == '\xBB' &&
            mBuffer[mPos + 2] == '\xBF') {
            mPos += 3;
            mBytesRead += 3;
        }
    }

    // Skip empty lines.
    for (;;) {
        const int c = Peek();
        if (c < 0)
            return false;
        if (c == '\r') {
            Get();
            if (Peek() == '\n')
                Get();
            ++mLine;
        } else if (c == '\n') {
            Get();
            ++mLine;
        } else {
            break;
        }
    }

    mRecordLine = mLine;
    std::string field;
    bool quoted = false;
    bool afterQuote = false; // the closing quote of a quoted field was read
    for (;;) {
        const int c = Get();
        if (quoted) {
            if (c < 0)
                throw TCsvError(mRecordLine, "a quoted field is not closed before the end of the file");
            if (c == '"') {
                if (Peek() == '"') {
                    Get();
                    field += '"';
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == '\n' || (c == '\r' && Peek() != '\n'))
                    ++mLine;
                field += static_cast<char>(c);
            }
            continue;
        }
        if (c < 0 || c == '\n' || c == '\r') {
            if (c == '\r' && Peek() == '\n')
                Get();
            if (c >= 0)
                ++mLine;
            fields.push_back(std::move(field));
            return true;
        }
        if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
            afterQuote = false;
            continue;
        }
        if (afterQuote)
            throw TCsvError(mLine, "text after the closing quote of a field (a quote inside a "
                                   "quoted field must be doubled)");
        if (c == '"' && field.empty()) {
            quoted = true;
            continue;
        }
        field += static_cast<char>(c);
    }
}

} // namespace qm::tools
