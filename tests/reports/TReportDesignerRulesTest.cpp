// The report designer's texts and what "Save" does with the band ticks.

#include "reports/TReportDesignerRules.h"

#include <gtest/gtest.h>

namespace {

using qm::reports::TMemoAlignment;
using qm::reports::TReportDesignerRules;
using qm::reports::TReportSettings;

TEST(TReportDesignerRulesTest, DefaultFontCaptionAddsBoldThenItalic)
{
    EXPECT_EQ(TReportDesignerRules::DefaultFontCaption("Arial", 10, false, false),
              "Default Font: Arial, 10 pt ");
    EXPECT_EQ(TReportDesignerRules::DefaultFontCaption("Times New Roman", 12, true, true),
              "Default Font: Times New Roman, 12 pt , bold, italic");
    EXPECT_EQ(TReportDesignerRules::DefaultFontCaption("Arial", 8, false, true),
              "Default Font: Arial, 8 pt , italic");
}

TEST(TReportDesignerRulesTest, BandsDraggedToNothingLoseTheirTicks)
{
    const std::array<bool, 4> ticked{true, true, false, true};
    EXPECT_EQ(TReportDesignerRules::TicksOnSave(ticked, {0, 33, 0, 20}),
              (std::array<bool, 4>{false, true, false, true}));
    const std::array<bool, 4> none = TReportDesignerRules::TicksOnSave(ticked, {0, 0, 0, 0});
    EXPECT_FALSE(TReportDesignerRules::AnyTicked(none));
    EXPECT_TRUE(TReportDesignerRules::AnyTicked({false, false, true, false}));
    EXPECT_EQ(TReportDesignerRules::NoBandsMessage(),
              "No report bands are selected. Please select at least one");
}

TEST(TReportDesignerRulesTest, SavedSettingsHoldTheTickedBandsAtTheirHeights)
{
    TReportSettings s;
    TReportDesignerRules::TakeBands(s, {false, true, true, true}, {40, 66, 33, 25});
    EXPECT_FALSE(s.useHeader);
    EXPECT_TRUE(s.useDetail);
    EXPECT_TRUE(s.useMemo);
    EXPECT_TRUE(s.useFooter);
    EXPECT_EQ(s.headerHeight, 0); // a band not in use has height 0
    EXPECT_EQ(s.detailHeight, 66);
    EXPECT_EQ(s.footerHeight, 25);
}

TEST(TReportDesignerRulesTest, MemoMenuOffersTheAlignmentsInOrder)
{
    const auto& entries = TReportDesignerRules::AlignmentEntries();
    EXPECT_STREQ(entries[0].caption, "Left Aligned");
    EXPECT_EQ(entries[0].alignment, TMemoAlignment::Left);
    EXPECT_STREQ(entries[1].caption, "Centered");
    EXPECT_EQ(entries[1].alignment, TMemoAlignment::Centre);
    EXPECT_STREQ(entries[2].caption, "Right Aligned");
    EXPECT_EQ(entries[2].alignment, TMemoAlignment::Right);
}

} // namespace
