#pragma once

// A memo file: FPT (read and write, 64-byte blocks for new files) or DBT (read only).
// Memo text is written to fresh blocks at the end of the file, never over blocks a record may
// still point to, so that a record on disk always points at a whole memo.
//
// Invariants (CheckInvariants): block size >= 1; the next free block lies at or past the end of
// the file's last block, so an allocation never overwrites existing data.
// Write order for a memo: its blocks first, then (at the next Flush, or at once when shared) the
// header's next free block. A header left behind by a crash is raised on the next open.

#include "xbase/TDbfHeader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qm::xbase {

class TFileIo;

class TMemoFile {
public:
    // Reads the header; when the next free block lies below the end of the file it is raised
    // (and written back when writable) before anything is allocated.
    TMemoFile(std::unique_ptr<TFileIo> file, TMemoKind kind, bool writable);
    ~TMemoFile();

    // Writes an empty FPT's header to a newly created file.
    static void WriteNewFpt(TFileIo& file, uint32_t blockSize = 64);

    const std::string& Path() const;
    TMemoKind Kind() const { return mKind; }
    uint32_t BlockSize() const { return mBlockSize; }
    uint32_t NextFree() const { return mNextFree; }
    bool Raised() const { return mRaised; }

    // The memo starting at block; block 0 is the empty memo. A block inside the header, past
    // the end, or a length running past the end gives Damaged naming the block's offset.
    std::string Read(uint32_t block);
    // Writes text to fresh blocks and returns the first one (0 for an empty text). FPT only.
    uint32_t Write(std::string_view text);
    // Writes the header's next free block when it changed.
    void Flush();
    // Shared: other openers may add memos; each write takes the free block from the file.
    void SetShared(bool shared) { mShared = shared; }
    // Drops every memo (zap).
    void Clear();
    void Sync();

    TFileIo& Io() { return *mFile; }
    void CheckInvariants();

private:
    std::string ReadFpt(uint32_t block, uint64_t size);
    std::string ReadDbt(uint32_t block, uint64_t size);
    void WriteNextFree();

    std::unique_ptr<TFileIo> mFile;
    TMemoKind mKind;
    bool mWritable;
    bool mDbase4 = false;
    bool mRaised = false;
    bool mShared = false;
    bool mHeaderBehind = false;
    uint32_t mBlockSize = 64;
    uint32_t mFirstBlock = 8;
    uint32_t mNextFree = 8;
    uint64_t mSize = 0; // the file's size as last seen or made here (shared: asked each time)
};

// The block number a memo field of a record holds: 10 ASCII digits (blank for none) or, in
// Visual FoxPro tables, a 4-byte little-endian number. Damaged when the digits are not digits.
uint32_t MemoBlockOf(std::string_view fieldBytes, const std::string& file, int64_t offset);
// The field bytes for a block number (blank for 0).
void PutMemoBlock(uint32_t block, char* field, size_t length);

} // namespace qm::xbase
