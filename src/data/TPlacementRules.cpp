#include "data/TPlacementRules.h"

#include <algorithm>
#include <cmath>

namespace qm::data {

QString TPlacementRules::SectionName(const QString& className, int logicalDpi)
{
    QString section = className + QStringLiteral("_Placement");
    if (logicalDpi > 96)
        section += QString::number(logicalDpi);
    return section;
}

TEdges TPlacementRules::ScaledDesignSize(int designWidth, int designHeight, int logicalDpi,
                                         double devicePixelRatio)
{
    const double factor = logicalDpi > 96 ? logicalDpi / 96.0 * 0.95 : 1.0;
    // Qt lays windows out in logical pixels, which the device pixel ratio already enlarges.
    const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    return TEdges{0, 0, int(std::lround(designWidth * factor / ratio)),
                  int(std::lround(designHeight * factor / ratio))};
}

TEdges TPlacementRules::FitInto(TEdges r, const TEdges& area)
{
    const int width = std::min(r.Width(), area.Width());
    const int height = std::min(r.Height(), area.Height());
    int left = r.left;
    int top = r.top;
    if (left + width > area.right)
        left = area.right - width;
    if (top + height > area.bottom)
        top = area.bottom - height;
    left = std::max(left, area.left);
    top = std::max(top, area.top);
    return TEdges{left, top, left + width, top + height};
}

TEdges TPlacementRules::CentreOn(const TEdges& outer, int width, int height)
{
    TEdges r;
    r.left = (outer.Width() - width) / 2 + outer.left;
    r.top = (outer.Height() - height) / 2 + outer.top;
    r.right = r.left + width;
    r.bottom = r.top + height;
    return r;
}

TEdges TPlacementRules::KeepMainWindowOnScreen(TEdges r, int screenWidth, int screenHeight)
{
    if (r.right > screenWidth && r.left > 0) {
        r.right -= r.left;
        r.left = 0;
    }
    if (r.bottom > screenHeight && r.top > 0) {
        r.bottom -= r.top;
        r.top = 0;
    }
    return r;
}

} // namespace qm::data
