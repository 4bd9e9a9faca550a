// The recorder: the exact bytes of a small job, state written only on change, page links, page
// ranges, long texts, and the refusals.

#include "print/TReportFiler.h"

#include "TPrintTestSupport.h"
#include "print/TPageReplay.h"
#include "print/TPageStreamDump.h"
#include "print/TPageStreamFormat.h"
#include "print/TPrintError.h"
#include "print/TTextMeasure.h"

#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

using test::TBytes;

class TReportFilerTest : public ::testing::Test {
protected:
    void SetUp() override { test::UseNoPrinter(); }
};

// Full drawing state after a page record, as the recorder writes it.
void FullState(TBytes& b, double refWidth, std::uint32_t penColor, double penWidth)
{
    b.B(41).I32(0).B(42).B(1).B(43).B(0);
    b.B(51).Text("Arial").B(52).I32(0).B(53).B(0).B(54).F(10.0 / 72).F(refWidth);
    b.B(55).B(0).B(56).B(0).B(57).B(0).B(58).B(0).B(59).B(0).B(60).B(0).B(61).I16(0).B(62).B(0);
    b.B(71).I32(penColor).B(72).B(4).B(73).B(0).B(74).F(penWidth);
    b.B(28).F(100).B(29).F(100).B(26).B(0).B(27).I32(0xFFFFFF);
}

TEST_F(TReportFilerTest, SmallJobIsRecordedByteForByte)
{
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        r.GotoXY(1, 2);
        r.TextLeft(QStringLiteral("Hi"), 1);
        r.SetPen(TColor::Rgb(255, 0, 0), TPenStyle::psSolid, TPenMode::pmCopy, 2);
        r.MoveTo(1, 1);
        r.LineTo(2, 1);
        r.NewPage();
        r.DrawRectangle(1, 1, 2, 2);
    });

    TTextMeasure measure(96);
    TPainterFont font;
    font.heightInches = 10.0 / 72;
    measure.SetFont(font);
    const double ref = measure.Width(QString::fromLatin1(stream::kReferenceText));

    TBytes b;
    b.B(89).I16(2).I16(1).I16(9999).F(8.5).F(11).F(0).F(0).F(0).F(0);
    b.B(2).I16(265).B(0).B(0).I16(1).I16(1).I16(0).I16(0).Text("");
    ASSERT_EQ(b.Size(), 45);
    b.B(80).I32(0).I32(0).I16(1).F(8.5).F(11);
    FullState(b, ref, 0, 1.0 / 96);
    b.B(83).F(measure.Ascent()).F(measure.Descent()).F(1.0 / 6);
    b.B(24).F(2).Text("Hi").F(1);
    b.B(12).F(1).F(1);
    b.B(71).I32(0x0000FF).B(74).F(2.0 / 96);
    b.B(11).F(2).F(1);
    b.B(82);
    const qsizetype page2 = b.Size();
    b.PatchI32(45 + 5, page2);
    b.B(80).I32(45).I32(0).I16(2).F(8.5).F(11);
    FullState(b, ref, 0x0000FF, 2.0 / 96);
    b.B(18).F(1).F(1).F(2).F(2);
    b.B(82);

    EXPECT_EQ(bytes.toHex(' '), b.Bytes().toHex(' '));
}

TEST_F(TReportFilerTest, StateIsWrittenOnlyWhenItChanges)
{
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        r.SetFont(QStringLiteral("Arial"), 12);
        r.TextLeft(QStringLiteral("a"), 1);
        r.SetFont(QStringLiteral("Arial"), 12); // same font again: nothing new
        r.SetBold(false);
        r.TextLeft(QStringLiteral("b"), 1);
        r.SetBold(true);
        r.TextLeft(QStringLiteral("c"), 1);
        r.SetBrush(kBlack, TBrushStyle::bsClear);
        r.DrawRectangle(0, 0, 1, 1);
        r.DrawRectangle(0, 0, 1, 1);
    });
    const QStringList lines = DumpPageStream(bytes).lines;
    qsizetype firstText = -1;
    for (qsizetype i = 0; i < lines.size() && firstText < 0; ++i)
        if (lines[i].startsWith(QStringLiteral("24 ")) &&
            lines[i].contains(QStringLiteral("\"a\"")))
            firstText = i;
    ASSERT_GT(firstText, 0);
    const QStringList after = lines.mid(firstText + 1);
    // Between "a" and "b" nothing; before "c" only the bold flag and the font size of the bold
    // face (its reference width differs).
    EXPECT_TRUE(after[0].startsWith(QStringLiteral("24 text-left")))
        << after.join('\n').toStdString();
    EXPECT_TRUE(after[1].startsWith(QStringLiteral("54 font-size")));
    EXPECT_EQ(after[2], QStringLiteral("55 bold value=1"));
    EXPECT_TRUE(after[3].startsWith(QStringLiteral("83 line-metrics")) ||
                after[3].startsWith(QStringLiteral("24 text-left")));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^(41|42|43|71|72|73|74) "))).size(),
              7); // only the full state after the page record
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^18 "))).size(), 2);
}

