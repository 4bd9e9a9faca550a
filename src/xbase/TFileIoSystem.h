#pragma once

// Opens, creates, renames and removes files for the engine. The native system is the operating
// system's; tests wrap it in TFileIoFaulty. Tables opened without a file system of their own use
// Default(), which is the native one unless a test installed another for the whole process.

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
    // Replaces to with from in one step where the system allows, then flushes the folder to the
    // disk (SyncFolder), so that the new name survives a power cut.
    void Rename(const std::string& from, const std::string& to)
    {
        RenameEntry(from, to);
        SyncFolder(to);
    }
    // The rename alone.
    virtual void RenameEntry(const std::string& from, const std::string& to) = 0;
    // Flushes the folder holding path to the disk (its entries: new names, removed ones).
    virtual void SyncFolder(const std::string& path) { (void)path; }
    // Gives the file existing a second name (a hard link; the name must be free). False when the
    // file system cannot (then callers do without); other failures throw Io.
    virtual bool Link(const std::string& existing, const std::string& name)
    {
        (void)existing;
        (void)name;
        return false;
    }

    // The file next to path whose name is path's stem with extension ext (for example ".FPT"),
    // found without regard to letter case; "" when there is none.
    virtual std::string FindCompanion(const std::string& path, std::string_view ext) = 0;

    // The operating system's files (one instance for the process).
    static TFileIoSystem& Native();
    // The file system of every table opened or created without one (TTableOptions::files), and
    // of the program's other engine-level writes (copies out).
    static TFileIoSystem& Default();
    // Installs system as the default for the whole process (nullptr: the native one again).
    // Only for tests, while no table is open.
    static void SetDefault(TFileIoSystem* system);
};

// path with its extension replaced by ext, keeping the letter case style of path's own
// extension (".dbf" gives ".fpt", ".DBF" gives ".FPT").
std::string CompanionPath(const std::string& path, std::string_view ext);

} // namespace qm::xbase
