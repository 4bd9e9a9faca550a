// The miniature of a report page: page and inner area at a twentieth of an inch per pixel, the
// band boxes, their border strips by line width, and what a click lands on.

#include "reports/TReportMiniature.h"

#include <gtest/gtest.h>

namespace {

using qm::reports::TMiniatureHit;
using qm::reports::TReportBand;
using qm::reports::TReportMiniature;
using qm::reports::TReportSettings;

// A page in design pixels at 96 PPI with equal margins.
TReportSettings Page(int width, int height, int margin)
{
    TReportSettings s;
    s.pageWidth = width;
    s.pageHeight = height;
    s.leftMargin = s.topMargin = s.rightMargin = s.bottomMargin = margin;
    return s;
}

TEST(TReportMiniatureTest, PageAndInnerAreaAtATwentiethOfAnInch)
{
    // Letter portrait, half-inch margins: 8.5 x 11 in is 170 x 220, margins 10.
    const TReportMiniature letter(Page(816, 1056, 48), 96);
    EXPECT_EQ(letter.Page(), QRect(0, 0, 170, 220));
    EXPECT_EQ(letter.Inner(), QRect(10, 10, 150, 200));

    // A4 landscape (1121 x 794 pixels) with unequal margins; lengths round to nearest.
    TReportSettings a4 = Page(1121, 794, 240);
    a4.leftMargin = 50; // 10.4 -> 10
    a4.topMargin = 55;  // 11.46 -> 11
    const TReportMiniature wide(a4, 96);
    EXPECT_EQ(wide.Page(), QRect(0, 0, 234, 165));
    EXPECT_EQ(wide.Inner(), QRect(10, 11, 234 - 10 - 50, 165 - 11 - 50));

    // The same inches at another PPI give the same picture.
    EXPECT_EQ(TReportMiniature(Page(1020, 1320, 60), 120).Inner(), letter.Inner());
}

TEST(TReportMiniatureTest, BandBoxesStackFromTheTopWithTheFooterAtTheBottom)
{
    const TReportMiniature letter(Page(816, 1056, 48), 96);
    // An inner height of 200 gives boxes of at most an inch (20 pixels).
    EXPECT_EQ(letter.Band(TReportBand::Header).box, QRect(10, 10, 150, 20));
    EXPECT_EQ(letter.Band(TReportBand::Detail).box, QRect(10, 30, 150, 20));
    EXPECT_EQ(letter.Band(TReportBand::Memo).box, QRect(10, 50, 150, 20));
    EXPECT_EQ(letter.Band(TReportBand::Footer).box, QRect(10, 190, 150, 20));

    // Letter landscape with 2.5 in margins: 70 pixels inside, boxes of a fifth of that.
    const TReportMiniature tight(Page(1056, 816, 240), 96);
    ASSERT_EQ(tight.Inner(), QRect(50, 50, 120, 70));
    EXPECT_EQ(tight.Band(TReportBand::Header).box, QRect(50, 50, 120, 14));
    EXPECT_EQ(tight.Band(TReportBand::Memo).box, QRect(50, 78, 120, 14));
    EXPECT_EQ(tight.Band(TReportBand::Footer).box, QRect(50, 106, 120, 14));
    EXPECT_LT(tight.Band(TReportBand::Memo).box.bottom(),
              tight.Band(TReportBand::Footer).box.top());
}

TEST(TReportMiniatureTest, BorderStripsAreAsWideAsTheLineWidthInsideTheBox)
{
    TReportSettings s = Page(816, 1056, 48);
    auto& header = s.Frame(TReportBand::Header);
    header.top = header.left = header.bottom = header.right = true;
    header.lineWidth = 3;
    auto& detail = s.Frame(TReportBand::Detail);
    detail.bottom = true;
    detail.lineWidth = 1;
    auto& memo = s.Frame(TReportBand::Memo);
    memo.right = true;
    memo.lineWidth = 2;
    const TReportMiniature m(s, 96);

    // Header box (10, 10, 150, 20): top, left, bottom, right.
    EXPECT_EQ(m.Band(TReportBand::Header).strips,
              (std::vector<QRect>{QRect(10, 10, 150, 3), QRect(10, 10, 3, 20),
                                  QRect(10, 27, 150, 3), QRect(157, 10, 3, 20)}));
    // Detail box (10, 30, 150, 20): a one-pixel bottom strip on its last row.
    EXPECT_EQ(m.Band(TReportBand::Detail).strips, (std::vector<QRect>{QRect(10, 49, 150, 1)}));
    EXPECT_EQ(m.Band(TReportBand::Memo).strips, (std::vector<QRect>{QRect(158, 50, 2, 20)}));
    // No sides on: no strips, whatever the width.
    EXPECT_TRUE(m.Band(TReportBand::Footer).strips.empty());

    // A width out of range is drawn as the nearest the dialog allows.
    s.Frame(TReportBand::Footer).top = true;
    s.Frame(TReportBand::Footer).lineWidth = 9;
    EXPECT_EQ(TReportMiniature(s, 96).Band(TReportBand::Footer).strips,
              (std::vector<QRect>{QRect(10, 190, 150, 3)}));
}

TEST(TReportMiniatureTest, AClickSelectsTheBandBoxElseThePage)
{
    const TReportMiniature m(Page(816, 1056, 48), 96);
    EXPECT_EQ(m.HitTest({10, 10}), TMiniatureHit::Header);
    EXPECT_EQ(m.HitTest({159, 29}), TMiniatureHit::Header);
    EXPECT_EQ(m.HitTest({80, 30}), TMiniatureHit::Detail);
    EXPECT_EQ(m.HitTest({80, 69}), TMiniatureHit::Memo);
    EXPECT_EQ(m.HitTest({80, 209}), TMiniatureHit::Footer);
    // The margins and the inner area between the boxes belong to the page.
    EXPECT_EQ(m.HitTest({9, 15}), TMiniatureHit::Page);
    EXPECT_EQ(m.HitTest({80, 100}), TMiniatureHit::Page);
    EXPECT_EQ(m.HitTest({169, 219}), TMiniatureHit::Page);
    // Outside the page: nothing.
    EXPECT_EQ(m.HitTest({170, 10}), TMiniatureHit::None);
    EXPECT_EQ(m.HitTest({-1, -1}), TMiniatureHit::None);
}

TEST(TReportMiniatureTest, MarginsWiderThanThePageLeaveNoBoxes)
{
    TReportSettings s = Page(816, 1056, 600);
    s.Frame(TReportBand::Header).top = true;
    const TReportMiniature m(s, 96);
    EXPECT_TRUE(m.Inner().isEmpty());
    EXPECT_TRUE(m.Page().contains(m.Inner().topLeft()));
    for (const auto& band : m.Bands()) {
        EXPECT_TRUE(band.box.isEmpty());
        EXPECT_TRUE(band.strips.empty());
    }
    EXPECT_EQ(m.HitTest(m.Inner().topLeft()), TMiniatureHit::Page);
}

} // namespace
