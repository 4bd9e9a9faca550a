#include "data/TPlacementRules.h"

#include <gtest/gtest.h>

using qm::data::TEdges;
using qm::data::TPlacementRules;

TEST(TPlacementRules, SectionNameCarriesTheResolutionAbove96)
{
    EXPECT_EQ(TPlacementRules::SectionName("TAddressMain", 96), "TAddressMain_Placement");
    EXPECT_EQ(TPlacementRules::SectionName("TAddressMain", 72), "TAddressMain_Placement");
    EXPECT_EQ(TPlacementRules::SectionName("TAddressMain", 120), "TAddressMain_Placement120");
    EXPECT_EQ(TPlacementRules::SectionName("TPreviewForm", 192), "TPreviewForm_Placement192");
}

TEST(TPlacementRules, RectangleIsMovedIntoTheAreaAndShrunkOnlyWhenLarger)
{
    const TEdges screen{0, 0, 1024, 768};
    // Sticking out but smaller than the screen: moved, not shrunk.
    EXPECT_EQ(TPlacementRules::FitInto({700, 500, 1300, 900}, screen),
              (TEdges{424, 368, 1024, 768}));
    EXPECT_EQ(TPlacementRules::FitInto({-50, -20, 550, 380}, screen), (TEdges{0, 0, 600, 400}));
    EXPECT_EQ(TPlacementRules::FitInto({10, 20, 610, 420}, screen), (TEdges{10, 20, 610, 420}));
    EXPECT_EQ(TPlacementRules::FitInto(screen, screen), screen);
    // Larger than the screen (kept from a bigger screen): fitted, never off the top-left.
    EXPECT_EQ(TPlacementRules::FitInto({100, 100, 1700, 900}, screen), screen);
    EXPECT_EQ(TPlacementRules::FitInto({100, 100, 1700, 600}, screen), (TEdges{0, 100, 1024, 600}));
    // An area less a panel along the top.
    EXPECT_EQ(TPlacementRules::FitInto({-300, -300, 1400, 700}, {0, 28, 640, 512}),
              (TEdges{0, 28, 640, 512}));
}

TEST(TPlacementRules, CentringRoundsHalvesTowardZero)
{
    EXPECT_EQ(TPlacementRules::CentreOn({100, 50, 733, 485}, 300, 200),
              (TEdges{266, 167, 566, 367}));
    // a dialog wider than the main window: (100 - 301) / 2 = -100, not -101
    EXPECT_EQ(TPlacementRules::CentreOn({0, 0, 100, 100}, 301, 100).left, -100);
}

TEST(TPlacementRules, MainWindowPastTheScreenEdgeMovesToZero)
{
    EXPECT_EQ(TPlacementRules::KeepMainWindowOnScreen({300, 200, 1100, 700}, 1024, 768),
              (TEdges{0, 200, 800, 700}));
    EXPECT_EQ(TPlacementRules::KeepMainWindowOnScreen({300, 200, 900, 800}, 1024, 768),
              (TEdges{300, 0, 900, 600}));
    // A left edge already at or before 0 stays: the window is simply bigger than the screen.
    EXPECT_EQ(TPlacementRules::KeepMainWindowOnScreen({-5, 0, 1100, 700}, 1024, 768),
              (TEdges{-5, 0, 1100, 700}));
}

TEST(TPlacementRules, DesignSizeGrowsAbove96PixelsPerInchBy95PercentOfTheResolution)
{
    // 100 %: the design size as it is.
    EXPECT_EQ(TPlacementRules::ScaledDesignSize(620, 380, 96, 1.0), (TEdges{0, 0, 620, 380}));
    // 200 % through Qt's scaling: 192 / 96 x 0.95 = 1.9 screen pixels per design pixel, of which
    // the device pixel ratio already gives 2.
    EXPECT_EQ(TPlacementRules::ScaledDesignSize(620, 380, 192, 2.0), (TEdges{0, 0, 589, 361}));
    // 120 pixels per inch without scaling: 620 x 1.1875 = 736.25.
    EXPECT_EQ(TPlacementRules::ScaledDesignSize(620, 380, 120, 1.0), (TEdges{0, 0, 736, 451}));
    // 150 %: 144 / 96 x 0.95 / 1.5 = 0.95.
    EXPECT_EQ(TPlacementRules::ScaledDesignSize(620, 380, 144, 1.5), (TEdges{0, 0, 589, 361}));
}
