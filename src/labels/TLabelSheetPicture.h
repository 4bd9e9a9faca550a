#pragma once

// The sheet picture of the "Labels Print" dialog in screen pixels: the page outline and every
// label position, drawn at 19.2 pixels per inch (a fifth of 96) inside a 10-pixel border. Every
// inch value (corner and size alike) becomes pixels with the fraction dropped, so the picture
// shows the labels where the print loop places them (extra gaps included).
//
// The picture's area is at least that of a letter sheet (8.5 x 11 in) and grows for wider or
// deeper sheets.

#include "labels/TLabelSheet.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace qm::labels {

class TLabelSheetPicture {
public:
    static constexpr double kPixelsPerInch = 0.2 * 96;
    static constexpr int kBorder = 10;

    explicit TLabelSheetPicture(const TLabelSheet& sheet);

    // Inches to pixels, the fraction dropped.
    static int Pixels(double inches);

    QRect PageRect() const;
    QRect LabelRect(int position) const;
    // The area the picture needs, borders included.
    QSize AreaSize() const;
    // The label position under a point of the picture; -1 when there is none. Where labels
    // overlap, the later position wins, as it is drawn last.
    int PositionAt(const QPoint& point) const;
    int Positions() const { return mSheet.PositionsPerSheet(); }

private:
    TLabelSheet mSheet;
};

} // namespace qm::labels
