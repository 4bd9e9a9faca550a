// User-designed reports: whole runs recorded into page streams through the run scope the windows
// and the tool use, asserting texts per page and the geometry of shades and frames.

#include "TReportTestSupport.h"

#include "design/core/TGDataPanel.h"
#include "design/core/TGOwner.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/text/TDesignUnits.h"
#include "reports/TReportRunScope.h"
#include "reports/TUserDefinedReport.h"

#include <cmath>

namespace {

using qm::design::TDesignUnits;
using qm::reports::TBandFrame;
using qm::reports::TRecordChoice;
using qm::reports::TReportBand;
using qm::reports::TReportRunScope;
using qm::reports::TReportSettings;
using qm::reports::TUserDefinedReport;
using qm::test::TRecordedJob;

// The stream dump writes six significant digits.
constexpr double kNear = 1e-4;

// The points of a recorded shape or line ("fill-rect points=(x,y)(x,y)").
std::vector<QPointF> Points(const QString& line)
{
    static const QRegularExpression point(QStringLiteral("\\(([-0-9.e]+),([-0-9.e]+)\\)"));
    std::vector<QPointF> points;
    for (auto it = point.globalMatch(line); it.hasNext();) {
        const auto m = it.next();
        points.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return points;
}

struct TSegment {
    QPointF from, to;
};

// The lines drawn on a page: each move-to with the line-to after it.
std::vector<TSegment> Segments(const TRecordedJob& job, int page)
{
    std::vector<TSegment> segments;
    QPointF at;
    for (const QString& line : job.PageLines(page)) {
        if (line.startsWith(QLatin1String("move-to")))
            at = Points(line).at(0);
        else if (line.startsWith(QLatin1String("line-to")))
            segments.push_back({at, Points(line).at(0)});
    }
    return segments;
}

// The vertical lines of a page at x.
std::vector<TSegment> VerticalsAt(const TRecordedJob& job, int page, double x)
{
    std::vector<TSegment> out;
    for (const TSegment& s : Segments(job, page))
        if (std::abs(s.from.x() - x) < kNear && std::abs(s.to.x() - x) < kNear)
            out.push_back(s);
    return out;
}

QStringList Filled(const TRecordedJob& job, int page)
{
    return job.PageLines(page).filter(QRegularExpression(QStringLiteral("^fill-rect ")));
}

constexpr double kPpi = 96;
// The new report's geometry at 96 PPI: text area from 0.625 to 7.875 in across, its top below
// the 33-pixel header.
constexpr double kLeft = 0.625;
constexpr double kRight = 7.875;
constexpr double kHeader = 33 / kPpi;
constexpr double kTop = 0.5 + kHeader;

class TUserDefinedReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDesignUnits::SetPpiOverride(int(kPpi));
        mDetail.SetDataSet(&mTable.DataSet());
        mSettings = TReportSettings::NewReport();
    }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    static TBandFrame Framed(int lineWidth = 1, int shade = 0)
    {
        TBandFrame frame;
        frame.left = frame.top = frame.right = frame.bottom = true;
        frame.lineWidth = lineWidth;
        frame.shadePercent = shade;
        return frame;
    }

    void AddText(qm::design::TGBasePanel& band, const QString& caption)
    {
        auto label = std::make_unique<qm::design::TGPLabel>();
        label->SetCaption(caption);
        label->SetBounds(0, 0, 200, 20);
        band.AddObject(std::move(label));
    }

    void AddLastName()
    {
        auto field = std::make_unique<qm::design::TGPDLabel>();
        field->Bind(QStringLiteral("LNAME"), QStringLiteral("Last Name"));
        field->SetBounds(0, 0, 200, 20);
        mDetail.AddObject(std::move(field));
    }

    // Runs the report over the main window's view ("All records" unless told), as the window
    // does; the view is the same afterwards.
    TRecordedJob Run(bool onePerPage = false, std::function<bool()> keepGoing = {},
                     TRecordChoice choice = TRecordChoice::All)
    {
        mTable.MainView();
        const uint32_t recNo = mTable.DataSet().RecNo();
        TRecordedJob job;
        {
            TReportRunScope scope(mTable.DataSet(), mTable.Apollo());
            scope.Apply({QString(), choice, false, false}, {});
            TUserDefinedReport routine(mTable.DataSet(), mSettings, {&mHeader, &mDetail, &mFooter},
                                       onePerPage);
            routine.SetStartAtEnd(scope.AtEnd());
            routine.SetKeepGoing(std::move(keepGoing));
            job = qm::test::Record([&](qm::print::TBaseReport& r) {
                routine.Attach(r);
                mDpiX = r.XDpi();
                mDpiY = r.YDpi();
            });
            mRecords = routine.Records();
        }
        EXPECT_EQ(mTable.DataSet().RecNo(), recNo);
        EXPECT_EQ(mTable.Apollo().Query(), "!ISDEL");
        EXPECT_FALSE(mDetail.Printing());
        return job;
    }

