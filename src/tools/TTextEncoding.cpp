#include "tools/TTextEncoding.h"

#include "xbase/TCodePage1252.h"

#include <cstdint>
#include <cstdio>

namespace qm::tools {

namespace {

// Decodes one character at text[i]; advances i. Returns 0xFFFFFFFF for broken UTF-8.
char32_t NextCodePoint(std::string_view text, size_t& i)
{
    constexpr char32_t kBad = 0xFFFFFFFF;
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        ++i;
        return kBad;
    }
    if (i + extra >= text.size()) {
        i = text.size();
        return kBad;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            i += k;
            return kBad;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += extra + 1;
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kBad;
    return cp;
}

} // namespace

bool TTextEncoding::IsValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        if (NextCodePoint(bytes, i) == 0xFFFFFFFF)
            return false;
    }
    return true;
}

std::string TTextEncoding::Win1252ToUtf8(std::string_view text)
{
    return xbase::TCodePage1252::ToUtf8(text);
}

bool TTextEncoding::Utf8ToWin1252(std::string_view text, std::string& out, char32_t* badCodePoint)
{
    out.clear();
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const char32_t cp = NextCodePoint(text, i);
        const int byte = cp == 0xFFFFFFFF ? -1 : xbase::TCodePage1252::ByteOf(cp);
        if (byte < 0) {
            if (badCodePoint)
                *badCodePoint = cp == 0xFFFFFFFF ? 0xFFFD : cp;
            return false;
        }
        out += static_cast<char>(byte);
    }
    return true;
}

std::string TTextEncoding::CodePointName(char32_t cp)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    return buffer;
}

} // namespace qm::tools
