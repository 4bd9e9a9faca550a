#pragma once

// Where an index file's bytes live. The index layer reads and writes through this interface only,
// so the table layer can hand it a file of its own file access layer (for example a test double
// that fails the Nth write) and tests can use memory. OpenIndexStorage gives the plain file.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace qm::xbase {

class TIndexStorage {
public:
    virtual ~TIndexStorage() = default;

    // The file name shown in error messages.
    virtual const std::string& Name() const = 0;
    // Current size in bytes.
    virtual uint64_t Size() const = 0;
    // Reads up to size bytes at offset; returns how many were there (fewer at the end of the
    // file). Throws TXbaseError(Io) when the system refuses.
    virtual size_t Read(uint64_t offset, void* buffer, size_t size) = 0;
    // Writes all size bytes at offset, growing the file as needed. Throws TXbaseError(Io).
    virtual void Write(uint64_t offset, const void* data, size_t size) = 0;
    // Makes every write so far durable. Throws TXbaseError(Io).
    virtual void Sync() = 0;
    // Cuts or extends the file to size bytes. Throws TXbaseError(Io).
    virtual void Truncate(uint64_t size) = 0;
};

enum class TIndexOpenMode {
    ReadOnly,
    ReadWrite, // the file must exist
    Create,    // made new or emptied
};

// The plain file at path. Throws TXbaseError(NotFound) for a missing file (ReadOnly, ReadWrite),
// TXbaseError(Io) for other refusals.
std::unique_ptr<TIndexStorage> OpenIndexStorage(const std::string& path, TIndexOpenMode mode);

// A growable byte buffer in memory (tests, fuzzing, building before writing).
class TMemoryIndexStorage : public TIndexStorage {
public:
    explicit TMemoryIndexStorage(std::string name = "memory", std::string bytes = {})
        : mName(std::move(name)), mBytes(std::move(bytes))
    {
    }
    const std::string& Name() const override { return mName; }
    uint64_t Size() const override { return mBytes.size(); }
    size_t Read(uint64_t offset, void* buffer, size_t size) override;
    void Write(uint64_t offset, const void* data, size_t size) override;
    void Sync() override {}
    void Truncate(uint64_t size) override { mBytes.resize(size); }
    const std::string& Bytes() const { return mBytes; }
    std::string& Bytes() { return mBytes; }

private:
    std::string mName;
    std::string mBytes;
};

} // namespace qm::xbase
