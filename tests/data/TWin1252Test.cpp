#include "data/TWin1252.h"

#include <gtest/gtest.h>

using qm::data::TWin1252;

TEST(TWin1252, RoundTripsEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = TWin1252::Decode(all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9C], QChar(0x0153));
    EXPECT_EQ(text[0xE9], QChar(0x00E9));
    EXPECT_EQ(TWin1252::Encode(text), all);
}

TEST(TWin1252, RefusesWhatItCannotHoldAndNamesTheCharacter)
{
    QChar bad;
    EXPECT_FALSE(TWin1252::Encode(QString::fromUtf8("Müller → Smith"), &bad));
    EXPECT_EQ(bad, QChar(0x2192));
    EXPECT_TRUE(TWin1252::CanEncode(QString::fromUtf8("Šťastný")) == false);
    EXPECT_TRUE(TWin1252::CanEncode(QString::fromUtf8("Œuvre – “quoted” €5")));
}

TEST(TWin1252, TextFilesAreUtf8WhenValidElseWindows1252)
{
    EXPECT_EQ(TWin1252::DecodeTextFile("\xEF\xBB\xBFJos\xC3\xA9"), QString::fromUtf8("José"));
    EXPECT_EQ(TWin1252::DecodeTextFile("Jos\xE9"), QString::fromUtf8("José"));
    EXPECT_EQ(TWin1252::DecodeTextFile("\x93quoted\x94"), QString::fromUtf8("“quoted”"));
}

TEST(TWin1252, UpperFollowsTheEngineAndKeepsTheLength)
{
    EXPECT_EQ(TWin1252::Upper(QString::fromUtf8("müller straße œuvre ÿ š")),
              QString::fromUtf8("MÜLLER STRAßE ŒUVRE Ÿ Š"));
    EXPECT_EQ(TWin1252::Upper(QString::fromUtf8("µ ł")), QString::fromUtf8("µ ł"));
}
