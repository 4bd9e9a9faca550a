#pragma once

// The browse grid's column order and its file FIELDS.LST in the system folder: one field name per
// line, in column order, naming every field object of the address table (stored and calculated,
// shown or not).

#include <QString>
#include <QStringList>

namespace qm::addressbook {

class TColumnOrder {
public:
    // The file's place: FIELDS.LST in the home's system folder.
    static QString FilePath();

    // Moves, for each line in turn, the field of that name to that line's position (line 1 =
    // first column); names that are not fields (any letter case) and blank lines are skipped, and
    // a position past the end means the last column. Returns the new order of fields.
    static QStringList Apply(const QStringList& fields, const QStringList& lines);

    // The lines of the file; empty when it does not exist or cannot be read.
    static QStringList Read(const QString& path);
    // Writes the names one per line; returns the error text, empty on success.
    static QString Write(const QString& path, const QStringList& fields);
};

} // namespace qm::addressbook
