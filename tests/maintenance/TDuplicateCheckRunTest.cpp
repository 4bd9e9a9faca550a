// The duplicate check over real address files: what matches in each kind of check, runs of equal
// records, the result index as the order, and a stale result file.

#include "maintenance/TDuplicateCheckRun.h"
#include "TMaintenanceFixture.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TResultIndex.h"
#include "xbase/TCursor.h"
#include "xbase/TSingleIndex.h"

#include <QFile>
#include <algorithm>

using namespace qm::maintenance;
using qm::test::TRecordValues;

namespace {

class DuplicateCheckRunTest : public qm::test::MaintenanceFixture {
protected:
    TDuplicateCheckRun::TOutcome Check(TDuplicateKind kind, int streetChars = 30)
    {
        mDataSet.Cursor().SetQuery("!ISDEL");
        mIndex = std::make_unique<TResultIndex>(mDataSet, mHome.Path(TResultIndex::kDuplicatesFile),
                                                TDuplicateCheckRun::KeyExpression(kind));
        auto outcome = TDuplicateCheckRun(mDataSet, {kind, streetChars}).Run(*mIndex);
        if (outcome.listed > 0)
            mIndex->MakeOrder();
        return outcome;
    }
    std::vector<uint32_t> Listed()
    {
        auto shown = Shown();
        std::sort(shown.begin(), shown.end());
        return shown;
    }

    std::unique_ptr<TResultIndex> mIndex;
};

TRecordValues Name(const char* last, const char* first)
{
    return {{"LNAME", last}, {"FNAME", first}};
}
TRecordValues Street(const char* street)
{
    return {{"LNAME", "X"}, {"STREET", street}};
}

} // namespace

TEST_F(DuplicateCheckRunTest, SameNameInAnyCaseIsOneDuplicateListingBoth)
{
    Open({Name("Brown", "Ann"), Name("Smith", "Al"), Name("BROWN", "ANN"), Name("Émile", "Zola"),
          Name("ÉMILE", "ZOLA")});
    const auto outcome = Check(TDuplicateKind::Name);
    EXPECT_EQ(outcome.duplicates, 2u);
    EXPECT_EQ(Listed(), (std::vector<uint32_t>{1, 3, 4, 5}));
}

TEST_F(DuplicateCheckRunTest, InitialCheckMatchesAnnAndAndrew)
{
    Open({Name("Brown", "Ann"), Name("Brown", "Andrew"), Name("Brown", "Bea")});
    EXPECT_EQ(Check(TDuplicateKind::Name).duplicates, 0u);
    EXPECT_EQ(Shown().size(), 3u); // nothing found: the index is not the order
    mIndex.reset();
    EXPECT_EQ(Check(TDuplicateKind::Initial).duplicates, 1u);
    EXPECT_EQ(Listed(), (std::vector<uint32_t>{1, 2}));
}

TEST_F(DuplicateCheckRunTest, PartsAreComparedApart)
{
    // Joined, both give BROWNEANN; they are different people.
    Open({Name("Browne", "Ann"), Name("Brown", "Eann")});
    EXPECT_EQ(Check(TDuplicateKind::Name).duplicates, 0u);
}

TEST_F(DuplicateCheckRunTest, StreetPrefixAndEmptyValues)
{
    Open({Street("12 Oak Street"),
          Street("12 Oak Str."),
          Street(""),
          Street(""),
          Street("9 Elm Road"),
          {{"STREET", "x"}},
          {{"STREET", "x"}}});
    const auto outcome = Check(TDuplicateKind::Street, 10);
    EXPECT_EQ(outcome.duplicates, 2u);
    EXPECT_EQ(Listed(), (std::vector<uint32_t>{1, 2, 6, 7}));
    mIndex.reset();
    EXPECT_EQ(Check(TDuplicateKind::Street, 30).duplicates, 1u);
}

TEST_F(DuplicateCheckRunTest, EmptyLastNamesNeverMatch)
{
    Open({Name("", "Ann"), Name("", "Ann"), Name("", ""), Name("", "")});
    EXPECT_EQ(Check(TDuplicateKind::Name).duplicates, 0u);
    mIndex.reset();
    EXPECT_EQ(Check(TDuplicateKind::Initial).duplicates, 0u);
}

