#pragma once

// Geometry of single-line text with a 3D shadow and highlight in one of four rotations: the
// offsets, margins, automatic sizing, the three rectangles (main, shadow, highlight) and the
// text origin of each. Plain arithmetic on design pixels; the caller measures the text.
//
// Contract:
// - Inputs are the measured caption: textWidth = the width of the caption followed by one blank,
//   lineHeight = the font's height plus internal and external leading, both in design pixels at
//   the object's current scale.
// - Compute() may change width and height (automatic size) and returns the new ones with the
//   rectangles. Rectangles are left/top/right/bottom edges as QRect::setCoords would take them
//   (right and bottom exclusive, as the platform's drawing rectangles are).
// - Origins: the top-left corner of the unrotated text; at 90 degrees the text runs upwards
//   from the origin, at 180 it is upside down to the left of it, at 270 it runs downwards.

#include "design/stream/TGEnumNames.h"

#include <QPoint>
#include <cstdint>

namespace qm::design {

struct TEdges {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    TEdges Moved(std::int32_t dx, std::int32_t dy) const
    {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    friend bool operator==(const TEdges&, const TEdges&) = default;
};

struct TSingleLineInput {
    std::int32_t textWidth = 0;
    std::int32_t lineHeight = 0;
    int angle = 0;
    TGAlignment alignment = TGAlignment::taLeftJustify;
    int depthShadow = 0;
    TGShadowDirection directionShadow = TGShadowDirection::sdDownRight;
    int depthHighlight = 0;
    TGHighlightDirection directionHighlight = TGHighlightDirection::hdUpLeft;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct TSingleLineLayout {
    // The offsets of the shadow and highlight before rotation.
    QPoint shadowOffset;
    QPoint highlightOffset;
    std::int32_t mx = 0, my = 0;
    // Block height: line height with the shadow below and the highlight above.
    std::int32_t blockHeight = 0;
    std::int32_t width = 0, height = 0;
    TEdges main, shadow, highlight;
    QPoint mainOrigin, shadowOrigin, highlightOrigin;

    static QPoint ShadowOffset(TGShadowDirection direction, int depth);
    static QPoint HighlightOffset(TGHighlightDirection direction, int depth);
    static TSingleLineLayout Compute(const TSingleLineInput& in);

    // The size a label takes when its angle changes: width and height swap when the new angle
    // turns the text across the object (0 or 180 while narrower than high, 90 or 270 while wider
    // than high).
    static bool SwapsOnAngle(int newAngle, std::int32_t width, std::int32_t height);
};

} // namespace qm::design
