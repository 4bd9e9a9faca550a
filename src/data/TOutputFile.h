#pragma once

// A file written whole under a name the user chose (a PDF, a page stream, a copy, a list): it
// replaces an earlier file only once complete (QSaveFile). A name that stands for something other
// than a regular file (a device such as /dev/null, a named pipe, a folder) is refused at open():
// replacing it by renaming a finished file over it would destroy it, and a page stream cannot be
// written to a pipe. Symbolic links to regular files are followed, as QSaveFile follows them.

#include <QSaveFile>

namespace qm::data {

class TOutputFile : public QSaveFile {
public:
    explicit TOutputFile(const QString& name) : QSaveFile(name) {}

    // False with errorString() saying why for a name that is not a regular file.
    bool open(OpenMode mode) override;

    // The reason a name cannot be an output, empty when it can (missing files can).
    static QString Refusal(const QString& name);
};

} // namespace qm::data
