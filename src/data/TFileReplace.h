#pragma once

// The operating system's side of replacing a file: forcing an open file's bytes to the disk,
// renaming a finished file over its target in one step, and making that rename itself durable.
// Every function reports the system's reason ("No space left on device", "Input/output error")
// in *reason when it fails; none throws. This is the one place that calls the platform for it.

#include <QString>

class QFileDevice;

namespace qm::data {

class TFileReplace {
public:
    // Forces the bytes written through file (open, its buffer already flushed) to the disk.
    static bool Sync(QFileDevice& file, QString* reason);
    // Renames from over to in one step: a reader finds either the old file or the new one.
    static bool Replace(const QString& from, const QString& to, QString* reason);
    // Makes the names in folder durable (after a rename or a removal); false where the system
    // cannot say, which callers take as done.
    static bool SyncFolder(const QString& folder);
    // The system's text for an error number (errno), as the failing call would report it.
    static QString ErrorText(int error);
};

} // namespace qm::data
