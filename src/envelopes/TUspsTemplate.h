#pragma once

// The USPS automation template the envelope designer draws over the face: four areas, each with
// its caption, in panel pixels at the panel's scale. W and H are the panel's width and height in
// pixels (already scaled); every inch length is converted as inches x PPI x scale with the
// fraction dropped. Whether the envelope is wide (10.25 in or more, which moves the address area's
// left edge to W - 9.75 in) is decided on the unscaled width, W / scale.
//
// Drawing: fill (239, 239, 239), outline (128, 128, 128) one pixel wide, captions in black
// 8-point text (times the scale) on silver (192, 192, 192) at each area's caption point.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>

namespace qm::envelopes {

struct TUspsArea {
    QString caption;
    QRect rect;       // from (left, top) to (right, bottom) inclusive
    QPoint captionAt; // where the caption's top-left corner goes
};

class TUspsTemplate {
public:
    static constexpr QColor kFill{239, 239, 239};
    static constexpr QColor kOutline{128, 128, 128};
    static constexpr QColor kCaptionBack{192, 192, 192};
    static constexpr int kCaptionPoints = 8;

    // The areas in drawing order: return address, barcode clear zone, address, FIM.
    static std::array<TUspsArea, 4> Areas(int width, int height, double ppi, double scale);
};

} // namespace qm::envelopes
