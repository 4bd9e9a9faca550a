#include "xbase/TIndexPage.h"

#include "xbase/TIndexBytes.h"

#include <gtest/gtest.h>

using namespace qm::xbase;
using namespace qm::xbase::indexformat;

namespace {

TIndexNode Leaf(std::initializer_list<std::pair<std::string, uint32_t>> entries)
{
    TIndexNode node;
    for (const auto& [key, recNo] : entries) {
        node.keys += key;
        node.recNos.push_back(recNo);
    }
    return node;
}

} // namespace

TEST(TIndexPage, LeafRoundTripCompressesSharedPrefixesAndTrailingBlanks)
{
    const TIndexNode node = Leaf({{"ADAMS     ", 7},
                                  {"ADAMSON   ", 3},
                                  {"BAKER     ", 12},
                                  {"BAKER     ", 13},
                                  {"          ", 1}});
    TIndexPage::TPage page;
    ASSERT_TRUE(TIndexPage::EncodeLeaf(node, 0, node.Count(), 10, ' ', true, kNoPage, 1536, page));
    EXPECT_EQ(TIndexPage::Attributes(page), kAttrLeaf | kAttrRoot);
    EXPECT_EQ(TIndexPage::KeyCount(page), 5);
    // Stored key bytes: ADAMS (5) + ON (2) + BAKER (5) + none (duplicate) + none (all blank).
    const TLeafLayout layout = TLeafLayout::For(10, 13);
    EXPECT_EQ(indexbytes::Le16(page.data() + kLeafFreeSpace),
              kLeafSpace - 5 * layout.entryBytes - 12);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(page.data()) + kPageSize - 5, 5), "ADAMS");

    TIndexNode back;
    ASSERT_EQ(TIndexPage::Decode(page, 10, ' ', back), "");
    EXPECT_TRUE(back.leaf);
    EXPECT_EQ(back.keys, node.keys);
    EXPECT_EQ(back.recNos, node.recNos);
    EXPECT_EQ(back.right, 1536u);
    EXPECT_EQ(back.left, kNoPage);
}

TEST(TIndexPage, BinaryKeysTrimTrailingNulsAndLargeRecordNumbersWidenEntries)
{
    std::string k1("\xC0\x00\x00\x00\x00\x00\x00\x00", 8),
        k2("\xC0\x10\x00\x00\x00\x00\x00\x01", 8);
    TIndexNode node;
    node.keys = k1 + k2;
    node.recNos = {1, 0xFFFFFFF0u};
    TIndexPage::TPage page;
    ASSERT_TRUE(TIndexPage::EncodeLeaf(node, 0, 2, 8, '\0', false, kNoPage, kNoPage, page));
    EXPECT_EQ(page[kLeafRecBits], 32);
    EXPECT_GE(page[kLeafEntryBytes], 5);
    TIndexNode back;
    ASSERT_EQ(TIndexPage::Decode(page, 8, '\0', back), "");
    EXPECT_EQ(back.keys, node.keys);
    EXPECT_EQ(back.recNos, node.recNos);
}

TEST(TIndexPage, LeafThatDoesNotFitIsRefusedAndInteriorRoundTrips)
{
    TIndexNode big;
    for (uint32_t i = 0; i < 3; ++i) {
        big.keys += std::string(240, static_cast<char>('A' + i));
        big.recNos.push_back(i + 1);
    }
    TIndexPage::TPage page;
    EXPECT_FALSE(TIndexPage::EncodeLeaf(big, 0, 3, 240, ' ', false, kNoPage, kNoPage, page));
    EXPECT_TRUE(TIndexPage::EncodeLeaf(big, 0, 1, 240, ' ', false, kNoPage, kNoPage, page));

    TIndexNode interior;
    interior.leaf = false;
    interior.keys = std::string(240, 'A') + std::string(240, 'B');
    interior.recNos = {5, 9};
    interior.children = {1024, 1536};
    ASSERT_EQ(TIndexPage::InteriorCapacity(240), 2u);
    TIndexPage::EncodeInterior(interior, 0, 2, 240, true, kNoPage, kNoPage, page);
    TIndexNode back;
    ASSERT_EQ(TIndexPage::Decode(page, 240, ' ', back), "");
    EXPECT_FALSE(back.leaf);
    EXPECT_EQ(back.children, interior.children);
    EXPECT_EQ(back.recNos, interior.recNos);
    // Record number and child are big-endian.
    EXPECT_EQ(page[kInteriorEntries + 240 + 3], 5);
    EXPECT_EQ(page[kInteriorEntries + 240 + 4 + 2], 0x04);
}

TEST(TIndexPage, DamagedNodesAreDescribedNotDecoded)
{
    const TIndexNode node = Leaf({{"ABCDEFGHIJ", 1}, {"ABCDEFGHIK", 2}});
    TIndexPage::TPage good;
    ASSERT_TRUE(TIndexPage::EncodeLeaf(node, 0, 2, 10, ' ', true, kNoPage, kNoPage, good));
    TIndexNode out;

    TIndexPage::TPage page = good;
    indexbytes::PutLe16(page.data() + kNodeKeyCount, 400); // more entries than the page holds
    EXPECT_NE(TIndexPage::Decode(page, 10, ' ', out), "");

    page = good;
    page[kLeafEntryBytes] = 0;
    EXPECT_NE(TIndexPage::Decode(page, 10, ' ', out), "");

    page = good;
    page[kLeafRecBits] = 40;
    EXPECT_NE(TIndexPage::Decode(page, 10, ' ', out), "");

    page = good;
    page[kNodeAttributes] = 9;
    EXPECT_NE(TIndexPage::Decode(page, 10, ' ', out), "");

    page = good;
    indexbytes::PutLe16(page.data() + kNodeAttributes, kAttrInterior);
    indexbytes::PutLe16(page.data() + kNodeKeyCount, 200);
    EXPECT_NE(TIndexPage::Decode(page, 10, ' ', out), "");

    // A first entry claiming shared bytes with a key before it.
    page = good;
    const int dupBit = good[kLeafRecBits];
    page[kLeafEntries + dupBit / 8] |= static_cast<uint8_t>(1u << (dupBit % 8));
    EXPECT_NE(TIndexPage::Decode(page, 10, ' ', out), "");
}
