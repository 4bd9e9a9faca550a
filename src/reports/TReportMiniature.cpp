#include "reports/TReportMiniature.h"

#include <algorithm>
#include <cmath>

namespace qm::reports {

namespace {

constexpr std::array<TReportBand, 4> kBands{TReportBand::Header, TReportBand::Detail,
                                            TReportBand::Memo, TReportBand::Footer};

// The strips of the border sides that are on. The width is held to 1..3 (what the dialog offers)
// and to the box, so a strip never leaves its box.
std::vector<QRect> Strips(const QRect& box, const TBandFrame& frame)
{
    std::vector<QRect> strips;
    if (box.isEmpty())
        return strips;
    const int across = std::min(std::clamp(frame.lineWidth, 1, 3), box.height());
    const int down = std::min(std::clamp(frame.lineWidth, 1, 3), box.width());
    if (frame.top)
        strips.emplace_back(box.left(), box.top(), box.width(), across);
    if (frame.left)
        strips.emplace_back(box.left(), box.top(), down, box.height());
    if (frame.bottom)
        strips.emplace_back(box.left(), box.bottom() - across + 1, box.width(), across);
    if (frame.right)
        strips.emplace_back(box.right() - down + 1, box.top(), down, box.height());
    return strips;
}

} // namespace

int TReportMiniature::ToMiniature(int designPixels, int ppi)
{
    return int(std::lround(double(designPixels) * kPixelsPerInch / std::max(ppi, 1)));
}

TMiniatureHit TReportMiniature::HitFor(TReportBand band)
{
    switch (band) {
    case TReportBand::Header:
        return TMiniatureHit::Header;
    case TReportBand::Detail:
        return TMiniatureHit::Detail;
    case TReportBand::Memo:
        return TMiniatureHit::Memo;
    case TReportBand::Footer:
        return TMiniatureHit::Footer;
    }
    return TMiniatureHit::None;
}

TReportMiniature::TReportMiniature(const TReportSettings& settings, int ppi)
{
    const int width = std::max(ToMiniature(settings.pageWidth, ppi), 1);
    const int height = std::max(ToMiniature(settings.pageHeight, ppi), 1);
    mPage = QRect(0, 0, width, height);

    // Margins wider than the page leave an empty inner area rather than a reversed one.
    const int left = std::clamp(ToMiniature(settings.leftMargin, ppi), 0, width);
    const int top = std::clamp(ToMiniature(settings.topMargin, ppi), 0, height);
    const int right = std::clamp(ToMiniature(settings.rightMargin, ppi), 0, width - left);
    const int bottom = std::clamp(ToMiniature(settings.bottomMargin, ppi), 0, height - top);
    mInner = QRect(left, top, width - left - right, height - top - bottom);

    const int boxHeight = std::min(kMaxBoxHeight, mInner.height() / 5);
    int y = mInner.top();
    for (TReportBand band : kBands) {
        TMiniatureBand& b = mBands[std::size_t(band)];
        b.band = band;
        const int boxTop = band == TReportBand::Footer ? mInner.bottom() + 1 - boxHeight : y;
        b.box = QRect(mInner.left(), boxTop, mInner.width(), boxHeight);
        b.strips = Strips(b.box, settings.Frame(band));
        y += boxHeight;
    }
}

TMiniatureHit TReportMiniature::HitTest(const QPoint& point) const
{
    for (const TMiniatureBand& b : mBands)
        if (b.box.contains(point))
            return HitFor(b.band);
    return mPage.contains(point) ? TMiniatureHit::Page : TMiniatureHit::None;
}

} // namespace qm::reports
