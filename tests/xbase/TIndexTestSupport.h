#pragma once

// Helpers for the index tests: storage whose bytes outlive the index that used them (to reopen or
// to look at the file as a crash would leave it), and blank-padded keys.

#include "xbase/TIndexStorage.h"

#include <cstring>
#include <memory>
#include <string>

namespace qm::xbase::test {

class TSharedStorage : public TIndexStorage {
public:
    explicit TSharedStorage(std::shared_ptr<std::string> bytes, std::string name = "TEST.CDX")
        : mBytes(std::move(bytes)), mName(std::move(name))
    {
    }
    const std::string& Name() const override { return mName; }
    uint64_t Size() const override { return mBytes->size(); }
    size_t Read(uint64_t offset, void* buffer, size_t size) override
    {
        if (offset >= mBytes->size())
            return 0;
        const size_t n = std::min<uint64_t>(size, mBytes->size() - offset);
        std::memcpy(buffer, mBytes->data() + offset, n);
        return n;
    }
    void Write(uint64_t offset, const void* data, size_t size) override
    {
        if (mBytes->size() < offset + size)
            mBytes->resize(offset + size);
        std::memcpy(mBytes->data() + offset, data, size);
    }
    void Sync() override {}
    void Truncate(uint64_t size) override { mBytes->resize(size); }

private:
    std::shared_ptr<std::string> mBytes;
    std::string mName;
};

inline std::unique_ptr<TIndexStorage> Shared(const std::shared_ptr<std::string>& bytes)
{
    return std::make_unique<TSharedStorage>(bytes);
}

inline std::string Padded(std::string text, size_t length, char fill = ' ')
{
    text.resize(length, fill);
    return text;
}

} // namespace qm::xbase::test
