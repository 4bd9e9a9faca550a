// Every kind of bad RTF the reader meets: refused with a message and offset (nesting, \bin,
// size), or read past with a repair (values out of range, bad escapes, unknown numbers,
// unbalanced braces, unusable pages).

#include "TRtfTestSupport.h"

#include <gtest/gtest.h>

using namespace qm::richtext;
using namespace qm::richtext::test;

namespace {

QByteArray Nested(int depth)
{
    QByteArray bytes("{\\rtf1 ");
    bytes += QByteArray(depth - 1, '{') + "deep" + QByteArray(depth - 1, '}') + "}";
    return bytes;
}

} // namespace

TEST(TRtfFaultTest, NestingUpToTheLimitReadsAndOneMoreIsRefused)
{
    QTextDocument document;
    auto result = TRtfReader::Read(Nested(TRtfReader::MaxNesting), document);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(document.toPlainText(), "deep");
    result = TRtfReader::Read(Nested(TRtfReader::MaxNesting + 1), document);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("1,000"));
    EXPECT_EQ(result.offset, 7 + TRtfReader::MaxNesting - 1);
    EXPECT_TRUE(document.isEmpty());
    // Far deeper input does not exhaust the stack: the parser keeps its own.
    result = TRtfReader::Read(Nested(200000), document);
    EXPECT_FALSE(result.ok);
}

TEST(TRtfFaultTest, BinWithNegativeCountOrPastTheEndIsRefused)
{
    QTextDocument document;
    auto result = TRtfReader::Read("{\\rtf1 a\\bin-5 xxxxx}", document);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.offset, 8);
    result = TRtfReader::Read("{\\rtf1 a\\bin2147483647 xx}", document);
    EXPECT_FALSE(result.ok);
    result = TRtfReader::Read("{\\rtf1 a\\bin99999999999999999999 xx}", document);
    EXPECT_FALSE(result.ok);
    // A count that fits is skipped as data, braces and backslashes inside included.
    result = TRtfReader::Read("{\\rtf1 a\\bin4 {\\}xb}", document);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(document.toPlainText(), "ab");
}

TEST(TRtfFaultTest, UnicodeOutOfRangeAndLoneSurrogatesBecomeReplacementCharacters)
{
    QTextDocument document;
    auto result =
        TRtfReader::Read("{\\rtf1 \\u-32769?\\u65536?\\u-32768?\\u65535?\\u2147483648?}", document);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(document.toPlainText(), QString::fromUtf16(u"\uFFFD\uFFFD\u8000\uFFFF\uFFFD"));
    EXPECT_GE(result.repairs, 3);
    // A pair gives its character; a high half alone, a low half alone, or two highs do not.
    TRtfReader::Read(
        "{\\rtf1 \\u-10179?\\u-8704?|\\u-10179?x|\\u-8704?|\\u-10179?\\u-10179?\\u-8704?}",
        document);
    EXPECT_EQ(document.toPlainText(),
              QString::fromUtf16(u"\U0001F600|\uFFFDx|\uFFFD|\uFFFD\U0001F600"));
    // Control characters and the document's own markers are not taken from \uN; U+2029 ends the
    // paragraph.
    TRtfReader::Read("{\\rtf1 \\u1?\\u65532?\\u-560?\\u-559?x\\u8233?y}", document);
    EXPECT_EQ(Paragraphs(document), QStringList({"x", "y"}));
    // A high half at the very end stays a replacement character.
    TRtfReader::Read("{\\rtf1 a\\u-10179?}", document);
    EXPECT_EQ(document.toPlainText(), QString::fromUtf16(u"a\uFFFD"));
}

TEST(TRtfFaultTest, ParametersBeyondTheirRangeAreClamped)
{
    QTextDocument document;
    auto result =
        TRtfReader::Read(Rtf("\\fs99999999999999 a\\fs0 b\\fs-4 c\\fs3277 d\\fs3 e"), document);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(FormatAt(document, 0).fontPointSize(), 1638);
    EXPECT_EQ(FormatAt(document, 1).fontPointSize(), 1);
    EXPECT_EQ(FormatAt(document, 2).fontPointSize(), 1);
    EXPECT_EQ(FormatAt(document, 3).fontPointSize(), 1638);
    EXPECT_EQ(FormatAt(document, 4).fontPointSize(), 1.5);
    EXPECT_GE(result.repairs, 4);
    // Huge indents and spacing stay within a page's range.
    result = TRtfReader::Read(Rtf("\\li2147483647\\sb-5\\sl-2147483648 x"), document);
    ASSERT_TRUE(result.ok);
    EXPECT_LE(document.begin().blockFormat().leftMargin(), 31680.0);
    EXPECT_EQ(document.begin().blockFormat().topMargin(), 0);
}

