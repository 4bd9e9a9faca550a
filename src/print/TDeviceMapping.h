#pragma once

// The one converter from page inches to device pixels:
//   pixel = nearest integer to ((inches x scale/100 x zoom/100) - waste) x DPI
// where inches already include the job's origin offsets. Halves go to the even neighbour.
// On a printer the zoom is 100 and the wastes are its unprintable borders; on a screen picture,
// a PDF or a PNG the wastes are 0 and the zoom is the viewer's.

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <cmath>

namespace qm::print {

struct TDeviceMapping {
    double dpiX = 96;
    double dpiY = 96;
    double leftWaste = 0; // inches
    double topWaste = 0;  // inches
    double zoom = 100;    // percent
    double scaleX = 100;  // percent
    double scaleY = 100;  // percent

    int X(double inches) const
    {
        return int(std::nearbyint((inches * scaleX / 100.0 * zoom / 100.0 - leftWaste) * dpiX));
    }
    int Y(double inches) const
    {
        return int(std::nearbyint((inches * scaleY / 100.0 * zoom / 100.0 - topWaste) * dpiY));
    }
    QPoint Point(QPointF inches) const { return QPoint(X(inches.x()), Y(inches.y())); }
    // The device rectangle from the top-left to the bottom-right corner.
    QRect Rect(const QRectF& inches) const
    {
        return QRect(Point(inches.topLeft()), Point(inches.bottomRight()) - QPoint(1, 1));
    }
    // Inverse of X and Y, for device rectangles handed back by callers.
    double InchesX(int pixel) const
    {
        return (pixel / dpiX + leftWaste) / (scaleX / 100.0 * zoom / 100.0);
    }
    double InchesY(int pixel) const
    {
        return (pixel / dpiY + topWaste) / (scaleY / 100.0 * zoom / 100.0);
    }
    // A length (pen width, font height) in device pixels, unrounded.
    double LengthX(double inches) const { return inches * scaleX / 100.0 * zoom / 100.0 * dpiX; }
    double LengthY(double inches) const { return inches * scaleY / 100.0 * zoom / 100.0 * dpiY; }
};

} // namespace qm::print
