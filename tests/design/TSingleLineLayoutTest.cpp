// Single-line geometry: 3D offsets and margins, automatic size in each rotation, the rotated
// rectangles and origins, alignment.

#include "design/text/TSingleLineLayout.h"

#include <gtest/gtest.h>

namespace qm::design {
namespace {

TSingleLineInput Input(int angle, int width, int height)
{
    TSingleLineInput in;
    in.textWidth = 40;
    in.lineHeight = 16;
    in.angle = angle;
    in.width = width;
    in.height = height;
    return in;
}

TEST(TSingleLineLayoutTest, OffsetsPerDirection)
{
    using S = TGShadowDirection;
    using H = TGHighlightDirection;
    EXPECT_EQ(TSingleLineLayout::ShadowOffset(S::sdNone, 3), QPoint(0, 0));
    EXPECT_EQ(TSingleLineLayout::ShadowOffset(S::sdRight, 3), QPoint(3, 0));
    EXPECT_EQ(TSingleLineLayout::ShadowOffset(S::sdLeft, 3), QPoint(-3, 0));
    EXPECT_EQ(TSingleLineLayout::ShadowOffset(S::sdDownRight, 3), QPoint(3, 3));
    EXPECT_EQ(TSingleLineLayout::ShadowOffset(S::sdDownLeft, 3), QPoint(-3, 3));
    EXPECT_EQ(TSingleLineLayout::ShadowOffset(S::sdDown, 3), QPoint(0, 3));
    EXPECT_EQ(TSingleLineLayout::HighlightOffset(H::hdNone, 2), QPoint(0, 0));
    EXPECT_EQ(TSingleLineLayout::HighlightOffset(H::hdright, 2), QPoint(2, 0));
    EXPECT_EQ(TSingleLineLayout::HighlightOffset(H::hdLeft, 2), QPoint(-2, 0));
    EXPECT_EQ(TSingleLineLayout::HighlightOffset(H::hdUpRight, 2), QPoint(2, -2));
    EXPECT_EQ(TSingleLineLayout::HighlightOffset(H::hdUpLeft, 2), QPoint(-2, -2));
    EXPECT_EQ(TSingleLineLayout::HighlightOffset(H::hdUp, 2), QPoint(0, -2));
}

TEST(TSingleLineLayoutTest, MarginsAndBlockHeightOfTheUsualEffect)
{
    TSingleLineInput in = Input(0, 142, 33);
    in.depthShadow = 3;
    in.depthHighlight = 2;
    const TSingleLineLayout l = TSingleLineLayout::Compute(in);
    EXPECT_EQ(l.mx, 2);
    EXPECT_EQ(l.my, 2);
    EXPECT_EQ(l.blockHeight, 16 + 3 + 2);
    EXPECT_EQ(l.main, (TEdges{2, 2, 142, 18}));
    EXPECT_EQ(l.shadow, (TEdges{5, 5, 145, 21}));
    EXPECT_EQ(l.highlight, (TEdges{0, 0, 140, 16}));
    EXPECT_EQ(l.mainOrigin, QPoint(2, 2));
    EXPECT_EQ(l.shadowOrigin, QPoint(5, 5));
    EXPECT_EQ(l.highlightOrigin, QPoint(0, 0));
}

TEST(TSingleLineLayoutTest, DepthZeroOffsetsNothing)
{
    const TSingleLineLayout l = TSingleLineLayout::Compute(Input(0, 142, 33));
    EXPECT_EQ(l.mx, 0);
    EXPECT_EQ(l.my, 0);
    EXPECT_EQ(l.blockHeight, 16);
    EXPECT_EQ(l.shadow, l.main);
    EXPECT_EQ(l.highlight, l.main);
}

TEST(TSingleLineLayoutTest, AutomaticSizeUnrotated)
{
    // Too high: trunc(1.2 x 16) = 19; the width is kept.
    TSingleLineLayout l = TSingleLineLayout::Compute(Input(0, 142, 33));
    EXPECT_EQ(l.width, 142);
    EXPECT_EQ(l.height, 19);
    // Too low and too narrow.
    l = TSingleLineLayout::Compute(Input(0, 5, 10));
    EXPECT_EQ(l.width, 40);
    EXPECT_EQ(l.height, 16);
    // Upside down, no wider than twice the text.
    l = TSingleLineLayout::Compute(Input(180, 142, 16));
    EXPECT_EQ(l.width, 80);
}

TEST(TSingleLineLayoutTest, AutomaticSizeTurned)
{
    // A 33 x 142 object turned to 90: height limited to trunc(1.2 x 40), width to trunc(1.2 x 16).
    TSingleLineLayout l = TSingleLineLayout::Compute(Input(90, 33, 142));
    EXPECT_EQ(l.height, 48);
    EXPECT_EQ(l.width, 19);
    l = TSingleLineLayout::Compute(Input(270, 10, 3));
    EXPECT_EQ(l.height, 40);
    EXPECT_EQ(l.width, 16);
}

TEST(TSingleLineLayoutTest, RotatedRectanglesAndOrigins)
{
    TSingleLineInput in = Input(90, 19, 48);
    in.depthShadow = 3;
    TSingleLineLayout l = TSingleLineLayout::Compute(in);
    // Main: (my, mx, h + my, Height - my) moved down by Height + top + hx - bottom - 1.
    EXPECT_EQ(l.main, (TEdges{0, -1, 16, 47}));
    EXPECT_EQ(l.mainOrigin, QPoint(0, 47));   // bottom-left: the text runs up
    EXPECT_EQ(l.shadow, l.main.Moved(3, -3)); // (sy, -sx)
    EXPECT_EQ(l.shadowOrigin, QPoint(3, 44));

    in = Input(180, 80, 19);
    in.depthShadow = 3;
    l = TSingleLineLayout::Compute(in);
    // Moved right by Width + left - right - sy - 1 = 80 + 0 - 80 - 3 - 1.
    EXPECT_EQ(l.main, (TEdges{-4, 0, 76, 16}));
    EXPECT_EQ(l.mainOrigin, QPoint(76, 16));   // bottom-right
    EXPECT_EQ(l.shadow, l.main.Moved(-3, -3)); // (-sx, -sy)

    in = Input(270, 19, 48);
    in.depthShadow = 3;
    l = TSingleLineLayout::Compute(in);
    EXPECT_EQ(l.main, (TEdges{0, 0, 16, 48}));
    EXPECT_EQ(l.mainOrigin, QPoint(16, 0));   // top-right: the text runs down
    EXPECT_EQ(l.shadow, l.main.Moved(-3, 3)); // (-sy, sx)
}

TEST(TSingleLineLayoutTest, AlignmentMovesTheOriginsOnlyUnrotated)
{
    TSingleLineInput in = Input(0, 142, 19);
    in.depthShadow = 2;
    in.directionShadow = TGShadowDirection::sdRight;
    in.alignment = TGAlignment::taRightJustify;
    TSingleLineLayout l = TSingleLineLayout::Compute(in);
    EXPECT_EQ(l.mainOrigin.x(), 142 - 40);
    EXPECT_EQ(l.shadowOrigin.x(), 142 - 40 + 2);
    in.alignment = TGAlignment::taCenter;
    l = TSingleLineLayout::Compute(in);
    EXPECT_EQ(l.mainOrigin.x(), 142 / 2 - 40 / 2);
    in.angle = 180;
    l = TSingleLineLayout::Compute(in);
    EXPECT_EQ(l.mainOrigin, QPoint(l.main.right, l.main.bottom));
}

TEST(TSingleLineLayoutTest, AngleSwapsOnlyWhenTheTextTurnsAcross)
{
    EXPECT_TRUE(TSingleLineLayout::SwapsOnAngle(90, 142, 33));
    EXPECT_FALSE(TSingleLineLayout::SwapsOnAngle(180, 142, 33));
    EXPECT_TRUE(TSingleLineLayout::SwapsOnAngle(0, 33, 142));
    EXPECT_FALSE(TSingleLineLayout::SwapsOnAngle(270, 33, 142));
}

TEST(TSingleLineLayoutTest, HugeDepthsFromDamagedLayoutsStayFinite)
{
    TSingleLineInput in = Input(90, 10, 10);
    in.depthShadow = 2147483647;
    in.depthHighlight = -2147483647;
    const TSingleLineLayout l = TSingleLineLayout::Compute(in);
    EXPECT_GT(l.blockHeight, 0);
}

} // namespace
} // namespace qm::design
