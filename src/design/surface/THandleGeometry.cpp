#include "design/surface/THandleGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace qm::design {

int THandleGeometry::Snap(int v, int step)
{
    if (step < 2)
        return v;
    return step * (v / step); // C++ division truncates towards zero, as the grid always did
}

int THandleGeometry::GripZone(int x, int y, int w, int h, bool single)
{
    if (!single)
        return 0;
    // Exact halves: a handle 11 wide has its middle at 5.5.
    const double midX = w / 2.0;
    const double midY = h / 2.0;
    const auto near = [](double d, int reach) { return std::abs(d) < reach; };
    int zone = 0;
    // Tested in this order; a later match wins (small handles overlap their grips).
    if (near(x, kCornerReach) && near(y, kCornerReach))
        zone = 1;
    if (near(x - w, kCornerReach) && near(y - h, kCornerReach))
        zone = 4;
    if (near(x - w, kCornerReach) && near(y, kCornerReach))
        zone = 2;
    if (near(x, kCornerReach) && near(y - h, kCornerReach))
        zone = 3;
    if (near(x - midX, kMiddleReach) && near(y, kCornerReach))
        zone = 5;
    if (near(x - midX, kMiddleReach) && near(y - h, kCornerReach))
        zone = 7;
    if (near(y - midY, kMiddleReach) && near(x, kCornerReach))
        zone = 6;
    if (near(y - midY, kMiddleReach) && near(x - w, kCornerReach))
        zone = 8;
    return zone;
}

TCursorKind THandleGeometry::ZoneCursor(int zone)
{
    switch (zone) {
    case 1:
    case 4:
        return TCursorKind::SizeNWSE;
    case 2:
    case 3:
        return TCursorKind::SizeNESW;
    case 5:
    case 7:
        return TCursorKind::SizeNS;
    case 6:
    case 8:
        return TCursorKind::SizeWE;
    default:
        return TCursorKind::GrabHand;
    }
}

QRect THandleGeometry::FirstBounds(const QRect& object)
{
    return QRect(object.x() - kLeadMargin, object.y() - kLeadMargin,
                 object.width() + kLeadMargin + kTrailMargin,
                 object.height() + kLeadMargin + kTrailMargin);
}

QRect THandleGeometry::GrowBounds(const QRect& handle, const QRect& object)
{
    const QRect add = FirstBounds(object);
    const int left = std::min(handle.x(), add.x());
    const int top = std::min(handle.y(), add.y());
    const int right = std::max(handle.x() + handle.width(), add.x() + add.width());
    const int bottom = std::max(handle.y() + handle.height(), add.y() + add.height());
    return QRect(left, top, right - left, bottom - top);
}

QRect THandleGeometry::UnionBounds(const std::vector<QRect>& objects)
{
    QRect handle = FirstBounds(objects.front());
    for (std::size_t i = 1; i < objects.size(); ++i)
        handle = GrowBounds(handle, objects[i]);
    return handle;
}

QRect THandleGeometry::RefitBounds(const std::vector<QRect>& objects)
{
    int left = objects.front().x();
    int top = objects.front().y();
    int right = left + objects.front().width();
    int bottom = top + objects.front().height();
    for (const QRect& o : objects) {
        left = std::min(left, o.x());
        top = std::min(top, o.y());
        right = std::max(right, o.x() + o.width());
        bottom = std::max(bottom, o.y() + o.height());
    }
    return QRect(left - 2, top - 2, right - left + 6, bottom - top + 6);
}

QPoint THandleGeometry::ClampPoint(const QPoint& point, const QRect& handle, int pageWidth,
                                   int pageHeight)
{
    int x = point.x();
    int y = point.y();
    x = std::max(x, -handle.x());
    y = std::max(y, -handle.y());
    x = std::min(x, pageWidth - handle.x());
    y = std::min(y, pageHeight - handle.y());
    return QPoint(x, y);
}

