#pragma once

// The find box of "Select Label Template" and the tool's "print templates --find": narrows the
// listed template descriptions to those that hold every word of the text typed, in any letter
// case and anywhere in the description ("5160", "herma 4226", "l71", "address 8160"), and picks
// the row to move to:
//   1. the first row one of whose words equals the first word typed ("5160" stands on
//      "Avery 5160  Address", not on "Avery 15160  Address" above it);
//   2. else the first row in which the first word typed starts a word ("l71" on "Avery L7160");
//   3. else the first row listed.
// An empty text (or only blanks) keeps every row and moves to none. Words are split at blanks;
// the filter of the picker's lists is applied before this, so both narrow together.

#include <QString>
#include <QStringList>
#include <vector>

namespace qm::labels {

class TTemplateFind {
public:
    struct TResult {
        std::vector<int> rows; // indexes into the descriptions, in their order
        int current = -1;      // index into rows of the row to move to; -1 for none
    };

    static TResult Narrow(const QStringList& descriptions, const QString& text);
};

} // namespace qm::labels
