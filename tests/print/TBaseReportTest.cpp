// The job rules every output shares: status line, handler order, lines and positions, units,
// fonts, tab boxes.

#include "print/TBaseReport.h"

#include "TPrintTestSupport.h"
#include "print/TPageStreamDump.h"
#include "print/TReportFiler.h"

#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

class TBaseReportTest : public ::testing::Test {
protected:
    void SetUp() override { test::UseNoPrinter(); }
};

TEST_F(TBaseReportTest, StatusFormatCodes)
{
    TReportFiler job;
    QString shown;
    job.SetStatusLabel([&](const QString& s) { shown = s; });
    job.StatusText() << QStringLiteral("first") << QStringLiteral("second");
    job.SetFirstPage(2);
    job.SetLastPage(7);
    job.SetStatusFormat(QStringLiteral("%p/%P %f-%L %0,%1,%5 %% %X %q\rnext%"));
    test::Record(job, [](TBaseReport& r) {
        r.NewPage();
        r.UpdateStatus();
    });
    EXPECT_EQ(shown, QStringLiteral("2/2 2-7 first,second, % <ERROR-%X> <ERROR-%q>\rnext%"));
}

TEST_F(TBaseReportTest, StatusLineNeedsALabel)
{
    TReportFiler job;
    job.SetStatusFormat(QStringLiteral("%p"));
    EXPECT_NO_THROW(job.UpdateStatus());
    EXPECT_EQ(job.FormatStatus(), QStringLiteral("0"));
}

TEST_F(TBaseReportTest, HandlersRunInTheDocumentedOrder)
{
    TReportFiler job;
    QStringList calls;
    job.OnBeforePrint = [&](TBaseReport& r) {
        calls << QStringLiteral("before:%1").arg(r.Printing());
    };
    job.OnNewPage = [&](TBaseReport& r) {
        calls << QStringLiteral("newpage:%1").arg(r.CurrentPage());
    };
    job.OnPrintHeader = [&](TBaseReport& r) {
        calls << QStringLiteral("header:%1").arg(r.CurrentPage());
    };
    job.OnPrintFooter = [&](TBaseReport& r) {
        calls << QStringLiteral("footer:%1").arg(r.CurrentPage());
    };
    job.OnAfterPrint = [&](TBaseReport& r) {
        calls << QStringLiteral("after:%1").arg(r.Printing());
    };
    int pages = 0;
    job.OnPrintPage = [&](TBaseReport&) { return ++pages < 3; };
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    job.SetStream(&buffer);
    job.RunJob();
    EXPECT_EQ(calls,
              (QStringList{"before:0", "newpage:1", "header:1", "footer:1", "newpage:2", "header:2",
                           "footer:2", "newpage:3", "header:3", "footer:3", "after:0"}));
}

TEST_F(TBaseReportTest, EndStepsRunWhenAHandlerFails)
{
    TReportFiler job;
    bool after = false;
    job.OnAfterPrint = [&](TBaseReport&) { after = true; };
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    job.SetStream(&buffer);
    job.OnPrint = [](TBaseReport&) { throw std::runtime_error("drawing failed"); };
    EXPECT_THROW(job.RunJob(), std::runtime_error);
    EXPECT_TRUE(after);
    EXPECT_FALSE(job.Printing());
    EXPECT_EQ(bytes[0], char(89)); // the stream is closed properly
}

TEST_F(TBaseReportTest, LineMetricsAndLinesLeft)
{
    test::Record([](TBaseReport& r) {
        r.SetLineHeightMethod(TLineHeightMethod::lhmLinesPerInch);
        EXPECT_DOUBLE_EQ(r.LineHeight(), 1.0 / 6);
        r.SetLinesPerInch(0); // ignored
        EXPECT_DOUBLE_EQ(r.LineHeight(), 1.0 / 6);
        r.SetLinesPerInch(8);
        EXPECT_DOUBLE_EQ(r.LineHeight(), 1.0 / 8);

        r.SetLineHeightMethod(TLineHeightMethod::lhmFont);
        r.SetFont(QStringLiteral("Arial"), 12);
        EXPECT_DOUBLE_EQ(r.LineHeight(), 0.2); // 120 % of 12 pt
        r.SetFont(QStringLiteral("Arial"), 0); // ignored: size and face stay
        EXPECT_DOUBLE_EQ(r.Font().sizePoints, 12);
        EXPECT_DOUBLE_EQ(r.LineHeight(), 0.2);

        // Home: first line's baseline one line height below the section top, less the descent.
        r.Home();
        EXPECT_NEAR(r.LineBottom(), r.SectionTop() + 0.2, 1e-9);
        EXPECT_NEAR(r.LineTop(), r.SectionTop(), 1e-9);
        // Letter paper, margins 0.5: section 0.5..10.5 holds 50 lines of 0.2 in.
        EXPECT_EQ(r.LinesLeft(), 50);
        r.NewLine();
        EXPECT_EQ(r.LineNum(), 2);
        EXPECT_DOUBLE_EQ(r.XPos(), r.SectionLeft());
        EXPECT_EQ(r.LinesLeft(), 49);
        r.SetYPos(10.5 - r.LineBottom() + r.YPos()); // the line's bottom on the section bottom
        EXPECT_EQ(r.LinesLeft(), 1);
        r.SetYPos(r.YPos() + 0.01);
        EXPECT_EQ(r.LinesLeft(), 0);
    });
}

