#include "envelopes/ui/TDesignZoom.h"

#include <gtest/gtest.h>

namespace qm::envelopes {

TEST(TDesignZoomTest, ReachesBothEndsExactlyAndStopsThere)
{
    TDesignZoom zoom;
    EXPECT_EQ(zoom.Caption(), "100%");
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(zoom.ZoomIn());
    EXPECT_EQ(zoom.Percent(), 140);
    EXPECT_EQ(zoom.Caption(), "140%");
    EXPECT_FLOAT_EQ(zoom.Scale(), 1.4f);
    EXPECT_FALSE(zoom.ZoomIn());
    EXPECT_EQ(zoom.Percent(), 140);

    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(zoom.ZoomOut());
    EXPECT_EQ(zoom.Percent(), 60);
    EXPECT_EQ(zoom.Caption(), "60%");
    EXPECT_FALSE(zoom.ZoomOut());
    EXPECT_EQ(zoom.Percent(), 60);
    EXPECT_FLOAT_EQ(zoom.Scale(), 0.6f);
}

} // namespace qm::envelopes
