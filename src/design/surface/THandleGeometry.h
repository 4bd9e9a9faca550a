#pragma once

// The arithmetic of the selection handle, in plain functions: its bounds around the selection,
// the grip zone under the mouse, the rectangle a drag makes, how the selected objects follow the
// handle, and the keyboard outline of the arrow keys.
//
// Units are design pixels at the current zoom. Handle rectangles are QRects used only through
// x(), y(), width() and height(). Points given to the drag functions are in handle coordinates
// (0, 0 = the handle's top-left corner).

#include <QPoint>
#include <QRect>
#include <vector>

namespace qm::design {

// What the mouse is over, and the cursor it shows.
enum class TCursorKind {
    Arrow,
    SizeNWSE,
    SizeNESW,
    SizeNS,
    SizeWE,
    NoDrop,
    Drag,
    GrabHand,
    PointingHand,
};

// The keyboard outline as edges: right and bottom lie one past the last pixel.
struct TKeyOutline {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const TKeyOutline&) const = default;
};

enum class TArrow { Left, Up, Right, Down };

class THandleGeometry {
public:
    static constexpr int kMinSize = 5;     // the handle never gets smaller
    static constexpr int kIdleSize = 24;   // size of the hidden handle
    static constexpr int kCornerReach = 8; // grip reach from a corner or side
    static constexpr int kMiddleReach = 6; // grip reach along a side from its middle
    static constexpr int kLeadMargin = 2;
    static constexpr int kTrailMargin = 3;

    // step * (v div step), div truncating towards zero; a step below 2 leaves v as it is.
    static int Snap(int v, int step);

    // The grip zone at (x, y) of a handle of size w x h: 0 = body (move), 1 top-left,
    // 2 top-right, 3 bottom-left, 4 bottom-right, 5 top, 6 left, 7 bottom, 8 right. Grips react
    // only when single is true (exactly one object selected).
    static int GripZone(int x, int y, int w, int h, bool single);
    static TCursorKind ZoneCursor(int zone);

    // The handle around the first selected object: 2 more on the left and top, 3 more on the
    // right and bottom.
    static QRect FirstBounds(const QRect& object);
    // The handle grown to cover one more object by the same rule.
    static QRect GrowBounds(const QRect& handle, const QRect& object);
    // The union rule over several objects (the handle after removals); objects must not be empty.
    static QRect UnionBounds(const std::vector<QRect>& objects);
    // The refit after objects moved: 2 more on the left and top, 4 more on the right and bottom.
    static QRect RefitBounds(const std::vector<QRect>& objects);

    // Keeps a dragged point so that the handle's corner plus the point stays on the page.
    static QPoint ClampPoint(const QPoint& point, const QRect& handle, int pageWidth,
                             int pageHeight);
    // The handle rectangle a drag from origin to point makes in the zone, snapping to the grid
    // steps; width and height never drop below kMinSize.
    static QRect DragRect(int zone, const QPoint& origin, const QPoint& point, const QRect& handle,
                          int gridX, int gridY);
    // Where an object goes when the handle's bounds change from oldHandle to newHandle: moved by
    // the change of the corner and resized by the change of the size, never below 0 x 0.
    static QRect FollowHandle(const QRect& object, const QRect& oldHandle, const QRect& newHandle);
    // The outline drawn during a drag: the handle inset by 2 on the left and top, 3 on the right
    // and bottom.
    static QRect DragOutline(const QRect& handle);

    // The keyboard outline that the first arrow key starts from.
    static TKeyOutline KeyOutline(const QRect& handle);
    // One arrow key: resize (Shift with one object) moves the right or bottom edge, keeping the
    // outline more than 10 pixels wide counting both edges and inside the page; otherwise the
    // outline moves by one pixel while it stays on the page.
    static TKeyOutline Nudge(const TKeyOutline& outline, TArrow arrow, bool resize, int pageWidth,
                             int pageHeight);
    // The handle bounds the outline gives on release: widened by 2 on the left and top and 3 on
    // the right and bottom.
    static QRect OutlineToHandle(const TKeyOutline& outline);
};

} // namespace qm::design
