#pragma once

// The two guides the envelope designer can draw over the envelope face:
// - the printer margins: the printable area of the envelope printer as set up for printing, a
//   red dotted rectangle one pixel wide;
// - the postal automation template: the return address, barcode clear zone, address and FIM
//   areas in light grey with grey outlines and black captions on silver.
// The geometry is plain arithmetic in panel pixels (at the panel's scale); Paint* draw it.
// Inch lengths become pixels as inches x PPI x scale with the fraction dropped.

#include "print/TRPDevice.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

namespace qm::envelopes {

struct TTemplateArea {
    QString caption;
    // Left, top, right, bottom as the template defines them (right and bottom exclusive).
    int left = 0, top = 0, right = 0, bottom = 0;
    QPoint captionAt; // top-left corner of the caption
};

class TEnvelopeOverlays {
public:
    static inline const QColor kAreaFill{239, 239, 239};
    static inline const QColor kAreaOutline{128, 128, 128};
    static inline const QColor kCaptionBack{192, 192, 192};
    static constexpr int kCaptionPoints = 8;
    // Envelopes at least this wide (unscaled) place the address area from their right edge.
    static constexpr double kWideEnvelopeInches = 10.25;

    // inches x ppi x scale, fraction dropped.
    static int Pixels(double inches, int ppi, float scale);

    // The printer's printable area on the face: (left waste, top waste) to (page width - right
    // waste, page height - bottom waste), each in whole design pixels, times the scale.
    static QRect PrinterMargins(const print::TPageGeometry& page, int ppi, float scale);

    // The four template areas for a panel of width x height pixels at the scale: return address,
    // barcode clear zone, address, FIM.
    static std::vector<TTemplateArea> TemplateAreas(int width, int height, int ppi, float scale);

    static void PaintPrinterMargins(QPainter& painter, const QRect& margins);
    static void PaintTemplate(QPainter& painter, const std::vector<TTemplateArea>& areas,
                              float scale);
};

} // namespace qm::envelopes
