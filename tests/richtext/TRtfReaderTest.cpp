// The RTF subset as the reader takes it in: characters and paragraphs with their formats, the
// page, escapes, fields, tables and pictures, and what it leaves out.

#include "TRtfTestSupport.h"
#include "richtext/TTextUnits.h"

#include <QBuffer>
#include <QImage>
#include <QTextImageFormat>
#include <QUrl>
#include <gtest/gtest.h>

using namespace qm::richtext;
using namespace qm::richtext::test;

namespace {

TRtfReadResult ReadInto(QTextDocument& document, const QByteArray& bytes)
{
    return TRtfReader::Read(bytes, document);
}

QByteArray PngBytes()
{
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(TRtfReaderTest, CharacterFormatsFollowTheWordsAndGroups)
{
    QTextDocument document;
    const auto result = ReadInto(
        document,
        Rtf("\\f1\\fs28 Big {\\b bold}{\\i it}{\\ul u}\\cf1 red\\highlight2 hi\\plain  plain"));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(document.toPlainText(), "Big boldituredhi plain");
    EXPECT_EQ(Family(FormatAt(document, 0)), "Times New Roman");
    EXPECT_EQ(FormatAt(document, 0).fontPointSize(), 14);
    EXPECT_EQ(FormatAt(document, 4).fontWeight(), QFont::Bold);
    EXPECT_NE(FormatAt(document, 8).fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatAt(document, 8).fontItalic());
    EXPECT_TRUE(FormatAt(document, 10).fontUnderline());
    EXPECT_EQ(FormatAt(document, 11).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(FormatAt(document, 15).background().color(), QColor(0, 0, 255));
    const QTextCharFormat plain = FormatAt(document, 19);
    EXPECT_EQ(Family(plain), "Arial");
    EXPECT_EQ(plain.fontPointSize(), 12); // RTF's default size
    EXPECT_FALSE(plain.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(plain.hasProperty(QTextFormat::BackgroundBrush));
}

TEST(TRtfReaderTest, BoldAndItalicTurnOffWithAZeroParameter)
{
    QTextDocument document;
    ReadInto(document, Rtf("\\b a\\b0 b\\i c\\i0 d\\ul e\\ulnone f"));
    EXPECT_EQ(FormatAt(document, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatAt(document, 1).fontWeight(), QFont::Normal);
    EXPECT_TRUE(FormatAt(document, 2).fontItalic());
    EXPECT_FALSE(FormatAt(document, 3).fontItalic());
    EXPECT_TRUE(FormatAt(document, 4).fontUnderline());
    EXPECT_FALSE(FormatAt(document, 5).fontUnderline());
}

TEST(TRtfReaderTest, ParagraphFormatsApplyToTheParagraphTheyEnd)
{
    QTextDocument document;
    ReadInto(document, Rtf("\\pard\\qc\\li720\\ri360\\fi-360\\sb120\\sa240\\sl360\\slmult1 one\\par"
                           "\\pard\\qr\\sl-300\\slmult0 two\\par\\pard\\qj\\pagebb three"));
    ASSERT_EQ(Paragraphs(document), QStringList({"one", "two", "three"}));
    const QTextBlockFormat one = document.begin().blockFormat();
    EXPECT_EQ(one.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(TTextUnits::FormatToTwips(one.leftMargin()), 720);
    EXPECT_EQ(TTextUnits::FormatToTwips(one.rightMargin()), 360);
    EXPECT_EQ(TTextUnits::FormatToTwips(one.textIndent()), -360);
    EXPECT_EQ(TTextUnits::FormatToTwips(one.topMargin()), 120);
    EXPECT_EQ(TTextUnits::FormatToTwips(one.bottomMargin()), 240);
    EXPECT_EQ(one.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_EQ(one.lineHeight(), 150);
    const QTextBlockFormat two = document.begin().next().blockFormat();
    EXPECT_EQ(two.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(two.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_EQ(TTextUnits::FormatToTwips(two.lineHeight()), 300);
    const QTextBlockFormat three = document.lastBlock().blockFormat();
    EXPECT_TRUE(three.alignment() & Qt::AlignJustify);
    EXPECT_TRUE(three.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_FALSE(two.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

TEST(TRtfReaderTest, PageWordBreaksBeforeTheNextParagraphAndLineAndTabStayInIt)
{
    QTextDocument document;
    ReadInto(document, Rtf("a\\line b\\tab c\\page d\\par\\page e"));
    EXPECT_EQ(Paragraphs(document),
              QStringList({QString("a") + QChar::LineSeparator + "b\tc", "d", "e"}));
    EXPECT_TRUE(document.findBlockByNumber(1).blockFormat().pageBreakPolicy() &
                QTextFormat::PageBreak_AlwaysBefore);
    // A page break at the start of a paragraph marks that paragraph, adding none.
    EXPECT_TRUE(document.findBlockByNumber(2).blockFormat().pageBreakPolicy() &
                QTextFormat::PageBreak_AlwaysBefore);
}

TEST(TRtfReaderTest, PageSizeAndMarginsComeFromTheText)
{
    QTextDocument document;
    auto result = ReadInto(
        document, Rtf("\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1417\\margb1134 x"));
    ASSERT_TRUE(result.layoutFromText);
    EXPECT_EQ(result.layout, (TPageLayout{11906, 16838, 1134, 1134, 1417, 1134}));
    result = ReadInto(document, Rtf("x"));
    EXPECT_FALSE(result.layoutFromText);
    EXPECT_EQ(result.layout, TPageLayout::Default());
}

TEST(TRtfReaderTest, EscapesNamedCharactersAndUnicodeWithFallback)
{
    QTextDocument document;
    ReadInto(document, Rtf("caf\\'e9 \\'80 a\\~b\\-c\\_d \\lquote q\\rquote  \\ldblquote "
                           "Q\\rdblquote  \\endash \\emdash "
                           "\\u937?\\uc2\\u8364 xy!{\\uc0\\u65 B}\\{\\}\\\\"));
    EXPECT_EQ(
        document.toRawText(),
        QString::fromUtf16(
            u"café € a\u00A0b\u00ADc\u2011d \u2018q\u2019 \u201CQ\u201D \u2013\u2014Ω€!AB{}\\"));
}

TEST(TRtfReaderTest, FieldShowsItsResultAndIgnorableGroupsAndInfoAreSkipped)
{
    QTextDocument document;
    const auto result = ReadInto(
        document,
        Rtf("{\\info{\\title secret}}{\\stylesheet{\\s0 Normal;}}{\\*\\generator x;}"
            "{\\*\\unknownthing hidden}\\unknownword before "
            "{\\field{\\*\\fldinst HYPERLINK \"file:///etc/passwd\"}{\\fldrslt shown}} after"
            "{\\nonstandard kept}"));
    EXPECT_EQ(document.toPlainText(), "before shown afterkept");
    EXPECT_TRUE(result.dropped.isEmpty());
}

TEST(TRtfReaderTest, TableRowsBecomeTabSeparatedParagraphs)
{
    QTextDocument document;
    ReadInto(
        document,
        Rtf("\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl a\\cell b\\cell c\\cell\\row"
            "\\trowd\\cellx1000\\cellx2000\\pard\\intbl 1\\cell 2\\cell\\row\\pard after"));
    EXPECT_EQ(Paragraphs(document), QStringList({"a\tb\tc", "1\t2", "after"}));
}

TEST(TRtfReaderTest, PngPicturesAreKeptWithTheirBytesAndSize)
{
    const QByteArray png = PngBytes();
    QTextDocument document;
    const QByteArray body =
        "x{\\pict\\pngblip\\picw4\\pich2\\picwgoal1440\\pichgoal720 " + png.toHex() + "}y";
    const auto result = ReadInto(document, Rtf(body.constData()));
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(result.pictures.size(), 1);
    EXPECT_TRUE(result.dropped.isEmpty());
    EXPECT_EQ(document.toPlainText(), QString("x") + QChar::ObjectReplacementCharacter + "y");
    const QTextCharFormat format = FormatAt(document, 1);
    ASSERT_TRUE(format.isImageFormat());
    EXPECT_EQ(format.toImageFormat().name(), result.pictures.first());
    EXPECT_EQ(TTextUnits::FormatToTwips(format.toImageFormat().width()), 1440);
    EXPECT_EQ(TTextUnits::FormatToTwips(format.toImageFormat().height()), 720);
    EXPECT_EQ(document.resource(QTextDocument::ImageResource, QUrl(result.pictures.first()))
                  .toByteArray(),
              png);
}

TEST(TRtfReaderTest, OtherPicturesObjectsHeadersAndFootnotesAreDroppedAndNamedOnce)
{
    QTextDocument document;
    const auto result = ReadInto(
        document, Rtf("{\\header head}{\\footer foot}a{\\pict\\wmetafile8 0102}"
                      "{\\pict\\emfblip 0304}b{\\object\\objemb{\\*\\objdata 00}{\\result r}}"
                      "{\\footnote note}c{\\pict\\pngblip 00112233}"));
    EXPECT_EQ(document.toPlainText(), "abc");
    EXPECT_EQ(result.dropped,
              QStringList({"headers and footers", "pictures", "objects", "footnotes"}));
}

TEST(TRtfReaderTest, TextWithoutTheRtfHeaderIsReadAsPlainLines)
{
    QTextDocument document;
    auto result = ReadInto(document, QByteArray("first\r\nsecond {\\b x}\nthird\rfourth"));
    EXPECT_FALSE(result.wasRtf);
    EXPECT_EQ(Paragraphs(document), QStringList({"first", "second {\\b x}", "third", "fourth"}));
    // Not UTF-8: Windows-1252.
    result = ReadInto(document, QByteArray("caf\xe9 \x80"));
    EXPECT_EQ(document.toPlainText(), QString::fromUtf16(u"café €"));
    result = ReadInto(document, QByteArray("\xEF\xBB\xBF"
                                           "caf\xc3\xa9"));
    EXPECT_EQ(document.toPlainText(), QString::fromUtf16(u"café"));
    // A byte-order mark and blanks may stand before RTF.
    EXPECT_TRUE(TRtfReader::LooksLikeRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}"));
    EXPECT_FALSE(TRtfReader::LooksLikeRtf("x{\\rtf1 x}"));
}

TEST(TRtfReaderTest, FontTableWithoutInnerGroupsAndWithEscapedNames)
{
    QTextDocument document;
    ReadInto(document, QByteArray("{\\rtf1\\ansi\\deff1{\\fonttbl\\f0\\fswiss "
                                  "Helvetica;\\f1\\froman Gar\\'e7on{\\*\\panose 0102};}"
                                  "a\\f0 b}"));
    EXPECT_EQ(Family(FormatAt(document, 0)), QString::fromUtf16(u"Garçon"));
    EXPECT_EQ(Family(FormatAt(document, 1)), "Helvetica");
}
