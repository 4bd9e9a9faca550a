#pragma once

// Whether two paths name the same file: the same file on the disk (through links, other spellings
// of the path, and on systems where names ignore letter case, other cases), decided by the file
// system rather than by comparing names.

#include <QString>

namespace qm::transfer {

class TFileIdentity {
public:
    static bool Same(const QString& a, const QString& b);
};

} // namespace qm::transfer
