// The sheet picture of "Labels Print": 19.2 pixels per inch, fractions dropped, extra gaps shown.

#include "labels/TLabelSheetPicture.h"

#include <gtest/gtest.h>

using namespace qm::labels;

TEST(LabelSheetPicture, InchesBecomePixelsWithTheFractionDropped)
{
    EXPECT_EQ(TLabelSheetPicture::Pixels(1.0), 19);
    EXPECT_EQ(TLabelSheetPicture::Pixels(0.5), 9);    // 9.6
    EXPECT_EQ(TLabelSheetPicture::Pixels(2.625), 50); // 50.4
    EXPECT_EQ(TLabelSheetPicture::Pixels(0.3125), 6); // exactly 6, not 5.999...
    EXPECT_EQ(TLabelSheetPicture::Pixels(float(1.25)), 24);
}

TEST(LabelSheetPicture, Avery5160PlacesEveryLabelAsThePrintLoopDoes)
{
    const TLabelSheetPicture picture{TLabelSheet(TLabelGeometry::NewLayout())};
    EXPECT_EQ(picture.PageRect(), QRect(10, 10, 163, 211));
    // Column 1, row 2: x = 0.188 + 2.765 = 2.953 in (56.7 px), y = 0.5 + 2 * 1.01 (48.4 px).
    EXPECT_EQ(picture.LabelRect(1 + 2 * 3), QRect(10 + 56, 10 + 48, 50, 19));
    EXPECT_EQ(picture.AreaSize(), QSize(183, 231));
    EXPECT_EQ(picture.PositionAt(QPoint(10 + 56 + 1, 10 + 48 + 1)), 7);
    EXPECT_EQ(picture.PositionAt(QPoint(5, 5)), -1);
    EXPECT_EQ(picture.PositionAt(QPoint(10 + 54, 10 + 48 + 1)), -1); // the gap between columns
}

TEST(LabelSheetPicture, ExtraGapsAndLargeSheetsGrowThePicture)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.across = 2;
    g.midExtraX = 0.25;
    g.sheetWidth = 11;
    g.sheetDepth = 17;
    const TLabelSheetPicture picture{TLabelSheet(g)};
    EXPECT_EQ(picture.LabelRect(1).left(), 10 + TLabelSheetPicture::Pixels(0.188 + 2.765 + 0.25));
    EXPECT_EQ(picture.AreaSize(), QSize(211 + 20, 326 + 20));
}
