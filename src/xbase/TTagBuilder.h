#pragma once

// Collects the (key, record number) pairs of one tag in any order for a bulk build
// (TCompoundIndex::AddTag, TIndexTag::Rebuild). Keys are kept in one flat buffer: memory is
// (keyLength + 4) bytes per pair while collecting, plus 16 bytes per pair while sorting.
// Add pairs in ascending record order when you can: equal keys then keep the order of their
// record numbers without extra work (they are ordered by record number in any case).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

class TTagBuilder {
public:
    explicit TTagBuilder(uint16_t keyLength, size_t expectedCount = 0);

    uint16_t KeyLength() const { return mKeyLength; }
    size_t Count() const { return mRecNos.size(); }

    // key must be exactly KeyLength() bytes (throws TXbaseError(Usage) otherwise); recNo >= 1.
    void Add(std::string_view key, uint32_t recNo);

    // Sorts the pairs by key bytes, then record number. When unique, keeps only the first
    // record of each key. Called by the index; calling it twice is harmless.
    void Sort(bool unique);

    std::string_view Key(size_t i) const
    {
        return {mKeys.data() + mOrder[i] * mKeyLength, mKeyLength};
    }
    uint32_t RecNo(size_t i) const { return mRecNos[mOrder[i]]; }
    size_t SortedCount() const { return mOrder.size(); }
    // The largest record number added (0 when none).
    uint32_t MaxRecNo() const { return mMaxRecNo; }
    // Hints that Key(i) will be read soon.
    void Prefetch(size_t i) const
    {
        if (i < mOrder.size()) {
            const char* key = mKeys.data() + size_t{mOrder[i]} * mKeyLength;
            __builtin_prefetch(key);
            __builtin_prefetch(key + mKeyLength - 1);
            __builtin_prefetch(mRecNos.data() + mOrder[i]);
        }
    }

    void Clear();

    // Sorting keeps about 40 bytes per pair of its largest sort so far for the next sort (fresh
    // memory is slow to touch); this gives it back, for after a batch of tag builds.
    static void ReleaseSortMemory();

private:
    uint16_t mKeyLength;
    std::string mKeys;
    std::vector<uint32_t> mRecNos;
    std::vector<uint32_t> mOrder; // filled by Sort
    bool mSorted = false;
    uint32_t mMaxRecNo = 0;
};

} // namespace qm::xbase
