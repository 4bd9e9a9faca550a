#pragma once

// The geometry of the small picture of a report page in the "Report Layout" dialog: the page at
// a twentieth of an inch per pixel, the inner area at the margins, one box per band inside the
// inner area with the strips of its borders, and which part a click lands on.
//
// Rectangles are in miniature pixels with the page's top-left corner at (0, 0). The band boxes
// are a sketch of where each band prints, not its height: the header, detail and memo boxes are
// stacked from the top of the inner area and the footer box sits at its bottom, each a fifth of
// the inner height but never taller than an inch, so every box can be seen and clicked whether
// the band is in use or not.

#include "reports/TReportSettings.h"

#include <QPoint>
#include <QRect>

#include <array>
#include <vector>

namespace qm::reports {

// What a click on the miniature selects: nothing, the page or one band.
enum class TMiniatureHit { None, Page, Header, Detail, Memo, Footer };

struct TMiniatureBand {
    TReportBand band = TReportBand::Header;
    QRect box;
    // One filled strip per border side that is on, as wide as the line width (1 to 3 pixels)
    // and lying inside the box along that side.
    std::vector<QRect> strips;
};

class TReportMiniature {
public:
    static constexpr int kPixelsPerInch = 20;
    // The tallest box a band gets, in miniature pixels.
    static constexpr int kMaxBoxHeight = kPixelsPerInch;

    // Lays the miniature out for the settings' page and frames, whose lengths are design pixels
    // at `ppi` (positive).
    TReportMiniature(const TReportSettings& settings, int ppi);

    const QRect& Page() const { return mPage; }
    const QRect& Inner() const { return mInner; }
    // The four bands in the order header, detail, memo, footer.
    const std::array<TMiniatureBand, 4>& Bands() const { return mBands; }
    const TMiniatureBand& Band(TReportBand band) const { return mBands[std::size_t(band)]; }

    // A band box when the point lies in one, else the page when it lies on the page.
    TMiniatureHit HitTest(const QPoint& point) const;

    static TMiniatureHit HitFor(TReportBand band);
    // Design pixels at `ppi` to miniature pixels, rounded to nearest.
    static int ToMiniature(int designPixels, int ppi);

private:
    QRect mPage;
    QRect mInner;
    std::array<TMiniatureBand, 4> mBands{};
};

} // namespace qm::reports
