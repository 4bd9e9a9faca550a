#include "xbase/TIndexTag.h"

#include "TIndexTestSupport.h"
#include "xbase/TCompoundIndex.h"
#include "xbase/TIndexCursor.h"
#include "xbase/TKeyEncoding.h"
#include "xbase/TTagBuilder.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace qm::xbase;
using qm::xbase::test::Padded;
using qm::xbase::test::Shared;

namespace {

using TModel = std::set<std::pair<std::string, uint32_t>>;

struct TTagFixture {
    std::shared_ptr<std::string> bytes = std::make_shared<std::string>();
    std::unique_ptr<TCompoundIndex> index;
    TIndexTag* tag = nullptr;

    explicit TTagFixture(uint16_t keyLength, bool unique = false,
                         TKeyType type = TKeyType::Character)
    {
        index = TCompoundIndex::Create(Shared(bytes));
        TTagInfo info;
        info.name = "T";
        info.keyExpression = "KEY";
        info.keyLength = keyLength;
        info.unique = unique;
        info.keyType = type;
        TTagBuilder none(keyLength);
        tag = &index->AddTag(info, none);
    }
};

// Keys from a small alphabet, so that many share prefixes, trailing blanks and whole keys.
std::string RandomKey(std::mt19937& rng, uint16_t keyLength)
{
    std::uniform_int_distribution<int> len(0, std::min<int>(keyLength, 12));
    std::uniform_int_distribution<int> letter(0, 3);
    std::string key;
    const int n = len(rng);
    for (int i = 0; i < n; ++i)
        key += static_cast<char>('A' + letter(rng));
    if (keyLength > 12 && rng() % 3 == 0)
        key += std::string(keyLength - key.size(), static_cast<char>('a' + rng() % 26));
    return Padded(key, keyLength);
}

std::vector<std::pair<std::string, uint32_t>> Walk(TIndexTag& tag, bool backwards)
{
    std::vector<std::pair<std::string, uint32_t>> out;
    TIndexCursor c(tag);
    for (bool ok = backwards ? c.Last() : c.First(); ok; ok = backwards ? c.Prev() : c.Next())
        out.emplace_back(std::string(c.Key()), c.RecNo());
    return out;
}

void ExpectMatches(TIndexTag& tag, const TModel& model)
{
    const TIndexCheck check = tag.Verify();
    ASSERT_TRUE(check.ok) << check.problem << " at " << check.offset;
    EXPECT_EQ(check.keyCount, model.size());
    const auto forward = Walk(tag, false);
    ASSERT_EQ(forward, std::vector(model.begin(), model.end()));
    const auto backward = Walk(tag, true);
    ASSERT_EQ(backward, std::vector(model.rbegin(), model.rend()));
}

class TIndexTagRandom : public ::testing::TestWithParam<uint16_t> {};

} // namespace

TEST_P(TIndexTagRandom, InsertsAndRemovesKeepTheTreeInOrder)
{
    const uint16_t keyLength = GetParam();
    TTagFixture f(keyLength);
    std::mt19937 rng(keyLength);
    TModel model;
    const uint32_t n = keyLength >= 200 ? 400 : 3000;
    for (uint32_t r = 1; r <= n; ++r) {
        const std::string key = RandomKey(rng, keyLength);
        EXPECT_TRUE(f.tag->Insert(key, r));
        model.emplace(key, r);
    }
    EXPECT_FALSE(f.tag->Insert(model.begin()->first, model.begin()->second))
        << "pair already there";
    ExpectMatches(*f.tag, model);

    // Remove about two thirds in random order, then put some back.
    std::vector<std::pair<std::string, uint32_t>> all(model.begin(), model.end());
    std::shuffle(all.begin(), all.end(), rng);
    for (size_t i = 0; i < all.size() * 2 / 3; ++i) {
        EXPECT_TRUE(f.tag->Remove(all[i].first, all[i].second));
        model.erase(all[i]);
    }
    EXPECT_FALSE(f.tag->Remove(all[0].first, all[0].second));
    ExpectMatches(*f.tag, model);
    for (size_t i = 0; i < all.size() / 4; ++i) {
        f.tag->Insert(all[i].first, all[i].second);
        model.insert(all[i]);
    }
    ExpectMatches(*f.tag, model);

    // Removing everything leaves an empty, usable tree.
    for (const auto& [key, recNo] : std::vector(model.begin(), model.end()))
        ASSERT_TRUE(f.tag->Remove(key, recNo));
    model.clear();
    ExpectMatches(*f.tag, model);
    TIndexCursor c(*f.tag);
    EXPECT_FALSE(c.First());
    EXPECT_TRUE(f.tag->Insert(Padded("Z", keyLength), 1));
    EXPECT_TRUE(c.First());
}

