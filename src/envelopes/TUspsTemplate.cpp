#include "envelopes/TUspsTemplate.h"

#include <algorithm>
#include <cmath>

namespace qm::envelopes {

std::array<TUspsArea, 4> TUspsTemplate::Areas(int width, int height, double ppi, double scale)
{
    const auto in = [&](double inches) { return int(std::trunc(inches * ppi * scale)); };
    const int w = width;
    const int h = height;
    // The width test is made on the face as designed, whatever the zoom.
    const bool wide = scale > 0 && ppi > 0 && (w / scale) / ppi >= 10.25;

    // Each caption sits 2 pixels inside its area's top-left corner.
    auto area = [](const char* caption, int left, int top, int right, int bottom) {
        return TUspsArea{QString::fromLatin1(caption),
                         QRect(QPoint(left, top), QPoint(right, bottom)),
                         QPoint(left + 2, top + 2)};
    };
    std::array<TUspsArea, 4> areas{
        area("[Return Address Area]", 1, 1, w / 2, std::min(h - in(2.75), h / 3)),
        area("[Barcode Clear Zone]", w - in(4), h - in(0.625), w - in(0.5), h - 1),
        area("[Address Area]", wide ? w - in(9.75) : in(0.5), h - in(2.75), w - in(0.5),
             h - in(0.625)),
        area("[FIM Area]", w - in(3), 1, w - in(2), in(0.625)),
    };
    return areas;
}

} // namespace qm::envelopes
