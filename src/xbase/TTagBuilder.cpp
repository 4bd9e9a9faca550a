#include "xbase/TTagBuilder.h"

#include "xbase/TXbaseError.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qm::xbase {
namespace {

// The first eight key bytes as a big-endian number: most comparisons end there.
uint64_t Prefix(const char* key, size_t length)
{
    if (std::endian::native == std::endian::little && length >= 8) {
        uint64_t v;
        std::memcpy(&v, key, 8);
        return __builtin_bswap64(v);
    }
    uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i)
        v = (v << 8) | (i < length ? static_cast<uint8_t>(key[i]) : 0u);
    return v;
}

struct TSortItem {
    uint64_t prefix;
    uint32_t index;
};

} // namespace

TTagBuilder::TTagBuilder(uint16_t keyLength, size_t expectedCount) : mKeyLength(keyLength)
{
    if (keyLength == 0)
        throw TXbaseError(TErrorKind::Usage, "an index key needs at least one byte");
    mKeys.reserve(expectedCount * keyLength);
    mRecNos.reserve(expectedCount);
}

void TTagBuilder::Add(std::string_view key, uint32_t recNo)
{
    if (key.size() != mKeyLength)
        throw TXbaseError(TErrorKind::Usage, "index key of " + std::to_string(key.size()) +
                                                 " bytes where the tag has " +
                                                 std::to_string(mKeyLength));
    if (recNo == 0)
        throw TXbaseError(TErrorKind::Usage, "record number 0 cannot be indexed");
    mKeys.append(key);
    mRecNos.push_back(recNo);
    mMaxRecNo = std::max(mMaxRecNo, recNo);
    mSorted = false;
}

namespace {

// Sorts items[lo, hi) by key bytes from depth on, then record number: an MSD radix sort on eight
// key bytes at a time (an LSD pass over each 16-bit digit of those eight bytes, skipping digits all
// items share), then the runs that still tie go on at depth + 8. Small runs use std::sort.
class TKeySorter {
public:
    TKeySorter(const char* keys, size_t keyLength, const uint32_t* recNos, size_t count,
               std::vector<TSortItem>& temp, std::vector<uint64_t>& chunkOf)
        : mKeys(keys), mLength(keyLength), mRecNos(recNos), mTemp(temp), mChunkOf(chunkOf)
    {
        mTemp.resize(count);
        mChunkOf.resize(count);
    }

    // Level by level: the eight key bytes at each depth are read for every record in storage
    // order (a sequential pass) and gathered into the runs that still tie.
    void Sort(std::vector<TSortItem>& items)
    {
        const size_t n = items.size();
        std::vector<std::pair<size_t, size_t>> runs;
        if (n > 1)
            runs.emplace_back(0, n);
        std::vector<uint64_t>& chunkOf = mChunkOf;
        for (size_t depth = 0; !runs.empty(); depth += 8) {
            if (depth >= mLength) {
                // Equal keys: by record number (already so when they were added in that order).
                for (const auto& [lo, hi] : runs)
                    if (!std::is_sorted(items.begin() + static_cast<ptrdiff_t>(lo),
                                        items.begin() + static_cast<ptrdiff_t>(hi),
                                        [&](const TSortItem& a, const TSortItem& b) {
                                            return mRecNos[a.index] < mRecNos[b.index];
                                        }))
                        std::sort(items.begin() + static_cast<ptrdiff_t>(lo),
                                  items.begin() + static_cast<ptrdiff_t>(hi),
                                  [&](const TSortItem& a, const TSortItem& b) {
                                      return mRecNos[a.index] < mRecNos[b.index];
                                  });
                return;
            }
            for (size_t i = 0; i < n; ++i)
                chunkOf[i] = Chunk(static_cast<uint32_t>(i), depth);
            std::vector<std::pair<size_t, size_t>> next;
            for (const auto& [lo, hi] : runs) {
                TSortItem* run = items.data() + lo;
                const size_t count = hi - lo;
                for (size_t i = 0; i < count; ++i)
                    run[i].prefix = chunkOf[run[i].index];
                if (count < 512) {
                    Small(run, count, depth);
                    continue;
                }
                RadixByPrefix(run, count);
                for (size_t a = 0; a < count;) {
                    size_t b = a + 1;
                    while (b < count && run[b].prefix == run[a].prefix)
                        ++b;
                    if (b - a > 1)
                        next.emplace_back(lo + a, lo + b);
                    a = b;
                }
            }
            runs = std::move(next);
        }
    }

private:
    uint64_t Chunk(uint32_t index, size_t depth) const
    {
        return Prefix(mKeys + size_t{index} * mLength + depth, mLength - depth);
    }

