// Label placement on the sheet and the paper the printer is asked for.

#include "labels/TLabelSheet.h"

#include <gtest/gtest.h>

using namespace qm::labels;

namespace {

TLabelGeometry Grid(int across, int down, float midX = 0, float midY = 0)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.across = across;
    g.down = down;
    g.leftMargin = 0.25f;
    g.topMargin = 0.5f;
    g.horizontalPitch = 2.0f;
    g.verticalPitch = 1.0f;
    g.midExtraX = midX;
    g.midExtraY = midY;
    return g;
}

} // namespace

TEST(LabelSheet, PositionsRunRowByRowFromZero)
{
    const TLabelSheet sheet(TLabelGeometry::NewLayout()); // 3 x 10
    EXPECT_EQ(sheet.PositionsPerSheet(), 30);
    EXPECT_EQ(sheet.PositionNumber(2, 0), 2);
    EXPECT_EQ(sheet.PositionNumber(0, 1), 3);
    EXPECT_EQ(sheet.ColumnOf(29), 2);
    EXPECT_EQ(sheet.RowOf(29), 9);
    const QPointF last = sheet.Corner(29);
    EXPECT_NEAR(last.x(), 0.188 + 2 * 2.765, 1e-6);
    EXPECT_NEAR(last.y(), 0.5 + 9 * 1.01, 1e-6);
}

TEST(LabelSheet, ExtraGapShiftsTheRightHalfOfTheColumns)
{
    // 2 across: only column 1 moves.
    const TLabelSheet two(Grid(2, 1, 0.25f));
    EXPECT_NEAR(two.Corner(0, 0).x(), 0.25, 1e-6);
    EXPECT_NEAR(two.Corner(1, 0).x(), 0.25 + 2.0 + 0.25, 1e-6);

    // 3 across: 3 div 2 = 1, so columns 1 and 2 move and column 0 does not.
    const TLabelSheet three(Grid(3, 1, 0.1f));
    EXPECT_NEAR(three.Corner(0, 0).x(), 0.25, 1e-6);
    EXPECT_NEAR(three.Corner(1, 0).x(), 2.25 + 0.1, 1e-6);
    EXPECT_NEAR(three.Corner(2, 0).x(), 4.25 + 0.1, 1e-6);

    // 1 across: 1 div 2 = 0, so the only column moves.
    const TLabelSheet one(Grid(1, 1, 0.3f));
    EXPECT_NEAR(one.Corner(0, 0).x(), 0.25 + 0.3, 1e-6);
}

TEST(LabelSheet, ExtraGapOfZeroOrLessMovesNothing)
{
    for (float gap : {0.0f, -0.25f}) {
        const TLabelSheet sheet(Grid(2, 4, gap, gap));
        EXPECT_NEAR(sheet.Corner(1, 3).x(), 2.25, 1e-6) << gap;
        EXPECT_NEAR(sheet.Corner(1, 3).y(), 3.5, 1e-6) << gap;
    }
}

TEST(LabelSheet, ExtraGapShiftsTheLowerHalfOfTheRows)
{
    const TLabelSheet sheet(Grid(1, 5, 0, 0.2f)); // 5 div 2 = 2: rows 2, 3 and 4 move
    EXPECT_NEAR(sheet.Corner(0, 1).y(), 1.5, 1e-6);
    EXPECT_NEAR(sheet.Corner(0, 2).y(), 2.5 + 0.2, 1e-6);
    EXPECT_NEAR(sheet.Corner(0, 4).y(), 4.5 + 0.2, 1e-6);
}

TEST(LabelSheet, SheetsNothingCanBePlacedOnAreNamed)
{
    EXPECT_EQ(TLabelSheet::Problem(TLabelGeometry::NewLayout()), QString());
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.across = 0;
    EXPECT_EQ(TLabelSheet::Problem(g), "the number of labels across is 0");
    g = TLabelGeometry::NewLayout();
    g.labelWidth = -1;
    EXPECT_EQ(TLabelSheet::Problem(g), "the label width is -1");
    g = TLabelGeometry::NewLayout();
    g.verticalPitch = 0;
    EXPECT_EQ(TLabelSheet::Problem(g), "the vertical pitch is 0");
    g.down = 1; // one row needs no pitch
    EXPECT_EQ(TLabelSheet::Problem(g), QString());
}

