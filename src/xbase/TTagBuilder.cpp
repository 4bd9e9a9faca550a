#include "xbase/TTagBuilder.h"

#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cstring>

namespace qm::xbase {
namespace {

// The first eight key bytes as a big-endian number: most comparisons end there.
uint64_t Prefix(const char* key, size_t length)
{
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
                          " bytes where the tag has " + std::to_string(mKeyLength));
    if (recNo == 0)
        throw TXbaseError(TErrorKind::Usage, "record number 0 cannot be indexed");
    mKeys.append(key);
    mRecNos.push_back(recNo);
    mSorted = false;
}

void TTagBuilder::Sort(bool unique)
{
    if (mSorted && !unique)
        return;
    const size_t n = mRecNos.size();
    std::vector<TSortItem> items(n);
    for (size_t i = 0; i < n; ++i)
        items[i] = {Prefix(mKeys.data() + i * mKeyLength, mKeyLength), static_cast<uint32_t>(i)};
    const char* keys = mKeys.data();
    const size_t length = mKeyLength;
    const uint32_t* recNos = mRecNos.data();
    std::sort(items.begin(), items.end(), [&](const TSortItem& a, const TSortItem& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        if (length > 8) {
            const int c = std::memcmp(keys + size_t{a.index} * length + 8,
                                      keys + size_t{b.index} * length + 8, length - 8);
            if (c != 0)
                return c < 0;
        }
        return recNos[a.index] < recNos[b.index];
    });
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
}

} // namespace qm::xbase
