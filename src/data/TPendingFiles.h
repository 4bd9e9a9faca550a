#pragma once

// Files whose fate depends on a table row that is not committed yet: a layout file written for a
// save or a clone (kept only if the row that names it is committed), and the file a save replaces
// (removed only once the new row no longer names it). Each such file gets an empty marker beside
// it, NAME + ".qm-pending", before the row is written, and loses it once the row is committed and
// the files are settled. A process killed in between leaves the marker, and the next exclusive
// open of the table settles the file: it stays when a row names it and goes when none does.
//
// Markers are only ever made for files in the program's sysdata folder, and a file without a
// marker is never removed here. Nothing throws.

#include <QString>
#include <QStringList>
#include <functional>

namespace qm::data {

class TPendingFiles {
public:
    static QString MarkerPath(const QString& path);

    // Makes the marker of path; false with *reason when it cannot be made.
    static bool Mark(const QString& path, QString* reason = nullptr);
    // Removes the marker of path (the file itself stays).
    static void Clear(const QString& path);

    // Settles every marked file in folder whose name matches wildcard ("BIN?????.R", any letter
    // case): held(name) true keeps it, false removes it with what an interrupted write left
    // beside it; the markers go either way. Returns the names of the files removed.
    static QStringList Settle(const QString& folder, const QString& wildcard,
                              const std::function<bool(const QString& name)>& held);
};

} // namespace qm::data
