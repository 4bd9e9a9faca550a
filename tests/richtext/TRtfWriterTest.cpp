// The writer's bytes (7-bit, CR LF, escapes), and the round trip: what it writes reads back to
// the same text and formats, and the subset written back is unchanged byte for byte.

#include "richtext/TRtfWriter.h"
#include "TRtfTestSupport.h"
#include "richtext/TRichDocument.h"
#include "richtext/TTextUnits.h"
#include "xbase/TCodePage1252.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextImageFormat>
#include <QUrl>
#include <gtest/gtest.h>

using namespace qm::richtext;
using namespace qm::richtext::test;

namespace {

QTextCharFormat Chars(const QString& family, double points, bool bold = false, bool italic = false,
                      bool underline = false)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    format.setFontUnderline(underline);
    return format;
}

// A letter with every format the subset keeps.
void BuildSample(TRichDocument& rich)
{
    QTextDocument& document = rich.Document();
    QTextCursor cursor(&document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setTopMargin(TTextUnits::TwipsToFormat(240));
    cursor.setBlockFormat(centred);
    cursor.insertText("Dear [Full Name],", Chars("Arial", 14, true));
    QTextBlockFormat indented;
    indented.setLeftMargin(TTextUnits::TwipsToFormat(720));
    indented.setRightMargin(TTextUnits::TwipsToFormat(360));
    indented.setTextIndent(TTextUnits::TwipsToFormat(-360));
    indented.setBottomMargin(TTextUnits::TwipsToFormat(120));
    indented.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    cursor.insertBlock(indented);
    cursor.insertText("Plain ", Chars("Times New Roman", 10.5));
    QTextCharFormat red = Chars("Times New Roman", 10.5, false, true, true);
    red.setForeground(QColor(200, 10, 20));
    red.setBackground(QColor(255, 255, 0));
    cursor.insertText(QString::fromUtf16(u"café € Ω \U0001F600 {braces} \\ tab\there"), red);
    cursor.insertText(QString("line") + QChar::LineSeparator + "break", Chars("Arial", 10));
    QTextBlockFormat fixed;
    fixed.setAlignment(Qt::AlignJustify);
    fixed.setLineHeight(TTextUnits::TwipsToFormat(300), QTextBlockFormat::FixedHeight);
    fixed.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(fixed, Chars("Courier New", 9));
    cursor.insertBlock(QTextBlockFormat(), Chars("Arial", 20)); // empty, large
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLineHeight(TTextUnits::TwipsToFormat(280), QTextBlockFormat::MinimumHeight);
    cursor.insertBlock(right);
    cursor.insertText("Sincerely", Chars("Arial", 10));
    rich.SetPageLayout({11906, 16838, 1134, 1000, 1417, 900});
}

void ExpectSameFormats(const QTextDocument& a, const QTextDocument& b)
{
    ASSERT_EQ(Paragraphs(a), Paragraphs(b));
    QTextBlock x = a.begin();
    QTextBlock y = b.begin();
    for (; x.isValid(); x = x.next(), y = y.next()) {
        const QTextBlockFormat fx = x.blockFormat();
        const QTextBlockFormat fy = y.blockFormat();
        EXPECT_EQ(fx.alignment() & Qt::AlignHorizontal_Mask,
                  fy.alignment() & Qt::AlignHorizontal_Mask);
        EXPECT_EQ(TTextUnits::FormatToTwips(fx.leftMargin()),
                  TTextUnits::FormatToTwips(fy.leftMargin()));
        EXPECT_EQ(TTextUnits::FormatToTwips(fx.rightMargin()),
                  TTextUnits::FormatToTwips(fy.rightMargin()));
        EXPECT_EQ(TTextUnits::FormatToTwips(fx.textIndent()),
                  TTextUnits::FormatToTwips(fy.textIndent()));
        EXPECT_EQ(TTextUnits::FormatToTwips(fx.topMargin()),
                  TTextUnits::FormatToTwips(fy.topMargin()));
        EXPECT_EQ(TTextUnits::FormatToTwips(fx.bottomMargin()),
                  TTextUnits::FormatToTwips(fy.bottomMargin()));
        EXPECT_EQ(fx.lineHeightType(), fy.lineHeightType());
        EXPECT_NEAR(fx.lineHeight(), fy.lineHeight(), 0.1);
        EXPECT_EQ(bool(fx.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore),
                  bool(fy.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
        for (int i = 0; i < x.length() - 1; ++i) {
            const QTextCharFormat cx = FormatAt(a, x.position() + i);
            const QTextCharFormat cy = FormatAt(b, y.position() + i);
            EXPECT_EQ(Family(cx), Family(cy)) << x.text().toStdString() << i;
            EXPECT_EQ(cx.fontPointSize(), cy.fontPointSize());
            EXPECT_EQ(cx.fontWeight(), cy.fontWeight());
            EXPECT_EQ(cx.fontItalic(), cy.fontItalic());
            EXPECT_EQ(cx.fontUnderline(), cy.fontUnderline());
            EXPECT_EQ(cx.foreground().color(), cy.foreground().color());
            EXPECT_EQ(cx.background().color(), cy.background().color());
        }
    }
}

} // namespace

TEST(TRtfWriterTest, WritesSevenBitAsciiWithCrLfLines)
{
    TRichDocument rich;
    BuildSample(rich);
    const QByteArray rtf = rich.SaveRtf();
    ASSERT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n"));
    EXPECT_TRUE(rtf.endsWith("}\r\n"));
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(rtf[i]);
        ASSERT_LT(c, 0x80) << i;
        if (c == '\n') {
            ASSERT_EQ(rtf[i - 1], '\r') << i;
        }
        if (c == '\r') {
            ASSERT_EQ(rtf[i + 1], '\n') << i;
        }
    }
    EXPECT_TRUE(rtf.contains("caf\\'e9 \\'80 \\u937?"));
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?"));
    EXPECT_TRUE(rtf.contains("\\{braces\\} \\\\ tab\\tab here"));
    EXPECT_TRUE(rtf.contains("line\\line break"));
    EXPECT_TRUE(
        rtf.contains("\\paperw11906\\paperh16838\\margl1134\\margr1000\\margt1417\\margb900"));
    EXPECT_TRUE(rtf.contains(
        "{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Times New Roman;}{\\f2\\fnil Courier New;}}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red200\\green10\\blue20;\\red255\\green255\\blue0;}"));
    EXPECT_TRUE(rtf.contains("\\pard\\pagebb\\qj\\sl-300\\slmult0"));
}

TEST(TRtfWriterTest, LongTextIsBrokenIntoShortLines)
{
    TRichDocument rich;
    QTextCursor cursor(&rich.Document());
    cursor.insertText(QString(5000, QChar(u'x')) + QString(300, QChar(0xE9)));
    const QByteArray rtf = rich.SaveRtf();
    for (const QByteArray& line : rtf.split('\n'))
        EXPECT_LE(line.size(), 210);
    TRichDocument back;
    ASSERT_TRUE(back.LoadRtf(rtf).ok);
    EXPECT_EQ(back.Document().toPlainText(), rich.Document().toPlainText());
}

TEST(TRtfWriterTest, ReadingWhatItWroteGivesTheSameTextFormatsAndPage)
{
    TRichDocument rich;
    BuildSample(rich);
    TRichDocument back;
    const auto result = back.LoadRtf(rich.SaveRtf());
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(back.PageLayout(), rich.PageLayout());
    ExpectSameFormats(rich.Document(), back.Document());
    // The empty paragraph keeps the size of its mark.
    EXPECT_EQ(back.Document().findBlockByNumber(3).charFormat().fontPointSize(), 20);
}

TEST(TRtfWriterTest, TheSubsetIsWrittenBackUnchanged)
{
    TRichDocument rich;
    BuildSample(rich);
    const QByteArray first = rich.SaveRtf();
    TRichDocument back;
    ASSERT_TRUE(back.LoadRtf(first).ok);
    EXPECT_EQ(back.SaveRtf(), first);
    // And a text typed by hand in the subset, once normalised, stays.
    TRichDocument typed;
    ASSERT_TRUE(
        typed
            .LoadRtf(
                Rtf("\\pard\\qc\\f1\\fs24\\b Title\\par\\pard\\plain\\f0\\fs20 Body \\'e9\\u8364?"))
            .ok);
    const QByteArray once = typed.SaveRtf();
    TRichDocument again;
    ASSERT_TRUE(again.LoadRtf(once).ok);
    EXPECT_EQ(again.SaveRtf(), once);
}

TEST(TRtfWriterTest, PicturesAreWrittenWithTheirOwnBytes)
{
    QImage image(3, 5, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");

    TRichDocument rich;
    const QString name = rich.AddPicture(png);
    ASSERT_FALSE(name.isEmpty());
    EXPECT_TRUE(rich.AddPicture("GIF89a").isEmpty());
    QTextCursor cursor(&rich.Document());
    cursor.insertText("a");
    QTextImageFormat picture;
    picture.setName(name);
    picture.setWidth(TTextUnits::TwipsToFormat(1440));
    picture.setHeight(TTextUnits::TwipsToFormat(2400));
    cursor.insertImage(picture);
    cursor.insertText("b");
    const QByteArray rtf = rich.SaveRtf();
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw3\\pich5\\picwgoal1440\\pichgoal2400\r\n"));
    TRichDocument back;
    const auto result = back.LoadRtf(rtf);
    ASSERT_EQ(result.pictures.size(), 1);
    EXPECT_EQ(back.Document()
                  .resource(QTextDocument::ImageResource, QUrl(result.pictures.first()))
                  .toByteArray(),
              png);
    EXPECT_EQ(back.SaveRtf(), rtf);
}

TEST(TRtfWriterTest, AnotherRtfReaderReadsOurText)
{
    const QString unrtf = QStandardPaths::findExecutable("unrtf");
    if (unrtf.isEmpty())
        GTEST_SKIP() << "unrtf is not installed (scripts/setup installs it)";
    TRichDocument rich;
    BuildSample(rich);
    QTemporaryDir dir;
    QFile file(dir.filePath("letter.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rich.SaveRtf());
    file.close();
    QProcess process;
    process.start(unrtf, {"--text", file.fileName()});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    // Its text output is in the RTF's code page.
    const QByteArray output = process.readAllStandardOutput();
    const QString text =
        QString::fromStdString(qm::xbase::TCodePage1252::ToUtf8(output.toStdString()));
    EXPECT_TRUE(text.contains("Dear [Full Name],")) << text.toStdString();
    EXPECT_TRUE(text.contains("Sincerely"));
    EXPECT_TRUE(text.contains(QString::fromUtf16(u"café"))) << text.toStdString();
    EXPECT_TRUE(text.contains("{braces}"));
}
