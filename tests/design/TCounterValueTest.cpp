// Counter values: stepping with repeats, resets and the caption format.

#include "design/text/TCounterValue.h"

#include <gtest/gtest.h>

#include <limits>

namespace qm::design {
namespace {

std::vector<int> Shown(TCounterValue& counter, int repeatEach, int items)
{
    std::vector<int> shown;
    for (int i = 0; i < items; ++i) {
        shown.push_back(counter.Value());
        counter.Step(repeatEach);
    }
    return shown;
}

TEST(TCounterValueTest, RepeatsEachValue)
{
    TCounterValue counter(1000);
    EXPECT_EQ(Shown(counter, 2, 6), (std::vector<int>{1000, 1000, 1001, 1001, 1002, 1002}));
    counter.Reset(1000);
    EXPECT_EQ(Shown(counter, 1, 3), (std::vector<int>{1000, 1001, 1002}));
}

TEST(TCounterValueTest, ResetForgetsThePartialRepeat)
{
    TCounterValue counter(5);
    counter.Step(3);
    counter.Step(3);
    counter.Reset(5);
    EXPECT_EQ(Shown(counter, 3, 4), (std::vector<int>{5, 5, 5, 6}));
}

TEST(TCounterValueTest, RepeatBelowOneCountsEveryItem)
{
    TCounterValue counter(1);
    EXPECT_EQ(Shown(counter, 0, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Shown(counter, -5, 2), (std::vector<int>{4, 5}));
}

TEST(TCounterValueTest, LargestValueWrapsWithoutOverflow)
{
    TCounterValue counter(std::numeric_limits<int>::max());
    EXPECT_TRUE(counter.Step(1));
    EXPECT_EQ(counter.Value(), std::numeric_limits<int>::min());
}

TEST(TCounterValueTest, CaptionPadsWithLeadingZeros)
{
    EXPECT_EQ(TCounterValue::Caption("No. ", 7, 3, ""), "No. 007");
    EXPECT_EQ(TCounterValue::Caption("", 42, 5, ""), "00042");
    EXPECT_EQ(TCounterValue::Caption("#", 12345, 3, " end"), "#12345 end");
    EXPECT_EQ(TCounterValue::Caption("", 42, 0, ""), "42");
    EXPECT_EQ(TCounterValue::Caption("", -7, 3, ""), "-007");
    EXPECT_EQ(TCounterValue::Caption("", std::numeric_limits<int>::min(), 0, ""), "-2147483648");
}

} // namespace
} // namespace qm::design