TEST(LabelSheet, PaperCodesAndLandscape)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    struct Case {
        const char* code;
        int paper;
        bool landscape;
    };
    for (const Case& c :
         {Case{"LTR", 1, false}, Case{"LTRL", 1, true}, Case{"A4", 9, false}, Case{"A4L", 9, true},
          Case{"A5", 11, false}, Case{"USERP", 0, false}, Case{"USERL", 0, true}}) {
        g.paperSize = QString::fromLatin1(c.code) + "  "; // the column's blanks
        const TLabelSheet::TPaperRequest request = TLabelSheet(g).PaperRequest("Laser");
        EXPECT_EQ(request.code, c.paper) << c.code;
        EXPECT_EQ(request.landscape, c.landscape) << c.code;
        EXPECT_TRUE(request.requestSize) << c.code;
    }
}

TEST(LabelSheet, LandscapeRequestTurnsTheSheetAndAcceptsTheTurnedPage)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.paperSize = "LTRL";
    g.sheetWidth = 11.0f;
    g.sheetDepth = 8.5f;
    const TLabelSheet::TPaperRequest request = TLabelSheet(g).PaperRequest("Laser");
    EXPECT_DOUBLE_EQ(request.width, 8.5);
    EXPECT_DOUBLE_EQ(request.height, 11.0);
    EXPECT_TRUE(TLabelSheet::PaperConfirmed(request, 11.00, 8.50));
    EXPECT_FALSE(TLabelSheet::PaperConfirmed(request, 8.50, 11.00));
}

TEST(LabelSheet, PaperCheckAllowsFiveHundredthsOfAnInch)
{
    const TLabelSheet::TPaperRequest request =
        TLabelSheet(TLabelGeometry::NewLayout()).PaperRequest("Laser");
    EXPECT_TRUE(TLabelSheet::PaperConfirmed(request, 8.50, 11.00));
    EXPECT_TRUE(TLabelSheet::PaperConfirmed(request, 8.46, 11.00));
    EXPECT_TRUE(TLabelSheet::PaperConfirmed(request, 8.50, 10.96));
    EXPECT_TRUE(TLabelSheet::PaperConfirmed(request, 8.45, 11.05)); // exactly 0.05
    EXPECT_FALSE(TLabelSheet::PaperConfirmed(request, 8.44, 11.00));
    EXPECT_FALSE(TLabelSheet::PaperConfirmed(request, 8.50, 10.94));
    // The page is read back rounded to 2 decimals first.
    EXPECT_TRUE(TLabelSheet::PaperConfirmed(request, 8.4549, 11.0));
}

TEST(LabelSheet, HpfdjDeviceInAnyCaseIsAskedForNoSizeAndAlwaysQuestioned)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.paperSize = "USERP";
    g.sheetWidth = 4.0f;
    g.sheetDepth = 6.0f;
    for (const char* device : {"HPFDJ 600", "hpfdj", "My HpFdJ printer"}) {
        const TLabelSheet::TPaperRequest request = TLabelSheet(g).PaperRequest(device);
        EXPECT_FALSE(request.requestSize) << device;
        EXPECT_FALSE(TLabelSheet::PaperConfirmed(request, 4.0, 6.0)) << device;
    }
    const TLabelSheet::TPaperRequest other = TLabelSheet(g).PaperRequest("HP LaserJet");
    EXPECT_TRUE(other.requestSize);
    EXPECT_EQ(other.code, TLabelSheet::kPaperCustom);
    EXPECT_TRUE(TLabelSheet::PaperConfirmed(other, 4.0, 6.0));
    // Only the user-defined codes skip the request; letter is asked for on any device.
    EXPECT_TRUE(TLabelSheet(TLabelGeometry::NewLayout()).PaperRequest("HPFDJ").requestSize);
}

TEST(LabelSheet, PaperQuestionText)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.paperSize = "USERL";
    g.sheetWidth = 6.004f;
    g.sheetDepth = 4.0f;
    EXPECT_EQ(TLabelSheet::PaperQuestion(TLabelSheet(g).PaperRequest("x")),
              "Unable to confirm that the paper size was set to\r\n\r\n4.00\" by 6.00\"\r\n\r\n"
              "(you may have the wrong printer selected)\r\n\r\nWould you like to try printing "
              "anyways?");
}
