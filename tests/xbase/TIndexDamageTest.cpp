// Damaged and hostile index files: every failure is a TXbaseError naming the file, never a
// crash, a hang or a huge allocation.

#include "TIndexTestSupport.h"
#include "xbase/TCompoundIndex.h"
#include "xbase/TIndexBytes.h"
#include "xbase/TIndexCursor.h"
#include "xbase/TIndexFormat.h"
#include "xbase/TTagBuilder.h"
#include "xbase/TXbaseError.h"

#include <gtest/gtest.h>
#include <random>

using namespace qm::xbase;
using namespace qm::xbase::indexformat;
using qm::xbase::test::Padded;
using qm::xbase::test::Shared;

namespace {

// A compound index of two tags over n records, with interior levels when n is large.
std::string BuildFile(uint32_t n)
{
    auto bytes = std::make_shared<std::string>();
    auto index = TCompoundIndex::Create(Shared(bytes));
    for (const char* name : {"LNAME", "CITY"}) {
        TTagBuilder builder(24);
        for (uint32_t r = 1; r <= n; ++r)
            builder.Add(Padded(std::string(name) + std::to_string((r * 7919) % 1000003), 24), r);
        TTagInfo info;
        info.name = name;
        info.keyExpression = std::string("UPPER(") + name + ")";
        info.keyLength = 24;
        index->AddTag(info, builder);
    }
    index->Close();
    return *bytes;
}

// Opens, walks both ways, seeks, verifies and changes the file; returns the first error's kind.
std::optional<TErrorKind> Exercise(const std::string& bytes)
{
    try {
        auto index = TCompoundIndex::Open(Shared(std::make_shared<std::string>(bytes)));
        for (int t = 1; t <= index->TagCount(); ++t) {
            TIndexTag& tag = index->Tag(t);
            if (!tag.Verify().ok)
                return TErrorKind::Damaged;
            TIndexCursor c(tag);
            for (bool ok = c.First(); ok; ok = c.Next()) {
            }
            for (bool ok = c.Last(); ok; ok = c.Prev()) {
            }
            c.Seek("LNAME5", true);
            c.SeekLast("CITY9", true);
            tag.Insert(std::string(tag.KeyLength(), 'M'), 77);
            tag.Remove(std::string(tag.KeyLength(), 'M'), 77);
        }
        index->Verify();
        index->Flush();
    } catch (const TXbaseError& e) {
        EXPECT_FALSE(e.File().empty());
        return e.Kind();
    }
    return std::nullopt;
}

uint32_t Root(const std::string& bytes, uint32_t header)
{
    return indexbytes::Le32(reinterpret_cast<const uint8_t*>(bytes.data()) + header);
}

// The header of the first tag (the directory's only leaf holds both names).
uint32_t FirstTagHeader(const std::string& bytes)
{
    auto index = TCompoundIndex::Open(Shared(std::make_shared<std::string>(bytes)), true);
    return index->Tag(1).HeaderOffset();
}

} // namespace

TEST(TIndexDamage, TruncationAnywhereIsReportedAsDamage)
{
    const std::string good = BuildFile(3000);
    ASSERT_FALSE(Exercise(good).has_value());
    for (size_t length : {size_t{0}, size_t{100}, size_t{1024}, size_t{1500}, good.size() / 2,
                          good.size() - 512, good.size() - 1}) {
        const auto kind = Exercise(good.substr(0, length));
        ASSERT_TRUE(kind.has_value()) << length;
        EXPECT_EQ(*kind, TErrorKind::Damaged) << length;
    }
}

TEST(TIndexDamage, CyclesAmongPagesAreFoundNotFollowedForever)
{
    const std::string good = BuildFile(3000);
    const uint32_t header = FirstTagHeader(good);
    const uint32_t root = Root(good, header);
    ASSERT_EQ(indexbytes::Le16(reinterpret_cast<const uint8_t*>(good.data()) + root), kAttrRoot)
        << "the tag should have an interior root";

    // The root's first child pointer points back at the root.
    std::string cycle = good;
    indexbytes::PutBe32(reinterpret_cast<uint8_t*>(cycle.data()) + root + kInteriorEntries + 24 + 4,
                        root);
    auto kind = Exercise(cycle);
    ASSERT_TRUE(kind.has_value());
    EXPECT_EQ(*kind, TErrorKind::Damaged);
    auto index = TCompoundIndex::Open(Shared(std::make_shared<std::string>(cycle)), true);
    const TIndexCheck check = index->Tag(1).Verify();
    EXPECT_FALSE(check.ok);

    // A leaf whose right sibling is the first leaf.
    std::string loop = good;
    const auto* data = reinterpret_cast<const uint8_t*>(good.data());
    uint32_t firstLeaf = root;
    while ((indexbytes::Le16(data + firstLeaf) & kAttrLeaf) == 0)
        firstLeaf = indexbytes::Be32(data + firstLeaf + kInteriorEntries + 24 + 4);
    const uint32_t secondLeaf = indexbytes::Le32(data + firstLeaf + kNodeRight);
    indexbytes::PutLe32(reinterpret_cast<uint8_t*>(loop.data()) + secondLeaf + kNodeRight,
                        firstLeaf);
    kind = Exercise(loop);
    ASSERT_TRUE(kind.has_value());
    EXPECT_EQ(*kind, TErrorKind::Damaged);
}

TEST(TIndexDamage, BadCountsAndPointersNameTheFileAndOffset)
{
    const std::string good = BuildFile(200);
    const uint32_t header = FirstTagHeader(good);
    const uint32_t root = Root(good, header);

    std::string badCount = good;
    indexbytes::PutLe16(reinterpret_cast<uint8_t*>(badCount.data()) + root + kNodeKeyCount, 60000);
    auto index = TCompoundIndex::Open(Shared(std::make_shared<std::string>(badCount)));
    TIndexCursor c(index->Tag(1));
    try {
        c.First();
        FAIL();
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::Damaged);
        EXPECT_EQ(e.File(), "TEST.CDX");
        EXPECT_EQ(e.Offset(), root);
    }

    std::string badRoot = good;
    indexbytes::PutLe32(reinterpret_cast<uint8_t*>(badRoot.data()) + header, 0x7FFFFE00);
    EXPECT_EQ(Exercise(badRoot), TErrorKind::Damaged);

    std::string badKeyLength = good;
    indexbytes::PutLe16(reinterpret_cast<uint8_t*>(badKeyLength.data()) + header + kHdrKeyLength,
                        999);
    EXPECT_EQ(Exercise(badKeyLength), TErrorKind::Damaged);

    std::string notAnIndex(4096, 'x');
    EXPECT_EQ(Exercise(notAnIndex), TErrorKind::Damaged);
}

TEST(TIndexDamage, EveryChangedByteGivesAnErrorOrAWorkingFile)
{
    const std::string good = BuildFile(300);
    std::mt19937 rng(1);
    for (size_t offset = 0; offset < good.size(); ++offset) {
        for (uint8_t value : {static_cast<uint8_t>(rng())}) {
            std::string poked = good;
            poked[offset] = static_cast<char>(value);
            Exercise(poked); // must return or throw TXbaseError, never crash or hang
        }
    }
}
