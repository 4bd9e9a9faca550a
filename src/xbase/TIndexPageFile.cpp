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

// Pages read at once when a caller walks the file in order.
constexpr uint32_t kSequentialPages = 64;
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

TIndexPageFile::TSlot* TIndexPageFile::Find(uint32_t offset)
{
    const size_t page = offset / kPageSize;
    if (page >= mSlotOf.size() || mSlotOf[page] < 0)
        return nullptr;
    return &mSlots[static_cast<size_t>(mSlotOf[page])];
}

TIndexPageFile::TSlot& TIndexPageFile::Insert(uint32_t offset)
{
    const size_t page = offset / kPageSize;
    if (page >= mSlotOf.size())
        mSlotOf.resize(std::max<size_t>(page + 1, mEnd / kPageSize), -1);
    mSlotOf[page] = static_cast<int32_t>(mSlots.size());
    TSlot& slot = mSlots.emplace_back();
    slot.offset = offset;
    return slot;
}

void TIndexPageFile::Forget(uint32_t offset)
{
    // Only for pages about to be overwritten on disk: the slot stays, unreachable, until the next
    // eviction drops it.
    const size_t page = offset / kPageSize;
    if (page < mSlotOf.size() && mSlotOf[page] >= 0) {
        mSlots[static_cast<size_t>(mSlotOf[page])].dirty = false;
        mSlots[static_cast<size_t>(mSlotOf[page])].offset = kNoPage;
        mSlotOf[page] = -1;
    }
}

void TIndexPageFile::SetCacheLimit(size_t pages)
{
    mCacheLimit = std::max<size_t>(pages, 2 * kSequentialPages);
}

// The slot returned is valid until the next Load: callers copy or change it at once.
TIndexPageFile::TSlot& TIndexPageFile::Load(uint32_t offset, uint32_t readAhead)
{
    if (TSlot* slot = Find(offset))
        return *slot;
    if (mSlots.size() + readAhead > mCacheLimit)
        Evict();
    // Room for the whole cache at once (or the whole file when it is smaller): a growing pool
    // would copy its pages and touch fresh memory again and again. A file that grows page by
    // page (inserts splitting leaves) must not move the pool on every new page, so it grows by
    // half again at least.
    const size_t most = mCacheLimit + kSequentialPages;
    const size_t want = std::min<size_t>(mCacheLimit, mEnd / kPageSize) + kSequentialPages;
    if (mSlots.capacity() < want)
        mSlots.reserve(std::min(most, std::max(want, mSlots.capacity() + mSlots.capacity() / 2)));
    if (offset + uint64_t{kPageSize} > mStoredEnd) {
        if (offset < mStoredEnd)
            throw TXbaseError(TErrorKind::Damaged, "the index file is cut short inside a page",
                              mStorage->Name(), offset);
        TSlot& slot = Insert(offset); // allocated, not yet written
        slot.page.fill(0);
        return slot;
    }
    // One read for this page and, when asked, the ones after it that the file holds.
    const uint64_t available = (mStoredEnd - offset) / kPageSize;
    const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(readAhead, available));
    mReadBuffer.resize(size_t{count} * kPageSize);
    const size_t got = mStorage->Read(offset, mReadBuffer.data(), mReadBuffer.size());
    if (got < kPageSize)
        throw TXbaseError(TErrorKind::Damaged, "the index file is cut short", mStorage->Name(),
                          offset);
    for (uint32_t i = 1; i < got / kPageSize; ++i) {
        const uint32_t next = offset + i * kPageSize;
        if (!Find(next))
            std::memcpy(Insert(next).page.data(), mReadBuffer.data() + size_t{i} * kPageSize,
                        kPageSize);
    }
    TSlot& slot = Insert(offset);
    std::memcpy(slot.page.data(), mReadBuffer.data(), kPageSize);
    return slot;
}

void TIndexPageFile::Read(uint32_t offset, TPage& out, bool sequential)
{
    CheckPage(offset);
    if (!sequential) {
        out = Load(offset).page;
        return;
    }
    if (const TSlot* slot = Find(offset)) {
        out = slot->page;
        return;
    }
    if (offset < mStreamStart || offset >= mStreamStart + uint64_t{mStreamPages} * kPageSize) {
        const bool continues =
            mStreamPages != 0 && offset == mStreamStart + uint64_t{mStreamPages} * kPageSize;
        mStreamWindow = continues ? std::min(mStreamWindow * 2, kSequentialPages) : 4;
        mStreamPages = 0;
        if (offset + uint64_t{kPageSize} > mStoredEnd) {
            out = Load(offset).page; // allocated, not yet written
            return;
        }
        const uint64_t available = (mStoredEnd - offset) / kPageSize;
        const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(mStreamWindow, available));
        mStream.resize(size_t{count} * kPageSize);
        const size_t got = mStorage->Read(offset, mStream.data(), mStream.size());
        if (got < kPageSize)
            throw TXbaseError(TErrorKind::Damaged, "the index file is cut short", mStorage->Name(),
                              offset);
        mStreamStart = offset;
        mStreamPages = static_cast<uint32_t>(got / kPageSize);
    }
    std::memcpy(out.data(), mStream.data() + (offset - mStreamStart), kPageSize);
}

