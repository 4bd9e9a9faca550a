#include "xbase/TCodePage1252.h"

#include <gtest/gtest.h>

using qm::xbase::TCodePage1252;

TEST(TCodePage1252, UpperAndLowerAreInversesOnEveryCasedLetter)
{
    int pairs = 0;
    for (int c = 0; c < 256; ++c) {
        const char ch = char(c);
        const char up = TCodePage1252::Upper(ch);
        if (up != ch) {
            ++pairs;
            EXPECT_EQ(TCodePage1252::Lower(up), ch) << c;
            EXPECT_EQ(TCodePage1252::Upper(up), up) << c;
        }
    }
    // a-z, 0xE0-0xFE without the division sign, and s/oe/z caron and y diaeresis.
    EXPECT_EQ(pairs, 26 + 30 + 4);
}

TEST(TCodePage1252, AccentedNamesMapAsUsersExpect)
{
    EXPECT_EQ(TCodePage1252::Upper("\xE9\xFC\x9A\x9C\xFF\xE7\xF1\xF8"), "\xC9\xDC\x8A\x8C\x9F\xC7\xD1\xD8");
    EXPECT_EQ(TCodePage1252::Lower("\xC9\xDC\x8A\x8C\x9F\xC7\xD1\xD8"), "\xE9\xFC\x9A\x9C\xFF\xE7\xF1\xF8");
    // Not letters, or letters without a single-byte capital.
    EXPECT_EQ(TCodePage1252::Upper("\xF7\xD7\xDF\xB5\x80 1_"), "\xF7\xD7\xDF\xB5\x80 1_");
    EXPECT_EQ(TCodePage1252::Lower("\xF7\xD7\xDF\xB5\x80 1_"), "\xF7\xD7\xDF\xB5\x80 1_");
}
