#pragma once

// Windows-1252, the code page of every table the program writes: the one table of its characters
// (every other layer converts through CodePoint and ByteOf), and letter case. The five bytes the
// code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control characters
// of the same value, so every byte converts to a character and back unchanged.
//
// Letter case: besides ASCII the
// maps cover the accented letters of 0xC0-0xFE (except the multiplication and division signs) and
// the letters placed in 0x80-0x9F: š/Š, œ/Œ, ž/Ž and ÿ/Ÿ. ß and µ have no single-byte capital and
// map to themselves, as do all bytes that are not letters.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qm::xbase {

class TCodePage1252 {
public:
    using TCaseMap = std::array<unsigned char, 256>;

    // Byte-to-byte tables; a tight loop may index them directly.
    static const TCaseMap& UpperMap();
    static const TCaseMap& LowerMap();

    static char Upper(char c)
    {
        return static_cast<char>(UpperMap()[static_cast<unsigned char>(c)]);
    }
    static char Lower(char c)
    {
        return static_cast<char>(LowerMap()[static_cast<unsigned char>(c)]);
    }

    // Maps n bytes from src to dst (they may be the same buffer).
    static void Upper(const char* src, char* dst, std::size_t n);
    static void Lower(const char* src, char* dst, std::size_t n);
    static std::string Upper(std::string_view text);
    static std::string Lower(std::string_view text);

    // The Unicode character a byte stands for.
    static char32_t CodePoint(unsigned char byte);
    // The byte that stands for a character, or -1 when the code page has none.
    static int ByteOf(char32_t codePoint);
    // The text as UTF-8; every byte has a character, so nothing is lost.
    static std::string ToUtf8(std::string_view text);
};

} // namespace qm::xbase