void TIndexPageFile::ReadRaw(uint32_t offset, TPage& out)
{
    if (offset % kPageSize != 0 || offset + uint64_t{kPageSize} > mEnd)
        throw TXbaseError(TErrorKind::Damaged,
                          "index header pointer " + std::to_string(offset) + " is out of range",
                          mStorage->Name(), offset);
    out = Load(offset).page;
}

template <typename F> void TIndexPageFile::Store(F&& write)
{
    if (mFailed)
        throw TXbaseError(TErrorKind::Io,
                          "an earlier write to the index file failed; it stays marked out of date",
                          mStorage->Name());
    try {
        write();
    } catch (...) {
        mFailed = true;
        throw;
    }
}

void TIndexPageFile::BeforeChange()
{
    mStreamPages = 0;
    if (mReadOnly)
        throw TXbaseError(TErrorKind::Usage, "the index file is open read-only", mStorage->Name());
    if (!mDirtyOnDisk) {
        // The dirty mark reaches the disk before any changed page does.
        WriteStoredHeader(kStateDirty);
        Store([&] { mStorage->Sync(); });
        mDirtyOnDisk = true;
    }
    mChanged = true;
}

void TIndexPageFile::MarkChanging()
{
    if (!mDirtyOnDisk || mReadOnly) {
        BeforeChange();
        return;
    }
    mChanged = true; // the mark is on the disk; a walk's read-ahead stays
}

void TIndexPageFile::WriteStoredHeader(uint8_t state)
{
    TSlot& slot = Load(0);
    std::memcpy(slot.page.data() + kHdrEngineMark, kEngineMark, 4);
    slot.page[kHdrState] = state;
    PutLe32(slot.page.data() + kHdrSyncCount, mSyncCount);
    Store([&] { mStorage->Write(0, slot.page.data(), kPageSize); });
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
        Forget(static_cast<uint32_t>(offset + i * kPageSize));
    Store([&] { mStorage->Write(offset, pages, count * kPageSize); });
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
    for (const TSlot& slot : mSlots)
        if (slot.dirty)
            dirty.push_back(slot.offset);
    std::sort(dirty.begin(), dirty.end());
    // Neighbouring pages go out in one write.
    std::vector<uint8_t> run;
    for (size_t i = 0; i < dirty.size();) {
        size_t j = i + 1;
        while (j < dirty.size() && dirty[j] == dirty[j - 1] + kPageSize)
            ++j;
        run.resize((j - i) * kPageSize);
        for (size_t k = i; k < j; ++k) {
            TSlot& slot = *Find(dirty[k]);
            std::memcpy(run.data() + (k - i) * kPageSize, slot.page.data(), kPageSize);
            slot.dirty = false;
        }
        Store([&] { mStorage->Write(dirty[i], run.data(), run.size()); });
        mStoredEnd = std::max<uint64_t>(mStoredEnd, dirty[j - 1] + uint64_t{kPageSize});
        i = j;
    }
}

void TIndexPageFile::Evict()
{
    // Leaves go first: interior pages are few and every descent passes through them.
    WriteDirtySlots();
    size_t kept = 0;
    for (size_t i = 0; i < mSlots.size(); ++i) {
        TSlot& slot = mSlots[i];
        if (slot.offset == kNoPage)
            continue;
        mSlotOf[slot.offset / kPageSize] = -1;
        if (Le16(slot.page.data() + kNodeAttributes) & kAttrLeaf)
            continue;
        if (kept != i)
            mSlots[kept] = slot;
        mSlotOf[mSlots[kept].offset / kPageSize] = static_cast<int32_t>(kept);
        ++kept;
    }
    mSlots.resize(kept);
    if (mSlots.size() > mCacheLimit / 2) {
        for (const TSlot& slot : mSlots)
            mSlotOf[slot.offset / kPageSize] = -1;
        mSlots.clear();
    }
}

void TIndexPageFile::Flush()
{
    if (!mChanged && !mFailed)
        return;
    WriteDirtySlots();
    if (mStoredEnd < mEnd) {
        // Pages allocated but never written (none in practice) still belong to the file.
        Store([&] { mStorage->Truncate(mEnd); });
        mStoredEnd = mEnd;
    }
    // The clean mark only over pages that are on the disk.
    Store([&] { mStorage->Sync(); });
    WriteStoredHeader(kStateClean);
    Store([&] { mStorage->Sync(); });
    mDirtyOnDisk = false;
    mChanged = false;
}

void TIndexPageFile::Discard()
{
    mStreamPages = 0;
    mSlots.clear();
    mSlotOf.clear();
    mChanged = false;
}

void TIndexPageFile::CheckInvariants() const
{
#ifndef NDEBUG
    assert(mEnd % kPageSize == 0);
    assert(!mChanged || mDirtyOnDisk);
    for (const TSlot& slot : mSlots)
        assert(slot.offset == kNoPage || (slot.offset % kPageSize == 0 && slot.offset < mEnd));
#endif
}

} // namespace qm::xbase
