// The selection handle's arithmetic: snapping, grip zones, bounds rules, drag rectangles, how the
// objects follow the handle, and the keyboard outline.

#include "design/surface/THandleGeometry.h"

#include <gtest/gtest.h>

namespace qm::design {
namespace {

using G = THandleGeometry;

TEST(THandleGeometrySnap, TruncatesTowardsZeroAndStepOneLeavesValues)
{
    EXPECT_EQ(G::Snap(43, 8), 40);
    EXPECT_EQ(G::Snap(48, 8), 48);
    EXPECT_EQ(G::Snap(47, 4), 44);
    EXPECT_EQ(G::Snap(-5, 8), 0) << "div truncates towards zero, not down";
    EXPECT_EQ(G::Snap(-9, 8), -8);
    EXPECT_EQ(G::Snap(37, 1), 37);
}

TEST(THandleGeometryZones, CornersSidesAndBody)
{
    // A 105 x 45 handle: middles at 52.5 and 22.5.
    EXPECT_EQ(G::GripZone(1, 2, 105, 45, true), 1);
    EXPECT_EQ(G::GripZone(104, 1, 105, 45, true), 2);
    EXPECT_EQ(G::GripZone(3, 44, 105, 45, true), 3);
    EXPECT_EQ(G::GripZone(100, 40, 105, 45, true), 4);
    EXPECT_EQ(G::GripZone(52, 1, 105, 45, true), 5);
    EXPECT_EQ(G::GripZone(1, 22, 105, 45, true), 6);
    EXPECT_EQ(G::GripZone(57, 44, 105, 45, true), 7) << "|57 - 52.5| = 4.5 < 6";
    EXPECT_EQ(G::GripZone(104, 27, 105, 45, true), 8);
    EXPECT_EQ(G::GripZone(59, 1, 105, 45, true), 0) << "6.5 from the middle is outside";
    EXPECT_EQ(G::GripZone(8, 2, 105, 45, true), 0) << "the reach is strictly less than 8";
    EXPECT_EQ(G::GripZone(50, 20, 105, 45, true), 0);
}

TEST(THandleGeometryZones, SeveralObjectsHaveNoGrips)
{
    EXPECT_EQ(G::GripZone(1, 2, 105, 45, false), 0);
    EXPECT_EQ(G::GripZone(104, 44, 105, 45, false), 0);
    EXPECT_EQ(G::ZoneCursor(0), TCursorKind::GrabHand);
}

TEST(THandleGeometryZones, OnASmallHandleTheLaterTestWins)
{
    // 12 x 12: the top-left corner also lies in the top middle and left middle reaches.
    EXPECT_EQ(G::GripZone(2, 2, 12, 12, true), 6);
    EXPECT_EQ(G::GripZone(10, 10, 12, 12, true), 8);
}

TEST(THandleGeometryZones, Cursors)
{
    EXPECT_EQ(G::ZoneCursor(1), TCursorKind::SizeNWSE);
    EXPECT_EQ(G::ZoneCursor(4), TCursorKind::SizeNWSE);
    EXPECT_EQ(G::ZoneCursor(2), TCursorKind::SizeNESW);
    EXPECT_EQ(G::ZoneCursor(3), TCursorKind::SizeNESW);
    EXPECT_EQ(G::ZoneCursor(5), TCursorKind::SizeNS);
    EXPECT_EQ(G::ZoneCursor(7), TCursorKind::SizeNS);
    EXPECT_EQ(G::ZoneCursor(6), TCursorKind::SizeWE);
    EXPECT_EQ(G::ZoneCursor(8), TCursorKind::SizeWE);
}

TEST(THandleGeometryBounds, AddingWidensByTwoAndThreeRefitByTwoAndFour)
{
    EXPECT_EQ(G::FirstBounds(QRect(40, 30, 100, 20)), QRect(38, 28, 105, 25));
    const QRect grown = G::GrowBounds(QRect(38, 28, 105, 25), QRect(200, 10, 10, 10));
    EXPECT_EQ(grown, QRect(38, 8, 213 - 38, 53 - 8));
    EXPECT_EQ(G::UnionBounds({QRect(40, 30, 100, 20), QRect(200, 10, 10, 10)}), grown);
    EXPECT_EQ(G::RefitBounds({QRect(40, 30, 100, 20), QRect(200, 10, 10, 10)}),
              QRect(38, 8, 210 - 40 + 6, 50 - 10 + 6));
}

TEST(THandleGeometryDrag, SnapOfEightFromLeft38)
{
    const QRect handle(38, 38, 35, 35);
    // By 5: snap(43) - 2 = 38, the handle (and so the object) stays.
    EXPECT_EQ(G::DragRect(0, QPoint(10, 10), QPoint(15, 15), handle, 8, 8).topLeft(),
              QPoint(38, 38));
    // By 10: snap(48) - 2 = 46.
    EXPECT_EQ(G::DragRect(0, QPoint(10, 10), QPoint(20, 15), handle, 8, 8), QRect(46, 38, 35, 35));
}

TEST(THandleGeometryDrag, WithoutSnappingMovesByTheDragLessTheMargin)
{
    const QRect handle(38, 28, 105, 25);
    EXPECT_EQ(G::DragRect(0, QPoint(50, 10), QPoint(80, 30), handle, 1, 1),
              QRect(38 + 30 - 2, 28 + 20 - 2, 105, 25));
    // A grip drag changes the size by the drag less 3.
    EXPECT_EQ(G::DragRect(4, QPoint(104, 24), QPoint(124, 34), handle, 1, 1),
              QRect(38, 28, 105 + 20 - 3, 25 + 10 - 3));
    EXPECT_EQ(G::DragRect(8, QPoint(104, 12), QPoint(94, 12), handle, 1, 1),
              QRect(38, 28, 105 - 10 - 3, 25));
    EXPECT_EQ(G::DragRect(7, QPoint(50, 24), QPoint(50, 30), handle, 1, 1),
              QRect(38, 28, 105, 25 + 6 - 3));
}

TEST(THandleGeometryDrag, LeadingGripsKeepTheFarEdge)
{
    const QRect handle(38, 28, 105, 25);
    // Top-left by (10, 5): new left 46, new top 31; width and height shrink by the same.
    const QRect r = G::DragRect(1, QPoint(0, 0), QPoint(10, 5), handle, 1, 1);
    EXPECT_EQ(r, QRect(46, 31, 105 + 38 - 46, 25 + 28 - 31));
    EXPECT_EQ(r.x() + r.width(), 143) << "the right edge stays";
    const QRect top = G::DragRect(5, QPoint(50, 0), QPoint(50, -6), handle, 1, 1);
    EXPECT_EQ(top, QRect(38, 20, 105, 33));
    const QRect left = G::DragRect(6, QPoint(0, 12), QPoint(4, 12), handle, 1, 1);
    EXPECT_EQ(left, QRect(40, 28, 103, 25));
    const QRect topRight = G::DragRect(2, QPoint(104, 0), QPoint(114, 4), handle, 1, 1);
    EXPECT_EQ(topRight, QRect(38, 30, 105 + 10 - 3, 23));
    const QRect bottomLeft = G::DragRect(3, QPoint(0, 24), QPoint(-4, 30), handle, 1, 1);
    EXPECT_EQ(bottomLeft, QRect(32, 28, 111, 25 + 6 - 3));
}

TEST(THandleGeometryDrag, NeverSmallerThanFive)
{
    const QRect handle(38, 28, 20, 20);
    EXPECT_EQ(G::DragRect(4, QPoint(19, 19), QPoint(-40, -40), handle, 1, 1).size(), QSize(5, 5));
    EXPECT_EQ(G::DragRect(1, QPoint(0, 0), QPoint(60, 60), handle, 1, 1).size(), QSize(5, 5));
}

TEST(THandleGeometryDrag, ClampKeepsTheHandleCornerOnThePage)
{
    const QRect handle(38, 28, 105, 25);
    EXPECT_EQ(G::ClampPoint(QPoint(-100, -100), handle, 400, 200), QPoint(-38, -28));
    EXPECT_EQ(G::ClampPoint(QPoint(500, 500), handle, 400, 200), QPoint(362, 172));
    EXPECT_EQ(G::ClampPoint(QPoint(5, 6), handle, 400, 200), QPoint(5, 6));
}

TEST(THandleGeometryFollow, ObjectsMoveAndResizeByTheHandlesChange)
{
    const QRect oldHandle(38, 28, 175, 45);
    const QRect newHandle(48, 20, 185, 40);
    EXPECT_EQ(G::FollowHandle(QRect(40, 30, 100, 20), oldHandle, newHandle),
              QRect(50, 22, 110, 15));
    EXPECT_EQ(G::DragOutline(QRect(38, 28, 105, 25)), QRect(40, 30, 100, 20));
}

TEST(THandleGeometryFollow, AnObjectShrinksToNothingButNotBelow)
{
    // A refitted handle is 6 larger than its object; the smallest handle is 5.
    const QRect object(40, 40, 30, 30);
    const QRect refit = G::RefitBounds({object});
    EXPECT_EQ(G::FollowHandle(object, refit, QRect(38, 38, 5, 5)), QRect(40, 40, 0, 0));
    EXPECT_EQ(G::FollowHandle(object, G::FirstBounds(object), QRect(38, 38, 5, 5)),
              QRect(40, 40, 0, 0));
}

TEST(THandleGeometryKeys, ShiftLeftStopsAtTenPixelsCountingBothEdges)
{
    TKeyOutline o = G::KeyOutline(QRect(48, 48, 35, 25)); // an object of 30 x 20 at 50, 50
    EXPECT_EQ(o, (TKeyOutline{50, 50, 80, 70}));
    for (int i = 0; i < 40; ++i)
        o = G::Nudge(o, TArrow::Left, true, 400, 200);
    EXPECT_EQ(o.right - o.left + 1, 10);
    EXPECT_EQ(o.left, 50) << "resizing never moves the left edge";
    EXPECT_EQ(G::OutlineToHandle(o), QRect(48, 48, 14, 25));
    for (int i = 0; i < 40; ++i)
        o = G::Nudge(o, TArrow::Up, true, 400, 200);
    EXPECT_EQ(o.bottom - o.top + 1, 10);
}

TEST(THandleGeometryKeys, MovesStopAtThePageEdges)
{
    const TKeyOutline atRight{370, 10, 400, 30};
    EXPECT_EQ(G::Nudge(atRight, TArrow::Right, false, 400, 200), atRight);
    EXPECT_EQ(G::Nudge(atRight, TArrow::Right, true, 400, 200), atRight);
    const TKeyOutline atLeft{0, 0, 30, 20};
    EXPECT_EQ(G::Nudge(atLeft, TArrow::Left, false, 400, 200), atLeft);
    EXPECT_EQ(G::Nudge(atLeft, TArrow::Up, false, 400, 200), atLeft);
    EXPECT_EQ(G::Nudge(atLeft, TArrow::Right, false, 400, 200), (TKeyOutline{1, 0, 31, 20}));
    EXPECT_EQ(G::Nudge(atLeft, TArrow::Down, false, 400, 200), (TKeyOutline{0, 1, 30, 21}));
    EXPECT_EQ(G::Nudge(atLeft, TArrow::Right, true, 400, 200), (TKeyOutline{0, 0, 31, 20}));
    const TKeyOutline atBottom{0, 170, 30, 200};
    EXPECT_EQ(G::Nudge(atBottom, TArrow::Down, false, 400, 200), atBottom);
}

TEST(THandleGeometryKeys, ReleaseGivesBackTheHandleAroundTheOutline)
{
    const QRect handle(48, 48, 35, 25);
    EXPECT_EQ(G::OutlineToHandle(G::KeyOutline(handle)), handle);
}

} // namespace
} // namespace qm::design