QRect THandleGeometry::DragRect(int zone, const QPoint& origin, const QPoint& point,
                                const QRect& handle, int gridX, int gridY)
{
    const int dx = point.x() - origin.x();
    const int dy = point.y() - origin.y();
    const int l = handle.x();
    const int t = handle.y();
    const int w = handle.width();
    const int h = handle.height();
    // The snapped value is the handle's own coordinate; the margin comes off after snapping.
    const int snapLeft = Snap(dx + l, gridX) - kLeadMargin;
    const int snapTop = Snap(dy + t, gridY) - kLeadMargin;
    const int snapWidth = Snap(dx + w, gridX) - kTrailMargin;
    const int snapHeight = Snap(dy + h, gridY) - kTrailMargin;

    int left = l;
    int top = t;
    int width = w;
    int height = h;
    const bool movesLeft = zone == 0 || zone == 1 || zone == 3 || zone == 6;
    const bool movesTop = zone == 0 || zone == 1 || zone == 2 || zone == 5;
    const bool dragsRight = zone == 2 || zone == 4 || zone == 8;
    const bool dragsBottom = zone == 3 || zone == 4 || zone == 7;
    if (movesLeft) {
        left = snapLeft;
        if (zone != 0)
            width = w + l - left;
    }
    if (movesTop) {
        top = snapTop;
        if (zone != 0)
            height = h + t - top;
    }
    if (dragsRight)
        width = snapWidth;
    if (dragsBottom)
        height = snapHeight;
    return QRect(left, top, std::max(width, kMinSize), std::max(height, kMinSize));
}

QRect THandleGeometry::FollowHandle(const QRect& object, const QRect& oldHandle,
                                    const QRect& newHandle)
{
    // After a refit the handle is 6 larger than a single object, so the smallest handle (5) would
    // leave the object 1 pixel less than nothing; an object stops at 0 wide or high.
    return QRect(newHandle.x() + (object.x() - oldHandle.x()),
                 newHandle.y() + (object.y() - oldHandle.y()),
                 std::max(0, newHandle.width() + (object.width() - oldHandle.width())),
                 std::max(0, newHandle.height() + (object.height() - oldHandle.height())));
}

QRect THandleGeometry::DragOutline(const QRect& handle)
{
    return QRect(handle.x() + kLeadMargin, handle.y() + kLeadMargin,
                 handle.width() - kLeadMargin - kTrailMargin,
                 handle.height() - kLeadMargin - kTrailMargin);
}

TKeyOutline THandleGeometry::KeyOutline(const QRect& handle)
{
    return TKeyOutline{handle.x() + kLeadMargin, handle.y() + kLeadMargin,
                       handle.x() + handle.width() - kTrailMargin,
                       handle.y() + handle.height() - kTrailMargin};
}

TKeyOutline THandleGeometry::Nudge(const TKeyOutline& outline, TArrow arrow, bool resize,
                                   int pageWidth, int pageHeight)
{
    TKeyOutline o = outline;
    // "Wide" counts both edges, so an outline from 0 to 9 is 10 pixels wide.
    switch (arrow) {
    case TArrow::Left:
        if (resize) {
            if (o.right - o.left + 1 > 10)
                --o.right;
        } else if (o.left > 0) {
            --o.left;
            --o.right;
        }
        break;
    case TArrow::Up:
        if (resize) {
            if (o.bottom - o.top + 1 > 10)
                --o.bottom;
        } else if (o.top > 0) {
            --o.top;
            --o.bottom;
        }
        break;
    case TArrow::Right:
        if (o.right + 1 <= pageWidth) {
            if (!resize)
                ++o.left;
            ++o.right;
        }
        break;
    case TArrow::Down:
        if (o.bottom + 1 <= pageHeight) {
            if (!resize)
                ++o.top;
            ++o.bottom;
        }
        break;
    }
    return o;
}

QRect THandleGeometry::OutlineToHandle(const TKeyOutline& outline)
{
    return QRect(outline.left - kLeadMargin, outline.top - kLeadMargin,
                 outline.right - outline.left + kLeadMargin + kTrailMargin,
                 outline.bottom - outline.top + kLeadMargin + kTrailMargin);
}

} // namespace qm::design
