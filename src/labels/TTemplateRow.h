#pragma once

// One row of a label sheet template table (LBLTPL, or the user's own LBLUSER) as a template file
// makes it: the columns with their exact lengths, before they are written.

#include "labels/TLabelGeometry.h"
#include "labels/TTemplateLength.h"

#include <QString>

namespace qm::labels {

struct TTemplateRow {
    QString description; // DESCRIPT: "Herma 4226  Address"
    QString printer;     // PRINTER
    TTemplateLength labelHeight, labelWidth;
    int across = 0, down = 0;
    TTemplateLength topMargin, leftMargin, horizontalPitch, verticalPitch;
    TTemplateLength sheetWidth, sheetDepth;
    QString paperSize;    // PAPERSIZE
    QString shape;        // LBLSHAPE
    QString maker;        // MANUFAC
    QString productGroup; // PRODTYPE
    TTemplateLength midExtraX, midExtraY;
    QString art;    // ART, always empty from a template file
    QString source; // not stored: "herma-iso-templates.xml 4226", the file and template

    // The row as a template the picker hands over: lengths rounded to 3 decimals, the description
    // in templateDescription.
    TLabelGeometry Geometry() const;
    // Every stored column equal (the source aside).
    bool SameColumns(const TTemplateRow& other) const;
};

} // namespace qm::labels
