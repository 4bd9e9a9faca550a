#include "reports/TReportBandGeometry.h"

#include <algorithm>

namespace qm::reports {

namespace {

int& HeightOf(TReportSettings& settings, TReportBand band)
{
    switch (band) {
    case TReportBand::Header:
        return settings.headerHeight;
    case TReportBand::Footer:
        return settings.footerHeight;
    default:
        return settings.detailHeight;
    }
}

int SharedSum(const TReportSettings& settings)
{
    const std::array<int, 3> heights = TReportBandGeometry::SharedHeights(settings);
    return heights[0] + heights[1] + heights[2];
}

// The height of `band` set to `height` (in use), reduced by what the three bands exceed.
int Fitted(TReportSettings settings, TReportBand band, int height)
{
    HeightOf(settings, band) = std::max(0, height);
    switch (band) {
    case TReportBand::Header:
        settings.useHeader = true;
        break;
    case TReportBand::Footer:
        settings.useFooter = true;
        break;
    default:
        settings.useDetail = true;
        break;
    }
    const int excess = SharedSum(settings) - TReportBandGeometry::AvailableHeight(settings);
    if (excess > 0)
        HeightOf(settings, band) -= excess;
    return std::max(0, HeightOf(settings, band));
}

} // namespace

int TReportBandGeometry::BandWidth(const TReportSettings& settings, int ppi)
{
    return settings.pageWidth - settings.leftMargin - settings.rightMargin - ppi / 4;
}

int TReportBandGeometry::AvailableHeight(const TReportSettings& settings)
{
    return settings.pageHeight - settings.topMargin - settings.bottomMargin;
}

std::array<int, 3> TReportBandGeometry::SharedHeights(const TReportSettings& settings)
{
    return {settings.useHeader ? settings.headerHeight : 0,
            settings.useDetail ? settings.detailHeight : 0,
            settings.useFooter ? settings.footerHeight : 0};
}

int TReportBandGeometry::TurnedOnHeight(const TReportSettings& settings, TReportBand band)
{
    if (band == TReportBand::Memo)
        return kMemoStripHeight;
    TReportSettings copy = settings;
    const int height = HeightOf(copy, band) > 0 ? HeightOf(copy, band) : kTurnedOnHeight;
    return Fitted(settings, band, height);
}

int TReportBandGeometry::DraggedHeight(const TReportSettings& settings, TReportBand band,
                                       int heightAtPress, int dy)
{
    if (band == TReportBand::Memo)
        return kMemoStripHeight;
    return Fitted(settings, band, heightAtPress + dy);
}

QPoint TReportBandGeometry::PulledInside(const QRect& object, int width, int height)
{
    return QPoint(std::min(object.left(), width), std::min(object.top(), height));
}

bool TReportBandGeometry::DroppedOnSave(const QRect& object, int width, int height)
{
    return object.top() > height + kDropDistance || object.left() > width + kDropDistance ||
           object.width() < 1 || object.height() < 1;
}

} // namespace qm::reports
