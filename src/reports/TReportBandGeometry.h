#pragma once

// The arithmetic of the report designer's page: how wide the bands are, how much height the
// header, detail and footer share, the height a band gets when it is turned on or its sizer is
// dragged, and where a band's objects go when it shrinks or is saved. All lengths are design
// pixels; the memo band is a fixed strip outside the shared height.

#include "reports/TReportSettings.h"

#include <QPoint>
#include <QRect>
#include <array>

namespace qm::reports {

class TReportBandGeometry {
public:
    static constexpr int kTurnedOnHeight = 20;
    static constexpr int kMemoStripHeight = 33;
    // An object further than this below a band or beyond its right edge is dropped on save.
    static constexpr int kDropDistance = 10;

    // Page width less both margins and a quarter inch.
    static int BandWidth(const TReportSettings& settings, int ppi);
    // Page height less the top and bottom margins: what header + detail + footer may fill.
    static int AvailableHeight(const TReportSettings& settings);

    // The heights of header, detail and footer in that order (0 for a band not in use).
    static std::array<int, 3> SharedHeights(const TReportSettings& settings);

    // The height of a band (header, detail or footer) turned on: its height, or kTurnedOnHeight
    // when that is 0, reduced by whatever header + detail + footer would then exceed the
    // available height (never below 0).
    static int TurnedOnHeight(const TReportSettings& settings, TReportBand band);

    // The height of a band whose sizer was pressed at heightAtPress and dragged by dy pixels:
    // heightAtPress + dy, reduced by what header + detail + footer would exceed the available
    // height, never below 0. The other bands' heights come from the settings.
    static int DraggedHeight(const TReportSettings& settings, TReportBand band, int heightAtPress,
                             int dy);

    // Where an object goes when its band shrinks to width x height: an object whose top lies
    // below the band's height is moved up to the band's bottom edge, one whose left lies beyond
    // the band's width to its right edge. Returns its new top-left corner.
    static QPoint PulledInside(const QRect& object, int width, int height);

    // Whether saving drops the object: its top more than kDropDistance below the band, its left
    // more than kDropDistance beyond the right edge, or no width or height left.
    static bool DroppedOnSave(const QRect& object, int width, int height);
};

} // namespace qm::reports
