#pragma once

// Screen drawing shared by shapes and lines: the pen width at a zoom, and the Qt pen and brush
// for a design pen and brush. Figures are given the way the layouts define them: a rectangle from
// (x1, y1) to (x2, y2) with the right and bottom edges outside, the pen centred on the outline,
// so with a pen of width pw starting at c = pw div 2 the outline stays inside the object.

#include "design/core/TGBrush.h"
#include "design/core/TGPen.h"

#include <QBrush>
#include <QPen>
#include <QRect>
#include <QRectF>
#include <cstdint>

class QPainter;

namespace qm::design {

class TGShapeScreen {
public:
    // The pen width on screen: the design width at Scale 1.0, else round(width x Scale), at least
    // 1 when the width is positive.
    static int PenWidth(int width, float scale);

    // The Qt pen for a design pen drawn pw pixels wide (the pen style is applied only when asked:
    // shapes leave it out on screen, lines use it).
    static QPen ScreenPen(const TGPen& pen, int pw, bool withStyle);
    static QBrush ScreenBrush(const TGBrush& brush);
    // Sums of stored coordinates without overflow: stored layouts may hold any 32-bit values.
    static int Clamped(std::int64_t value);
    // The inch position of a design-pixel coordinate given as a sum (Left + Width and the like).
    static double Inches(std::int64_t pixels);
    // A stored pen width limited to what a page can show (at most 1000 inches either way), so that
    // conversions to device pixels cannot overflow.
    static int PrintablePenWidth(int width);

    // A design colour for the page canvas (system colours resolved).
    static print::TColor PrintColor(TGColor color)
    {
        return print::TColor::FromQColor(color.ToQColor());
    }
    // The raster operation of a pen mode where the painter supports it (copy elsewhere).
    static void ApplyMode(QPainter& painter, print::TPenMode mode);

    // The rectangle that a pen of width pw strokes along (centre line of the outline) for a figure
    // from (x1, y1) to (x2, y2), right and bottom edges excluded; figure is
    // QRect(QPoint(x1, y1), QSize(x2 - x1, y2 - y1)).
    static QRectF StrokeRect(const QRect& figure, int pw);
};

} // namespace qm::design
