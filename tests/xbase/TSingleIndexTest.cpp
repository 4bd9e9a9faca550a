#include "xbase/TSingleIndex.h"

#include "TIndexTestSupport.h"
#include "xbase/TCompoundIndex.h"
#include "xbase/TIndexCursor.h"
#include "xbase/TXbaseError.h"

#include <gtest/gtest.h>

using namespace qm::xbase;
using qm::xbase::test::Padded;
using qm::xbase::test::Shared;

namespace {

TTagInfo DupInfo()
{
    TTagInfo info;
    info.keyExpression = "UPPER(LNAME+FNAME)";
    info.keyLength = 20;
    return info;
}

} // namespace

TEST(TSingleIndex, StartsEmptyAndShowsOnlyTheAddedKeysInOrder)
{
    auto bytes = std::make_shared<std::string>();
    {
        auto index = TSingleIndex::Create(Shared(bytes), DupInfo());
        TIndexCursor c(index->Tag());
        EXPECT_FALSE(c.First());
        EXPECT_TRUE(index->AddKey(Padded("SMITHJOHN", 20), 40));
        EXPECT_TRUE(index->AddKey(Padded("BAKERANN", 20), 7));
        EXPECT_TRUE(index->AddKey(Padded("SMITHJOHN", 20), 3));
        index->Close();
    }
    // A compact single index: header of 1024 bytes, then the root leaf.
    ASSERT_EQ(bytes->size(), 1536u);
    EXPECT_EQ(static_cast<uint8_t>((*bytes)[14]), 0x20);

    auto index = TSingleIndex::Open(Shared(bytes));
    EXPECT_EQ(index->Tag().Info().keyExpression, "UPPER(LNAME+FNAME)");
    EXPECT_EQ(index->Tag().Name(), "");
    std::vector<uint32_t> order;
    TIndexCursor c(index->Tag());
    for (bool ok = c.First(); ok; ok = c.Next())
        order.push_back(c.RecNo());
    EXPECT_EQ(order, (std::vector<uint32_t>{7, 3, 40}));
    EXPECT_TRUE(index->Verify().ok);
}

TEST(TSingleIndex, CompoundAndSingleFilesAreNotTakenForEachOther)
{
    auto cdx = std::make_shared<std::string>();
    TCompoundIndex::Create(Shared(cdx))->Close();
    try {
        TSingleIndex::Open(Shared(cdx));
        FAIL();
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::Damaged);
    }
    auto idx = std::make_shared<std::string>();
    TSingleIndex::Create(Shared(idx), DupInfo())->Close();
    EXPECT_THROW(TCompoundIndex::Open(Shared(idx)), TXbaseError);

    TTagInfo bad = DupInfo();
    bad.keyLength = 0;
    EXPECT_THROW(TSingleIndex::Create(Shared(std::make_shared<std::string>()), bad), TXbaseError);
}
