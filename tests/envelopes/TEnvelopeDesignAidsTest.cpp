// What the envelope designer computes: the face in pixels, the zoom's ends, and the USPS
// template's areas for #10, #14 and C6.

#include "envelopes/TEnvelopeSizes.h"
#include "envelopes/TEnvelopeZoom.h"
#include "envelopes/TUspsTemplate.h"

#include <gtest/gtest.h>

using namespace qm::envelopes;

TEST(EnvelopeDesignAidsTest, FaceInPixelsToTheNearestHalvesToEven)
{
    EXPECT_EQ(TEnvelopeSizes::Face(20)->Pixels(96), QSize(912, 396));
    EXPECT_EQ(TEnvelopeSizes::Face(31)->Pixels(96), QSize(622, 438)); // 622.08 x 437.76
    // The list's picture at 30 %: 912 x 0.3 = 273.6, 396 x 0.3 = 118.8.
    EXPECT_EQ(TEnvelopeSizes::Face(20)->Pixels(96, 0.3), QSize(274, 119));
    // 120 PPI, #9: 8.875 x 120 = 1065, 3.875 x 120 = 465 (exact).
    EXPECT_EQ(TEnvelopeSizes::Face(19)->Pixels(120), QSize(1065, 465));
    // A half goes to the even neighbour: 6.5 x 3 = 19.5 -> 20, 3.5 x 3 = 10.5 -> 10.
    EXPECT_EQ((TEnvelopeFace{6500, 3500}).Pixels(3), QSize(20, 10));
}

TEST(EnvelopeDesignAidsTest, ZoomReachesBothEndsExactlyAndStopsThere)
{
    TEnvelopeZoom zoom;
    EXPECT_EQ(zoom.Caption(), "100%");
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(zoom.In());
    EXPECT_EQ(zoom.Percent(), 140);
    EXPECT_EQ(zoom.Scale(), 1.4f);
    EXPECT_FALSE(zoom.In()); // at 140 %, zooming in does nothing
    EXPECT_EQ(zoom.Caption(), "140%");
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(zoom.Out());
    EXPECT_EQ(zoom.Percent(), 60);
    EXPECT_EQ(zoom.Scale(), 0.6f);
    EXPECT_FALSE(zoom.Out()); // at 60 %, zooming out does nothing
    EXPECT_EQ(zoom.Caption(), "60%");
}

TEST(EnvelopeDesignAidsTest, UspsAreasForNumberTenFourteenAndC6)
{
    // #10, 912 x 396 at 96 PPI: the address area starts 0.5 in from the left.
    auto a = TUspsTemplate::Areas(912, 396, 96, 1.0);
    EXPECT_EQ(a[0].caption, "[Return Address Area]");
    EXPECT_EQ(a[0].rect, QRect(QPoint(1, 1), QPoint(456, 132))); // H/3 = 132 < 396 - 264
    EXPECT_EQ(a[0].captionAt, QPoint(3, 3));
    EXPECT_EQ(a[1].caption, "[Barcode Clear Zone]");
    EXPECT_EQ(a[1].rect, QRect(QPoint(912 - 384, 396 - 60), QPoint(912 - 48, 395)));
    EXPECT_EQ(a[2].caption, "[Address Area]");
    EXPECT_EQ(a[2].rect, QRect(QPoint(48, 396 - 264), QPoint(912 - 48, 396 - 60)));
    EXPECT_EQ(a[2].captionAt, QPoint(50, 134));
    EXPECT_EQ(a[3].caption, "[FIM Area]");
    EXPECT_EQ(a[3].rect, QRect(QPoint(912 - 288, 1), QPoint(912 - 192, 60)));
    EXPECT_EQ(a[3].captionAt, QPoint(912 - 288 + 2, 3));

    // #14 (11.5 in): from W - 9.75 in, that is 1.75 in.
    a = TUspsTemplate::Areas(1104, 480, 96, 1.0);
    EXPECT_EQ(a[2].rect.left(), 168);
    // At 140 % the test still looks at the unscaled width: #14 stays wide, #10 stays narrow.
    a = TUspsTemplate::Areas(1546, 672, 96, 1.4);
    EXPECT_EQ(a[2].rect.left(), 1546 - 1310); // 9.75 x 96 x 1.4 = 1310.4
    a = TUspsTemplate::Areas(1277, 554, 96, 1.4);
    EXPECT_EQ(a[2].rect.left(), 67); // 0.5 x 96 x 1.4 = 67.2

    // C6 (4.56 in high, 438 px): H - 2.75 in is 174, H/3 is 146 (1.52 in): the smaller ends it.
    a = TUspsTemplate::Areas(622, 438, 96, 1.0);
    EXPECT_EQ(a[0].rect.bottom(), 146);
}
