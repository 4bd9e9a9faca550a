// The ZIP code tally (keys, groups, order, lines), the count over the address table with its
// status texts and cancel, and the four-column report recorded into a page stream.

#include "TReportTestSupport.h"

#include "reports/TZipCount.h"
#include "reports/TZipReport.h"
#include "reports/TZipTally.h"

namespace {

using qm::reports::TZipCount;
using qm::reports::TZipReport;
using qm::reports::TZipTally;

TEST(TZipTallyTest, ExtensionsAndTrailingBlanksCountUnderTheFiveDigitKey)
{
    TZipTally tally;
    for (const char* zip : {"97301", "97301-1234", "97301 ", "97301 A"})
        tally.Add(zip);
    EXPECT_EQ(tally.Count("97301"), 4u);
    EXPECT_EQ(tally.Keys(), 1u);
}

TEST(TZipTallyTest, GroupsOfShortCanadianAndBlankKeys)
{
    EXPECT_EQ(TZipTally::Group("9730"), TZipTally::TGroup::Other);
    EXPECT_EQ(TZipTally::Group("K1A 0"), TZipTally::TGroup::Other);
    EXPECT_EQ(TZipTally::Group(""), TZipTally::TGroup::Blank);
    EXPECT_EQ(TZipTally::Group("1234A"), TZipTally::TGroup::Digit);
    EXPECT_EQ(TZipTally::Key("K1A 0B1"), "K1A 0");
    TZipTally tally;
    tally.Add("K1A 0B1");
    tally.Add("9730");
    tally.Add("");
    tally.Add("   ");
    EXPECT_EQ(tally.Lines(), (QStringList{"", "", "9730      1", "K1A 0     1", "BLANK     2"}));
}

TEST(TZipTallyTest, DigitKeysInByteOrderThenOthersThenBlank)
{
    TZipTally tally;
    for (const char* zip : {"20500", "02134", "1234A", "12345", "Z9999", "A1B 2",
                            "\xC9"
                            "1234",
                            "", "99999"})
        tally.Add(zip);
    const QStringList lines = tally.Lines();
    EXPECT_EQ(lines, (QStringList{"02134     1", "12345     1", "1234A     1", "20500     1",
                                  "99999     1", "", "", "A1B 2     1", "Z9999     1",
                                  QString::fromUtf8("\xC3\x89") + "1234     1", "BLANK     1"}));
}

TEST(TZipTallyTest, CountsShowCommaThousandsSeparatorsInEveryLocale)
{
    // "#,##0" is a fixed format: the report prints in Windows-1252, where a locale's narrow
    // no-break space or Arabic digits would come out as "?".
    const QLocale before;
    for (const QLocale& locale :
         {QLocale::c(), QLocale(QLocale::French, QLocale::France), QLocale(QLocale::German),
          QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Hindi, QLocale::India)}) {
        QLocale::setDefault(locale);
        EXPECT_EQ(TZipTally::FormatCount(0), "0");
        EXPECT_EQ(TZipTally::FormatCount(999), "999");
        EXPECT_EQ(TZipTally::FormatCount(1000), "1,000");
        EXPECT_EQ(TZipTally::FormatCount(1234), "1,234");
        EXPECT_EQ(TZipTally::FormatCount(123456), "123,456");
        EXPECT_EQ(TZipTally::FormatCount(1234567), "1,234,567");
        EXPECT_EQ(TZipTally::FormatCount(18446744073709551615ull), "18,446,744,073,709,551,615");
        TZipTally tally;
        for (int i = 0; i < 1234; ++i)
            tally.Add("97301");
        EXPECT_EQ(tally.Lines().front(), "97301     1,234") << locale.name().toStdString();
    }
    QLocale::setDefault(before);
}

class TZipCountTest : public ::testing::Test {
protected:
    qm::test::TReportTable mTable;
};

TEST_F(TZipCountTest, CountsTheFilteredRecordsInNaturalOrderAndPutsTheTableBack)
{
    for (int i = 0; i < 250; ++i)
        mTable.Add({{"LNAME", QStringLiteral("N%1").arg(i)},
                    {"ZIP", i % 2 ? QStringLiteral("97301") : QStringLiteral("02134")}});
    mTable.Add({{"LNAME", "Gone"}, {"ZIP", "11111"}, {"ISDEL", "T"}});
    mTable.MainView({}, 17);
    QStringList status;
    TZipCount count(mTable.DataSet());
    count.SetStatus([&](const QString& text) { status << text; });
    TZipTally tally;
    ASSERT_TRUE(count.Run(tally));
    EXPECT_EQ(tally.Records(), 250u);
    EXPECT_EQ(tally.Count("97301"), 125u);
    EXPECT_EQ(tally.Count("11111"), 0u);
    EXPECT_EQ(status, (QStringList{"Reading database records...", "Reading record 100",
                                   "Reading record 200", "Sorting Zip Codes..."}));
    EXPECT_EQ(mTable.DataSet().RecNo(), 17u);
    EXPECT_EQ(mTable.Apollo().TagName(mTable.Apollo().IndexOrd()), QStringLiteral("LNAME"));
}

TEST_F(TZipCountTest, CancelLeavesNoTally)
{
    for (int i = 0; i < 600; ++i)
        mTable.Add({{"ZIP", "97301"}});
    mTable.MainView({}, 5);
    TZipCount count(mTable.DataSet());
    count.SetPoll([] { return false; });
    TZipTally tally;
    EXPECT_FALSE(count.Run(tally));
    EXPECT_EQ(tally.Keys(), 0u);
    EXPECT_EQ(mTable.DataSet().RecNo(), 5u);
}

TEST(TZipReportTest, FourColumnsThenANewPageWithItsHeader)
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("%1     %2").arg(10000 + i).arg(i + 1);
    TZipReport report(lines);
    const auto job = qm::test::Record([&](qm::print::TBaseReport& r) { report.Attach(r); });
    // 9 in of text area at 6 lines per inch: 54 lines a column, 216 a page.
    EXPECT_EQ(job.pages, 1);
    lines << lines;
    TZipReport longer(lines);
    const auto two = qm::test::Record([&](qm::print::TBaseReport& r) { longer.Attach(r); });
    ASSERT_EQ(two.pages, 2);
    const QStringList second = two.Texts(2);
    EXPECT_EQ(second.mid(0, 2), (QStringList{"Zip Code Count Report", "Page 2"}));
    EXPECT_EQ(second.at(2), QString::number(10000 + 216 - 200));
    // Odd lines of a column are shaded; the count stands right-aligned.
    EXPECT_TRUE(two.PageLines(1).join('\n').contains("#f2f2f2"));
    EXPECT_FALSE(two.PageLines(1).filter("text-right").isEmpty());
}

TEST(TZipReportTest, CountsOfAMillionAndMorePrintWhole)
{
    TZipTally tally;
    const QStringList lines{QStringLiteral("97301     1,000,000"),
                            QStringLiteral("97302     12,345,678")};
    TZipReport report(lines);
    const auto job = qm::test::Record([&](qm::print::TBaseReport& r) { report.Attach(r); });
    const QStringList texts = job.Texts(1);
    EXPECT_TRUE(texts.contains("1,000,000"));
    EXPECT_TRUE(texts.contains("12,345,678"));
}

} // namespace
