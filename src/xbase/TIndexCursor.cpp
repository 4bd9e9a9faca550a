#include "xbase/TIndexCursor.h"

#include "xbase/TIndexPageFile.h"
#include "xbase/TIndexTag.h"
#include "xbase/TXbaseError.h"

#include <cstring>

namespace qm::xbase {

using namespace indexformat;

namespace {

size_t FirstAtOrAfter(const TIndexNode& node, uint16_t keyLength, std::string_view key,
                      uint64_t recNo)
{
    size_t lo = 0, hi = node.Count();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        const int c = std::memcmp(node.keys.data() + mid * keyLength, key.data(), key.size());
        if (c > 0 || (c == 0 && node.recNos[mid] >= recNo))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// (a, ra) > (b, rb)
bool After(std::string_view a, uint32_t ra, std::string_view b, uint32_t rb)
{
    const int c = a.compare(b);
    return c > 0 || (c == 0 && ra > rb);
}

} // namespace

TIndexCursor::TIndexCursor(TIndexTag& tag) : mTag(&tag) {}

std::string_view TIndexCursor::Key() const
{
    return mLeaf.Key(mPos, mTag->KeyLength());
}
uint32_t TIndexCursor::RecNo() const
{
    return mLeaf.recNos[mPos];
}

void TIndexCursor::Remember()
{
    mGeneration = mTag->Generation();
}

bool TIndexCursor::Invalidate()
{
    mValid = false;
    return false;
}

bool TIndexCursor::EnterLeaf(uint32_t page, bool forward)
{
    const uint64_t limit = mTag->mFile.PageCount();
    for (uint64_t steps = 0;; ++steps) {
        if (steps > limit)
            mTag->Damaged(page, "index leaves are linked in a cycle");
        mTag->ReadNode(page, mLeaf, true);
        if (!mLeaf.leaf)
            mTag->Damaged(page, "an interior node is linked among the leaves");
        if (mLeaf.Count() > 0) {
            mPage = page;
            mPos = forward ? 0 : mLeaf.Count() - 1;
            mValid = true;
            Remember();
            return true;
        }
        const uint32_t next = forward ? mLeaf.right : mLeaf.left;
        if (next == kNoPage)
            return Invalidate();
        page = next;
    }
}

bool TIndexCursor::First()
{
    TIndexNode node;
    return EnterLeaf(mTag->EdgeLeaf(false, node), true);
}

bool TIndexCursor::Last()
{
    TIndexNode node;
    return EnterLeaf(mTag->EdgeLeaf(true, node), false);
}

void TIndexCursor::SeekPair(std::string_view key, uint64_t recNo)
{
    mPage = mTag->FindLeaf(key, recNo, mLeaf, nullptr);
    const size_t pos = FirstAtOrAfter(mLeaf, mTag->KeyLength(), key, recNo);
    if (pos < mLeaf.Count()) {
        mPos = pos;
        mValid = true;
        Remember();
        return;
    }
    if (mLeaf.right == kNoPage) {
        Invalidate();
        return;
    }
    EnterLeaf(mLeaf.right, true);
}

bool TIndexCursor::Resync()
{
    mKey.assign(Key());
    mRecNo = RecNo();
    SeekPair(mKey, mRecNo);
    return mValid && RecNo() == mRecNo && Key() == mKey;
}

bool TIndexCursor::Next()
{
    if (!mValid)
        return false;
    if (mGeneration != mTag->Generation()) {
        if (!Resync())
            return mValid; // the pair is gone: the next greater one is the next
    }
    if (mPos + 1 < mLeaf.Count()) {
        ++mPos;
        return true;
    }
    if (mLeaf.right == kNoPage)
        return Invalidate();
    mKey.assign(Key());
    mRecNo = RecNo();
    const uint32_t from = mPage;
    if (!EnterLeaf(mLeaf.right, true))
        return false;
    if (!After(Key(), RecNo(), mKey, mRecNo))
        mTag->Damaged(from, "index leaves out of order or linked in a cycle");
    return true;
}

bool TIndexCursor::Prev()
{
    if (!mValid)
        return false;
    if (mGeneration != mTag->Generation()) {
        Resync();
        if (!mValid)
            return Last(); // nothing after the old pair: the last one is before it
    }
    if (mPos > 0) {
        --mPos;
        return true;
    }
    if (mLeaf.left == kNoPage)
        return Invalidate();
    mKey.assign(Key());
    mRecNo = RecNo();
    const uint32_t from = mPage;
    if (!EnterLeaf(mLeaf.left, false))
        return false;
    if (!After(mKey, mRecNo, Key(), RecNo()))
        mTag->Damaged(from, "index leaves out of order or linked in a cycle");
    return true;
}

bool TIndexCursor::Seek(std::string_view key, bool prefix)
{
    const uint16_t kl = mTag->KeyLength();
    std::string target(key.substr(0, kl));
    if (!prefix)
        target.resize(kl, mTag->TrailByte());
    SeekPair(target, 0);
    if (!mValid)
        return false;
    return Key().substr(0, target.size()) == target;
}

bool TIndexCursor::SeekLast(std::string_view key, bool prefix)
{
    const uint16_t kl = mTag->KeyLength();
    std::string target(key.substr(0, kl));
    if (!prefix)
        target.resize(kl, mTag->TrailByte());
    SeekPair(target, uint64_t{1} << 32);
    if (!mValid) {
        if (!Last())
            return false;
    } else if (mPos > 0) {
        --mPos;
    } else if (mLeaf.left == kNoPage || !EnterLeaf(mLeaf.left, false)) {
        return Invalidate();
    }
    return Key().substr(0, target.size()) == target;
}

bool TIndexCursor::SeekExact(std::string_view key, uint32_t recNo)
{
    SeekPair(key, recNo);
    return mValid && RecNo() == recNo && Key() == key;
}

} // namespace qm::xbase
