// Applying filters, tagging all matches and the search box's seek, on real address files.

#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "addressbook/TAddressBook.h"
#include "addressbook/TSoftSeek.h"
#include "addressbook/TTagAllRun.h"
#include "data/TAddressFile.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace qm::addressbook;
using namespace qm::data;

namespace {

struct TPerson {
    const char* last;
    const char* first;
    const char* city = "";
    const char* title = "";
};

class FilterApplyTest : public ::testing::Test {
protected:
    void Open(const std::vector<TPerson>& people)
    {
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        ASSERT_EQ(qm::data::TAddressFile::Create(path, {}), QString());
        {
            qm::data::TDataSet ds;
            qm::data::TAddressFile::DeclareFieldObjects(ds);
            ASSERT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
            for (const TPerson& p : people) {
                ds.Append();
                ds.SetAsString("LNAME", p.last);
                ds.SetAsString("FNAME", p.first);
                ds.SetAsString("CITY", p.city);
                ds.SetAsString("TITLE", p.title);
                ds.Post();
            }
        }
        mBook.LoadPreferences();
        ASSERT_TRUE(mBook.OpenAddressFile(path));
    }

    QString Query() { return mBook.Apollo().Query(); }
    QString Last() { return mBook.DataSet().AsString("LNAME"); }

