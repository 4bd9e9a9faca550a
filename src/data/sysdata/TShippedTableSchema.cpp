#include "data/sysdata/TShippedTableSchema.h"

#include "xbase/TCodePage1252.h"

namespace qm::data::sysdata {
namespace {

using xbase::TFieldDef;
using xbase::TFieldType;

TFieldDef C(const char* name, int width)
{
    return {name, TFieldType::Character, width, 0};
}
TFieldDef N(const char* name, int width, int decimals = 0)
{
    return {name, TFieldType::Numeric, width, decimals};
}

} // namespace

const TShippedTableSchema& TShippedTableSchema::LabelTemplates()
{
    // The geometry columns have the types and order of the user's LABEL table, so that a
    // template row copies into a layout row column by column.
    static const TShippedTableSchema schema{
        "LBLTPL",
        {C("DESCRIPT", 60), C("PRINTER", 2), N("LBLHEIGHT", 6, 3), N("LBLWIDTH", 6, 3),
         N("NBRACROSS", 2), N("NBRDOWN", 2), N("TOPMARG", 6, 3), N("LEFTMARG", 6, 3),
         N("HORIZPITCH", 6, 3), N("VERTPITCH", 6, 3), N("SHEETWIDTH", 6, 3), N("SHEETDEPTH", 6, 3),
         C("PAPERSIZE", 5), C("LBLSHAPE", 2), C("MANUFAC", 10), C("PRODTYPE", 25),
         N("MIDEXTRAX", 6, 3), N("MIDEXTRAY", 6, 3), C("ART", 12)},
        "DESCRIPT",
        "UPPER(descript)"};
    return schema;
}

const TShippedTableSchema& TShippedTableSchema::StateZip()
{
    static const TShippedTableSchema schema{
        "CSZ",
        {C("NAME", 20), C("STATE", 4), C("LOW_ZIP", 10), C("HIGH_ZIP", 10)},
        "STATE",
        "UPPER(state)"};
    return schema;
}

const TShippedTableSchema* TShippedTableSchema::Find(std::string_view name)
{
    const std::string upper = xbase::TCodePage1252::Upper(name);
    for (const TShippedTableSchema* schema : {&LabelTemplates(), &StateZip()})
        if (schema->name == upper)
            return schema;
    return nullptr;
}

} // namespace qm::data::sysdata
