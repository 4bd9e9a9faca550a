#pragma once

// Names of new address files: the proposal ("ADD" + four digits, the first free one in the data
// folder) and the rule a typed name must follow.

#include <QString>

namespace qm::data {

class TAddressFileNames {
public:
    static constexpr int kMaxNameLength = 8;

    // "ADD0001".."ADD9999": the first whose ".DBF" (in any letter case) is not in dataDir;
    // "ADD0001" when all are taken.
    static QString ProposeNewName(const QString& dataDir);

    // At most 8 characters; a letter A-Z/a-z or "_" first, then letters, digits or "_".
    static bool IsValidName(const QString& name);
};

} // namespace qm::data
