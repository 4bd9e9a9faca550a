// The state/ZIP check over an address file with the shipped range table.

#include "maintenance/TStateZipCheckRun.h"
#include "TMaintenanceFixture.h"
#include "data/TProgramHome.h"
#include "maintenance/TResultIndex.h"
#include "maintenance/TStateZipRanges.h"
#include "xbase/TCursor.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

using namespace qm::maintenance;
using qm::test::TRecordValues;

namespace {

TRecordValues Rec(const char* last, const char* state, const char* zip)
{
    return {{"LNAME", last}, {"STATE", state}, {"ZIP", zip}};
}

class StateZipCheckRunTest : public qm::test::MaintenanceFixture {
protected:
    std::vector<QString> Check(bool blanks)
    {
        mHome.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
        TStateZipRanges ranges;
        EXPECT_EQ(ranges.Load(mHome.Home().SysDataDir()), QString());
        mDataSet.Cursor().SetQuery("!ISDEL");
        mIndex = std::make_unique<TResultIndex>(mDataSet, mHome.Path(TResultIndex::kStateZipFile),
                                                TStateZipCheckRun::KeyExpression());
        mOutcome = TStateZipCheckRun(mDataSet, ranges, blanks).Run(*mIndex);
        mIndex->MakeOrder();
        std::vector<QString> names;
        for (const uint32_t recNo : Shown())
            names.push_back(Value(recNo, "LNAME"));
        return names;
    }
    std::unique_ptr<TResultIndex> mIndex;
    TStateZipCheckRun::TOutcome mOutcome;
};

} // namespace

TEST_F(StateZipCheckRunTest, ListsQuestionableRecordsByName)
{
    Open({Rec("Inside", "AL", "35000"), Rec("Top", "AL", "36999"), Rec("Above", "AL", "37000"),
          Rec("SecondRow", "NY", "00501"), Rec("ThirdRow", "NY", "06390"),
          Rec("PlusFour", "AL", "36999-1234"), Rec("Lower", "al", "35000"),
          Rec("Partial", "N", "10001"), Rec("Nowhere", "ZZ", "35000"), Rec("NoZip", "AL", ""),
          Rec("NoState", "", "35000")});
    EXPECT_EQ(Check(false), (std::vector<QString>{"Above", "Lower", "Nowhere", "Partial"}));
    EXPECT_EQ(mOutcome.questionable, 4u);
}

TEST_F(StateZipCheckRunTest, TheBlankOptionListsEmptyStatesAndZips)
{
    Open({Rec("Good", "AL", "35000"), Rec("NoZip", "AL", ""), Rec("NoState", "", "35000"),
          Rec("Neither", "", "")});
    EXPECT_EQ(Check(true), (std::vector<QString>{"Neither", "NoState", "NoZip"}));
}

TEST_F(StateZipCheckRunTest, TheResultIndexLiesBesideTheAddressFileAndGoesWithTheRun)
{
    Open({Rec("Above", "AL", "37000")});
    const QString path = TResultIndex::StateZipPath(mPath);
    EXPECT_EQ(path, mHome.Path("DATA/_chksz.idx"));
    {
        TResultIndex index(mDataSet, path, TStateZipCheckRun::KeyExpression());
        EXPECT_TRUE(QFile::exists(path));
    }
    EXPECT_FALSE(QFile::exists(path));
    // An index that cannot be made throws and leaves nothing of its own behind; what stands in
    // the way is kept.
    ASSERT_TRUE(QDir().mkpath(path));
    EXPECT_ANY_THROW(TResultIndex(mDataSet, path, TStateZipCheckRun::KeyExpression()));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(StateZipQuestionableTest, BlanksWithoutTheOptionAreNeverListed)
{
    TStateZipRanges ranges;
    ranges.Add("AL", "35000", "36999");
    EXPECT_FALSE(TStateZipCheckRun::Questionable(ranges, "", "99999", false));
    EXPECT_FALSE(TStateZipCheckRun::Questionable(ranges, "ZZ", "   ", false));
    EXPECT_TRUE(TStateZipCheckRun::Questionable(ranges, "  ", "35000", true));
    EXPECT_FALSE(TStateZipCheckRun::Questionable(ranges, "AL", "35001", true));
}
