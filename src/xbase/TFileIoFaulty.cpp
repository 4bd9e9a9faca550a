#include "xbase/TFileIoFaulty.h"

#include "xbase/TXbaseError.h"

#include <algorithm>

namespace qm::xbase {

[[noreturn]] static void ThrowInjected(const std::string& path)
{
    throw TXbaseError(TErrorKind::Io, "injected write failure", path, TXbaseError::kNoOffset, 5);
}

class TFaultyFile : public TFileIo {
public:
    TFaultyFile(TFileIoFaulty& owner, std::unique_ptr<TFileIo> inner)
        : mOwner(owner), mInner(std::move(inner))
    {
    }

    const std::string& Path() const override { return mInner->Path(); }
    size_t ReadAt(uint64_t offset, void* data, size_t size) override
    {
        return mInner->ReadAt(offset, data, size);
    }
    void WriteAt(uint64_t offset, const void* data, size_t size) override
    {
        if (mOwner.NextFails()) {
            // The first failing write may leave part of its bytes behind, as a power cut might.
            if (mOwner.mTorn && mOwner.mOperations == mOwner.mFailAt && size > 1)
                mInner->WriteAt(offset, data, std::max<size_t>(1, size / 2));
            ThrowInjected(Path());
        }
        mInner->WriteAt(offset, data, size);
    }
    uint64_t Size() override { return mInner->Size(); }
    void Scan(uint64_t from, uint64_t to, TScanVisitor visit, void* context) override
    {
        mInner->Scan(from, to, visit, context);
    }
    void Truncate(uint64_t size) override
    {
        if (mOwner.NextFails())
            ThrowInjected(Path());
        mInner->Truncate(size);
    }
    void Sync() override
    {
        if (!mOwner.Failed() && mOwner.mSyncs)
            mInner->Sync();
    }

private:
    TFileIoFaulty& mOwner;
    std::unique_ptr<TFileIo> mInner;
};

TFileIoFaulty::TFileIoFaulty(TFileIoSystem& inner) : mInner(inner) {}

bool TFileIoFaulty::NextFails()
{
    ++mOperations;
    return mFailAt != 0 && mOperations >= mFailAt;
}

std::unique_ptr<TFileIo> TFileIoFaulty::Open(const std::string& path, TFileAccess access,
                                             TFileLock lock)
{
    return std::make_unique<TFaultyFile>(*this, mInner.Open(path, access, lock));
}

std::unique_ptr<TFileIo> TFileIoFaulty::Create(const std::string& path, TFileLock lock,
                                               bool replace)
{
    if (NextFails())
        ThrowInjected(path);
    return std::make_unique<TFaultyFile>(*this, mInner.Create(path, lock, replace));
}

bool TFileIoFaulty::Exists(const std::string& path)
{
    return mInner.Exists(path);
}

void TFileIoFaulty::Remove(const std::string& path)
{
    if (NextFails())
        ThrowInjected(path);
    mInner.Remove(path);
}

void TFileIoFaulty::Rename(const std::string& from, const std::string& to)
{
    if (NextFails())
        ThrowInjected(from);
    mInner.Rename(from, to);
}

std::string TFileIoFaulty::FindCompanion(const std::string& path, std::string_view ext)
{
    return mInner.FindCompanion(path, ext);
}

} // namespace qm::xbase