TEST_F(DuplicateCheckRunTest, ARunOfThreeListsThreeRecordsOnceAndCountsTwo)
{
    Open({Name("Lee", "Al"), Name("Lee", "Al"), Name("Lee", "Al"), Name("Ng", "Bo")});
    const auto outcome = Check(TDuplicateKind::Name);
    EXPECT_EQ(outcome.duplicates, 2u);
    EXPECT_EQ(outcome.listed, 3u);
    EXPECT_EQ(Shown().size(), 3u);
}

TEST_F(DuplicateCheckRunTest, DeletedRecordsAreLeftOutAndDisappearFromTheList)
{
    Open({Name("Lee", "Al"), Name("Lee", "Al"), Name("Lee", "Al")});
    mDataSet.GoTo(3);
    mDataSet.Edit();
    mDataSet.SetAsBoolean("ISDEL", true);
    mDataSet.Post();
    mDataSet.MarkDeleted(true);
    EXPECT_EQ(Check(TDuplicateKind::Name).duplicates, 1u);
    EXPECT_EQ(Shown().size(), 2u);
    // Deleting in the grid as the main window does hides the record at once.
    mDataSet.GoTo(1);
    mDataSet.Edit();
    mDataSet.SetAsBoolean("ISDEL", true);
    mDataSet.Post();
    mDataSet.MarkDeleted(true);
    EXPECT_EQ(Shown(), (std::vector<uint32_t>{2}));
}

TEST_F(DuplicateCheckRunTest, CancelStopsAfterTheCurrentRecord)
{
    Open({Name("A", "a"), Name("A", "a"), Name("B", "b"), Name("B", "b")});
    mDataSet.Cursor().SetQuery("!ISDEL");
    TResultIndex index(mDataSet, mHome.Path(TResultIndex::kDuplicatesFile),
                       TDuplicateCheckRun::KeyExpression(TDuplicateKind::Name));
    int calls = 0;
    const auto outcome = TDuplicateCheckRun(mDataSet, {}).Run(index, [&](const TRunStep& step) {
        ++calls;
        EXPECT_EQ(step.total, 4u);
        return step.done == 2;
    });
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(outcome.duplicates, 1u);
}

TEST_F(DuplicateCheckRunTest, AStaleResultFileIsReplacedAndTheFileGoesWithTheIndex)
{
    Open({Name("Lee", "Al"), Name("Lee", "Al"), Name("Ng", "Bo"), Name("Ng", "Bo")});
    const QString path = mHome.Path(TResultIndex::kDuplicatesFile);
    {
        // A crash left a result file listing the Ng records.
        TResultIndex stale(mDataSet, path, TDuplicateCheckRun::KeyExpression(TDuplicateKind::Name));
        stale.Add(mDataSet.Table().ReadRecord(3), 3);
        stale.Add(mDataSet.Table().ReadRecord(4), 4);
        stale.Finish();
        QFile::copy(path, path + ".keep");
    }
    EXPECT_FALSE(QFile::exists(path));
    QFile::rename(path + ".keep", path);
    mDataSet.GoTo(1);
    mDataSet.Edit();
    mDataSet.SetAsString("LNAME", "Other");
    mDataSet.Post();
    EXPECT_EQ(Check(TDuplicateKind::Name).duplicates, 1u);
    EXPECT_EQ(Listed(), (std::vector<uint32_t>{3, 4}));
    EXPECT_TRUE(mIndex->IsOrder());
    mIndex.reset();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(mDataSet.Cursor().SingleIndexOrder(), nullptr);
}

TEST_F(DuplicateCheckRunTest, AMissingTagIsNamed)
{
    Open({Name("Lee", "Al")});
    mDataSet.Close();
    // An index without the STREET tag.
    {
        auto table = qm::xbase::TTable::Open(mPath.toStdString());
        table->DeleteIndexFile();
        table->AddTag("NAME", "UPPER(LNAME-FNAME)");
    }
    ASSERT_NO_THROW(mDataSet.Open(mPath));
    TResultIndex index(mDataSet, mHome.Path(TResultIndex::kDuplicatesFile),
                       TDuplicateCheckRun::KeyExpression(TDuplicateKind::Street));
    try {
        TDuplicateCheckRun(mDataSet, {TDuplicateKind::Street, 10}).Run(index);
        FAIL() << "no error";
    } catch (const TMaintenanceError& error) {
        EXPECT_EQ(error.MissingTag(), "STREET");
        EXPECT_TRUE(error.Message().contains("STREET"));
    }
}
