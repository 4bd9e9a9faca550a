#include "letters/TLetterPreviewState.h"
#include "letters/TPageUnits.h"

#include <gtest/gtest.h>

namespace qm::letters {
namespace {

TEST(TLetterPreviewStateTest, ZoomSteps)
{
    TLetterPreviewState state;
    state.SetZoom(149);
    EXPECT_TRUE(state.ZoomIn());
    EXPECT_EQ(state.Zoom(), 186);
    EXPECT_FALSE(state.ZoomIn());
    EXPECT_EQ(state.Zoom(), 186);
    state.SetZoom(51);
    EXPECT_TRUE(state.ZoomOut());
    EXPECT_EQ(state.Zoom(), 38);
    EXPECT_FALSE(state.ZoomOut());
    EXPECT_EQ(state.Zoom(), 38);
}

TEST(TLetterPreviewStateTest, FitZoomIsNeverZero)
{
    // 8.5 in at 96 dpi is 816 pixels.
    const QSize page = TLetterPreviewState::PageSizeOnScreen(TLetterPageTwips{}, 96);
    EXPECT_EQ(page, QSize(816, 1056));
    EXPECT_EQ(TLetterPreviewState::FitZoom(1632, page.width()), 200);
    // Narrower than the page: in integers 600 / 816 gave 0, and 0 × 1.25 stayed 0.
    EXPECT_EQ(TLetterPreviewState::FitZoom(600, page.width()), 73);
    EXPECT_EQ(TLetterPreviewState::FitZoom(40, page.width()), 10);
    EXPECT_EQ(TLetterPreviewState::FitZoom(0, 0), 10);
    TLetterPreviewState state;
    state.SetZoom(TLetterPreviewState::FitZoom(40, page.width()));
    EXPECT_TRUE(state.ZoomIn());
    EXPECT_EQ(state.Zoom(), 12);
}

TEST(TLetterPreviewStateTest, PanelAndTextArea)
{
    EXPECT_EQ(TLetterPreviewState::PanelSize(TLetterPageTwips{}, 96, 50), QSize(408, 528));
    EXPECT_EQ(TLetterPreviewState::TextArea(TLetterPageTwips{}, 96, 50), QRect(48, 48, 312, 432));
}

TEST(TLetterPreviewStateTest, PageButtonsAtBothEnds)
{
    TLetterPreviewState state;
    EXPECT_FALSE(state.PreviousPage()); // nothing on page 1
    EXPECT_EQ(state.PageNumber(), 1);
    state.SetFollowing(120);
    EXPECT_TRUE(state.NextPage());
    EXPECT_EQ(state.PageNumber(), 2);
    EXPECT_EQ(state.Start(), 120);
    EXPECT_EQ(state.Caption(), "Preview Letters Page 2");
    state.SetFollowing(-1); // the last page
    EXPECT_FALSE(state.NextPage());
    EXPECT_EQ(state.PageNumber(), 2);
    EXPECT_TRUE(state.PreviousPage());
    EXPECT_EQ(state.Start(), 0);
    EXPECT_EQ(state.PageNumber(), 1);
    state.SetFollowing(120);
    state.NextPage();
    state.Reset();
    EXPECT_EQ(state.PageNumber(), 1);
    EXPECT_FALSE(state.HasPreviousPage());
}

TEST(TPageUnitsTest, ShownAndReadBack)
{
    EXPECT_EQ(TPageUnits::Text(12240, TPageUnit::Inch), "8.50");
    EXPECT_EQ(TPageUnits::Text(1440, TPageUnit::Cm), "2.54");
    EXPECT_EQ(TPageUnits::Text(1440, TPageUnit::Twips), "1440");
    EXPECT_EQ(TPageUnits::Twips("8.5", TPageUnit::Inch), 12240);
    EXPECT_EQ(TPageUnits::Twips("2.54", TPageUnit::Cm), 1440);
    EXPECT_EQ(TPageUnits::Twips("", TPageUnit::Inch), 0);
    EXPECT_EQ(TPageUnits::Twips("abc", TPageUnit::Inch), std::nullopt);
    EXPECT_EQ(TPageUnits::Twips("-1", TPageUnit::Inch), std::nullopt);
    EXPECT_EQ(TPageUnits::Twips("1e9", TPageUnit::Twips), std::nullopt);
    EXPECT_EQ(TPageUnits::FromName("Cm"), TPageUnit::Cm);
    EXPECT_EQ(TPageUnits::FromName("Furlong"), TPageUnit::Inch);
}

TEST(TPageUnitsTest, NoTextAreaIsRefusedNamingTheValue)
{
    EXPECT_EQ(TPageUnits::Problem(TLetterPageTwips{}, TPageUnit::Inch), QString());
    TLetterPageTwips page;
    page.left = 6120;
    page.right = 6120;
    EXPECT_EQ(TPageUnits::Problem(page, TPageUnit::Inch),
              "The left margin 4.25 in and the right margin 4.25 in leave no room for text on "
              "paper 8.50 in wide.");
    page = {};
    page.height = 0;
    EXPECT_EQ(TPageUnits::Problem(page, TPageUnit::Twips),
              "The paper height 0 twips is too small.");
}

} // namespace
} // namespace qm::letters
