#include "xbase/TIndexPageFile.h"

#include "xbase/TIndexBytes.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace qm::xbase {

using namespace indexformat;
using namespace indexbytes;

namespace {

// Pages kept in memory before the cache writes its changes out and starts afresh.
constexpr size_t kCachePages = 4096;
constexpr char kEngineMark[4] = {'Q', 'M', 'I', 'X'};

} // namespace

TIndexPageFile::TIndexPageFile(std::unique_ptr<TIndexStorage> storage, bool readOnly)
    : mStorage(std::move(storage)), mReadOnly(readOnly)
{
    mStoredEnd = mStorage->Size();
    mEnd = (mStoredEnd + kPageSize - 1) / kPageSize * kPageSize;
    if (mStoredEnd >= kPageSize) {
        TPage header;
        ReadRaw(0, header);
        mHadEngineMark = std::memcmp(header.data() + kHdrEngineMark, kEngineMark, 4) == 0;
        if (mHadEngineMark) {
            mWasDirtyOnOpen = header[kHdrState] != kStateClean;
            mSyncCount = Le32(header.data() + kHdrSyncCount);
        }
    }
}

void TIndexPageFile::CheckPage(uint32_t offset) const
{
    if (offset % kPageSize != 0 || offset < kHeaderSize || offset + uint64_t{kPageSize} > mEnd)
        throw TXbaseError(TErrorKind::Damaged,
                          "index page pointer " + std::to_string(offset) + " is out of range",
                          mStorage->Name(), offset);
}

TIndexPageFile::TSlot& TIndexPageFile::Load(uint32_t offset)
{
    auto it = mCache.find(offset);
    if (it != mCache.end())
        return it->second;
    if (mCache.size() >= kCachePages)
        Evict();
    TSlot slot;
    if (offset + uint64_t{kPageSize} <= mStoredEnd) {
        if (mStorage->Read(offset, slot.page.data(), kPageSize) != kPageSize)
            throw TXbaseError(TErrorKind::Damaged, "the index file is cut short", mStorage->Name(),
                              offset);
    } else if (offset < mStoredEnd) {
        throw TXbaseError(TErrorKind::Damaged, "the index file is cut short inside a page",
                          mStorage->Name(), offset);
    } else {
        slot.page.fill(0); // allocated, not yet written
    }
    return mCache.emplace(offset, slot).first->second;
}

void TIndexPageFile::Read(uint32_t offset, TPage& out)
{
    CheckPage(offset);
    out = Load(offset).page;
}

void TIndexPageFile::ReadRaw(uint32_t offset, TPage& out)
{
    if (offset % kPageSize != 0 || offset + uint64_t{kPageSize} > mEnd)
        throw TXbaseError(TErrorKind::Damaged,
                          "index header pointer " + std::to_string(offset) + " is out of range",
                          mStorage->Name(), offset);
    out = Load(offset).page;
}

void TIndexPageFile::BeforeChange()
{
    if (mReadOnly)
        throw TXbaseError(TErrorKind::Usage, "the index file is open read-only", mStorage->Name());
    mChanged = true;
    if (!mDirtyOnDisk) {
        // The dirty mark reaches the disk before any changed page does.
        WriteStoredHeader(kStateDirty);
        mStorage->Sync();
        mDirtyOnDisk = true;
    }
}

void TIndexPageFile::WriteStoredHeader(uint8_t state)
{
    TSlot& slot = Load(0);
    std::memcpy(slot.page.data() + kHdrEngineMark, kEngineMark, 4);
    slot.page[kHdrState] = state;
    PutLe32(slot.page.data() + kHdrSyncCount, mSyncCount);
    mStorage->Write(0, slot.page.data(), kPageSize);
    slot.dirty = false;
    mStoredEnd = std::max<uint64_t>(mStoredEnd, kPageSize);
}

void TIndexPageFile::Write(uint32_t offset, const TPage& page)
{
    if (offset % kPageSize != 0 || offset + uint64_t{kPageSize} > mEnd)
        throw TXbaseError(TErrorKind::Usage, "write outside the index file", mStorage->Name(),
                          offset);
    BeforeChange();
    TSlot& slot = Load(offset);
    slot.page = page;
    slot.dirty = true;
}

