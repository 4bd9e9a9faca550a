// The table as a label command leaves it: scope, start record and everything put back.

#include "labels/TLabelJobScope.h"

#include "TLabelPrintFixture.h"

using namespace qm;
using namespace qm::labels;

namespace {

class LabelJobScopeTest : public test::LabelPrintFixture {
protected:
    std::vector<uint32_t> Walk()
    {
        std::vector<uint32_t> out;
        for (; !mDataSet.Eof() && !mDataSet.IsEmpty(); mDataSet.Next())
            out.push_back(mDataSet.RecNo());
        return out;
    }
};

TEST_F(LabelJobScopeTest, ScopeQueriesAreTheDocumentedExpressions)
{
    EXPECT_EQ(TLabelJobScope::ScopeQuery(TLabelScope::AllRecords, "X", 7), "NOT ISDEL");
    EXPECT_EQ(TLabelJobScope::ScopeQuery(TLabelScope::CurrentRecord, "X", 7), "Recno()=7");
    EXPECT_EQ(TLabelJobScope::ScopeQuery(TLabelScope::MatchingFilter, "X", 7), "X");
}

TEST_F(LabelJobScopeTest, StartFromCurrentRecordStartsThereOrAtTheFirstWhenOutOfRange)
{
    OpenFile({{"C", "1"}, {"A", "2"}, {"B", "3"}, {"D", "4"}});
    mApollo->SetQuery("ZIP<>\"2\" .and. !ISDEL");
    mDataSet.GoTo(3); // "B"
    {
        TLabelJobScope scope(*mApollo);
        EXPECT_TRUE(scope.Apply(TLabelScope::MatchingFilter, true));
        EXPECT_EQ(Walk(), (std::vector<uint32_t>{3, 1, 4}));
    }
    EXPECT_EQ(mDataSet.RecNo(), 3u);

    mApollo->SetQuery("!ISDEL");
    mDataSet.GoTo(2); // "A" is first in Last Name order
    mApollo->SetQuery("ZIP<>\"2\" .and. !ISDEL");
    mDataSet.GoTo(2); // shown by the main window before the filter changed: out of range
    {
        TLabelJobScope scope(*mApollo);
        EXPECT_FALSE(scope.Apply(TLabelScope::MatchingFilter, true));
        EXPECT_EQ(Walk(), (std::vector<uint32_t>{3, 1, 4}));
    }
    {
        TLabelJobScope scope(*mApollo);
        EXPECT_TRUE(scope.Apply(TLabelScope::AllRecords, true));
        EXPECT_EQ(Walk(), (std::vector<uint32_t>{2, 3, 1, 4}));
    }
    {
        TLabelJobScope scope(*mApollo);
        EXPECT_TRUE(scope.Apply(TLabelScope::CurrentRecord, false));
        EXPECT_EQ(Walk(), (std::vector<uint32_t>{2}));
    }
}

TEST_F(LabelJobScopeTest, QueryOrderRecordAndExactMatchingComeBackAlsoAfterAnError)
{
    OpenFile({{"C", "1"}, {"A", "2"}, {"B", "3"}});
    mDataSet.GoTo(3);
    const int order = mApollo->IndexOrd();
    xbase::EngineSettings().exact = true;
    try {
        TLabelJobScope scope(*mApollo);
        scope.Apply(TLabelScope::CurrentRecord, false);
        ASSERT_TRUE(scope.UseZipOrder());
        EXPECT_FALSE(xbase::EngineSettings().exact);
        EXPECT_EQ(mApollo->IndexOrd(), mApollo->TagArea("ZIP"));
        throw std::runtime_error("the printer went away");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(mApollo->Query(), QStringLiteral("!ISDEL"));
    EXPECT_EQ(mApollo->IndexOrd(), order);
    EXPECT_EQ(mDataSet.RecNo(), 3u);
    EXPECT_TRUE(xbase::EngineSettings().exact);
}

} // namespace
