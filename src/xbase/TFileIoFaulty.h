#pragma once

// A test double for the file access layer: wraps another TFileIoSystem and counts every
// changing operation (write, truncate, create, rename, remove) across all files it opened. The
// operation numbered FailAt() fails with TErrorKind::Io, and so does every later one, as if the
// process had died at that moment: what reached the files before stays, nothing after does.
// With torn writes on, the failing write first stores a prefix of its bytes.

#include "xbase/TFileIoSystem.h"

#include <cstdint>
#include <memory>

namespace qm::xbase {

class TFileIoFaulty : public TFileIoSystem {
public:
    explicit TFileIoFaulty(TFileIoSystem& inner);

    // 1-based number of the operation that fails; 0 never fails.
    void SetFailAt(uint64_t operation) { mFailAt = operation; }
    void SetTornWrites(bool torn) { mTorn = torn; }
    // Off: flushes to the disk are skipped (a killed process does not need them; tests run
    // faster).
    void SetSyncs(bool on) { mSyncs = on; }
    uint64_t FailAt() const { return mFailAt; }
    // Changing operations attempted so far (including the failed ones).
    uint64_t Operations() const { return mOperations; }
    bool Failed() const { return mFailAt != 0 && mOperations >= mFailAt; }

    std::unique_ptr<TFileIo> Open(const std::string& path, TFileAccess access,
                                  TFileLock lock) override;
    std::unique_ptr<TFileIo> Create(const std::string& path, TFileLock lock,
                                    bool replace = false) override;
    bool Exists(const std::string& path) override;
    void Remove(const std::string& path) override;
    void Rename(const std::string& from, const std::string& to) override;
    std::string FindCompanion(const std::string& path, std::string_view ext) override;

    // Counts one changing operation; true when it must fail. Used by the wrapped files.
    bool NextFails();

private:
    TFileIoSystem& mInner;
    uint64_t mFailAt = 0;
    uint64_t mOperations = 0;
    bool mTorn = false;
    bool mSyncs = true;

    friend class TFaultyFile;
};

} // namespace qm::xbase