INSTANTIATE_TEST_SUITE_P(KeyLengths, TIndexTagRandom, ::testing::Values(1, 10, 60, 240));

TEST(TIndexTag, BulkBuildGivesTheSameOrderAsInsertsAndTakesLaterInserts)
{
    TTagFixture f(30);
    std::mt19937 rng(7);
    TTagBuilder builder(30);
    TModel model;
    for (uint32_t r = 1; r <= 20000; ++r) {
        const std::string key = RandomKey(rng, 30);
        builder.Add(key, r);
        model.emplace(key, r);
    }
    std::vector<int> progress;
    f.tag->Rebuild(builder, [&](int p) { progress.push_back(p); });
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    ExpectMatches(*f.tag, model);

    // Inserts fill the room the bulk build left in its leaves, then split them.
    for (uint32_t r = 20001; r <= 22000; ++r) {
        const std::string key = RandomKey(rng, 30);
        f.tag->Insert(key, r);
        model.emplace(key, r);
    }
    ExpectMatches(*f.tag, model);

    // A rebuild over a filled tag replaces its contents.
    TTagBuilder small(30);
    small.Add(Padded("ONLY", 30), 5);
    f.tag->Rebuild(small);
    ExpectMatches(*f.tag, TModel{{Padded("ONLY", 30), 5}});
}

TEST(TIndexTag, SeeksFindPrefixesExactKeysAndLastMatches)
{
    TTagFixture f(10);
    const std::vector<std::pair<std::string, uint32_t>> keys = {
        {"SMALL", 1}, {"SMITH", 2}, {"SMITH", 9}, {"SMITHSON", 3}, {"SMYTHE", 4}, {"SNOW", 5}};
    for (const auto& [k, r] : keys)
        f.tag->Insert(Padded(k, 10), r);
    TIndexCursor c(*f.tag);

    EXPECT_TRUE(c.Seek("SMI", true));
    EXPECT_EQ(c.RecNo(), 2u);
    EXPECT_TRUE(c.Seek("SMITH", false)); // exact: SMITH padded, not SMITHSON
    EXPECT_EQ(c.RecNo(), 2u);
    ASSERT_TRUE(c.Next());
    EXPECT_EQ(c.RecNo(), 9u);
    EXPECT_FALSE(c.Seek("SMITHS", false));
    EXPECT_EQ(c.RecNo(), 3u) << "left on the next greater key";
    EXPECT_FALSE(c.Seek("SMO", true));
    EXPECT_EQ(c.RecNo(), 4u);
    EXPECT_FALSE(c.Seek("ZZZ", true));
    EXPECT_FALSE(c.Valid());
    EXPECT_TRUE(c.Seek("", true));
    EXPECT_EQ(c.RecNo(), 1u);
    EXPECT_TRUE(c.Seek("SMITHSONIAN-LONGER-THAN-KEY", true) == false);

    EXPECT_TRUE(c.SeekLast("SMITH", true));
    EXPECT_EQ(c.RecNo(), 3u); // SMITHSON is the last key starting with SMITH
    EXPECT_TRUE(c.SeekLast("SMITH", false));
    EXPECT_EQ(c.RecNo(), 9u);
    EXPECT_FALSE(c.SeekLast("SMJ", true));
    EXPECT_EQ(c.RecNo(), 3u) << "the last key before";
    EXPECT_FALSE(c.SeekLast("A", true));
    EXPECT_FALSE(c.Valid());
    EXPECT_FALSE(c.SeekLast("ZZ", true));
    EXPECT_EQ(c.RecNo(), 5u);

    EXPECT_TRUE(c.SeekExact(Padded("SMITH", 10), 9));
    EXPECT_FALSE(c.SeekExact(Padded("SMITH", 10), 5));
    EXPECT_EQ(c.RecNo(), 9u);
}

