#pragma once

// The engine's file access layer: positioned reads and writes on one open file. Every table,
// memo and index file goes through it, so that a test can put a failing or tearing double
// (TFileIoFaulty) under the whole engine.

#include <cstddef>
#include <cstdint>
#include <string>

namespace qm::xbase {

enum class TFileAccess { ReadOnly, ReadWrite };

// The operating-system lock taken on open and held until the file is closed.
enum class TFileLock {
    None,
    Shared,    // other shared holders allowed; an exclusive holder keeps it out
    Exclusive, // nobody else may hold the file
};

class TFileIo {
public:
    virtual ~TFileIo() = default;

    virtual const std::string& Path() const = 0;
    // Reads up to size bytes at offset; returns the bytes read, fewer only at the end of the file.
    virtual size_t ReadAt(uint64_t offset, void* data, size_t size) = 0;
    // Writes all size bytes at offset, growing the file as needed. Throws TXbaseError(Io).
    virtual void WriteAt(uint64_t offset, const void* data, size_t size) = 0;
    virtual uint64_t Size() = 0;
    virtual void Truncate(uint64_t size) = 0;
    // Flushes the file's data to the disk.
    virtual void Sync() = 0;

    // Reads exactly size bytes or throws TXbaseError(Damaged) saying the file ends early.
    void ReadExact(uint64_t offset, void* data, size_t size);

    // Hands the bytes [from, to) to visit in order, in pieces (offset of the piece, its bytes,
    // its length), read the cheapest way the layer knows; a piece is valid only during its call.
    // For whole-file passes that look at a few bytes of each record. The file must hold [from, to)
    // (else TXbaseError(Damaged)). The plain version reads through ReadAt.
    using TScanVisitor = void (*)(void* context, uint64_t offset, const uint8_t* bytes,
                                  size_t size);
    virtual void Scan(uint64_t from, uint64_t to, TScanVisitor visit, void* context);
};

} // namespace qm::xbase
