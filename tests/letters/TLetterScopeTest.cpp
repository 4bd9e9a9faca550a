#include "letters/TLetterScope.h"
#include "letters/TDataSetLetterRecords.h"

#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "xbase/TCursor.h"

#include <gtest/gtest.h>

namespace qm::letters {
namespace {

// Five records A..E in LNAME order; C is marked deleted (ISDEL), the filter shows B and D.
class TLetterScopeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString path = home.Path("ADDR.DBF");
        ASSERT_EQ(data::TAddressFile::Create(path, {}), QString());
        data::TAddressFile::DeclareFieldObjects(set);
        ASSERT_TRUE(data::TAddressFile::Open(set, path).opened);
        for (const char* last : {"Avery", "Baker", "Cole", "Dunn", "Ellis"}) {
            set.Append();
            set.SetAsString("LNAME", QString::fromLatin1(last));
            set.SetAsString("CITY", last[0] == 'B' || last[0] == 'D' ? "Here" : "There");
            if (last[0] == 'C')
                set.SetAsBoolean("ISDEL", true);
            set.Post();
        }
        set.Cursor().SelectTag("LNAME");
        set.Cursor().SetQuery(kFilter);
        set.Cursor().GoTop();
        set.Resync();
    }

    QStringList Walk()
    {
        QStringList names;
        TDataSetLetterRecords records(set);
        for (; !records.AtEnd(); records.Next())
            names << set.AsString("LNAME");
        return names;
    }

    const std::string kFilter = "CITY = \"Here\" .and. !ISDEL";
    test::TTestHome home;
    data::TDataSet set;
};

TEST_F(TLetterScopeTest, AllRecordsUnderAFilterThenTheFilterAgain)
{
    set.GoTo(4); // Dunn
    {
        TLetterScope scope(set);
        EXPECT_EQ(scope.Apply(TLetterWhat::AllRecords, false), QString());
        EXPECT_EQ(Walk(), QStringList({"Avery", "Baker", "Dunn", "Ellis"}));
    }
    EXPECT_EQ(set.Cursor().Query(), kFilter);
    EXPECT_EQ(set.RecNo(), 4u);
}

TEST_F(TLetterScopeTest, MatchingFilterStartsAtTheFirstMatch)
{
    set.GoTo(4);
    TLetterScope scope(set);
    scope.Apply(TLetterWhat::MatchingFilter, false);
    EXPECT_EQ(Walk(), QStringList({"Baker", "Dunn"}));
}

TEST_F(TLetterScopeTest, StartFromCurrentRecord)
{
    set.GoTo(4);
    {
        TLetterScope scope(set);
        EXPECT_EQ(scope.Apply(TLetterWhat::MatchingFilter, true), QString());
        EXPECT_EQ(Walk(), QStringList({"Dunn"}));
    }
    // A current record the filter excludes: the message, then from the first record.
    set.GoTo(5); // Ellis
    TLetterScope scope(set);
    EXPECT_EQ(scope.Apply(TLetterWhat::MatchingFilter, true),
              "Current record is out of range. Starting with first record");
    EXPECT_EQ(Walk(), QStringList({"Baker", "Dunn"}));
}

TEST_F(TLetterScopeTest, OnlyCurrentRecordStaysPut)
{
    set.GoTo(2);
    TLetterScope scope(set);
    EXPECT_EQ(scope.Apply(TLetterWhat::CurrentRecord, false), QString());
    EXPECT_EQ(set.AsString("LNAME"), "Baker");
}

} // namespace
} // namespace qm::letters