    int CountTagged()
    {
        TFilterEntries saved = mBook.Filter();
        mBook.Filter().Clear();
        mBook.Filter().taggedOnly = true;
        const int count = mBook.ApplyFilter();
        mBook.Filter() = saved;
        mBook.ApplyFilter();
        return count;
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    TAddressBook mBook;
};

const std::vector<TPerson> kPeople = {
    {"Adams", "Al", "Springfield", "Dr"}, {"Baker", "Bo", "Shelbyville", "Mr"},
    {"Brown", "Cy", "Springdale", "Ms"},  {"Jones", "Di", "Ogdenville", "Mr"},
    {"Smith", "Ed", "Springfield", "Mr"}, {"Smythe", "Flo", "Capital City", "Ms"},
};

} // namespace

TEST_F(FilterApplyTest, TheCombinedQueryAndTheTaggedOnlyQuery)
{
    Open(kPeople);
    mBook.Filter().entries[0] = "a";
    mBook.Filter().entries[7] = "$spring";
    EXPECT_EQ(mBook.ApplyFilter(), 1);
    EXPECT_EQ(Query(), R"(UPPER(LNAME)="A" and "SPRING"$UPPER(CITY+STATE).and. !ISDEL)");
    EXPECT_EQ(mBook.CountStatus(), "1 filter matches");

    mBook.Filter().Clear();
    mBook.ToggleTag(); // Adams, the first shown record
    mBook.Filter().taggedOnly = true;
    EXPECT_EQ(mBook.ApplyFilter(), 1);
    EXPECT_EQ(Query(), "(UPPER(TAG)=\"" + mBook.TagIdentifier() + "\").and. !ISDEL");

    // Clearing the tags leaves a tagged-only filter nothing: it is dropped without a word.
    mBook.ClearTags(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    EXPECT_TRUE(mBook.FilterExpression().isEmpty());
    EXPECT_EQ(Query(), "!ISDEL");
    EXPECT_EQ(mBook.CountStatus(), "6 records (no filter)");
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}

TEST_F(FilterApplyTest, TwoHundredFortyThreeCharactersAreAcceptedOneMoreIsTooComplex)
{
    Open({{"Zed", "Zoe", "", "Zz"}});
    // Three ">=" terms: 16 characters each around the value, two " and " between them.
    const auto fill = [this](int first) {
        mBook.Filter().Clear();
        mBook.Filter().entries[0] = ">=" + QString(99, 'A');
        mBook.Filter().entries[1] = ">=" + QString(first, 'A');
        mBook.Filter().entries[2] = ">=A";
    };
    fill(85);
    EXPECT_EQ(mBook.ApplyFilter(), 1);
    EXPECT_EQ(mBook.FilterExpression().size(), 243);
    EXPECT_EQ(Query().size(), 255);
    EXPECT_TRUE(mResponder.Texts().isEmpty());

    fill(86);
    EXPECT_EQ(mBook.ApplyFilter(), 0);
    EXPECT_EQ(mResponder.Texts(), QStringList{"Sorry - filter is too complex.Please simplify it."});
    EXPECT_TRUE(mBook.Filter().IsEmpty());
    EXPECT_TRUE(mBook.FilterExpression().isEmpty());
    EXPECT_EQ(Query(), "!ISDEL");
}

TEST_F(FilterApplyTest, ALeadingBlankPieceAndALongEntry)
{
    Open(kPeople);
    // " jones" starts with a blank, so only Brown matches.
    mBook.Filter().entries[0] = "brown; jones";
    EXPECT_EQ(mBook.ApplyFilter(), 1);
    EXPECT_EQ(Last(), "Brown");
    mBook.Filter().entries[0] = "brown;jones";
    EXPECT_EQ(mBook.ApplyFilter(), 2);

    // Entries of any length split into their pieces; each comparison keeps 99 characters.
    QString many;
    for (int i = 0; i < 60; ++i)
        many += "x" + QString::number(i) + ";";
    many += "smith";
    mBook.Filter().entries[0] = many;
    EXPECT_EQ(mBook.ApplyFilter(), 0); // far too long for a query: dropped with the message
    EXPECT_EQ(mResponder.Texts().last(), "Sorry - filter is too complex.Please simplify it.");
    mBook.Filter().entries[0] = "$" + QString(150, 'm');
    const TFilterBuilder::TResult built = TFilterBuilder::Build(mBook.Filter(), "ID");
    EXPECT_EQ(built.expression, '"' + QString(99, 'M') + R"("$UPPER(LNAME))");
}

TEST_F(FilterApplyTest, ARefusedEntryLeavesTheFilterInForce)
{
    Open(kPeople);
    mBook.Filter().entries[0] = "sm";
    EXPECT_EQ(mBook.ApplyFilter(), 2);
    mBook.Filter().entries[0] = R"(a"b'c]d)";
    EXPECT_EQ(mBook.ApplyFilter(), 2);
    ASSERT_EQ(mResponder.Texts().size(), 1);
    EXPECT_EQ(mBook.Filter().entries[0], "sm");
    EXPECT_EQ(Query(), R"(UPPER(LNAME)="SM".and. !ISDEL)");
}

TEST_F(FilterApplyTest, TagAllTagsEveryMatchOrStopsAfterTheCurrentRecord)
{
    Open(kPeople);
    mBook.Filter().entries[7] = "$spring"; // Adams, Brown, Smith
    ASSERT_EQ(mBook.ApplyFilter(), 3);
    mBook.Last();
    const TTagAllRun::TOutcome all = TTagAllRun(mBook).Run({});
    EXPECT_EQ(all.tagged, 3);
    EXPECT_FALSE(all.cancelled);
    EXPECT_EQ(Last(), "Adams"); // first record afterwards
    EXPECT_FALSE(mBook.DataSet().ControlsDisabled());
    EXPECT_EQ(CountTagged(), 3);

    mBook.ClearTags(QDateTime(QDate(2026, 12, 9), QTime(10, 1)));
    mBook.Filter().Clear();
    mBook.ApplyFilter();
    QStringList seen;
    const TTagAllRun::TOutcome stopped = TTagAllRun(mBook).Run([&](int tagged) {
        seen << QString::number(tagged);
        return tagged == 3;
    });
    EXPECT_EQ(stopped.tagged, 3);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(seen, (QStringList{"1", "2", "3"}));
    EXPECT_EQ(CountTagged(), 3);

    // Stopping on the last record is no cancellation: everything is tagged.
    mBook.Filter().entries[0] = "jones";
    mBook.ApplyFilter();
    EXPECT_FALSE(TTagAllRun(mBook).Run([](int) { return true; }).cancelled);
}

TEST_F(FilterApplyTest, SearchSeeksAPrefixOrStaysWhereItWas)
{
    Open(kPeople);
    mBook.Next(); // Baker
    EXPECT_FALSE(TSoftSeek::Run(mBook, "LNAME", "zz"));
    EXPECT_EQ(Last(), "Baker");
    EXPECT_FALSE(mBook.Env().SoftSeek());

    EXPECT_TRUE(TSoftSeek::Run(mBook, "LNAME", "smy"));
    EXPECT_EQ(Last(), "Smythe");

    // Another order becomes current, with its status.
    EXPECT_TRUE(TSoftSeek::Run(mBook, "CITY", "ogd"));
    EXPECT_EQ(Last(), "Jones");
    EXPECT_EQ(mBook.SortTag(), "CITY");
    EXPECT_EQ(mBook.SortStatus(), "Sorted by City");
    mBook.Next();
    EXPECT_EQ(mBook.DataSet().AsString("CITY"), "Shelbyville"); // walking in city order

    EXPECT_FALSE(TSoftSeek::Run(mBook, "CITY", ""));
    EXPECT_EQ(mBook.DataSet().AsString("CITY"), "Shelbyville");
}
