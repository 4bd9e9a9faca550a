#pragma once

// How typed values become index keys that sort as bytes (memcmp), as FoxPro's CDX and IDX files
// store them:
// - Character: the text's bytes, padded with blanks (or cut) to the key length.
// - Numeric and date: 8 bytes, the IEEE-754 double in big-endian order with the sign bit flipped
//   for values >= 0 and every bit flipped for negative values. A date is its Julian day number
//   (an empty date is 0).
// - Logical: one byte, 'T' or 'F'.

#include <cstdint>
#include <string>
#include <string_view>

namespace qm::xbase {

enum class TKeyType : char { Character = 'C', Numeric = 'N', Date = 'D', Logical = 'L' };

class TKeyEncoding {
public:
    static constexpr int kNumericKeyLength = 8;

    static void Character(std::string_view text, int keyLength, std::string& out);
    static void Numeric(double value, std::string& out);
    static double DecodeNumeric(std::string_view key);
    static void Logical(bool value, std::string& out);

    // Julian day number of a Gregorian date; 0 for an invalid or empty date.
    static int64_t JulianDay(int year, int month, int day);
    // "YYYYMMDD" (a stored D field) to its key; blanks give the empty date.
    static void Date(std::string_view yyyymmdd, std::string& out);
};

} // namespace qm::xbase
