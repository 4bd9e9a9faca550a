#pragma once

// Whether two paths name the same file: the same file on the disk (through links, other spellings
// of the path, and on systems where names ignore letter case, other cases), decided by the file
// system rather than by comparing names.

#include <QString>

namespace qm::transfer {

class TFileIdentity {
public:
    static bool Same(const QString& a, const QString& b);
    // Whether writing path would write over a file of table: the table itself, or a name in its
    // folder with its base name in any letter case and the extension of a table, memo or index
    // file. The table engine finds memo and index files in any case, so another table whose name
    // differs only in case would take over (and replace) the table's own.
    static bool PartOfTable(const QString& path, const QString& table);
};

} // namespace qm::transfer