    QStringList Lines(int first, int last) const
    {
        QStringList lines;
        for (int i = first; i <= last; ++i)
            lines << QStringLiteral("Line %1").arg(i);
        return lines;
    }

    qm::test::TReportTable mTable;
    qm::design::TGOwner mOwner;
    qm::design::TGBasePanel mHeader{&mOwner};
    qm::design::TGDataPanel mDetail{&mOwner};
    qm::design::TGBasePanel mFooter{&mOwner};
    TReportSettings mSettings;
    double mDpiX = 0, mDpiY = 0;
    int mRecords = 0;
};

TEST_F(TUserDefinedReportTest, MemoOnlyReportGoesOnAcrossPagesWithHeaderFooterAndAFramePerPart)
{
    mSettings.useDetail = false;
    mSettings.useMemo = true;
    mSettings.useFooter = true;
    mSettings.Frame(TReportBand::Memo) = Framed();
    AddText(mHeader, QStringLiteral("Header"));
    AddText(mFooter, QStringLiteral("Footer"));
    mTable.Add({{"LNAME", "Adams"}, {"MEMO", Lines(1, 80).join(QStringLiteral("\r\n"))}});

    const TRecordedJob job = Run();
    // Arial 10 lines are 1/6 in high: 55 fit between the header and the footer.
    const double h = 10.0 / 60.0;
    const double bottom = 11 - 0.5 - 33 / kPpi;
    const int perPage = int(std::floor((bottom - kTop) / h));
    ASSERT_EQ(perPage, 55);
    ASSERT_EQ(job.pages, 2);
    EXPECT_EQ(job.Texts(1), QStringList({"Header", "Footer"}) + Lines(1, perPage));
    EXPECT_EQ(job.Texts(2), QStringList({"Header", "Footer"}) + Lines(perPage + 1, 80));

    // Each part has its own frame, from the top of the text area down to its last line's
    // descent, 0.125 in outside the text area.
    for (int page = 1; page <= 2; ++page) {
        const int lines = page == 1 ? perPage : 80 - perPage;
        const auto left = VerticalsAt(job, page, kLeft - 0.125);
        const auto right = VerticalsAt(job, page, kRight + 0.125);
        ASSERT_EQ(left.size(), 1u) << page;
        ASSERT_EQ(right.size(), 1u) << page;
        EXPECT_NEAR(left[0].from.y(), kTop, kNear);
        EXPECT_GT(left[0].to.y(), kTop + lines * h);
        EXPECT_LT(left[0].to.y(), kTop + lines * h + 0.1);
        EXPECT_EQ(Segments(job, page).size(), 4u);
    }
}

TEST_F(TUserDefinedReportTest, MemoAlignmentAndWrapStayInsideTheTextArea)
{
    mSettings.useDetail = false;
    mSettings.useHeader = false;
    mSettings.useMemo = true;
    mSettings.memoAlignment = qm::reports::TMemoAlignment::Right;
    const QString words = QStringLiteral("word ").repeated(200);
    mTable.Add({{"LNAME", "Adams"}, {"MEMO", words}});
    const TRecordedJob job = Run();
    const QStringList right = job.lines.filter(QRegularExpression(QStringLiteral("^text-right ")));
    ASSERT_GT(right.size(), 1);
    for (const QString& line : right)
        EXPECT_TRUE(line.endsWith(QStringLiteral("x=%1").arg(kRight))) << line.toStdString();
    // Each wrapped line fits the text area's width.
    QStringList texts = job.AllTexts();
    EXPECT_EQ(texts.join(QLatin1Char(' ')).simplified(), words.simplified());
}

TEST_F(TUserDefinedReportTest, DetailBandsFillPagesAndOneTooTallForAnyPageStillPrints)
{
    AddText(mHeader, QStringLiteral("Header"));
    AddLastName();
    for (const char* name : {"Adams", "Baker", "Clark", "Dunn"})
        mTable.Add({{"LNAME", name}});

    // Three bands of 3 in fit below the header; the fourth starts page 2.
    mSettings.detailHeight = 3 * 96;
    TRecordedJob job = Run();
    ASSERT_EQ(job.pages, 2);
    EXPECT_EQ(job.Texts(1), (QStringList{"Header", "Adams", "Baker", "Clark"}));
    EXPECT_EQ(job.Texts(2), (QStringList{"Header", "Dunn"}));

    // A band taller than the whole text area: every record on a page of its own, the first one
    // on page 1 (never a page with header only), each overrunning the page.
    mSettings.detailHeight = 12 * 96;
    job = Run();
    ASSERT_EQ(job.pages, 4);
    EXPECT_EQ(job.Texts(1), (QStringList{"Header", "Adams"}));
    EXPECT_EQ(job.Texts(4), (QStringList{"Header", "Dunn"}));
    EXPECT_EQ(mRecords, 4);
}