    void Small(TSortItem* items, size_t n, size_t depth)
    {
        const size_t rest = mLength > depth + 8 ? mLength - depth - 8 : 0;
        std::sort(items, items + n, [&](const TSortItem& a, const TSortItem& b) {
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix;
            if (rest > 0) {
                const int c = std::memcmp(mKeys + size_t{a.index} * mLength + depth + 8,
                                          mKeys + size_t{b.index} * mLength + depth + 8, rest);
                if (c != 0)
                    return c < 0;
            }
            return mRecNos[a.index] < mRecNos[b.index];
        });
    }

    // Stable LSD radix sort by the 64-bit prefix, one byte per pass; passes over a byte that every
    // item shares are skipped.
    void RadixByPrefix(TSortItem* items, size_t n)
    {
        uint32_t counts[8][256] = {};
        for (size_t i = 0; i < n; ++i) {
            const uint64_t p = items[i].prefix;
            for (int d = 0; d < 8; ++d)
                ++counts[d][(p >> (8 * d)) & 0xFF];
        }
        TSortItem* from = items;
        TSortItem* to = mTemp.data();
        for (int d = 0; d < 8; ++d) {
            const int shift = 8 * d;
            if (counts[d][(from[0].prefix >> shift) & 0xFF] == n)
                continue;
            uint32_t offsets[256];
            uint32_t sum = 0;
            for (int b = 0; b < 256; ++b) {
                offsets[b] = sum;
                sum += counts[d][b];
            }
            for (size_t i = 0; i < n; ++i)
                to[offsets[(from[i].prefix >> shift) & 0xFF]++] = from[i];
            std::swap(from, to);
        }
        if (from != items)
            std::copy(from, from + n, items);
    }

    const char* mKeys;
    size_t mLength;
    const uint32_t* mRecNos;
    std::vector<TSortItem>& mTemp;
    std::vector<uint64_t>& mChunkOf;
};

// Scratch memory is kept from one sort to the next: fresh memory costs a page fault per 4 KB,
// which is a large part of a sort's time.
struct TSortMemory {
    std::vector<TSortItem> items, temp;
    std::vector<uint64_t> chunkOf;
};
thread_local TSortMemory gSortMemory;

} // namespace

void TTagBuilder::ReleaseSortMemory()
{
    gSortMemory = TSortMemory();
}

void TTagBuilder::Sort(bool unique)
{
    if (mSorted && !unique)
        return;
    const size_t n = mRecNos.size();
    std::vector<TSortItem>& items = gSortMemory.items;
    std::vector<TSortItem>& temp = gSortMemory.temp;
    std::vector<uint64_t>& chunkOf = gSortMemory.chunkOf;
    items.resize(n);
    for (size_t i = 0; i < n; ++i)
        items[i] = {0, static_cast<uint32_t>(i)};
    TKeySorter(mKeys.data(), mKeyLength, mRecNos.data(), n, temp, chunkOf).Sort(items);
    const char* keys = mKeys.data();
    const size_t length = mKeyLength;
    mOrder.resize(n);
    size_t out = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint32_t index = items[i].index;
        if (unique && out > 0 &&
            std::memcmp(keys + size_t{index} * length, keys + size_t{mOrder[out - 1]} * length,
                        length) == 0)
            continue;
        mOrder[out++] = index;
    }
    mOrder.resize(out);
    mSorted = true;
}

void TTagBuilder::Clear()
{
    mKeys.clear();
    mRecNos.clear();
    mOrder.clear();
    mSorted = false;
    mMaxRecNo = 0;
}

} // namespace qm::xbase
