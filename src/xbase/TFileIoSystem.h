#pragma once

// Opens, creates, renames and removes files for the engine. The native system is the operating
// system's; tests wrap it in TFileIoFaulty.

#include "xbase/TFileIo.h"

#include <memory>
#include <string>
#include <string_view>

namespace qm::xbase {

class TFileIoSystem {
public:
    virtual ~TFileIoSystem() = default;

    // Opens an existing file. A missing file gives TErrorKind::NotFound; a lock held by another
    // opener gives TErrorKind::InUse ("in use"); anything else Io with the OS error.
    virtual std::unique_ptr<TFileIo> Open(const std::string& path, TFileAccess access,
                                          TFileLock lock) = 0;
    // Creates a new empty file opened for reading and writing; an existing file gives Usage
    // unless replace is true, then it is emptied.
    virtual std::unique_ptr<TFileIo> Create(const std::string& path, TFileLock lock,
                                            bool replace = false) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // Removes a file; a missing file is not an error.
    virtual void Remove(const std::string& path) = 0;
    // Replaces to with from in one step where the system allows.
    virtual void Rename(const std::string& from, const std::string& to) = 0;

    // The file next to path whose name is path's stem with extension ext (for example ".FPT"),
    // found without regard to letter case; "" when there is none.
    virtual std::string FindCompanion(const std::string& path, std::string_view ext) = 0;

    // The operating system's files (one instance for the process).
    static TFileIoSystem& Native();
};

// path with its extension replaced by ext, keeping the letter case style of path's own
// extension (".dbf" gives ".fpt", ".DBF" gives ".FPT").
std::string CompanionPath(const std::string& path, std::string_view ext);

} // namespace qm::xbase