TEST(TRtfFaultTest, UnusablePagesGiveTheDefaultPage)
{
    QTextDocument document;
    for (const char* page : {"\\paperw0", "\\paperw31681", "\\paperh-1", "\\paperw99999999999",
                             "\\margl6120\\margr6120", "\\margt8000\\margb7840", "\\margl-1"}) {
        const auto result = TRtfReader::Read(Rtf((QByteArray(page) + " x").constData()), document);
        ASSERT_TRUE(result.ok) << page;
        EXPECT_FALSE(result.layoutFromText) << page;
        EXPECT_EQ(result.layout, TPageLayout::Default()) << page;
    }
    const auto largest = TRtfReader::Read(
        Rtf("\\paperw31680\\paperh31680\\margl0\\margr0\\margt0\\margb31679 x"), document);
    EXPECT_TRUE(largest.layoutFromText);
}

TEST(TRtfFaultTest, BadHexEscapesAreDroppedAndTheTextAfterThemKept)
{
    QTextDocument document;
    const auto result = TRtfReader::Read("{\\rtf1 a\\'zzb\\'4 c\\'}", document);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(document.toPlainText(), "azzb4 c");
    EXPECT_EQ(result.repairs, 3);
}

TEST(TRtfFaultTest, UnknownFontAndColourNumbersFallBackToTheDefaults)
{
    QTextDocument document;
    TRtfReader::Read(Rtf("\\f1 a\\f77 b\\cf1 c\\cf9 d\\highlight2 e\\highlight-3 f\\cf0 g"),
                     document);
    EXPECT_EQ(Family(FormatAt(document, 0)), "Times New Roman");
    EXPECT_EQ(Family(FormatAt(document, 1)), "Arial"); // \deff0
    EXPECT_EQ(FormatAt(document, 2).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(FormatAt(document, 3).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(FormatAt(document, 4).background().color(), QColor(0, 0, 255));
    EXPECT_FALSE(FormatAt(document, 5).hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_FALSE(FormatAt(document, 6).hasProperty(QTextFormat::ForegroundBrush));
    // No font table at all: the document's default font.
    QTextDocument bare;
    bare.setDefaultFont(QFont("Courier New", 9));
    TRtfReader::Read("{\\rtf1 \\f3 x}", bare);
    EXPECT_EQ(Family(FormatAt(bare, 0)), "Courier New");
}

TEST(TRtfFaultTest, UnbalancedBracesKeepTheTextReadSoFar)
{
    QTextDocument document;
    auto result = TRtfReader::Read("{\\rtf1 one\\par {\\b two", document);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Paragraphs(document), QStringList({"one", "two"}));
    EXPECT_EQ(result.repairs, 1);
    // Text after the outermost group closes is not part of the document.
    result = TRtfReader::Read("{\\rtf1 one}} two {\\b three}", document);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(document.toPlainText(), "one");
}

TEST(TRtfFaultTest, InputOverSixteenMegabytesIsRefusedBeforeReading)
{
    QByteArray bytes = Rtf("x");
    bytes.append(QByteArray(TRtfReader::MaxInputBytes - bytes.size(), ' '));
    QTextDocument document;
    EXPECT_TRUE(TRtfReader::Read(bytes, document).ok);
    bytes.append(' ');
    const auto result = TRtfReader::Read(bytes, document);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("16 MB"));
}

TEST(TRtfFaultTest, TruncatedInputEndsCleanly)
{
    // Every prefix of a text with each construct reads without a fault the reader must refuse.
    const QByteArray full =
        Rtf("\\f1\\fs20 a\\'e9{\\field{\\*\\fldinst x}{\\fldrslt y}}\\u937?\\par"
            "{\\pict\\pngblip 89504e47}\\trowd\\intbl c\\cell\\row");
    QTextDocument document;
    for (qsizetype n = 0; n <= full.size(); ++n) {
        const auto result = TRtfReader::Read(full.left(n), document);
        EXPECT_TRUE(result.ok) << n;
    }
}