TEST_F(TBaseReportTest, UnitsConvertEveryCoordinate)
{
    TReportFiler job;
    job.SetUnits(TUnits::unMM);
    EXPECT_DOUBLE_EQ(job.UnitsFactor(), 25.4);
    job.SetUnitsFactor(0); // ignored
    EXPECT_DOUBLE_EQ(job.UnitsFactor(), 25.4);
    job.SetUnitsFactor(72);
    EXPECT_EQ(job.Units(), TUnits::unPoint);
    job.SetUnitsFactor(10);
    EXPECT_EQ(job.Units(), TUnits::unUser);
    job.SetUnits(TUnits::unMM);
    job.SetMarginLeft(25.4);
    const QByteArray bytes = test::Record(job, [](TBaseReport& r) {
        EXPECT_NEAR(r.PageWidth(), 215.9, 1e-9);
        EXPECT_NEAR(r.SectionLeft(), 25.4, 1e-9);
        r.MoveTo(25.4, 50.8);
    });
    EXPECT_TRUE(DumpPageStream(bytes).lines.contains(QStringLiteral("12 move-to points=(1,2)")));
}

TEST_F(TBaseReportTest, TextAdvancesXAndRotatedTextAdvancesAlongItsDirection)
{
    test::Record([](TBaseReport& r) {
        const double w = r.TextWidth(QStringLiteral("Hello"));
        EXPECT_GT(w, 0.1);
        r.TextLeft(QStringLiteral("Hello"), 1);
        EXPECT_NEAR(r.XPos(), 1 + w, 1e-9);
        r.TextCenter(QStringLiteral("Hello"), 3);
        EXPECT_NEAR(r.XPos(), 3 + w / 2, 1e-9);
        r.TextRight(QStringLiteral("Hello"), 5);
        EXPECT_NEAR(r.XPos(), 5, 1e-9);
        EXPECT_GE(r.TextWidth(QString()), 1.0 / 96); // at least one device pixel

        r.SetFontRotation(390); // modulo 360
        EXPECT_EQ(r.Font().rotation, 30);
        const double y = r.YPos();
        const double wr = r.TextWidth(QStringLiteral("Hello"));
        r.TextLeft(QStringLiteral("Hello"), 1);
        EXPECT_NEAR(r.XPos(), 1 + wr * std::cos(M_PI / 6), 1e-9);
        EXPECT_NEAR(r.YPos(), y - wr * std::sin(M_PI / 6), 1e-9);
    });
}

TEST_F(TBaseReportTest, SetFontResetsTheAttributes)
{
    test::Record([](TBaseReport& r) {
        r.SetBold(true);
        r.SetItalic(true);
        r.SetFontColor(TColor::Rgb(1, 2, 3));
        r.SetFontRotation(90);
        r.SetFont(QStringLiteral("Times New Roman"), 14);
        const TFontState& f = r.Font();
        EXPECT_EQ(f.name, QStringLiteral("Times New Roman"));
        EXPECT_FALSE(f.bold);
        EXPECT_FALSE(f.italic);
        EXPECT_EQ(f.color, kBlack);
        EXPECT_EQ(f.rotation, 0);
    });
}

TEST_F(TBaseReportTest, TabBoxesDrawShadeAndBordersAndPlaceText)
{
    TReportFiler job;
    job.SetTabShade(250); // clamped
    EXPECT_EQ(job.TabShade(), 100);
    job.SetTabShade(0);
    double leftX = 0, afterRight = 0;
    const QByteArray bytes = test::Record(job, [&](TBaseReport& r) {
        r.ClearTabs();
        r.SetTab(1.0, TTabJustify::Left, 2.0, 10, kBoxAll, 50);
        r.SetTab(-1, TTabJustify::Right, 1.0, 10, kBoxBottom, 0);
        r.SetTab(-1, TTabJustify::Center, 0, 0, 0, 0);
        r.PrintText(QStringLiteral("\tName\tAmount"));
        leftX = r.XPos();
        r.NextTab(); // the third stop: no box
        r.NextTab(); // past the last stop: tab mode ends
        r.PrintText(QStringLiteral("tail"));
        afterRight = r.XPos();
    });
    const QStringList lines = DumpPageStream(bytes).lines;
    // Shading: a 50 % grey fill of the first box, then the brush goes back before anything else.
    EXPECT_TRUE(lines.contains(QStringLiteral("41 brush-color color=#808080")));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^8 fill-rect"))).size(), 1);
    // Borders: four of the first box and the bottom of the second.
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^11 line-to"))).size(), 5);
    // Left text at box left + 0.1 in; right text ending at box right - 0.1 in (box 3..4).
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^24 .*\"Name\" x=1.1$"))).size(), 1);
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^25 .*\"Amount\" x=3.9$"))).size(),
              1);
    EXPECT_NEAR(leftX, 3.9, 1e-6);
    EXPECT_GT(afterRight, 4.0);
}

TEST_F(TBaseReportTest, MarginsSetTheSectionAndTitleIsCut)
{
    TReportFiler job;
    job.SetTitle(QString(40, QLatin1Char('x')));
    EXPECT_EQ(job.Title().size(), 31);
    job.SetMarginRight(1.0);
    job.SetMarginBottom(2.0);
    test::Record(job, [](TBaseReport& r) {
        EXPECT_DOUBLE_EQ(r.SectionRight(), 7.5);
        EXPECT_DOUBLE_EQ(r.SectionBottom(), 9.0);
        r.SetSectionLeft(2.0);
        r.SetOriginX(1.0);
        r.NewPage(); // the section and the origin go back
        EXPECT_DOUBLE_EQ(r.SectionLeft(), 0.5);
        EXPECT_DOUBLE_EQ(r.OriginX(), 0);
    });
}

} // namespace
} // namespace qm::print