TEST_F(TReportFilerTest, PagesAreChainedBothWays)
{
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        for (int page = 1; page <= 3; ++page) {
            if (page > 1)
                r.NewPage();
            r.TextLeft(QStringLiteral("Page %1").arg(page), 1);
        }
    });
    TPageReplay replay(bytes);
    EXPECT_EQ(replay.PageCount(), 3);
    EXPECT_EQ(replay.Current().previous, 0);
    ASSERT_TRUE(replay.GotoPage(3));
    EXPECT_EQ(replay.Current().next, 0);
    const std::int32_t third = std::int32_t(replay.Current().offset);
    ASSERT_TRUE(replay.GotoPage(2));
    EXPECT_EQ(replay.Current().next, third);
    // The next link points where the previous page's end byte stops.
    EXPECT_EQ(bytes[third - 1], char(82));
    ASSERT_TRUE(replay.GotoPage(1));
    EXPECT_FALSE(replay.GotoPage(4));
}

TEST_F(TReportFilerTest, PagesOutsideTheRangeAreLaidOutButNotRecorded)
{
    TReportFiler filer;
    filer.SetFirstPage(3);
    QStringList status;
    filer.SetStatusLabel([&](const QString& s) { status << s; });
    filer.SetStatusFormat(QStringLiteral("%p"));
    const QByteArray bytes = test::Record(filer, [](TBaseReport& r) {
        for (int page = 1; page <= 4; ++page) {
            if (page > 1)
                r.NewPage();
            r.TextLeft(QStringLiteral("P%1").arg(page), 1);
        }
    });
    EXPECT_EQ(status, (QStringList{"1", "2", "3", "4"}));
    const TPageStreamDump dump = DumpPageStream(bytes);
    EXPECT_TRUE(dump.lines[0].startsWith(QStringLiteral("header pages=2 first=3 last=9999")));
    const QStringList pages = dump.lines.filter(QRegularExpression(QStringLiteral("^page ")));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].startsWith(QStringLiteral("page number=3 ")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral(" previous=0 ")));
    EXPECT_EQ(dump.lines.filter(QStringLiteral("\"P1\"")).size(), 0);
    EXPECT_EQ(dump.lines.filter(QStringLiteral("\"P3\"")).size(), 1);
}

TEST_F(TReportFilerTest, DefaultLastPageKeepsRunsLongerThan9999Pages)
{
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        for (int page = 2; page <= 10001; ++page)
            r.NewPage();
    });
    EXPECT_EQ(TPageReplay(bytes).PageCount(), 10001);

    TReportFiler limited;
    limited.SetLastPage(3);
    EXPECT_EQ(TPageReplay(test::Record(limited,
                                       [](TBaseReport& r) {
                                           for (int page = 2; page <= 5; ++page)
                                               r.NewPage();
                                       }))
                  .PageCount(),
              3);
}

TEST_F(TReportFilerTest, TrailingNewPageStillOutputsAnEmptyPage)
{
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        r.TextLeft(QStringLiteral("only"), 1);
        r.NewPage();
    });
    TPageReplay replay(bytes);
    EXPECT_EQ(replay.PageCount(), 2);
    ASSERT_TRUE(replay.GotoPage(2));
    const QStringList lines = DumpPageStream(bytes).lines;
    EXPECT_EQ(lines.last(), QStringLiteral("82 end-of-page"));
}

TEST_F(TReportFilerTest, LongTextIsSplitAndContinuesWhereThePreviousPieceEnded)
{
    QString text;
    for (int i = 0; i < 70; ++i)
        text += QStringLiteral("word ");
    // A macro marker straddling the first 255 bytes must stay whole.
    text.insert(250, QStringLiteral(u"\u00FD$RPCM11"));
    const QByteArray bytes = test::Record([&](TBaseReport& r) { r.TextCenter(text, 4); });
    const QStringList texts =
        DumpPageStream(bytes).lines.filter(QRegularExpression(QStringLiteral("^24 ")));
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[1].endsWith(QStringLiteral(" x=nan")));
    EXPECT_FALSE(texts[0].endsWith(QStringLiteral(" x=nan")));
    // Every byte is kept, in order, and the marker starts the second piece.
    EXPECT_TRUE(texts[1].contains(QStringLiteral(u"text=\"\u00FD$RPCM11")));
    TPageReplay replay(bytes);
    replay.Validate();
}

