#pragma once

// A file layer for kill tests in child processes: it counts the engine's changing steps (write,
// truncate, create, rename, remove) like TFileIoFaulty, and at step killAt the process is killed
// (SIGKILL) before the step runs: what reached the files stays, nothing after it does, no
// destructor or error path runs. Only for a forked child.

#include "xbase/TFileIo.h"
#include "xbase/TFileIoSystem.h"

#include <csignal>
#include <cstdint>
#include <memory>
#include <string>

namespace qm::test {

class TKillingFiles : public xbase::TFileIoSystem {
public:
    explicit TKillingFiles(std::uint64_t killAt) : mKillAt(killAt) {}

    void Step()
    {
        if (++mSteps == mKillAt)
            std::raise(SIGKILL);
    }
    std::uint64_t Steps() const { return mSteps; }

    std::unique_ptr<xbase::TFileIo> Open(const std::string& path, xbase::TFileAccess access,
                                         xbase::TFileLock lock) override
    {
        return std::make_unique<TFile>(*this, Native().Open(path, access, lock));
    }
    std::unique_ptr<xbase::TFileIo> Create(const std::string& path, xbase::TFileLock lock,
                                           bool replace = false) override
    {
        Step();
        return std::make_unique<TFile>(*this, Native().Create(path, lock, replace));
    }
    bool Exists(const std::string& path) override { return Native().Exists(path); }
    void Remove(const std::string& path) override
    {
        Step();
        Native().Remove(path);
    }
    void RenameEntry(const std::string& from, const std::string& to) override
    {
        Step();
        Native().RenameEntry(from, to);
    }
    std::string FindCompanion(const std::string& path, std::string_view ext) override
    {
        return Native().FindCompanion(path, ext);
    }

private:
    class TFile : public xbase::TFileIo {
    public:
        TFile(TKillingFiles& owner, std::unique_ptr<xbase::TFileIo> inner)
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
            mOwner.Step();
            mInner->WriteAt(offset, data, size);
        }
        uint64_t Size() override { return mInner->Size(); }
        void Truncate(uint64_t size) override
        {
            mOwner.Step();
            mInner->Truncate(size);
        }
        void Sync() override {} // a killed process does not need the disk's flushes

    private:
        TKillingFiles& mOwner;
        std::unique_ptr<xbase::TFileIo> mInner;
    };

    std::uint64_t mKillAt;
    std::uint64_t mSteps = 0;
};

} // namespace qm::test
