// Page breaking and page drawing: the same breaks at every zoom and device, at least one line a
// page, explicit page breaks, the end of the document, and where the text lands on the device.

#include "richtext/TRichDocument.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace qm::richtext;

namespace {

QByteArray Lines(int count, const char* extra = "")
{
    QByteArray body = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
    body += extra;
    for (int i = 0; i < count; ++i)
        body += "Line " + QByteArray::number(i) + "\\par ";
    return body + "end}";
}

QImage Page(int dpi, double zoom, const TRichDocument& rich, int start, int* next)
{
    const TPageLayout& page = rich.PageLayout();
    const double scale = dpi * zoom / 100.0 / 1440.0;
    QImage image(qCeil(page.paperWidth * scale), qCeil(page.paperHeight * scale),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    const QRectF text(page.marginLeft * scale, page.marginTop * scale, page.TextWidth() * scale,
                      page.TextHeight() * scale);
    *next = rich.DrawPage(painter, text, zoom, start);
    return image;
}

// The bounding box of the dark pixels.
QRect Ink(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(TRichPagerTest, AnEmptyOrShortDocumentIsOnePage)
{
    TRichDocument rich;
    EXPECT_EQ(rich.PageStarts(), QList<int>({0}));
    EXPECT_EQ(rich.NextPageStart(0), -1);
    rich.LoadRtf(Lines(3));
    EXPECT_EQ(rich.PageCount(), 1);
}

TEST(TRichPagerTest, PagesBreakAtTheSameLinesAtEveryZoomAndResolution)
{
    TRichDocument rich;
    ASSERT_TRUE(rich.LoadRtf(Lines(150)).ok);
    const QList<int> starts = rich.PageStarts();
    ASSERT_GE(starts.size(), 3);
    // 12 pt lines on 9 inches of text: about 46 a page, never more than fit.
    const int firstPageLines = rich.Document().findBlock(starts[1]).blockNumber();
    EXPECT_GE(firstPageLines, 40);
    EXPECT_LE(firstPageLines, 54);
    for (int dpi : {72, 96, 300}) {
        for (double zoom : {38.0, 100.0, 186.0}) {
            QList<int> drawn;
            int start = 0;
            while (start >= 0 && drawn.size() < 10) {
                drawn.append(start);
                int next = -1;
                Page(dpi, zoom, rich, start, &next);
                start = next;
            }
            EXPECT_EQ(drawn, starts) << dpi << " dpi at " << zoom << " %";
        }
    }
}

TEST(TRichPagerTest, ExplicitBreaksStartPagesAndEveryPageTakesALine)
{
    TRichDocument rich;
    ASSERT_TRUE(rich.LoadRtf("{\\rtf1 one\\par\\pard\\pagebb two\\par\\pard three\\page four"
                             "\\par{\\fs1400 X}\\par\\pard\\pagebb\\par five}")
                    .ok);
    const QList<int> starts = rich.PageStarts();
    QStringList first;
    for (int start : starts)
        first.append(rich.Document().findBlock(start).text());
    // The 700 pt line is taller than the page: it gets a page of its own. The empty paragraph
    // with a break before starts a page too, and so does "five": without \pard it keeps the
    // paragraph formats, the break included.
    EXPECT_EQ(first, QStringList({"one", "two", "four", "X", "", "five"}));
    // A break before the very first paragraph adds no empty page.
    rich.SetPageBreakBefore(0, true);
    EXPECT_EQ(rich.PageStarts().first(), 0);
    EXPECT_EQ(rich.PageStarts().size(), 6);
}

TEST(TRichPagerTest, ChangesToTextOrPageBreakThePagesAgain)
{
    TRichDocument rich;
    ASSERT_TRUE(rich.LoadRtf(Lines(60)).ok);
    EXPECT_EQ(rich.PageCount(), 2);
    rich.SetPageLayout({12240, 31680, 1440, 1440, 1440, 1440});
    EXPECT_EQ(rich.PageCount(), 1);
    QTextCursor cursor(&rich.Document());
    cursor.movePosition(QTextCursor::End);
    for (int i = 0; i < 60; ++i)
        cursor.insertBlock();
    EXPECT_EQ(rich.PageCount(), 2);
}

TEST(TRichPagerTest, ThePageIsDrawnFromTheTopLeftOfTheTextAreaAtItsRealSize)
{
    TRichDocument rich;
    ASSERT_TRUE(rich.LoadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs144 HHHH\\par HHHH}").ok);
    int next = 0;
    const QImage at100 = Page(96, 100, rich, 0, &next);
    EXPECT_EQ(next, -1);
    const QRect ink = Ink(at100);
    ASSERT_FALSE(ink.isEmpty());
    // One inch margins at 96 dpi: the text starts just right of x = 96 and below y = 96.
    EXPECT_GE(ink.left(), 96);
    EXPECT_LE(ink.left(), 106);
    EXPECT_GE(ink.top(), 96);
    EXPECT_LE(ink.top(), 125);
    // Two 72 pt lines (about 1.15 times the size apart): the second line's foot is about two
    // inches down at 100 %, and everything half as large at 50 %.
    EXPECT_NEAR(ink.bottom() - 96, 2 * 96, 20);
    const QRect half = Ink(Page(96, 50, rich, 0, &next));
    EXPECT_NEAR(half.width(), ink.width() / 2.0, 3);
    EXPECT_NEAR(half.left(), 48, 6);
}

TEST(TRichPagerTest, APageShowsOnlyItsOwnLines)
{
    TRichDocument rich;
    ASSERT_TRUE(
        rich.LoadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs144 AAAA\\par\\pard\\pagebb BBBB}")
            .ok);
    ASSERT_EQ(rich.PageCount(), 2);
    int next = 0;
    const QRect first = Ink(Page(96, 100, rich, 0, &next));
    ASSERT_GT(next, 0);
    const QRect second = Ink(Page(96, 100, rich, next, &next));
    EXPECT_EQ(next, -1);
    // Each page has one line of ink at the top of its text area.
    EXPECT_LT(first.height(), 96);
    EXPECT_LT(second.height(), 96);
    EXPECT_LT(second.top(), 130);
}

TEST(TRichPagerTest, IndentsSpacingLineHeightsAndPicturesHaveTheirSizeOnThePage)
{
    // A half-inch left indent; an empty paragraph an inch below; a one-inch square picture; two
    // lines set exactly half an inch apart.
    QImage square(10, 10, QImage::Format_RGB32);
    square.fill(Qt::black);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    square.save(&buffer, "PNG");
    TRichDocument rich;
    ASSERT_TRUE(rich.LoadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs144\\pard\\li720 "
                             "H\\par\\pard\\sb1440\\par\\pard "
                             "{\\pict\\pngblip\\picwgoal1440\\pichgoal1440 " +
                             png.toHex() + "}\\par\\pard\\sb720\\sl-720\\slmult0\\fs20 a\\line b}")
                    .ok);
    int next = 0;
    const QImage page = Page(96, 100, rich, 0, &next);
    EXPECT_EQ(next, -1);
    const QRect first = Ink(page.copy(0, 0, page.width(), 96 + 110));
    EXPECT_NEAR(first.left(), 96 + 48, 12); // margin plus half an inch (and the H's side bearing)
    // The empty paragraph's line starts an inch below the first line's foot.
    const QTextBlock empty = rich.Document().findBlockByNumber(1);
    const QTextBlock picture = rich.Document().findBlockByNumber(2);
    const double firstFoot = rich.LineTop(empty.position()) - 1440;
    EXPECT_GT(firstFoot, 1440); // a 72 pt line is over an inch high
    EXPECT_LT(firstFoot, 1440 * 1.4);
    // The picture: an inch square at the margin.
    const int pictureTop = qRound(96 + rich.LineTop(picture.position()) * 96 / 1440);
    QRect square96;
    for (int y = pictureTop; y < pictureTop + 120; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 16)
                square96 |= QRect(x, y, 1, 1);
    EXPECT_NEAR(square96.width(), 96, 3);
    EXPECT_NEAR(square96.height(), 96, 3);
    EXPECT_NEAR(square96.left(), 96, 3);
    // Exactly 720 twips from line to line.
    const QTextBlock lines = rich.Document().findBlockByNumber(3);
    EXPECT_NEAR(rich.LineTop(lines.position() + 2) - rich.LineTop(lines.position()), 720, 2);
}

TEST(TRichPagerTest, ALongParagraphsPagesDrawAlikeInAnyOrderAndFillTheirTextArea)
{
    // A paragraph over many pages keeps its shaped text between pages (each page then costs only
    // its own lines, see quillmark-letter-bench); what is drawn must not depend on the pages
    // drawn before.
    const auto make = [](TRichDocument& rich) {
        QTextCursor cursor(&rich.Document());
        QTextBlockFormat justified;
        justified.setAlignment(Qt::AlignJustify);
        cursor.setBlockFormat(justified);
        QTextCharFormat plain;
        plain.setFontFamilies({QStringLiteral("Arial")});
        plain.setFontPointSize(11);
        QTextCharFormat marked = plain;
        marked.setFontWeight(QFont::Bold);
        marked.setForeground(QColor(200, 10, 20));
        marked.setBackground(QColor(255, 255, 0));
        for (int i = 0; i < 2500; ++i)
            cursor.insertText(QStringLiteral("word%1 ").arg(i), i % 37 == 0 ? marked : plain);
    };
    TRichDocument rich;
    make(rich);
    ASSERT_EQ(rich.Document().blockCount(), 1);
    const QList<int> starts = rich.PageStarts();
    ASSERT_GE(starts.size(), 3);
    int next = 0;
    const QImage second = Page(96, 100, rich, starts[1], &next);
    EXPECT_EQ(next, starts[2]);
    Page(96, 100, rich, starts.last(), &next);
    Page(96, 100, rich, starts[0], &next);
    EXPECT_TRUE(Page(96, 100, rich, starts[1], &next) == second);
    TRichDocument fresh;
    make(fresh);
    EXPECT_TRUE(Page(96, 100, fresh, starts[1], &next) == second);
    // Lines from the top of the text area (1 in) down to its foot (10 in), nothing beyond.
    const QRect ink = Ink(second);
    EXPECT_NEAR(ink.top(), 96, 8);
    EXPECT_GT(ink.bottom(), 10 * 96 - 30);
    EXPECT_LE(ink.bottom(), 10 * 96);
}
