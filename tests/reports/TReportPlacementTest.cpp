// The report bands' placement rule: the rectangle a drawn object starts in, the four refusals in
// their order with their texts, which bands take clicks per tool and what each tool makes.

#include "reports/TReportPlacement.h"

#include <gtest/gtest.h>

namespace {

using qm::reports::TPanelKind;
using qm::reports::TPanelState;
using qm::reports::TReportPlacement;
using qm::reports::TReportShape;

constexpr TPanelKind kBands[] = {TPanelKind::rpkHeader, TPanelKind::rpkDetail, TPanelKind::rpkMemo,
                                 TPanelKind::rpkFooter};

TEST(TReportPlacementTest, NarrowAndLowRectanglesGrowFromTheirCorner)
{
    EXPECT_EQ(TReportPlacement::DrawnRect(QRect(30, 40, 10, 5)), QRect(30, 40, 50, 15));
    // Exactly 25 wide and 15 high stay as drawn.
    EXPECT_EQ(TReportPlacement::DrawnRect(QRect(0, 0, 25, 15)), QRect(0, 0, 25, 15));
    EXPECT_EQ(TReportPlacement::DrawnRect(QRect(0, 0, 24, 14)), QRect(0, 0, 50, 15));
    // A plain click (empty rectangle); a large drag is kept.
    EXPECT_EQ(TReportPlacement::DrawnRect(QRect(7, 8, 0, 0)), QRect(7, 8, 50, 15));
    EXPECT_EQ(TReportPlacement::DrawnRect(QRect(40, 20, 61, 41)), QRect(40, 20, 61, 41));
}

TEST(TReportPlacementTest, RefusalsNameTheBandsEachToolBelongsTo)
{
    const QString memo = QStringLiteral("This object may only be used in the memo band");
    const QString detail = QStringLiteral("This object may only be used in the detail band");
    const QString headerFooter =
        QStringLiteral("This object may only be used in the header or footer bands");
    const QString header = QStringLiteral("This object may only be used in the header band");

    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psDataLabel, TPanelKind::rpkHeader), detail);
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psDataLabel, TPanelKind::rpkFooter), detail);
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psDataLabel, TPanelKind::rpkDetail), "");
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psImage, TPanelKind::rpkDetail), header);
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psImage, TPanelKind::rpkFooter), header);
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psImage, TPanelKind::rpkHeader), "");
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psPageNumber, TPanelKind::rpkFooter), "");
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psDateTime, TPanelKind::rpkHeader), "");
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psPageNumber, TPanelKind::rpkDetail),
              headerFooter);
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psDateTime, TPanelKind::rpkMemo),
              headerFooter);
    for (TPanelKind band : {TPanelKind::rpkHeader, TPanelKind::rpkDetail, TPanelKind::rpkFooter})
        EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psMultiLineDataLabel, band), memo);
    EXPECT_EQ(TReportPlacement::Refusal(TPanelState::psMultiLineDataLabel, TPanelKind::rpkMemo),
              "");
}

TEST(TReportPlacementTest, ToolsWithoutBandRulesAreNeverRefused)
{
    for (TPanelState tool : {TPanelState::psPointing, TPanelState::psLabel, TPanelState::psLine,
                             TPanelState::psSymbolLabel, TPanelState::psRectangle,
                             TPanelState::psEllipse, TPanelState::psRoundRectangle})
        for (TPanelKind band : kBands) {
            EXPECT_TRUE(TReportPlacement::Refusal(tool, band).isEmpty());
            EXPECT_TRUE(TReportPlacement::AcceptsClicks(tool, band));
        }
}

TEST(TReportPlacementTest, OnlyTheToolsBandsTakeClicks)
{
    auto takers = [](TPanelState tool) {
        QString bands;
        for (TPanelKind band : kBands)
            bands +=
                TReportPlacement::AcceptsClicks(tool, band) ? QLatin1Char('x') : QLatin1Char('-');
        return bands;
    };
    EXPECT_EQ(takers(TPanelState::psDataLabel), "-x--");
    EXPECT_EQ(takers(TPanelState::psImage), "x---");
    EXPECT_EQ(takers(TPanelState::psDateTime), "x--x");
    EXPECT_EQ(takers(TPanelState::psPageNumber), "x--x");
    // The memo field is refused by message, not by a dead click.
    EXPECT_EQ(takers(TPanelState::psMultiLineDataLabel), "xxxx");
}

TEST(TReportPlacementTest, EachToolMakesTheReportBandsKind)
{
    EXPECT_TRUE(TReportPlacement::ClassOf(TPanelState::psPointing).isEmpty());
    EXPECT_EQ(TReportPlacement::ClassOf(TPanelState::psLabel), "TGPLabel");
    EXPECT_EQ(TReportPlacement::ClassOf(TPanelState::psDataLabel), "TGPDLabel");
    EXPECT_EQ(TReportPlacement::ClassOf(TPanelState::psMultiLineDataLabel), "TGDMultiLineLabel");
    EXPECT_EQ(TReportPlacement::ClassOf(TPanelState::psLine), "TGLineShape");
    EXPECT_EQ(TReportPlacement::ClassOf(TPanelState::psImage), "TGImage");
    EXPECT_EQ(TReportPlacement::ClassOf(TPanelState::psDateTime), "TGDateTimeLabel");
    EXPECT_EQ(TReportPlacement::ClassOf(TPanelState::psPageNumber), "TGPageNumberLabel");
    EXPECT_EQ(TReportPlacement::ClassOf(TPanelState::psSymbolLabel), "TGSymbolLabel");
    // Report bands store their shapes under their own class name.
    for (TPanelState shape :
         {TPanelState::psRectangle, TPanelState::psEllipse, TPanelState::psRoundRectangle})
        EXPECT_EQ(TReportPlacement::ClassOf(shape), "Trpshapes");
    EXPECT_EQ(TReportPlacement::ShapeOf(TPanelState::psRectangle), TReportShape::Rectangle);
    EXPECT_EQ(TReportPlacement::ShapeOf(TPanelState::psEllipse), TReportShape::Ellipse);
    EXPECT_EQ(TReportPlacement::ShapeOf(TPanelState::psRoundRectangle),
              TReportShape::RoundRectangle);
    EXPECT_FALSE(TReportPlacement::ShapeOf(TPanelState::psLine));
}

} // namespace
