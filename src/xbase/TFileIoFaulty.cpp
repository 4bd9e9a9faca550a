#include "xbase/TFileIoFaulty.h"

#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qm::xbase {

namespace {

const char* KindName(TFaultOp kind)
{
    switch (kind) {
    case kFaultCreate:
        return "create";
    case kFaultWrite:
        return "write";
    case kFaultTruncate:
        return "truncate";
    case kFaultSync:
        return "sync";
    case kFaultRename:
        return "rename";
    case kFaultRemove:
        return "remove";
    default:
        return "change";
    }
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
        if (mOwner.Fails(kFaultWrite, Path())) {
            // The first failing write may leave part of its bytes behind, as a power cut or a
            // disk filling up half way might.
            if (mOwner.TearsNow() && size > 1)
                mInner->WriteAt(offset, data, std::max<size_t>(1, size / 2));
            mOwner.ThrowInjected(Path());
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
        if (mOwner.Fails(kFaultTruncate, Path()))
            mOwner.ThrowInjected(Path());
        mInner->Truncate(size);
    }
    void Sync() override
    {
        if (mOwner.Fails(kFaultSync, Path()))
            mOwner.ThrowInjected(Path());
        if (mOwner.SyncsOn())
            mInner->Sync();
    }

private:
    TFileIoFaulty& mOwner;
    std::unique_ptr<TFileIo> mInner;
};

} // namespace

TFileIoFaulty::TFileIoFaulty(TFileIoSystem& inner) : mInner(inner) {}

bool TFileIoFaulty::Fails(TFaultOp kind, const std::string& path)
{
    const bool dead = mMode == TMode::Kill && Failed();
    if ((mCounted & kind) == 0)
        return dead; // not counted, but a dead process does nothing more
    ++mOperations;
    if (mFailAt == 0)
        return false;
    if (mMode == TMode::Kill ? mOperations < mFailAt : mOperations != mFailAt)
        return false;
    if (mOperations == mFailAt) {
        mFailedOperation = std::string(KindName(kind)) + " " + path;
        if (mMode == TMode::Exit)
            std::_Exit(mExitCode);
    }
    return true;
}

void TFileIoFaulty::ThrowInjected(const std::string& path) const
{
    if (mMode == TMode::Error) {
        const int error = mError != 0 ? mError : ENOSPC;
        throw TXbaseError(TErrorKind::Io, std::string("injected failure: ") + std::strerror(error),
                          path, TXbaseError::kNoOffset, error);
    }
    throw TXbaseError(TErrorKind::Io, "injected write failure", path, TXbaseError::kNoOffset, EIO);
}

std::unique_ptr<TFileIo> TFileIoFaulty::Open(const std::string& path, TFileAccess access,
                                             TFileLock lock)
{
    return std::make_unique<TFaultyFile>(*this, mInner.Open(path, access, lock));
}

std::unique_ptr<TFileIo> TFileIoFaulty::Create(const std::string& path, TFileLock lock,
                                               bool replace)
{
    if (Fails(kFaultCreate, path))
        ThrowInjected(path);
    return std::make_unique<TFaultyFile>(*this, mInner.Create(path, lock, replace));
}

bool TFileIoFaulty::Exists(const std::string& path)
{
    return mInner.Exists(path);
}

void TFileIoFaulty::Remove(const std::string& path)
{
    if (Fails(kFaultRemove, path))
        ThrowInjected(path);
    mInner.Remove(path);
}

void TFileIoFaulty::RenameEntry(const std::string& from, const std::string& to)
{
    if (Fails(kFaultRename, from))
        ThrowInjected(from);
    mInner.RenameEntry(from, to);
}

void TFileIoFaulty::SyncFolder(const std::string& path)
{
    if (Fails(kFaultSync, path))
        ThrowInjected(path);
    if (mSyncs)
        mInner.SyncFolder(path);
}

bool TFileIoFaulty::Link(const std::string& existing, const std::string& name)
{
    if (Fails(kFaultCreate, name))
        ThrowInjected(name);
    return mInner.Link(existing, name);
}

std::string TFileIoFaulty::FindCompanion(const std::string& path, std::string_view ext)
{
    return mInner.FindCompanion(path, ext);
}

} // namespace qm::xbase
