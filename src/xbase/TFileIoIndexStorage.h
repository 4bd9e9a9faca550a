#pragma once

// Hands a file of the engine's file access layer to the index layer, so that index files go
// through the same layer (and the same failing test double) as tables and memos.

#include "xbase/TFileIo.h"
#include "xbase/TIndexStorage.h"

#include <memory>

namespace qm::xbase {

class TFileIoIndexStorage : public TIndexStorage {
public:
    explicit TFileIoIndexStorage(std::unique_ptr<TFileIo> file) : mFile(std::move(file)) {}

    const std::string& Name() const override { return mFile->Path(); }
    uint64_t Size() const override { return mFile->Size(); }
    size_t Read(uint64_t offset, void* buffer, size_t size) override
    {
        return mFile->ReadAt(offset, buffer, size);
    }
    void Write(uint64_t offset, const void* data, size_t size) override
    {
        mFile->WriteAt(offset, data, size);
    }
    void Sync() override { mFile->Sync(); }
    void Truncate(uint64_t size) override { mFile->Truncate(size); }

private:
    std::unique_ptr<TFileIo> mFile;
};

} // namespace qm::xbase
