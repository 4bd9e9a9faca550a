#include "xbase/TKeyEncoding.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using qm::xbase::TKeyEncoding;

TEST(TKeyEncoding, NumericKeysSortAsBytesInValueOrder)
{
    const std::vector<double> values = {-1e300, -12.5, -1, -0.001, 0, 0.001, 1, 2, 12.5, 1e300};
    std::vector<std::string> keys;
    for (double v : values) {
        std::string key;
        TKeyEncoding::Numeric(v, key);
        ASSERT_EQ(key.size(), 8u);
        EXPECT_EQ(TKeyEncoding::DecodeNumeric(key), v);
        keys.push_back(key);
    }
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    std::string negativeZero, zero;
    TKeyEncoding::Numeric(-0.0, negativeZero);
    TKeyEncoding::Numeric(0.0, zero);
    EXPECT_EQ(negativeZero, zero);
}

TEST(TKeyEncoding, DatesAreJulianDaysAndInvalidDatesAreEmpty)
{
    EXPECT_EQ(TKeyEncoding::JulianDay(2000, 1, 1), 2451545);
    EXPECT_EQ(TKeyEncoding::JulianDay(1970, 1, 1), 2440588);
    EXPECT_EQ(TKeyEncoding::JulianDay(2023, 2, 29), 0);
    EXPECT_EQ(TKeyEncoding::JulianDay(2024, 2, 29), 2460370);
    std::string key, empty;
    TKeyEncoding::Date("20000101", key);
    EXPECT_EQ(TKeyEncoding::DecodeNumeric(key), 2451545.0);
    TKeyEncoding::Date("        ", empty);
    EXPECT_EQ(TKeyEncoding::DecodeNumeric(empty), 0.0);
    EXPECT_LT(empty, key);
}

TEST(TKeyEncoding, CharacterKeysArePaddedOrCut)
{
    std::string key;
    TKeyEncoding::Character("SMITH", 8, key);
    EXPECT_EQ(key, "SMITH   ");
    TKeyEncoding::Character("SMITHERSON", 8, key);
    EXPECT_EQ(key, "SMITHERS");
}
