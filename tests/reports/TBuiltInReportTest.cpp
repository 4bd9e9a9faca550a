// The built-in list reports: their list texts and cell texts as strings, and whole runs recorded
// into page streams through the run scope the windows and the tool use.

#include "TReportTestSupport.h"

#include "print/TRPDevice.h"
#include "reports/TBuiltInLayouts.h"
#include "reports/TBuiltInReport.h"
#include "reports/TReportCells.h"
#include "reports/TReportRunScope.h"

#include <QDate>
#include <QRegularExpression>

namespace {

using qm::reports::TBuiltInLayouts;
using qm::reports::TBuiltInReport;
using qm::reports::TBuiltInReportOptions;
using qm::reports::TRecordChoice;
using qm::reports::TReportCells;
using qm::reports::TReportRunScope;
using qm::reports::TRunScopeOptions;
using qm::test::TRecordValues;

TReportCells::TValue Values(const TRecordValues& values)
{
    return [values](const char* field) { return values.value(QString::fromLatin1(field)); };
}

// A text drawn on a page with the font in force when it was drawn, read back from the recorded
// commands.
struct TDrawnText {
    QString command; // text-left, text-right, text-rect ...
    QString text;
    QString font;
    double points = 0;
    bool bold = false;
    bool italic = false;
    // text-rect only: the clipping rectangle's left and right edges, in inches.
    double clipLeft = 0, clipRight = 0;
};

std::vector<TDrawnText> DrawnTexts(const QStringList& lines)
{
    static const QRegularExpression name(QStringLiteral("^font-name text=\"(.*)\"$"));
    static const QRegularExpression size(QStringLiteral("^font-size height=([0-9.]+)"));
    static const QRegularExpression flag(QStringLiteral("^(bold|italic) value=(\\d)$"));
    static const QRegularExpression text(
        QStringLiteral("^(text-[a-z]+) (?:rect=\\(([0-9.]+),[0-9.]+\\)\\(([0-9.]+),[0-9.]+\\) )?"
                       ".*text=\"((?:[^\"\\\\]|\\\\.)*)\""));
    std::vector<TDrawnText> drawn;
    TDrawnText state;
    for (const QString& line : lines) {
        if (const auto n = name.match(line); n.hasMatch()) {
            state.font = n.captured(1);
        } else if (const auto z = size.match(line); z.hasMatch()) {
            state.points = z.captured(1).toDouble() * 72.0;
        } else if (const auto f = flag.match(line); f.hasMatch()) {
            (f.captured(1) == QLatin1String("bold") ? state.bold : state.italic) =
                f.captured(2) != QLatin1String("0");
        } else if (const auto m = text.match(line); m.hasMatch()) {
            TDrawnText t = state;
            t.command = m.captured(1);
            t.text = m.captured(4);
            t.clipLeft = m.captured(2).toDouble();
            t.clipRight = m.captured(3).toDouble();
            drawn.push_back(t);
        }
    }
    return drawn;
}

TEST(TBuiltInLayoutsTest, ListTextsSortTagsAndTabsAreTheFourReports)
{
    EXPECT_EQ(QString::fromLatin1(TBuiltInLayouts::Get(1).listText),
              "1. Name,Address,City,State,Zip,Phone");
    EXPECT_EQ(QString::fromLatin1(TBuiltInLayouts::Get(2).listText),
              "2. Name,Organization,Phone,Fax");
    EXPECT_EQ(QString::fromLatin1(TBuiltInLayouts::Get(3).listText),
              "3. Organization,Name,Phone,Fax ");
    EXPECT_EQ(QString::fromLatin1(TBuiltInLayouts::Get(4).listText),
              "4. All major fields (takes several lines)");
    EXPECT_STREQ(TBuiltInLayouts::Get(3).sortTag, "ORG");
    EXPECT_FALSE(TBuiltInLayouts::Get(4).skipLowKeys);
    EXPECT_EQ(TBuiltInLayouts::Get(4).rowPoints, 8);
    EXPECT_DOUBLE_EQ(TBuiltInLayouts::TabLeft(TBuiltInLayouts::Get(1), 4), 1.0 + 1.75 + 2.15 + 2.0);
    EXPECT_EQ(TBuiltInLayouts::DefaultTitle(3), "Report 3");
}

TEST(TReportCellsTest, NamesAndPlacesFollowTheListRules)
{
    EXPECT_EQ(
        TReportCells::ListName(Values({{"LNAME", "Smith"}, {"FNAME", "John"}, {"MIDDLE", "Q"}})),
        "Smith, John Q.");
    EXPECT_EQ(TReportCells::ListName(Values({{"FNAME", "John"}})), ", John ");
    // An empty city with state and ZIP: state, two blanks, ZIP and a trailing blank.
    EXPECT_EQ(TReportCells::CityStZip(Values({{"STATE", "OR"}, {"ZIP", "97301"}})), "OR  97301 ");
    EXPECT_EQ(TReportCells::CityStZip(Values({{"CITY", "Salem"}})), "Salem, ");
    EXPECT_EQ(TReportCells::CityStZip(Values({})), "");
    // Report 4: without a prefix the first name follows the comma and two blanks.
    EXPECT_EQ(TReportCells::FullListName(Values({{"LNAME", "Smith"}, {"FNAME", "John"}})),
              "Smith,  John ");
    EXPECT_EQ(TReportCells::FullListName(Values(
                  {{"LNAME", "Smith"}, {"PREFIX", "Dr."}, {"FNAME", "Ann"}, {"MIDDLE", "B"}})),
              "Smith, Dr. Ann B.");
    EXPECT_EQ(TReportCells::FullListName(Values({{"LNAME", "Smith"}})), "Smith, ");
    EXPECT_EQ(TReportCells::FullListName(Values({{"FNAME", "John"}})), "");
}

TEST(TReportCellsTest, ReportFourHasThreeLinesAtTheirTabs)
{
    const auto lines = TReportCells::Lines(4, Values({{"LNAME", "Smith"},
                                                      {"TITLE", "CEO"},
                                                      {"ORG", "Acme"},
                                                      {"CITY", "Salem"},
                                                      {"ZIP", "97301"},
                                                      {"PHONE", "555-1"},
                                                      {"FAX", "555-2"},
                                                      {"DATE", "20240131"}}));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0][1].text, "CEO, Acme");
    EXPECT_EQ(lines[0][1].tab, 3);
    EXPECT_EQ(lines[1][1].text, "Salem, 97301");
    EXPECT_EQ(lines[2][0].text, "Ph: 555-1  Fax: 555-2  ");
    EXPECT_EQ(lines[2][2].text, "20240131");
    // The title shows only together with an organization.
    EXPECT_EQ(TReportCells::Lines(4, Values({{"TITLE", "CEO"}}))[0][1].text, "");
}

class TBuiltInRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSmith = mTable.Add({{"LNAME", "Smith"},
                             {"FNAME", "John"},
                             {"CITY", "Salem"},
                             {"STATE", "OR"},
                             {"ZIP", "97301"},
                             {"ORG", "Acme"}});
        mBlank = mTable.Add({{"LNAME", ""}, {"FNAME", "Nobody"}, {"ORG", "Zeta"}});
        mAdams = mTable.Add({{"LNAME", "Adams"}, {"FNAME", "Ann"}, {"PREFIX", "Deleted"}});
        mGone = mTable.Add({{"LNAME", "Baker"}, {"ISDEL", "T"}});
        mTable.MainView(QStringLiteral("UPPER(LNAME)=\"S\""), mSmith);
    }

    // Runs a report with the scope as the window runs it; returns the recorded job.
    qm::test::TRecordedJob Run(int report, TRecordChoice choice, bool fromCurrent = false,
                               TBuiltInReportOptions options = {})
    {
        options.report = report;
        options.today = QDate(2026, 12, 9);
        mMessages.clear();
        const uint32_t recNo = mTable.DataSet().RecNo();
        const QString query = mTable.Apollo().Query();
        const int order = mTable.Apollo().IndexOrd();
        qm::test::TRecordedJob job;
        {
            TReportRunScope scope(mTable.DataSet(), mTable.Apollo());
            const auto& layout = TBuiltInLayouts::Get(report);
            scope.Apply(
                {QString::fromLatin1(layout.sortTag), choice, fromCurrent, layout.skipLowKeys},
                [this](const QString& text) { mMessages << text; });
            TBuiltInReport routine(mTable.DataSet(), options);
            routine.SetStartAtEnd(scope.AtEnd());
            job = qm::test::Record([&](qm::print::TBaseReport& r) { routine.Attach(r); });
            mRecords = routine.Records();
        }
        // The main window's view is back.
        EXPECT_EQ(mTable.DataSet().RecNo(), recNo);
        EXPECT_EQ(mTable.Apollo().Query(), query);
        EXPECT_EQ(mTable.Apollo().IndexOrd(), order);
        return job;
    }

    qm::test::TReportTable mTable;
    uint32_t mSmith = 0, mBlank = 0, mAdams = 0, mGone = 0;
    QStringList mMessages;
    int mRecords = 0;
};