void TIndexPageFile::WriteBulk(uint32_t offset, const uint8_t* pages, size_t count)
{
    if (offset % kPageSize != 0 || offset + uint64_t{kPageSize} * count > mEnd)
        throw TXbaseError(TErrorKind::Usage, "write outside the index file", mStorage->Name(),
                          offset);
    BeforeChange();
    for (size_t i = 0; i < count; ++i)
        mCache.erase(static_cast<uint32_t>(offset + i * kPageSize));
    mStorage->Write(offset, pages, count * kPageSize);
    mStoredEnd = std::max<uint64_t>(mStoredEnd, offset + uint64_t{kPageSize} * count);
}

uint32_t TIndexPageFile::AllocateAtEnd(uint32_t count)
{
    if (mEnd + uint64_t{kPageSize} * count > 0xFFFFFE00ull)
        throw TXbaseError(TErrorKind::Usage, "the index file would exceed 4 GB", mStorage->Name());
    BeforeChange();
    const uint32_t offset = static_cast<uint32_t>(mEnd);
    mEnd += uint64_t{kPageSize} * count;
    return offset;
}

uint32_t TIndexPageFile::Allocate()
{
    TPage header;
    ReadRaw(0, header);
    const uint32_t head = Le32(header.data() + kHdrFreeList);
    if (head == 0 || head == kNoPage)
        return AllocateAtEnd(1);
    CheckPage(head);
    if (!mTakenFromFreeList.insert(head).second)
        throw TXbaseError(TErrorKind::Damaged, "the list of free index pages runs in a cycle",
                          mStorage->Name(), head);
    TPage page;
    Read(head, page);
    PutLe32(header.data() + kHdrFreeList, Le32(page.data()));
    Write(0, header);
    return head;
}

void TIndexPageFile::Free(uint32_t offset)
{
    CheckPage(offset);
    TPage header;
    ReadRaw(0, header);
    TPage page{};
    PutLe32(page.data(), Le32(header.data() + kHdrFreeList));
    Write(offset, page);
    PutLe32(header.data() + kHdrFreeList, offset);
    Write(0, header);
    mTakenFromFreeList.erase(offset);
}

void TIndexPageFile::SetSyncCount(uint32_t count)
{
    if (count == mSyncCount)
        return;
    BeforeChange();
    mSyncCount = count;
}

void TIndexPageFile::WriteDirtySlots()
{
    std::vector<uint32_t> dirty;
    for (auto& [offset, slot] : mCache)
        if (slot.dirty)
            dirty.push_back(offset);
    std::sort(dirty.begin(), dirty.end());
    for (uint32_t offset : dirty) {
        TSlot& slot = mCache.at(offset);
        mStorage->Write(offset, slot.page.data(), kPageSize);
        slot.dirty = false;
        mStoredEnd = std::max<uint64_t>(mStoredEnd, offset + uint64_t{kPageSize});
    }
}

void TIndexPageFile::Evict()
{
    WriteDirtySlots();
    mCache.clear();
}

void TIndexPageFile::Flush()
{
    if (!mChanged)
        return;
    WriteDirtySlots();
    if (mStoredEnd < mEnd) {
        // Pages allocated but never written (none in practice) still belong to the file.
        mStorage->Truncate(mEnd);
        mStoredEnd = mEnd;
    }
    mStorage->Sync();
    WriteStoredHeader(kStateClean);
    mStorage->Sync();
    mDirtyOnDisk = false;
    mChanged = false;
}

void TIndexPageFile::Discard()
{
    mCache.clear();
    mChanged = false;
}

void TIndexPageFile::CheckInvariants() const
{
#ifndef NDEBUG
    assert(mEnd % kPageSize == 0);
    assert(!mChanged || mDirtyOnDisk);
    for (const auto& [offset, slot] : mCache) {
        assert(offset % kPageSize == 0);
        assert(offset < mEnd);
        (void)slot;
    }
#endif
}

} // namespace qm::xbase
