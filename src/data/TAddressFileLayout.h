#pragma once

// The layout of an address file: its 23 fields in physical order, its 26 index tags in creation
// order, the order in which the tag check looks for them, and the field objects the rest of the
// program addresses by name (display label, shown in grids, stored or calculated).

#include "data/TNewFileFieldLengths.h"
#include "xbase/TFieldDef.h"

#include <QString>
#include <vector>

namespace qm::data {

struct TAddressTag {
    const char* name;
    const char* expression;
};

enum class TFieldObjectKind { Stored, Calculated };

struct TFieldObject {
    const char* name;         // the field name, or the calculated field's name
    const char* displayLabel; // column titles, import and export captions
    bool visibleInGrids;
    TFieldObjectKind kind;
    int calculatedSize; // calculated fields only; stored ones take the file's width
};

class TAddressFileLayout {
public:
    static constexpr int kFieldCount = 23;
    static constexpr int kTagCount = 26;

    // The 23 fields in physical order with the widths for a new file.
    static std::vector<xbase::TFieldDef> FieldDefs(const TNewFileFieldLengths& lengths);
    // Tags in creation order.
    static const std::vector<TAddressTag>& Tags();
    // Tag names in the order the tag check tests them.
    static const std::vector<const char*>& TagCheckOrder();
    // The field objects in their declared order (calculated fields first, as the form lists them).
    static const std::vector<TFieldObject>& FieldObjects();
    static const TFieldObject* FindFieldObject(const QString& name);
};

} // namespace qm::data