TEST_F(TBuiltInRunTest, HeaderHeadingsAndRowsOfReportOne)
{
    const auto job = Run(1, TRecordChoice::MatchingFilter);
    ASSERT_EQ(job.pages, 1);
    EXPECT_EQ(job.Texts(1),
              (QStringList{"Report 1", "Page 1", "12/09/2026", "Name", "Address", "City/St/Zip",
                           "Phone", "Smith, John ", "Salem, OR  97301 "}));
    EXPECT_EQ(mRecords, 1);

    const std::vector<TDrawnText> drawn = DrawnTexts(job.PageLines(1));
    ASSERT_EQ(drawn.size(), 9u);
    // The title, page number and date in Times New Roman 14 pt bold.
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(drawn[i].text.toStdString());
        EXPECT_EQ(drawn[i].font, "Times New Roman");
        EXPECT_NEAR(drawn[i].points, 14, 0.01);
        EXPECT_TRUE(drawn[i].bold);
    }
    // The headings in Arial 9 pt bold.
    for (size_t i = 3; i < 7; ++i) {
        SCOPED_TRACE(drawn[i].text.toStdString());
        EXPECT_EQ(drawn[i].font, "Arial");
        EXPECT_NEAR(drawn[i].points, 9, 0.01);
        EXPECT_TRUE(drawn[i].bold);
    }
    // Rows are cells clipped to their widths (name 1.75 in, city line 2.0 in, each less the
    // 0.2 in gap before the next tab) in Arial 9 pt, neither bold nor italic.
    const double widths[] = {1.55, 1.8};
    for (size_t i = 7; i < 9; ++i) {
        SCOPED_TRACE(drawn[i].text.toStdString());
        EXPECT_EQ(drawn[i].command, "text-rect");
        EXPECT_EQ(drawn[i].font, "Arial");
        EXPECT_NEAR(drawn[i].points, 9, 0.01);
        EXPECT_FALSE(drawn[i].bold);
        EXPECT_FALSE(drawn[i].italic);
        EXPECT_NEAR(drawn[i].clipRight - drawn[i].clipLeft, widths[i - 7], 1e-6);
    }
}

TEST_F(TBuiltInRunTest, RowsFollowTheFontSizeFiftySixOnLetterSixtyOneOnA4)
{
    // A line is the font size / 60 in (Arial 9 pt: 0.15 in), so the body from 1.5 to 10.0 in
    // of a Letter page holds 56 rows, that of an A4 page 61 (not 51 and 55 at six lines an inch).
    for (int i = 0; i < 130; ++i)
        mTable.Add({{"LNAME", QStringLiteral("Row%1").arg(i, 3, 10, QLatin1Char('0'))}});
    // The rows' first cells (the name) stand at the first tab stop.
    const auto rowsOn = [](const qm::test::TRecordedJob& job, int page) {
        return int(
            job.PageLines(page).filter(QStringLiteral("text-rect")).filter(" x=1.02 ").size());
    };
    for (int report = 1; report <= 2; ++report) {
        const auto letter = Run(report, TRecordChoice::All);
        EXPECT_EQ(rowsOn(letter, 1), 56) << report;
        EXPECT_EQ(rowsOn(letter, 2), 56) << report;
    }
    TBuiltInReport routine(mTable.DataSet(), {});
    qm::test::TRecordedJob a4;
    {
        TReportRunScope scope(mTable.DataSet(), mTable.Apollo());
        scope.Apply({QStringLiteral("LNAME"), TRecordChoice::All, false, true}, {});
        a4 = qm::test::Record([&](qm::print::TBaseReport& r) {
            routine.Attach(r);
            r.SetPaperSize(9);
        });
    }
    // The paper is the printer's: Letter again for the tests after this one.
    qm::print::TRPDevice::Instance().SetPaperSize(1);
    EXPECT_EQ(rowsOn(a4, 1), 61);
}