TEST(TIndexTag, CursorFindsItsWayBackAfterTheTagChanges)
{
    TTagFixture f(12);
    for (uint32_t r = 1; r <= 2000; ++r)
        f.tag->Insert(Padded("K" + std::to_string(100000 + r), 12), r);
    TIndexCursor c(*f.tag);
    TIndexCursor other(*f.tag);
    ASSERT_TRUE(c.Seek("K100500", true));
    ASSERT_EQ(c.RecNo(), 500u);

    // The current pair is removed: Next goes to the one after it, Prev to the one before.
    f.tag->Remove(Padded("K100500", 12), 500);
    TIndexCursor copy = c;
    ASSERT_TRUE(c.Next());
    EXPECT_EQ(c.RecNo(), 501u);
    ASSERT_TRUE(copy.Prev());
    EXPECT_EQ(copy.RecNo(), 499u);

    // Many inserts split the pages under the cursor; it keeps its place.
    for (uint32_t r = 3000; r <= 4000; ++r)
        f.tag->Insert(Padded("K100501", 12), r);
    ASSERT_TRUE(c.Next());
    EXPECT_EQ(c.RecNo(), 3000u);
    ASSERT_TRUE(other.Last());
    EXPECT_EQ(other.RecNo(), 2000u);
    f.tag->Remove(Padded("K102000", 12), 2000);
    EXPECT_TRUE(other.Prev());
    EXPECT_EQ(other.RecNo(), 1999u);
}

TEST(TIndexTag, UniqueTagKeepsTheFirstRecordOfEachKey)
{
    TTagFixture f(6, true);
    EXPECT_TRUE(f.tag->Insert("AAA   ", 5));
    EXPECT_FALSE(f.tag->Insert("AAA   ", 2));
    EXPECT_TRUE(f.tag->Insert("BBB   ", 3));
    TModel model{{"AAA   ", 5}, {"BBB   ", 3}};
    ExpectMatches(*f.tag, model);

    TTagBuilder builder(6);
    builder.Add("CCC   ", 1);
    builder.Add("AAA   ", 2);
    builder.Add("CCC   ", 3);
    f.tag->Rebuild(builder);
    ExpectMatches(*f.tag, TModel{{"AAA   ", 2}, {"CCC   ", 1}});
}

TEST(TIndexTag, NumericKeysOrderByValueAndCompressTrailingZeroBytes)
{
    TTagFixture f(8, false, TKeyType::Numeric);
    EXPECT_EQ(f.tag->TrailByte(), '\0');
    const std::vector<double> values = {12, -3.5, 0, 1e9, -1e9, 2, 2.5, 100};
    for (size_t i = 0; i < values.size(); ++i) {
        std::string key;
        TKeyEncoding::Numeric(values[i], key);
        f.tag->Insert(key, static_cast<uint32_t>(i + 1));
    }
    std::vector<double> walked;
    TIndexCursor c(*f.tag);
    for (bool ok = c.First(); ok; ok = c.Next())
        walked.push_back(TKeyEncoding::DecodeNumeric(c.Key()));
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(walked, sorted);
    std::string two;
    TKeyEncoding::Numeric(2, two);
    EXPECT_TRUE(c.Seek(two, false));
    EXPECT_EQ(c.RecNo(), 6u);
}

