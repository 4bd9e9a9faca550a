#include "tools/TTextEncoding.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace qm::tools {

namespace {

// Code points of the bytes 0x80-0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(char32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

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
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            AppendUtf8(kHighControls[b - 0x80], out);
        else
            AppendUtf8(b, out);
    }
    return out;
}

bool TTextEncoding::Utf8ToWin1252(std::string_view text, std::string& out, char32_t* badCodePoint)
{
    out.clear();
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const char32_t cp = NextCodePoint(text, i);
        char byte = 0;
        bool ok = false;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            byte = static_cast<char>(cp);
            ok = true;
        } else {
            for (size_t k = 0; k < kHighControls.size(); ++k)
                if (kHighControls[k] == cp) {
                    byte = static_cast<char>(0x80 + k);
                    ok = true;
                    break;
                }
        }
        if (!ok) {
            if (badCodePoint)
                *badCodePoint = cp == 0xFFFFFFFF ? 0xFFFD : cp;
            return false;
        }
        out += byte;
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