TEST_F(TBuiltInRunTest, AllRecordsHidesOnlyDeletedRecordsAndSkipsKeysBeforeZero)
{
    // "Deleted" as a prefix is a name like any other; ISDEL hides a record.
    const auto job = Run(1, TRecordChoice::All);
    const QStringList texts = job.Texts(1);
    EXPECT_TRUE(texts.contains("Adams, Ann "));
    EXPECT_TRUE(texts.contains("Smith, John "));
    EXPECT_FALSE(texts.join('|').contains("Baker"));
    // The empty last name sorts before "0": reports 1 to 3 leave it out ...
    EXPECT_FALSE(texts.contains(", Nobody "));
    EXPECT_EQ(mRecords, 2);
}

TEST_F(TBuiltInRunTest, ReportFourListsKeysBeforeZero)
{
    const auto job = Run(4, TRecordChoice::All);
    EXPECT_EQ(mRecords, 3);
    // ... and report 4 lists the record with the empty last name first (no name cell).
    const QStringList texts = job.Texts(1);
    EXPECT_EQ(texts.indexOf("Zeta"), texts.indexOf("Date") + 1);
}

TEST_F(TBuiltInRunTest, StartFromCurrentRecordBeforeZeroStartsThere)
{
    mTable.MainView({}, mBlank);
    const auto job = Run(1, TRecordChoice::MatchingFilter, true);
    EXPECT_TRUE(mMessages.isEmpty());
    EXPECT_EQ(mRecords, 3);
    EXPECT_EQ(job.Texts(1).mid(7, 1), QStringList{", Nobody "});
}

TEST_F(TBuiltInRunTest, StartRecordOutsideTheRunStartsWithTheFirstRecord)
{
    // A deleted record is never part of "All records".
    mTable.MainView({}, mGone);
    const auto job = Run(1, TRecordChoice::All, true);
    EXPECT_EQ(mMessages, QStringList{TReportRunScope::kOutOfRange});
    EXPECT_EQ(mRecords, 2);
    EXPECT_EQ(job.Texts(1).mid(7, 1), QStringList{"Adams, Ann "});
}

TEST_F(TBuiltInRunTest, OnlyCurrentRecordPrintsItEvenBeforeZeroAndOutsideTheFilter)
{
    mTable.DataSet().GoTo(mBlank);
    const auto job = Run(2, TRecordChoice::CurrentOnly);
    EXPECT_EQ(mRecords, 1);
    EXPECT_TRUE(job.Texts(1).contains(", Nobody "));
    mTable.DataSet().GoTo(mAdams);
    EXPECT_TRUE(Run(3, TRecordChoice::CurrentOnly).Texts(1).contains("Adams, Ann "));
    EXPECT_EQ(mRecords, 1);
}

TEST_F(TBuiltInRunTest, EmptyTitleLeavesPageNumberAndDate)
{
    TBuiltInReportOptions options;
    options.title.clear();
    const auto job = Run(1, TRecordChoice::MatchingFilter, false, options);
    EXPECT_EQ(job.Texts(1).mid(0, 3), (QStringList{"Page 1", "12/09/2026", "Name"}));
}

TEST_F(TBuiltInRunTest, CodesAndMemoBlocksAreShaded)
{
    mTable.DataSet().GoTo(mSmith);
    mTable.DataSet().Edit();
    mTable.DataSet().SetAsString("CODES", "VIP");
    mTable.DataSet().SetAsString("MEMO", "First line\r\nSecond line");
    mTable.DataSet().Post();
    TBuiltInReportOptions options;
    options.printMemo = options.printCodes = true;
    const auto job = Run(1, TRecordChoice::MatchingFilter, false, options);
    const QStringList texts = job.Texts(1);
    EXPECT_EQ(texts.mid(texts.size() - 3),
              (QStringList{"Codes: VIP", "First line", "Second line"}));
    // 5 percent for the codes (F2F2F2), 10 percent for the memo (E6E6E6).
    const QString page = job.PageLines(1).join('\n');
    EXPECT_TRUE(page.contains("#f2f2f2"));
    EXPECT_TRUE(page.contains("#e6e6e6"));
}