TEST(TIndexTag, SeeksAgreeWithAModelAcrossManyPages)
{
    TTagFixture f(12);
    std::mt19937 rng(99);
    TModel model;
    TTagBuilder builder(12);
    for (uint32_t r = 1; r <= 5000; ++r) {
        const std::string key = RandomKey(rng, 12);
        builder.Add(key, r);
        model.emplace(key, r);
    }
    f.tag->Rebuild(builder);
    for (uint32_t r = 5001; r <= 6000; ++r) { // some pages split, some not
        const std::string key = RandomKey(rng, 12);
        f.tag->Insert(key, r);
        model.emplace(key, r);
    }
    TIndexCursor c(*f.tag);
    for (int probe = 0; probe < 800; ++probe) {
        std::string prefix = RandomKey(rng, 12).substr(0, 1 + rng() % 5);
        while (!prefix.empty() && prefix.back() == ' ')
            prefix.pop_back();
        // First pair whose key is >= prefix, and last pair whose key starts with prefix or is
        // below.
        auto first = std::find_if(model.begin(), model.end(), [&](const auto& e) {
            return e.first.compare(0, prefix.size(), prefix) >= 0;
        });
        const bool found = c.Seek(prefix, true);
        if (first == model.end()) {
            EXPECT_FALSE(c.Valid()) << prefix;
        } else {
            ASSERT_TRUE(c.Valid()) << prefix;
            EXPECT_EQ(std::make_pair(std::string(c.Key()), c.RecNo()), *first) << prefix;
            EXPECT_EQ(found, first->first.compare(0, prefix.size(), prefix) == 0) << prefix;
        }
        auto after = std::find_if(model.begin(), model.end(), [&](const auto& e) {
            return e.first.compare(0, prefix.size(), prefix) > 0;
        });
        c.SeekLast(prefix, true);
        if (after == model.begin()) {
            EXPECT_FALSE(c.Valid()) << prefix;
        } else {
            ASSERT_TRUE(c.Valid()) << prefix;
            EXPECT_EQ(std::make_pair(std::string(c.Key()), c.RecNo()), *std::prev(after)) << prefix;
        }
        // Exact positions, present or not.
        const auto& [key, recNo] =
            *std::next(model.begin(), static_cast<ptrdiff_t>(rng() % model.size()));
        EXPECT_TRUE(c.SeekExact(key, recNo));
        EXPECT_FALSE(c.SeekExact(key, 0xFFFFFFF0u) && c.RecNo() == 0xFFFFFFF0u);
    }
}

TEST(TIndexTag, BulkBuiltLeavesTakeALaterKeyEachWithoutSplitting)
{
    // Records appended to a large indexed table add keys all over the tag; with full leaves
    // nearly every one would split its leaf and rewrite the parent.
    TTagFixture f(20);
    TTagBuilder builder(20);
    TModel model;
    char text[32];
    for (uint32_t r = 1; r <= 20000; ++r) {
        std::snprintf(text, sizeof text, "NAME%07u", r * 10);
        builder.Add(Padded(text, 20), r);
        model.emplace(Padded(text, 20), r);
    }
    f.tag->Rebuild(builder);
    f.index->Flush();
    const size_t before = f.bytes->size();
    // One key after every 300th, far enough apart to land in different leaves.
    for (uint32_t r = 300; r <= 20000; r += 300) {
        std::snprintf(text, sizeof text, "NAME%07u", r * 10 + 5);
        ASSERT_TRUE(f.tag->Insert(Padded(text, 20), 20000 + r));
        model.emplace(Padded(text, 20), 20000 + r);
    }
    f.index->Flush();
    EXPECT_EQ(f.bytes->size(), before);
    ExpectMatches(*f.tag, model);
}
