#pragma once

// The two read-only tables shipped with the program in sysdata/: LBLTPL, the label sheet
// templates, and CSZ, the state and province postal-code ranges. Their fields are fixed here once;
// the build writes both tables from the CSV files in resources/sysdata (TShippedTableBuilder), and
// readers find their columns by these names. docs/formats/system-tables.md describes each column.

#include "xbase/TFieldDef.h"

#include <string>
#include <string_view>
#include <vector>

namespace qm::data::sysdata {

struct TShippedTableSchema {
    std::string name;                     // "LBLTPL": the file is name + ".DBF", the index + ".CDX"
    std::vector<xbase::TFieldDef> fields; // in physical order
    std::string tag;                      // the one tag of the compound index
    std::string tagExpression;

    static const TShippedTableSchema& LabelTemplates();
    static const TShippedTableSchema& StateZip();
    // The schema of that table name in any letter case; nullptr for any other name.
    static const TShippedTableSchema* Find(std::string_view name);
};

} // namespace qm::data::sysdata