TEST_F(TBuiltInRunTest, LongMemoGoesOnAfterAFreshHeaderWithItsShading)
{
    QStringList memo;
    for (int i = 1; i <= 80; ++i)
        memo << QStringLiteral("Memo line %1").arg(i);
    mTable.DataSet().GoTo(mSmith);
    mTable.DataSet().Edit();
    mTable.DataSet().SetAsString("MEMO", memo.join("\r\n"));
    mTable.DataSet().Post();
    TBuiltInReportOptions options;
    options.printMemo = true;
    const auto job = Run(1, TRecordChoice::MatchingFilter, false, options);
    ASSERT_EQ(job.pages, 2);
    const QStringList second = job.Texts(2);
    EXPECT_EQ(second.mid(0, 7), (QStringList{"Report 1", "Page 2", "12/09/2026", "Name", "Address",
                                             "City/St/Zip", "Phone"}));
    EXPECT_TRUE(second.at(7).startsWith("Memo line "));
    EXPECT_EQ(second.last(), "Memo line 80");
    EXPECT_TRUE(job.PageLines(2).join('\n').contains("#e6e6e6"));
    // Every memo line lies inside the body area (above its bottom rule at 10 in).
    EXPECT_EQ(job.Texts(1).filter("Memo line").size() + second.filter("Memo line").size(), 80);
}

TEST_F(TBuiltInRunTest, ReportFourSeparatorOnlyWithFourLinesLeft)
{
    for (int i = 0; i < 25; ++i)
        mTable.Add({{"LNAME", QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0'))}});
    mTable.MainView(QStringLiteral("UPPER(LNAME)=\"S\""), mSmith);
    const auto job = Run(4, TRecordChoice::MatchingFilter);
    // Body: 8.5 in at 8 pt lines (8/60 in) = 63 lines; 3 lines and a separator line per record:
    // after 15 records 3 lines are left, the 16th record fits and leaves none for a separator.
    ASSERT_EQ(job.pages, 2);
    const auto separators = [&](int page) {
        // Besides the body area's two rules.
        return job.PageLines(page).filter("line-to").size() - 2;
    };
    EXPECT_EQ(separators(1), 15);
    EXPECT_EQ(separators(2), 10);
    EXPECT_EQ(mRecords, 26);
}

TEST_F(TBuiltInRunTest, AnErrorMidRunEndsItAndPutsTheViewBack)
{
    const uint32_t recNo = mTable.DataSet().RecNo();
    const QString query = mTable.Apollo().Query();
    const int order = mTable.Apollo().IndexOrd();
    {
        TReportRunScope scope(mTable.DataSet(), mTable.Apollo());
        scope.Apply({"ORG", TRecordChoice::All, false, true}, {});
        TBuiltInReport routine(mTable.DataSet(), {});
        int records = 0;
        routine.SetKeepGoing([&records] {
            if (++records == 2)
                throw std::runtime_error("damaged memo");
            return true;
        });
        qm::print::TReportFiler filer;
        filer.SetStreamMode(qm::print::TStreamMode::smMemory);
        routine.Attach(filer);
        EXPECT_THROW(filer.RunJob(), std::runtime_error);
        EXPECT_EQ(routine.Records(), 1);
    }
    EXPECT_EQ(mTable.DataSet().RecNo(), recNo);
    EXPECT_EQ(mTable.Apollo().Query(), query);
    EXPECT_EQ(mTable.Apollo().IndexOrd(), order);
}

TEST_F(TBuiltInRunTest, LongValuesAreClippedToTheirCells)
{
    mTable.DataSet().GoTo(mSmith);
    mTable.DataSet().Edit();
    mTable.DataSet().SetAsString("STREET", QString(40, QLatin1Char('W')));
    mTable.DataSet().Post();
    const auto job = Run(1, TRecordChoice::MatchingFilter);
    const QStringList rects = job.lines.filter("text-rect");
    ASSERT_FALSE(rects.isEmpty());
    // The street's clip box ends 0.2 in before its text position plus the cell width
    // (1 + 1.75 + 0.02 + 2.15).
    const QString street = rects.filter("WWWW").value(0);
    static const QRegularExpression box(
        QStringLiteral("rect=\\(([-0-9.]+),[-0-9.]+\\)\\(([-0-9.]+),"));
    const auto m = box.match(street);
    ASSERT_TRUE(m.hasMatch()) << street.toStdString();
    EXPECT_NEAR(m.captured(2).toDouble(), 4.9 + 0.02 - 0.2, 0.005);
}

} // namespace