// An address block in a band prints every line that starts inside the band, down to the band's
// bottom edge, however high the block was drawn; lines starting below that edge are left out.
TEST_F(TUserDefinedReportTest, AnAddressBlockPrintsDownToItsBandsBottomEdge)
{
    auto block = std::make_unique<qm::design::TGDMultiLineAddressLabel>();
    block->SetBounds(0, 0, 300, 16); // one line of 10 point
    mDetail.AddObject(std::move(block));
    mTable.Add({{"FNAME", "Ada"},
                {"LNAME", "Quill"},
                {"ORG", "Northwind"},
                {"STREET", "1 Harbor Blvd"},
                {"CITY", "Springfield"}});
    mSettings.detailHeight = 40; // room for the starts of three lines of 16 pixels
    TRecordedJob job = Run();
    EXPECT_EQ(job.Texts(1), (QStringList{"Ada Quill ", "Northwind", "1 Harbor Blvd"}));
    mSettings.detailHeight = 96;
    job = Run();
    EXPECT_EQ(job.Texts(1),
              (QStringList{"Ada Quill ", "Northwind", "1 Harbor Blvd", "Springfield  "}));
}

TEST_F(TUserDefinedReportTest, OneRecordPerPageLeavesNoEmptyPageAfterTheLastOrAStop)
{
    AddText(mFooter, QStringLiteral("Footer"));
    mSettings.useFooter = true;
    AddLastName();
    for (const char* name : {"Adams", "Baker", "Clark"})
        mTable.Add({{"LNAME", name}});
    TRecordedJob job = Run(true);
    ASSERT_EQ(job.pages, 3);
    EXPECT_EQ(job.Texts(3), (QStringList{"Footer", "Clark"}));

    // A preview stopped after two records ends on the second record's page.
    int asked = 0;
    job = Run(true, [&asked] { return ++asked <= 2; });
    EXPECT_EQ(job.pages, 2);
    EXPECT_EQ(mRecords, 2);
}

TEST_F(TUserDefinedReportTest, EmptyMemoPrintsNoBlockAndNoFrame)
{
    mSettings.useHeader = false;
    mSettings.useDetail = false;
    mSettings.useMemo = true;
    mSettings.Frame(TReportBand::Memo) = Framed(1, 20);
    mTable.Add({{"LNAME", "Adams"}, {"MEMO", ""}});
    mTable.Add({{"LNAME", "Baker"}, {"MEMO", "   "}});
    TRecordedJob job = Run();
    EXPECT_TRUE(Filled(job, 1).isEmpty());
    EXPECT_TRUE(Segments(job, 1).empty());
    EXPECT_TRUE(job.Texts(1).isEmpty());

    // A memo of one line gets its shaded, framed block.
    mTable.Add({{"LNAME", "Clark"}, {"MEMO", "Call"}});
    job = Run();
    EXPECT_EQ(Filled(job, 1).size(), 1);
    EXPECT_EQ(Segments(job, 1).size(), 4u);
    EXPECT_EQ(job.Texts(1), QStringList{"Call"});
}

TEST_F(TUserDefinedReportTest, FooterShadeIsNarrowerThanItsFrameAndTakesTheShadeColour)
{
    mSettings.useHeader = false;
    mSettings.useDetail = false;
    mSettings.useFooter = true;
    TBandFrame frame = Framed(1, 40);
    frame.shadeColor = qm::design::TGColor::Rgb(255, 0, 0);
    mSettings.Frame(TReportBand::Footer) = frame;
    mTable.Add({{"LNAME", "Adams"}});
    const TRecordedJob job = Run();
    const double bottom = 11 - 0.5 - 33 / kPpi;

    const QStringList filled = Filled(job, 1);
    ASSERT_EQ(filled.size(), 1);
    const auto shade = Points(filled[0]);
    EXPECT_NEAR(shade[0].x(), kLeft + 0.01, kNear);
    EXPECT_NEAR(shade[0].y(), bottom + 0.01, kNear);
    EXPECT_NEAR(shade[1].x(), kRight, kNear);
    EXPECT_NEAR(shade[1].y(), 10.5, kNear);
    // 40 % of red: c + 60 * (255 - c) / 100.
    EXPECT_EQ(job.PageLines(1).filter(QStringLiteral("brush-color color=#ff9999")).size(), 1);
    // The frame reaches 0.125 in further on each side.
    EXPECT_EQ(VerticalsAt(job, 1, kLeft - 0.125).size(), 1u);
    EXPECT_EQ(VerticalsAt(job, 1, kRight + 0.125).size(), 1u);
}

