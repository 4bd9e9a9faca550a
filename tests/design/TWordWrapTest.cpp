// Word wrap: lines never wider than the width, breaks at blanks, long words cut, line breaks.

#include "design/text/TWordWrap.h"

#include <gtest/gtest.h>

namespace qm::design {
namespace {

// Every character one unit wide.
double Chars(const QString& text)
{
    return double(text.size());
}

TEST(TWordWrapTest, BreaksAtBlanksAndDropsThem)
{
    EXPECT_EQ(TWordWrap::WrapLine("the quick brown fox", 10, Chars),
              (QStringList{"the quick", "brown fox"}));
    EXPECT_EQ(TWordWrap::WrapLine("a  b", 10, Chars), QStringList{"a  b"});
    EXPECT_EQ(TWordWrap::WrapLine("one     two", 5, Chars), (QStringList{"one", "two"}));
}

TEST(TWordWrapTest, LongWordsAreCutAtTheWidth)
{
    EXPECT_EQ(TWordWrap::WrapLine("abcdefghij xy", 4, Chars),
              (QStringList{"abcd", "efgh", "ij", "xy"}));
}

TEST(TWordWrapTest, NoLineIsWiderThanTheWidth)
{
    const QString text = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do "
                         "eiusmod tempor incididunt ut labore et dolore magna aliqua.";
    for (int width = 1; width <= 30; ++width)
        for (const QString& line : TWordWrap::WrapLine(text, width, Chars))
            EXPECT_LE(line.size(), width) << width << ": " << line.toStdString();
}

TEST(TWordWrapTest, CharacterWiderThanTheWidthStillEnds)
{
    auto wide = [](const QString& t) { return 10.0 * double(t.size()); };
    EXPECT_EQ(TWordWrap::WrapLine("ab", 5, wide), (QStringList{"a", "b"}));
}

TEST(TWordWrapTest, EmptyLinesAndNonPositiveWidthsStay)
{
    EXPECT_EQ(TWordWrap::Wrap({"", "abc def"}, 3, Chars), (QStringList{"", "abc", "def"}));
    EXPECT_EQ(TWordWrap::WrapLine("abc def", 0, Chars), QStringList{"abc def"});
}

TEST(TWordWrapTest, SplitLinesAtEveryKindOfBreak)
{
    EXPECT_EQ(TWordWrap::SplitLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(TWordWrap::SplitLines("a\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(TWordWrap::SplitLines(""), QStringList{""});
}

} // namespace
} // namespace qm::design
