#pragma once

// The pages of one index file: reads and writes 512-byte pages through a small cache, keeps the
// free-page list and the file's clean/dirty mark. Used by the index classes only.
//
// Invariants (checked by CheckInvariants in debug builds):
// - every page offset handed out is a multiple of 512, at least 1024 and below the file end;
// - a page is either reachable from some tree or on the free list, never both;
// - while any page differs from the file's last clean state, the header at offset 0 carries the
//   dirty mark on disk (written and synced before the first changed page is written);
// - once a write, truncation or flush of the file has failed, nothing more is written to it: the
//   dirty mark stays, and the clean mark is never written over pages that may not have arrived.

#include "xbase/TIndexFormat.h"
#include "xbase/TIndexStorage.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace qm::xbase {

class TIndexPageFile {
public:
    using TPage = std::array<uint8_t, indexformat::kPageSize>;

    TIndexPageFile(std::unique_ptr<TIndexStorage> storage, bool readOnly);
    TIndexPageFile(const TIndexPageFile&) = delete;
    TIndexPageFile& operator=(const TIndexPageFile&) = delete;

    const std::string& Name() const { return mStorage->Name(); }
    bool ReadOnly() const { return mReadOnly; }
    // Pages in the file, counting pages allocated but not yet written.
    uint64_t PageCount() const { return mEnd / indexformat::kPageSize; }
    uint64_t End() const { return mEnd; }

    // Copies the page at offset into out. Throws TXbaseError(Damaged) naming the file and offset
    // when the offset is not a page of the file (misaligned, inside the first header, past the
    // end) or the file is cut short there.
    // sequential: the caller walks pages in file order (a cursor over the leaves of a bulk-built
    // tag), so the pages after this one are read with it.
    void Read(uint32_t offset, TPage& out, bool sequential = false);
    // Reads a page that may lie in a header (offset 0 and 512 included).
    void ReadRaw(uint32_t offset, TPage& out);
    // Replaces the page at offset (a page of the file or one just allocated).
    void Write(uint32_t offset, const TPage& page);

    // A page for new contents: the first free page, else a new one at the end.
    uint32_t Allocate();
    // Allocates count pages in a row at the end of the file (bulk builds, headers).
    uint32_t AllocateAtEnd(uint32_t count);
    // Puts a page no longer used on the free list.
    void Free(uint32_t offset);
    // Writes count whole pages straight to the file at offset (pages from AllocateAtEnd), past
    // the cache: bulk builds would otherwise fill it.
    void WriteBulk(uint32_t offset, const uint8_t* pages, size_t count);

    // The file's clean/dirty mark and the table's record count at the last clean flush.
    bool WasDirtyOnOpen() const { return mWasDirtyOnOpen; }
    bool HasEngineMark() const { return mHadEngineMark; }
    uint32_t SyncCount() const { return mSyncCount; }
    void SetSyncCount(uint32_t count);

    bool HasChanges() const { return mChanged; }
    // Puts the dirty mark on the disk now (when it is not there yet), before a change that the
    // index will follow: the table marks its index before writing a record, so that a crash
    // between the record and its keys leaves the index marked out of date.
    void MarkChanging();
    // Writes every changed page, syncs, then marks the file clean and syncs again. After a failed
    // write it throws TXbaseError(Io) and writes nothing.
    void Flush();
    // Drops the cache without writing (after a failed write the file is left as it is).
    void Discard();
    // Whether a write to the file has failed.
    bool Failed() const { return mFailed; }

    // Pages kept in memory (at least 64); changed pages are written out when it fills.
    void SetCacheLimit(size_t pages);

    void CheckInvariants() const;

private:
    struct TSlot {
        TPage page;
        uint32_t offset = 0;
        bool dirty = false;
    };
    TSlot& Load(uint32_t offset, uint32_t readAhead = 1);
    void CheckPage(uint32_t offset) const;
    void BeforeChange();
    void WriteStoredHeader(uint8_t state);
    // Runs one write to the storage; a failure leaves the file refusing every later write.
    template <typename F> void Store(F&& write);
    void WriteDirtySlots();
    void Evict();

    std::unique_ptr<TIndexStorage> mStorage;
    bool mReadOnly;
    uint64_t mEnd = 0;       // logical end of file
    uint64_t mStoredEnd = 0; // size of the file on disk
    bool mWasDirtyOnOpen = false;
    bool mHadEngineMark = false;
    bool mDirtyOnDisk = false;
    bool mChanged = false;
    bool mFailed = false;
    uint32_t mSyncCount = 0;
    bool mSyncCountChanged = false;
    TSlot* Find(uint32_t offset);
    TSlot& Insert(uint32_t offset);
    void Forget(uint32_t offset);

    // The cache: pages in mSlots, found through mSlotOf (page number -> slot index, -1 = none).
    std::vector<TSlot> mSlots;
    std::vector<int32_t> mSlotOf;
    size_t mCacheLimit = 65536;
    std::vector<uint8_t> mReadBuffer;
    // Pages read ahead for a walk in file order; kept apart from the cache so that a long walk
    // neither fills the cache nor pushes out the interior pages. Emptied by every change.
    std::vector<uint8_t> mStream;
    uint32_t mStreamStart = 0;
    uint32_t mStreamPages = 0;
    uint32_t mStreamWindow = 4; // grows while the walk goes on where the last read ended
    std::unordered_set<uint32_t> mTakenFromFreeList; // guards against a free list with a cycle
};

} // namespace qm::xbase
