#include "tools/TTextEncoding.h"

#include <gtest/gtest.h>

using qm::tools::TTextEncoding;

TEST(TTextEncoding, EveryWindows1252ByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = TTextEncoding::Win1252ToUtf8(all);
    EXPECT_TRUE(TTextEncoding::IsValidUtf8(utf8));
    std::string back;
    char32_t bad = 0;
    ASSERT_TRUE(TTextEncoding::Utf8ToWin1252(utf8, back, &bad));
    EXPECT_EQ(back, all);
    // The letters placed in 0x80-0x9F map to their own characters.
    EXPECT_EQ(TTextEncoding::Win1252ToUtf8("\x80\x8A\x9C\x9F\xE9"), "€ŠœŸé");
}

TEST(TTextEncoding, CharactersOutsideTheCodePageAreReportedNotReplaced)
{
    std::string out;
    char32_t bad = 0;
    EXPECT_FALSE(TTextEncoding::Utf8ToWin1252("Zoë → Ann", out, &bad));
    EXPECT_EQ(bad, U'→');
    EXPECT_EQ(TTextEncoding::CodePointName(bad), "U+2192");
    EXPECT_FALSE(TTextEncoding::Utf8ToWin1252("名", out, &bad));
    EXPECT_EQ(bad, U'名');
    // Broken UTF-8: a lone continuation byte, a cut sequence, an overlong form, a surrogate.
    for (const char* broken : {"a\x80", "ab\xC3", "\xC0\xAF", "\xED\xA0\x80"}) {
        SCOPED_TRACE(broken);
        EXPECT_FALSE(TTextEncoding::IsValidUtf8(broken));
        EXPECT_FALSE(TTextEncoding::Utf8ToWin1252(broken, out, &bad));
        EXPECT_EQ(bad, 0xFFFDu);
    }
    EXPECT_TRUE(TTextEncoding::IsValidUtf8("plain ascii, é, 😀"));
}