TEST_F(TReportFilerTest, WithoutPrinterHeaderHoldsThePreviewOnlyFields)
{
    TReportFiler filer;
    QString shown;
    filer.SetStatusLabel([&](const QString& s) { shown = s; });
    filer.SetStatusFormat(QStringLiteral("%d|%r|%t"));
    const QByteArray bytes = test::Record(filer, [](TBaseReport&) {});
    EXPECT_EQ(shown, QStringLiteral("Preview Only|Preview Only|Preview"));
    const TPageStreamHeader h = TPageReplay(bytes).Header();
    EXPECT_EQ(h.paperSource, 265);
    EXPECT_EQ(h.copies, 1);
    EXPECT_EQ(h.paperSize, 1);
    EXPECT_EQ(h.pageCount, 1);
}

TEST_F(TReportFilerTest, PenWidthInHundredthsFollowsTheResolution)
{
    // At 96 DPI one hundredth of an inch is 0.96 pixels: one pixel, never none.
    TReportFiler filer96;
    int pixels96 = 0;
    test::Record(filer96, [&](TBaseReport& r) {
        r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, -1);
        pixels96 = r.Pen().widthPixels;
    });
    EXPECT_EQ(pixels96, 1);

    test::UsePdfPrinter();
    TReportFiler filer300;
    int pixels300 = 0;
    int pixels300x2 = 0;
    const QByteArray bytes = test::Record(filer300, [&](TBaseReport& r) {
        r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, -1);
        pixels300 = r.Pen().widthPixels;
        r.LineTo(1, 1);
        r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, -2);
        pixels300x2 = r.Pen().widthPixels;
    });
    EXPECT_EQ(pixels300, 3);
    EXPECT_EQ(pixels300x2, 6);
    EXPECT_TRUE(DumpPageStream(bytes).lines.contains(QStringLiteral("74 pen-width value=0.01")));
    test::UseNoPrinter();
}

TEST_F(TReportFilerTest, RefusalsAndWrongStates)
{
    TReportFiler filer;
    try {
        filer.RunJob(); // smUser without a stream
        FAIL();
    } catch (const TPrintError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("StreamMode is smUser but Stream is nil"));
    }
    EXPECT_FALSE(filer.Printing());

    try {
        filer.TextLeft(QStringLiteral("x"), 1);
        FAIL();
    } catch (const TPrintError& e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Invalid method call.  ReportPrinter is not printing."));
    }

    QString copyRect, again, setup;
    test::Record(filer, [&](TBaseReport& r) {
        try {
            r.CopyRect(QRect(0, 0, 1, 1), QImage(1, 1, QImage::Format_RGB32), QRect(0, 0, 1, 1));
        } catch (const TPrintError& e) {
            copyRect = e.Message();
        }
        try {
            r.RunJob();
        } catch (const TPrintError& e) {
            again = e.Message();
        }
        try {
            r.SetPaperSize(9);
        } catch (const TPrintError& e) {
            setup = e.Message();
        }
    });
    EXPECT_EQ(copyRect, QStringLiteral("CopyRect() not supported in file mode."));
    EXPECT_EQ(again, QStringLiteral("Invalid method call.  ReportPrinter already printing."));
    EXPECT_EQ(setup, again);
}

TEST_F(TReportFilerTest, AbortStopsOutputOfEveryLaterPage)
{
    TReportFiler filer;
    const QByteArray bytes = test::Record(filer, [](TBaseReport& r) {
        r.TextLeft(QStringLiteral("one"), 1);
        r.AbortJob();
        r.TextLeft(QStringLiteral("after"), 1);
        r.NewPage();
        r.TextLeft(QStringLiteral("two"), 1);
    });
    EXPECT_TRUE(filer.Aborted());
    const TPageStreamDump dump = DumpPageStream(bytes);
    EXPECT_TRUE(dump.error.isEmpty());
    EXPECT_EQ(dump.lines.filter(QStringLiteral("\"after\"")).size(), 0);
    EXPECT_EQ(dump.lines.filter(QStringLiteral("\"two\"")).size(), 0);
    EXPECT_EQ(TPageReplay(bytes).PageCount(), 1);
}

TEST_F(TReportFilerTest, AppearanceModeRecordsTextBlocksWithTheirWidth)
{
    TReportFiler filer;
    filer.SetAccuracyMethod(TAccuracyMethod::amAppearance);
    double width = 0;
    const QByteArray bytes = test::Record(filer, [&](TBaseReport& r) {
        width = r.TextWidth(QStringLiteral("Wide"));
        r.TextRight(QStringLiteral("Wide"), 3);
        r.TextLeft(QStringLiteral(u"\u00FD$RPCM11"), 1); // macros stay positioned
    });
    const QStringList lines = DumpPageStream(bytes).lines;
    const QStringList blocks = lines.filter(QRegularExpression(QStringLiteral("^33 ")));
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_TRUE(
        blocks[0].contains(QStringLiteral("x=%1").arg(QString::number(float(3 - width), 'g', 6))))
        << blocks[0].toStdString();
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^24 "))).size(), 1);
}

} // namespace
} // namespace qm::print
