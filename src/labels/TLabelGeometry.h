#pragma once

// The working record of one label layout: the sheet it prints on and the layout's own names, as
// the "Print Labels" window, the print loop, the designer and the tool hold it between reading a
// LABEL row and writing it back.
//
// Lengths are inches on the sheet as printed (for a landscape paper code the sheet is turned so
// that its long side runs across) and are held in single precision, as the stored columns have
// only 3 decimals; RoundForTable gives the value a column receives. Counts are whole numbers as
// stored; nothing here clamps them (the user-defined sheet dialog refuses counts outside its
// ranges, and TLabelSheet refuses a sheet that cannot be printed).

#include <QString>

namespace qm::labels {

struct TLabelGeometry {
    QString description;         // DESCRIPT, at most 50 characters
    QString printer;             // PRINTER: "LJ", "IJ", "DM", "LP"
    float labelHeight = 0;       // LBLHEIGHT
    float labelWidth = 0;        // LBLWIDTH
    int across = 0;              // NBRACROSS
    int down = 0;                // NBRDOWN
    float topMargin = 0;         // TOPMARG
    float leftMargin = 0;        // LEFTMARG
    float horizontalPitch = 0;   // HORIZPITCH
    float verticalPitch = 0;     // VERTPITCH
    float sheetWidth = 0;        // SHEETWIDTH
    float sheetDepth = 0;        // SHEETDEPTH
    QString paperSize;           // PAPERSIZE: "LTR", "LTRL", "A4", "A4L", "A5", "USERP", "USERL"
    QString shape;               // LBLSHAPE: "RR", "SR", "EL"
    QString templateDescription; // TPLDESCRIP; empty for a user-defined sheet
    QString maker;               // MANUFAC: "AVERY", "NEBS", "COSTAR", "USER"
    QString productGroup;        // PRODTYPE, upper case
    float midExtraX = 0;         // MIDEXTRAX: extra gap before the right half's columns
    float midExtraY = 0;         // MIDEXTRAY: extra gap before the lower half's rows
    QString art;                 // ART
    QString layoutFile;          // BINARY: bare layout file name in sysdata/

    static constexpr int kMaxDescriptionLength = 50;

    // The geometry a new layout starts with: the "Avery 5160  Address" sheet (two blanks before
    // "Address"), without a description or layout file.
    static TLabelGeometry NewLayout();
    // What the working record holds while the LABEL table has no rows: "Default Label Setup".
    static TLabelGeometry DefaultSetup();

    // A length as a 3-decimal table column stores it (halves away from zero, as the column's
    // text is written).
    static double RoundForTable(double inches);

    // Makes the record describe a sheet typed in by the user: no template, printer or product
    // group, maker "USER", no extra gaps and no art.
    void MakeUserDefined();

    bool operator==(const TLabelGeometry&) const = default;
};

} // namespace qm::labels
