#pragma once

// The field pick list every designer offers, and binding by display label.
//
// Contract:
// - Objects find their field by display label, never by name: the field whose display label
//   equals the stored label exactly; when several match, the last in field order.
// - The string list holds the visible string fields in the data set's field order; the memo list
//   holds every memo field whatever its visibility.
// - The data set is not owned; the returned field pointers live as long as its field objects.

#include <QString>
#include <QStringList>

namespace qm::data {
class TDataSet;
class TDataField;
} // namespace qm::data

namespace qm::design {

enum class TFieldKind { String, Memo };

class TFieldPickList {
public:
    // Display labels offered for binding, in field order.
    static QStringList Labels(const data::TDataSet& dataSet, TFieldKind kind);
    // The bound field, or null when no field carries that label (or the label is empty).
    static const data::TDataField* Find(const data::TDataSet& dataSet, const QString& label);
    // The names of the stored character fields a user sees (no calculated, memo, logical or
    // hidden field), in field order: what a barcode object can read its ZIP and street from by
    // name.
    static QStringList CharacterFieldNames(const data::TDataSet& dataSet);
    // The field with that label among the offered ones (for the "Select Field" dialog).
    static const data::TDataField* FindOffered(const data::TDataSet& dataSet, TFieldKind kind,
                                               const QString& label);
};

} // namespace qm::design
