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
    EXPECT_EQ(TCodePage1252::Upper("\xE9\xFC\x9A\x9C\xFF\xE7\xF1\xF8"),
              "\xC9\xDC\x8A\x8C\x9F\xC7\xD1\xD8");
    EXPECT_EQ(TCodePage1252::Lower("\xC9\xDC\x8A\x8C\x9F\xC7\xD1\xD8"),
              "\xE9\xFC\x9A\x9C\xFF\xE7\xF1\xF8");
    // Not letters, or letters without a single-byte capital.
    EXPECT_EQ(TCodePage1252::Upper("\xF7\xD7\xDF\xB5\x80 1_"), "\xF7\xD7\xDF\xB5\x80 1_");
    EXPECT_EQ(TCodePage1252::Lower("\xF7\xD7\xDF\xB5\x80 1_"), "\xF7\xD7\xDF\xB5\x80 1_");
}

TEST(TCodePage1252, UpperOfLongTextAgreesWithTheMapAtEveryAlignment)
{
    // Long runs go through the eight-byte path; every byte value at every offset must agree with
    // the byte-by-byte map.
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += char(c);
    for (size_t shift = 0; shift < 9; ++shift) {
        const std::string text = std::string(shift, 'q') + all + all.substr(0x20, 0x60);
        const std::string upper = TCodePage1252::Upper(text);
        ASSERT_EQ(upper.size(), text.size());
        for (size_t i = 0; i < text.size(); ++i)
            ASSERT_EQ(upper[i], TCodePage1252::Upper(text[i]))
                << "byte " << int(uint8_t(text[i])) << " at " << i;
    }
    std::string inPlace = "abcdefghijklmnopqrstuvwxyz{|}~`@[\\]^_";
    TCodePage1252::Upper(inPlace.data(), inPlace.data(), inPlace.size());
    EXPECT_EQ(inPlace, "ABCDEFGHIJKLMNOPQRSTUVWXYZ{|}~`@[\\]^_");
}

TEST(TCodePage1252, EveryByteConvertsToItsCharacterAndBackAndTheUnassignedOnesAreC1Controls)
{
    for (int b = 0; b < 256; ++b)
        ASSERT_EQ(TCodePage1252::ByteOf(TCodePage1252::CodePoint(uint8_t(b))), b) << b;
    // The five bytes the code page leaves unassigned stand for the controls of the same value,
    // in both directions.
    for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(TCodePage1252::CodePoint(uint8_t(b)), char32_t(b)) << b;
        EXPECT_EQ(TCodePage1252::ByteOf(char32_t(b)), b) << b;
    }
    EXPECT_EQ(TCodePage1252::CodePoint(0x80), U'\u20AC');
    EXPECT_EQ(TCodePage1252::ByteOf(U'\u20AC'), 0x80);
    EXPECT_EQ(TCodePage1252::CodePoint(0x9F), U'\u0178');
    EXPECT_EQ(TCodePage1252::CodePoint(0xE9), U'\u00E9');
    EXPECT_EQ(TCodePage1252::ByteOf(U'\u0100'), -1);
    EXPECT_EQ(TCodePage1252::ByteOf(U'\u2603'), -1);
    EXPECT_EQ(TCodePage1252::ByteOf(U'\U0001F600'), -1);
}
