#pragma once

// The fields the bulk edits offer, each with the label its window shows: the field choice of
// Search and Replace and the check boxes of Convert Case, in the windows' order.

#include <QString>
#include <vector>

namespace qm::maintenance {

struct TFieldChoice {
    QString label;
    QString field;
};

class TMaintenanceFields {
public:
    static const std::vector<TFieldChoice>& ReplaceFields();
    static const std::vector<TFieldChoice>& CaseFields();
    // The field a name or label of the list stands for (any letter case, "&" ignored); empty when
    // none does.
    static QString Resolve(const std::vector<TFieldChoice>& list, const QString& nameOrLabel);
};

} // namespace qm::maintenance
