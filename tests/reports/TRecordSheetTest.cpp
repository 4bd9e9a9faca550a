// The current-record sheet: field lines with their labels, the memo with its separator, and a
// memo running over pages in italics; and memo breaking itself.

#include "TReportTestSupport.h"

#include "reports/TMemoLines.h"
#include "reports/TRecordSheet.h"

namespace {

using qm::reports::TMemoLines;
using qm::reports::TRecordSheet;

double Chars(const QString& text)
{
    return text.size();
}

TEST(TMemoLinesTest, HardBreaksWrapAndTheSingleBlankLine)
{
    EXPECT_TRUE(TMemoLines::Break({}, 10, Chars).isEmpty());
    EXPECT_TRUE(TMemoLines::Break(QStringLiteral("   "), 10, Chars).isEmpty());
    EXPECT_EQ(TMemoLines::Break(QStringLiteral("one\r\n\r\ntwo"), 10, Chars),
              (QStringList{"one", "", "two"}));
    EXPECT_EQ(TMemoLines::Break(QStringLiteral("aaa bbb ccc"), 7, Chars),
              (QStringList{"aaa bbb", "ccc"}));
    // Two blank lines are kept: only a memo of one blank line counts as none.
    EXPECT_EQ(TMemoLines::Break(QStringLiteral(" \r\n "), 10, Chars).size(), 2);
}

class TRecordSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mRec = mTable.Add({{"PREFIX", "Dr."},
                           {"LNAME", "Smith"},
                           {"STATE", "OR"},
                           {"ZIP", "97301"},
                           {"DATE", "20240131"},
                           {"MEMO", "Remember"}});
        mTable.MainView({}, mRec);
    }

    qm::test::TRecordedJob Run(std::array<bool, TRecordSheet::kFieldCount> chosen)
    {
        TRecordSheet sheet(mTable.DataSet(), chosen, QDate(2026, 12, 9));
        return qm::test::Record([&](qm::print::TBaseReport& r) { sheet.Attach(r); });
    }

    static std::array<bool, TRecordSheet::kFieldCount> All(bool on)
    {
        std::array<bool, TRecordSheet::kFieldCount> chosen;
        chosen.fill(on);
        return chosen;
    }

    qm::test::TReportTable mTable;
    uint32_t mRec = 0;
};

TEST_F(TRecordSheetTest, LabelsAndValuesInTableOrder)
{
    const QStringList texts = Run(All(true)).Texts(1);
    EXPECT_EQ(texts.mid(0, 4), (QStringList{"Page 1", "12/09/2026", "Prefix", "Dr."}));
    EXPECT_EQ(texts.mid(texts.indexOf("State"), 4),
              (QStringList{"State", "OR", "Zip/Postal", "97301"}));
    EXPECT_EQ(texts.mid(texts.indexOf("Date"), 2), (QStringList{"Date", "01/31/2024"}));
    EXPECT_EQ(texts.last(), "Remember");
    EXPECT_EQ(TRecordSheet::FieldIndex("State/Province"), 9);
    EXPECT_EQ(TRecordSheet::FieldIndex("E-mail"), 15);
}

TEST_F(TRecordSheetTest, OnlyMemoGivesHeaderEmptyLineSeparatorAndMemo)
{
    auto chosen = All(false);
    chosen[TRecordSheet::kFieldCount - 1] = true;
    const auto job = Run(chosen);
    EXPECT_EQ(job.Texts(1), (QStringList{"Page 1", "12/09/2026", "Remember"}));
    // Two rules of the page header, and the separator above the memo.
    const QStringList page = job.PageLines(1);
    EXPECT_EQ(page.filter("line-to").size(), 3);
    EXPECT_FALSE(page.filter("italic value=1").isEmpty());
}

TEST_F(TRecordSheetTest, EmptyMemoDrawsNoSeparator)
{
    mTable.DataSet().Edit();
    mTable.DataSet().SetAsString("MEMO", "");
    mTable.DataSet().Post();
    const auto job = Run(All(true));
    EXPECT_EQ(job.PageLines(1).filter("line-to").size(), 2);
}

TEST_F(TRecordSheetTest, LongMemoGoesOnAfterAFreshHeaderInItalics)
{
    QStringList memo;
    for (int i = 1; i <= 70; ++i)
        memo << QStringLiteral("Line %1").arg(i);
    mTable.DataSet().Edit();
    mTable.DataSet().SetAsString("MEMO", memo.join("\r\n"));
    mTable.DataSet().Post();
    const auto job = Run(All(true));
    ASSERT_EQ(job.pages, 2);
    const QStringList second = job.Texts(2);
    EXPECT_EQ(second.mid(0, 2), (QStringList{"Page 2", "12/09/2026"}));
    EXPECT_EQ(second.last(), "Line 70");
    // The page header is upright, the memo lines after it italic again.
    const QString page = job.PageLines(2).join('\n');
    const qsizetype header = page.indexOf("12/09/2026");
    EXPECT_GT(page.indexOf("italic value=1", header), header);
}

} // namespace
