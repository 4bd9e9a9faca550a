#pragma once

// The state table editor's check of one row before it is saved: a row without an abbreviation, or
// whose starting ZIP lies after its ending ZIP, would make every record of its state questionable,
// so it is refused with a message naming the row.

#include <QString>

namespace qm::maintenance {

class TStateRowCheck {
public:
    // Empty when the row may be saved, else the message.
    static QString Problem(const QString& name, const QString& state, const QString& lowZip,
                           const QString& highZip);
};

} // namespace qm::maintenance
