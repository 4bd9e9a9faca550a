#include "xbase/TCodePage1252.h"

#include <cstdint>
#include <cstring>

namespace qm::xbase {

namespace {

// The characters of the bytes 0x80-0x9F; the rest of the code page equals Latin-1. The unassigned
// bytes stand for the C1 controls of the same value.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80-0x87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88-0x8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90-0x97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98-0x9F
};

// Pairs of (capital, small) letters outside ASCII and outside the regular 0xC0/0xE0 rows.
constexpr unsigned char kExtraPairs[][2] = {
    {0x8A, 0x9A}, // S caron
    {0x8C, 0x9C}, // ligature OE
    {0x8E, 0x9E}, // Z caron
    {0x9F, 0xFF}, // Y diaeresis
};

struct TMaps {
    TCodePage1252::TCaseMap upper{};
    TCodePage1252::TCaseMap lower{};
};

constexpr TMaps MakeMaps()
{
    TMaps m;
    for (int i = 0; i < 256; ++i) {
        m.upper[i] = static_cast<unsigned char>(i);
        m.lower[i] = static_cast<unsigned char>(i);
    }
    auto pair = [&m](int capital, int small) {
        m.upper[small] = static_cast<unsigned char>(capital);
        m.lower[capital] = static_cast<unsigned char>(small);
    };
    for (int c = 'A'; c <= 'Z'; ++c)
        pair(c, c + 0x20);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7) // the multiplication sign; 0xF7 is the division sign
            pair(c, c + 0x20);
    for (const auto& p : kExtraPairs)
        pair(p[0], p[1]);
    return m;
}

constexpr TMaps kMaps = MakeMaps();

static_assert(kMaps.upper[0xE9] == 0xC9, "e acute");
static_assert(kMaps.upper[0xFF] == 0x9F, "y diaeresis");
static_assert(kMaps.upper[0xDF] == 0xDF, "sharp s has no capital");
static_assert(kMaps.upper[0xF7] == 0xF7 && kMaps.lower[0xD7] == 0xD7, "signs are not letters");
static_assert(kMaps.lower[0x8C] == 0x9C, "ligature OE");

} // namespace

const TCodePage1252::TCaseMap& TCodePage1252::UpperMap()
{
    return kMaps.upper;
}

const TCodePage1252::TCaseMap& TCodePage1252::LowerMap()
{
    return kMaps.lower;
}

void TCodePage1252::Upper(const char* src, char* dst, std::size_t n)
{
    const auto& map = kMaps.upper;
    std::size_t i = 0;
    // Eight bytes at a time while they are ASCII: a byte in 'a'..'z' gets its 0x20 bit cleared.
    // With every byte below 0x80 the additions cannot carry from one byte into the next.
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, src + i, 8);
        if (w & kHigh) {
            for (std::size_t k = i; k < i + 8; ++k)
                dst[k] = static_cast<char>(map[static_cast<unsigned char>(src[k])]);
            continue;
        }
        const uint64_t atLeastA = w + kOnes * (0x80 - 'a');
        const uint64_t aboveZ = w + kOnes * (0x80 - 'z' - 1);
        w ^= ((atLeastA & ~aboveZ) & kHigh) >> 2;
        std::memcpy(dst + i, &w, 8);
    }
    for (; i < n; ++i)
        dst[i] = static_cast<char>(map[static_cast<unsigned char>(src[i])]);
}

void TCodePage1252::Lower(const char* src, char* dst, std::size_t n)
{
    const auto& map = kMaps.lower;
    for (std::size_t i = 0; i < n; ++i)
        dst[i] = static_cast<char>(map[static_cast<unsigned char>(src[i])]);
}

std::string TCodePage1252::Upper(std::string_view text)
{
    std::string out(text.size(), '\0');
    Upper(text.data(), out.data(), text.size());
    return out;
}

std::string TCodePage1252::Lower(std::string_view text)
{
    std::string out(text.size(), '\0');
    Lower(text.data(), out.data(), text.size());
    return out;
}

char32_t TCodePage1252::CodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : char32_t(byte);
}

int TCodePage1252::ByteOf(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return int(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == codePoint)
            return 0x80 + i;
    return -1;
}

std::string TCodePage1252::ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        const char32_t cp = CodePoint(static_cast<unsigned char>(c));
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace qm::xbase