TEST_F(TUserDefinedReportTest, BordersOfTwoAndThreeHundredthsAreInsetByAsManyPrinterPixels)
{
    mSettings.useHeader = false;
    AddLastName();
    mTable.Add({{"LNAME", "Adams"}});
    for (int width : {1, 2, 3}) {
        mSettings.Frame(TReportBand::Detail) = Framed(width);
        const TRecordedJob job = Run();
        const double dx = width >= 2 ? width / mDpiX : 0;
        const double dy = width >= 2 ? width / mDpiY : 0;
        const double top = 0.5;
        const double bottom = top + 33 / kPpi;
        const auto left = VerticalsAt(job, 1, kLeft - 0.125 + dx);
        ASSERT_EQ(left.size(), 1u) << width;
        EXPECT_NEAR(left[0].from.y(), top + dy, kNear);
        EXPECT_NEAR(left[0].to.y(), bottom - dy, kNear);
        EXPECT_EQ(VerticalsAt(job, 1, kRight + 0.125 - dx).size(), 1u) << width;
        // The pen is as many hundredths of an inch wide (the stream holds it in inches).
        const QStringList pens =
            job.PageLines(1).filter(QRegularExpression(QStringLiteral("^pen-width ")));
        ASSERT_FALSE(pens.isEmpty());
        EXPECT_NEAR(pens.last().section(QLatin1Char('='), 1).toDouble(), width / 100.0, 1 / mDpiX)
            << width;
    }
}

TEST_F(TUserDefinedReportTest, AllRecordsIsEveryRecordNotMarkedDeletedInTheTablesOwnOrder)
{
    AddLastName();
    mTable.Add({{"LNAME", "Smith"}});
    mTable.Add({{"LNAME", "Adams"}, {"PREFIX", "Deleted"}});
    mTable.Add({{"LNAME", "Baker"}, {"ISDEL", "T"}});
    mTable.Add({{"LNAME", ""}, {"FNAME", "Nobody"}});
    // No seek of "0": the empty last name prints first (as an empty field); "Deleted" as a
    // prefix is a name like any other.
    const TRecordedJob job = Run();
    EXPECT_EQ(mRecords, 3);
    EXPECT_EQ(job.Texts(1), (QStringList{"Adams", "Smith"}));
}

TEST_F(TUserDefinedReportTest, MemoLineTallerThanTheTextAreaPrintsOneLineAPageAndEnds)
{
    // A line of 800 points is over 13 in high: no page holds a whole one.
    mSettings.useMemo = true;
    mSettings.memoFontSize = 800;
    AddLastName();
    mTable.Add({{"LNAME", "Adams"}, {"MEMO", "A\r\nB"}});
    const TRecordedJob job = Run();
    // The detail band on page 1, then each memo line alone on a fresh page.
    ASSERT_EQ(job.pages, 3);
    EXPECT_EQ(job.Texts(1), QStringList{"Adams"});
    EXPECT_EQ(job.Texts(2), QStringList{"A"});
    EXPECT_EQ(job.Texts(3), QStringList{"B"});
}

TEST_F(TUserDefinedReportTest, PaperFollowsTheLayout)
{
    TReportSettings settings = TReportSettings::NewReport();
    EXPECT_EQ(TUserDefinedReport::PaperCode(settings), TUserDefinedReport::kLetterPaper);
    EXPECT_FALSE(TUserDefinedReport::Landscape(settings));
    settings.SetLayout(TReportSettings::Layouts()[3]); // A4 landscape
    EXPECT_EQ(TUserDefinedReport::PaperCode(settings), TUserDefinedReport::kA4Paper);
    EXPECT_TRUE(TUserDefinedReport::Landscape(settings));
    // A page matching no layout prints on Letter, turned as the page is.
    settings.pageWidth = 1500;
    settings.pageHeight = 700;
    EXPECT_EQ(TUserDefinedReport::PaperCode(settings), TUserDefinedReport::kLetterPaper);
    EXPECT_TRUE(TUserDefinedReport::Landscape(settings));

    // The job's pages take the paper.
    mSettings.SetLayout(TReportSettings::Layouts()[3]);
    mTable.Add({{"LNAME", "Adams"}});
    const TRecordedJob job = Run();
    const QStringList page = job.lines.filter(QRegularExpression(QStringLiteral("^page ")));
    ASSERT_EQ(page.size(), 1);
    EXPECT_TRUE(page[0].contains(QStringLiteral("size=11.69"))) << page[0].toStdString();
}

} // namespace
