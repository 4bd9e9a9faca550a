#pragma once

// A test double for the file access layer: wraps another TFileIoSystem and counts every
// changing operation (create, write, truncate, flush to the disk, rename, remove) across all
// files it opened. The operation numbered FailAt() fails; what happens then depends on the mode:
// - Kill (the default): that operation and every later one fail with TErrorKind::Io, as if the
//   process had died at that moment: what reached the files before stays, nothing after does;
// - Error: only that operation fails, with the OS error of SetError (ENOSPC unless set), and
//   later ones go through: a disk that was full for one call, or one I/O error;
// - Exit: the process ends at once (std::_Exit) when that operation is reached, without doing
//   it: a real kill, for tests that run the work in a child process.
// With torn writes on, the failing write first stores a prefix of its bytes.
//
// Installed as the process default (TFileIoSystem::SetDefault), it sits under every table the
// program opens, so whole commands can be swept over every failing operation.

#include "xbase/TFileIoSystem.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qm::xbase {

// The kinds of changing operation, as bits for SetCounted().
enum TFaultOp : unsigned {
    kFaultCreate = 1,
    kFaultWrite = 2,
    kFaultTruncate = 4,
    kFaultSync = 8,
    kFaultRename = 16,
    kFaultRemove = 32,
    kFaultAll = 63,
};

class TFileIoFaulty : public TFileIoSystem {
public:
    enum class TMode { Kill, Error, Exit };

    explicit TFileIoFaulty(TFileIoSystem& inner);

    // 1-based number of the operation that fails; 0 never fails.
    void SetFailAt(uint64_t operation) { mFailAt = operation; }
    void SetMode(TMode mode) { mMode = mode; }
    // The OS error an Error-mode failure reports (ENOSPC, EIO, ...).
    void SetError(int osError) { mError = osError; }
    // The exit code of an Exit-mode failure.
    void SetExitCode(int code) { mExitCode = code; }
    // Only operations of these kinds (TFaultOp bits) are counted and can fail; default all.
    void SetCounted(unsigned kinds) { mCounted = kinds; }
    void SetTornWrites(bool torn) { mTorn = torn; }
    // Off: flushes to the disk are counted but not done (a killed process does not need them;
    // tests run faster).
    void SetSyncs(bool on) { mSyncs = on; }

    uint64_t FailAt() const { return mFailAt; }
    // Counted operations attempted so far (including the failed ones).
    uint64_t Operations() const { return mOperations; }
    // Whether the failing operation has been reached.
    bool Failed() const { return mFailAt != 0 && mOperations >= mFailAt; }
    // The failed operation, as "rename /path/A.DBF" (empty before it is reached).
    const std::string& FailedOperation() const { return mFailedOperation; }

    std::unique_ptr<TFileIo> Open(const std::string& path, TFileAccess access,
                                  TFileLock lock) override;
    std::unique_ptr<TFileIo> Create(const std::string& path, TFileLock lock,
                                    bool replace = false) override;
    bool Exists(const std::string& path) override;
    void Remove(const std::string& path) override;
    void RenameEntry(const std::string& from, const std::string& to) override;
    // Counted as a flush to the disk.
    void SyncFolder(const std::string& path) override;
    // Counted as a create.
    bool Link(const std::string& existing, const std::string& name) override;
    std::string FindCompanion(const std::string& path, std::string_view ext) override;

    // Counts one operation of kind on path; true when it must fail (in Exit mode the process
    // ends here instead). Used by the wrapped files.
    bool Fails(TFaultOp kind, const std::string& path);
    // Throws the error of a failed operation on path.
    [[noreturn]] void ThrowInjected(const std::string& path) const;
    // Whether the failing write is the first failure (the one a torn write tears).
    bool TearsNow() const { return mTorn && mOperations == mFailAt; }
    bool SyncsOn() const { return mSyncs; }

private:
    TFileIoSystem& mInner;
    uint64_t mFailAt = 0;
    uint64_t mOperations = 0;
    TMode mMode = TMode::Kill;
    int mError = 0;
    int mExitCode = 0;
    unsigned mCounted = kFaultAll;
    bool mTorn = false;
    bool mSyncs = true;
    std::string mFailedOperation;
};

} // namespace qm::xbase
