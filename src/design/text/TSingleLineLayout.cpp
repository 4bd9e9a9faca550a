#include "design/text/TSingleLineLayout.h"

#include "design/text/TDesignUnits.h"

#include <algorithm>

namespace qm::design {

QPoint TSingleLineLayout::ShadowOffset(TGShadowDirection direction, int d)
{
    switch (direction) {
    case TGShadowDirection::sdNone:
        return {0, 0};
    case TGShadowDirection::sdRight:
        return {d, 0};
    case TGShadowDirection::sdLeft:
        return {-d, 0};
    case TGShadowDirection::sdDownRight:
        return {d, d};
    case TGShadowDirection::sdDownLeft:
        return {-d, d};
    case TGShadowDirection::sdDown:
        return {0, d};
    }
    return {0, 0};
}

QPoint TSingleLineLayout::HighlightOffset(TGHighlightDirection direction, int d)
{
    switch (direction) {
    case TGHighlightDirection::hdNone:
        return {0, 0};
    case TGHighlightDirection::hdright:
        return {d, 0};
    case TGHighlightDirection::hdLeft:
        return {-d, 0};
    case TGHighlightDirection::hdUpRight:
        return {d, -d};
    case TGHighlightDirection::hdUpLeft:
        return {-d, -d};
    case TGHighlightDirection::hdUp:
        return {0, -d};
    }
    return {0, 0};
}

bool TSingleLineLayout::SwapsOnAngle(int newAngle, std::int32_t width, std::int32_t height)
{
    if (newAngle == 0 || newAngle == 180)
        return width < height;
    if (newAngle == 90 || newAngle == 270)
        return height < width;
    return false;
}

namespace {

// The offset turned with the text: (x, y) at 0, (y, -x) at 90, (-x, -y) at 180, (-y, x) at 270.
QPoint Turned(QPoint o, int angle)
{
    switch (angle) {
    case 90:
        return {o.y(), -o.x()};
    case 180:
        return {-o.x(), -o.y()};
    case 270:
        return {-o.y(), o.x()};
    default:
        return o;
    }
}

QPoint Origin(const TEdges& r, int angle)
{
    switch (angle) {
    case 90:
        return {r.left, r.bottom};
    case 180:
        return {r.right, r.bottom};
    case 270:
        return {r.right, r.top};
    default:
        return {r.left, r.top};
    }
}

// Limits the arithmetic of damaged layouts (huge depths) to what 32 bits hold.
std::int32_t Clamp(long long v)
{
    return std::int32_t(std::clamp<long long>(v, -0x3FFFFFFF, 0x3FFFFFFF));
}

} // namespace

TSingleLineLayout TSingleLineLayout::Compute(const TSingleLineInput& in)
{
    TSingleLineLayout l;
    const int depthS = std::clamp(in.depthShadow, -100000, 100000);
    const int depthH = std::clamp(in.depthHighlight, -100000, 100000);
    const QPoint s = ShadowOffset(in.directionShadow, depthS);
    const QPoint hl = HighlightOffset(in.directionHighlight, depthH);
    l.shadowOffset = s;
    l.highlightOffset = hl;
    const std::int32_t w = in.textWidth;
    const std::int32_t h = in.lineHeight;

    l.mx = std::max(s.x() < 0 ? -s.x() : 0, hl.x() < 0 ? -hl.x() : 0);
    l.my = std::max(s.y() < 0 ? -s.y() : 0, hl.y() < 0 ? -hl.y() : 0);
    const std::int32_t f = Clamp((long long)h + s.y() - hl.y());
    l.blockHeight = f;

    std::int32_t width = in.width;
    std::int32_t height = in.height;
    const int angle = in.angle;
    if (angle == 0 || angle == 180) {
        if (angle == 180 && 2LL * w < width)
            width = Clamp(2LL * w);
        if (width <= 5)
            width = w;
        if (height > 1.2 * f)
            height = TDesignUnits::Trunc(1.2 * f);
        if (height < f)
            height = f;
    } else {
        if (height > 1.2 * w)
            height = TDesignUnits::Trunc(1.2 * w);
        if (height < 5)
            height = w;
        if (width > 1.2 * f)
            width = TDesignUnits::Trunc(1.2 * f);
        if (width < f)
            width = f;
    }
    l.width = width;
    l.height = height;

    TEdges m;
    if (angle == 0 || angle == 180) {
        m = {l.mx, l.my, width, Clamp((long long)h + l.my)};
    } else {
        m = {l.my, l.mx, Clamp((long long)h + l.my), Clamp((long long)height - l.my)};
    }
    if (angle == 90)
        m = m.Moved(0, Clamp((long long)height + m.top + hl.x() - m.bottom - 1));
    else if (angle == 180)
        m = m.Moved(Clamp((long long)width + m.left - m.right - s.y() - 1), 0);
    l.main = m;
    const QPoint ts = Turned(s, angle);
    const QPoint th = Turned(hl, angle);
    l.shadow = m.Moved(ts.x(), ts.y());
    l.highlight = m.Moved(th.x(), th.y());

    l.mainOrigin = Origin(l.main, angle);
    l.shadowOrigin = Origin(l.shadow, angle);
    l.highlightOrigin = Origin(l.highlight, angle);

    if (angle == 0) {
        std::int32_t x = m.left;
        if (in.alignment == TGAlignment::taRightJustify)
            x = m.right - w;
        else if (in.alignment == TGAlignment::taCenter)
            x = (m.right - m.left) / 2 - w / 2;
        l.mainOrigin.setX(x);
        l.highlightOrigin.setX(x + hl.x());
        l.shadowOrigin.setX(x + s.x());
    }
    return l;
}

} // namespace qm::design
