#pragma once

// The columns of a LABEL or LBLTPL row and the working record they fill. Both tables carry the
// same geometry columns; the template table has no DESCRIPT of a layout, TPLDESCRIP, DELETED or
// BINARY, so reading a template row fills its own DESCRIPT into templateDescription instead.

#include "labels/TLabelGeometry.h"

#include <QString>

namespace qm::data {
class TDataSet;
}

namespace qm::labels {

class TLabelRow {
public:
    // Reads the data set's current row. A blank number reads as 0; a number that cannot be read
    // is refused. Returns an empty text on success, else what is wrong with which column
    // ("LBLWIDTH holds \"2,6x\", which is not a number"). Does not check that the values make a
    // sheet (TLabelSheet::Problem does).
    static QString ReadLayout(const data::TDataSet& row, TLabelGeometry* geometry);
    static QString ReadTemplate(const data::TDataSet& row, TLabelGeometry* geometry);

    // Writes every column of a LABEL row from the working record, lengths rounded to 3 decimals
    // and texts cut to their columns' widths. The data set must be editing or inserting; the
    // caller posts.
    static void WriteLayout(data::TDataSet& row, const TLabelGeometry& geometry);

    // The list's "Sheet Name" column: the template's description, or "[User Defined]".
    static QString SheetName(const TLabelGeometry& geometry);
};

} // namespace qm::labels
