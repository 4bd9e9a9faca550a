#pragma once

// The two DOS code pages that xBase tables of other software are most often marked with: 437 (the
// original IBM PC set) and 850 (DOS Latin 1). Bytes below 0x80 are ASCII in both; the tables give
// the Unicode character of every byte from 0x80 to 0xFF, so that a table written under DOS can be
// taken into Windows-1252 (or refused where a character has no place there).

#include <array>
#include <cstdint>

namespace qm::xbase {

class TCodePageDos {
public:
    using TUpperHalf = std::array<char16_t, 128>;

    // The code-page marks (byte 29 of a DBF header) of the two pages.
    static constexpr uint8_t kMark437 = 0x01;
    static constexpr uint8_t kMark850 = 0x02;

    static const TUpperHalf& Page437();
    static const TUpperHalf& Page850();

    // The Unicode character of a byte in page 437 or 850.
    static char16_t ToUnicode(const TUpperHalf& page, unsigned char byte)
    {
        return byte < 0x80 ? char16_t(byte) : page[byte - 0x80];
    }
};

} // namespace qm::xbase
