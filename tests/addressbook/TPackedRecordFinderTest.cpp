// Finding the current record again after the address file was cleaned out and reindexed.

#include "addressbook/TPackedRecordFinder.h"
#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TAddressFileRebuild.h"
#include "data/TDataSet.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace qm::addressbook;

namespace {

class PackedRecordFinderTest : public ::testing::Test {
protected:
    // Opens a file of these last names (record n holds names[n - 1]); each holds a memo.
    void Make(const QStringList& names)
    {
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        ASSERT_EQ(qm::data::TAddressFile::Create(path, {}), QString());
        qm::data::TAddressFile::DeclareFieldObjects(mDataSet);
        ASSERT_TRUE(qm::data::TAddressFile::Open(mDataSet, path).opened);
        for (const QString& name : names) {
            mDataSet.Append();
            mDataSet.SetAsString("LNAME", name);
            mDataSet.SetAsString("MEMO", "memo of " + name);
            mDataSet.Post();
        }
    }
    void MarkDeleted(uint32_t recNo)
    {
        mDataSet.GoTo(recNo);
        mDataSet.MarkDeleted(true);
    }
    void Pack() { ASSERT_EQ(qm::data::TAddressFileRebuild::Run(mDataSet, {}), QString()); }
    QString Shown() { return mDataSet.AsString("LNAME"); }

    qm::test::TTestHome mHome;
    qm::data::TDataSet mDataSet;
};

} // namespace

TEST_F(PackedRecordFinderTest, FindsTheRecordAtItsNewNumber)
{
    Make({"Adams", "Baker", "Carter", "Davis", "Evans"});
    MarkDeleted(2);
    MarkDeleted(4);
    mDataSet.GoTo(5);
    TPackedRecordFinder finder(mDataSet);
    Pack();
    ASSERT_EQ(mDataSet.Table().RecordCount(), 3u);
    EXPECT_TRUE(finder.GoBack());
    EXPECT_EQ(mDataSet.RecNo(), 3u);
    EXPECT_EQ(Shown(), "Evans");
    EXPECT_EQ(mDataSet.AsString("MEMO"), "memo of Evans"); // its memo moved with it
}

TEST_F(PackedRecordFinderTest, ARecordThePackRemovesOrNoRecordGivesTheFirst)
{
    Make({"Adams", "Baker", "Carter"});
    mDataSet.Last();
    MarkDeleted(3); // still the current record, as when deleted records are not hidden
    TPackedRecordFinder removed(mDataSet);
    Pack();
    mDataSet.Last();
    EXPECT_FALSE(removed.GoBack());
    EXPECT_EQ(Shown(), "Adams");

    mDataSet.Table().Zap();
    mDataSet.Resync();
    TPackedRecordFinder none(mDataSet);
    Pack();
    EXPECT_FALSE(none.GoBack());
    EXPECT_TRUE(mDataSet.IsEmpty());
}

TEST_F(PackedRecordFinderTest, WithoutAPackTheRecordKeepsItsNumber)
{
    // A rebuild that stopped before the pack: the marked records are still in place.
    Make({"Adams", "Baker", "Baker", "Carter"});
    MarkDeleted(1);
    mDataSet.GoTo(4);
    TPackedRecordFinder finder(mDataSet);
    mDataSet.First();
    EXPECT_TRUE(finder.GoBack());
    EXPECT_EQ(mDataSet.RecNo(), 4u);
    EXPECT_EQ(Shown(), "Carter");
}
