// Page breaking and page drawing: the same breaks at every zoom and device, at least one line a
// page, explicit page breaks, the end of the document, and where the text lands on the device.

#include "richtext/TRichDocument.h"

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
