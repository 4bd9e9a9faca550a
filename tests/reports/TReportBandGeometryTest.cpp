// The report designer's page arithmetic: band width, the shared height, turning a band on, the
// sizer's limits, and where objects go when a band shrinks or is saved.

#include "reports/TReportBandGeometry.h"

#include <gtest/gtest.h>

namespace {

using qm::reports::TReportBand;
using qm::reports::TReportBandGeometry;
using qm::reports::TReportSettings;

// Letter portrait at 96 PPI, half-inch margins: 816 x 1056, 960 pixels to share.
TReportSettings Letter()
{
    TReportSettings s;
    s.pageWidth = 816;
    s.pageHeight = 1056;
    s.leftMargin = s.topMargin = s.rightMargin = s.bottomMargin = 48;
    s.headerHeight = s.detailHeight = s.footerHeight = 33;
    s.useHeader = s.useDetail = true;
    s.useFooter = false;
    return s;
}

TEST(TReportBandGeometryTest, BandsAreThePageLessMarginsAndAQuarterInch)
{
    TReportSettings s = Letter();
    EXPECT_EQ(TReportBandGeometry::BandWidth(s, 96), 816 - 96 - 24);
    EXPECT_EQ(TReportBandGeometry::AvailableHeight(s), 960);
    s.leftMargin = 120;
    s.bottomMargin = 100;
    EXPECT_EQ(TReportBandGeometry::BandWidth(s, 120), 816 - 168 - 30);
    EXPECT_EQ(TReportBandGeometry::AvailableHeight(s), 1056 - 148);
    // Bands not in use take no height whatever they hold.
    EXPECT_EQ(TReportBandGeometry::SharedHeights(s), (std::array<int, 3>{33, 33, 0}));
}

TEST(TReportBandGeometryTest, TurningABandOnGivesTwentyPixelsOrWhatIsLeft)
{
    TReportSettings s = Letter();
    s.footerHeight = 0;
    EXPECT_EQ(TReportBandGeometry::TurnedOnHeight(s, TReportBand::Footer), 20);
    // A band that keeps a height is turned on at it.
    s.footerHeight = 50;
    EXPECT_EQ(TReportBandGeometry::TurnedOnHeight(s, TReportBand::Footer), 50);
    // With 950 of 960 taken the footer gets the 10 left, and nothing when the page is full.
    s.footerHeight = 0;
    s.detailHeight = 917;
    EXPECT_EQ(TReportBandGeometry::TurnedOnHeight(s, TReportBand::Footer), 10);
    s.detailHeight = 927;
    EXPECT_EQ(TReportBandGeometry::TurnedOnHeight(s, TReportBand::Footer), 0);
    EXPECT_EQ(TReportBandGeometry::TurnedOnHeight(s, TReportBand::Memo), 33);
}

TEST(TReportBandGeometryTest, TheSizerStopsWhereTheBandsFillThePage)
{
    TReportSettings s = Letter();
    s.useFooter = true;
    // Header 33 + footer 33 leave 894 for the detail band, however far it is dragged.
    EXPECT_EQ(TReportBandGeometry::DraggedHeight(s, TReportBand::Detail, 33, 40), 73);
    EXPECT_EQ(TReportBandGeometry::DraggedHeight(s, TReportBand::Detail, 33, 861), 894);
    EXPECT_EQ(TReportBandGeometry::DraggedHeight(s, TReportBand::Detail, 33, 5000), 894);
    // Up past the top: height 0, never negative.
    EXPECT_EQ(TReportBandGeometry::DraggedHeight(s, TReportBand::Detail, 33, -50), 0);
    // The header's limit counts the detail and footer as they stand.
    s.detailHeight = 900;
    EXPECT_EQ(TReportBandGeometry::DraggedHeight(s, TReportBand::Header, 33, 100), 27);
}

TEST(TReportBandGeometryTest, ShrinkingMovesOutlyingObjectsToTheEdges)
{
    // Band now 700 x 40.
    EXPECT_EQ(TReportBandGeometry::PulledInside(QRect(10, 60, 50, 15), 700, 40), QPoint(10, 40));
    EXPECT_EQ(TReportBandGeometry::PulledInside(QRect(750, 5, 50, 15), 700, 40), QPoint(700, 5));
    EXPECT_EQ(TReportBandGeometry::PulledInside(QRect(900, 90, 50, 15), 700, 40), QPoint(700, 40));
    // An object reaching past the edge but starting inside stays.
    EXPECT_EQ(TReportBandGeometry::PulledInside(QRect(680, 30, 50, 15), 700, 40), QPoint(680, 30));
}

TEST(TReportBandGeometryTest, SavingDropsObjectsMoreThanTenPixelsOutside)
{
    EXPECT_FALSE(TReportBandGeometry::DroppedOnSave(QRect(10, 50, 50, 15), 700, 40));
    EXPECT_TRUE(TReportBandGeometry::DroppedOnSave(QRect(10, 51, 50, 15), 700, 40));
    EXPECT_FALSE(TReportBandGeometry::DroppedOnSave(QRect(710, 0, 50, 15), 700, 40));
    EXPECT_TRUE(TReportBandGeometry::DroppedOnSave(QRect(711, 0, 50, 15), 700, 40));
    // Resized to nothing.
    EXPECT_TRUE(TReportBandGeometry::DroppedOnSave(QRect(10, 10, 0, 15), 700, 40));
    EXPECT_TRUE(TReportBandGeometry::DroppedOnSave(QRect(10, 10, 15, 0), 700, 40));
}

} // namespace
