#include "xbase/TKeyEncoding.h"

#include <bit>
#include <cstring>

namespace qm::xbase {

void TKeyEncoding::Character(std::string_view text, int keyLength, std::string& out)
{
    out.assign(text.substr(0, size_t(keyLength)));
    out.resize(size_t(keyLength), ' ');
}

void TKeyEncoding::Numeric(double value, std::string& out)
{
    if (value == 0.0)
        value = 0.0; // -0.0 sorts with 0
    uint64_t bits = std::bit_cast<uint64_t>(value);
    bits = (bits & (uint64_t(1) << 63)) ? ~bits : bits | (uint64_t(1) << 63);
    out.resize(8);
    for (int i = 0; i < 8; ++i)
        out[size_t(i)] = char((bits >> (56 - 8 * i)) & 0xFF);
}

double TKeyEncoding::DecodeNumeric(std::string_view key)
{
    uint64_t bits = 0;
    for (size_t i = 0; i < 8 && i < key.size(); ++i)
        bits = (bits << 8) | uint8_t(key[i]);
    bits = (bits & (uint64_t(1) << 63)) ? bits & ~(uint64_t(1) << 63) : ~bits;
    return std::bit_cast<double>(bits);
}

void TKeyEncoding::Logical(bool value, std::string& out)
{
    out.assign(1, value ? 'T' : 'F');
}

int64_t TKeyEncoding::JulianDay(int year, int month, int day)
{
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return 0;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > kDays[month - 1] + ((month == 2 && leap) ? 1 : 0))
        return 0;
    const int a = (14 - month) / 12;
    const int64_t y = int64_t(year) + 4800 - a;
    const int m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

void TKeyEncoding::Date(std::string_view s, std::string& out)
{
    int64_t jd = 0;
    if (s.size() >= 8) {
        int v[8];
        bool digits = true;
        for (int i = 0; i < 8; ++i) {
            digits = digits && s[size_t(i)] >= '0' && s[size_t(i)] <= '9';
            v[i] = s[size_t(i)] - '0';
        }
        if (digits)
            jd = JulianDay(v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5],
                           v[6] * 10 + v[7]);
    }
    Numeric(double(jd), out);
}

} // namespace qm::xbase
