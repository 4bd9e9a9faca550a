#pragma once

// Saving and restoring filters as ".FLT" files: the name rules of the save and open dialogs and
// the 18-line text itself (TFilterBuilder::FileText). Messages are the texts the user sees.

#include "data/TFilterBuilder.h"

#include <QString>

namespace qm::data {

class TFilterFiles {
public:
    struct TTarget {
        QString path;  // where to write; empty when refused
        QString error; // the message when refused
    };
    // The file a chosen save name stands for: kept when it ends in ".FLT" (any case); refused when
    // it holds a full stop anywhere else (in the name or a directory); otherwise ".FLT" appended.
    static TTarget SaveTarget(const QString& chosen);
    // "Must be a Filter (.FLT) file" for a name whose extension is not ".FLT", else empty.
    static QString RestoreError(const QString& chosen);
    // The overwrite question's text for an existing file.
    static QString OverwriteQuestion(const QString& path);

    // Writes the 18 entries (UTF-8 with a byte-order mark); returns the error text, empty on
    // success. A failed write leaves any earlier file as it was.
    static QString Write(const QString& path, const TFilterEntries& filter);
    // Reads a filter file; the tagged-only flag is never stored, so it comes back off. Returns
    // false with the error text when the file cannot be read.
    static bool Read(const QString& path, TFilterEntries& filter, QString& error);
};

} // namespace qm::data
