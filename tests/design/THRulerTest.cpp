// The horizontal ruler: tick spacing and lengths, inch numbers, colours and accepted alignments.

#include "design/ui/THRuler.h"

#include "design/text/TDesignUnits.h"

#include <QImage>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

class THRulerTest : public ::testing::Test {
protected:
    THRulerTest() { TDesignUnits::SetPpiOverride(96); }
    ~THRulerTest() override { TDesignUnits::SetPpiOverride(0); }

    QImage Render(THRuler& ruler)
    {
        QImage image(ruler.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        ruler.render(&image);
        return image;
    }
    // The length of the tick at x, in pixels from the top.
    static int TickLength(const QImage& image, int x)
    {
        const QColor grey(0x80, 0x80, 0x80);
        int y = 0;
        while (y < image.height() && image.pixelColor(x, y) == grey)
            ++y;
        return y;
    }
};

TEST_F(THRulerTest, DefaultsAndAcceptedAlignments)
{
    THRuler ruler;
    EXPECT_EQ(ruler.size(), QSize(768, 33));
    EXPECT_EQ(ruler.Color(), QColor(0xFF, 0xFF, 0x00)) << "0x00FFFF is BGR";
    EXPECT_EQ(THRuler::TickStep(), 6);
    ruler.SetAlignHRuler(THRuler::TAlign::alBottom);
    EXPECT_EQ(ruler.AlignHRuler(), THRuler::TAlign::alBottom);
    ruler.SetAlignHRuler(THRuler::TAlign::alLeft);
    EXPECT_EQ(ruler.AlignHRuler(), THRuler::TAlign::alBottom);
    ruler.SetAlignHRuler(THRuler::TAlign::alClient);
    EXPECT_EQ(ruler.AlignHRuler(), THRuler::TAlign::alBottom);
    ruler.SetAlignHRuler(THRuler::TAlign::alTop);
    EXPECT_EQ(ruler.AlignHRuler(), THRuler::TAlign::alTop);
}

TEST_F(THRulerTest, TickLengthsFollowTheirNumbers)
{
    THRuler ruler;
    ruler.resize(200, 32);
    const QImage image = Render(ruler);
    EXPECT_EQ(TickLength(image, 0), 32) << "tick 0 is an inch tick";
    EXPECT_EQ(TickLength(image, 6), 8);
    EXPECT_EQ(TickLength(image, 8 * 6), 16);
    EXPECT_EQ(TickLength(image, 16 * 6), 32);
    EXPECT_EQ(image.pixelColor(3, 2), QColor(0xFF, 0xFF, 0x00)) << "background between ticks";
}

TEST_F(THRulerTest, StartsAtTheTruncatedTickOfStartInch)
{
    THRuler ruler;
    ruler.resize(200, 32);
    ruler.SetStartInch(1.49); // trunc(23.84) = 23: the next inch tick (32) is 9 ticks on
    EXPECT_EQ(ruler.FirstTick(), 23);
    const QImage image = Render(ruler);
    EXPECT_EQ(TickLength(image, 0), 8);
    EXPECT_EQ(TickLength(image, 6), 16) << "tick 24 is a half-inch tick";
    EXPECT_EQ(TickLength(image, 9 * 6), 32);
}

TEST_F(THRulerTest, InchNumbersAppearRightOfInchTicksButNotAtZero)
{
    THRuler ruler;
    ruler.resize(200, 32);
    const QImage image = Render(ruler);
    const QColor yellow(0xFF, 0xFF, 0x00);
    const auto inkIn = [&](int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            for (int y = 8; y < 30; ++y)
                if (image.pixelColor(x, y) != yellow)
                    return true;
        return false;
    };
    EXPECT_FALSE(inkIn(2, 6)) << "no number at tick 0";
    EXPECT_TRUE(inkIn(96 + 2, 96 + 12)) << "a 1 beside the first inch";
}

} // namespace
} // namespace qm::design
