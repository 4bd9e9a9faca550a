#include "envelopes/ui/TEnvelopeOverlays.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace qm::envelopes {

namespace {

const TTemplateArea& Area(const std::vector<TTemplateArea>& areas, const QString& caption)
{
    for (const auto& area : areas)
        if (area.caption == caption)
            return area;
    throw std::runtime_error("no area");
}

} // namespace

TEST(TEnvelopeOverlaysTest, Number10PlacesTheAddressAreaHalfAnInchIn)
{
    // 9.5 x 4.125 in at 96 PPI: 912 x 396.
    const auto areas = TEnvelopeOverlays::TemplateAreas(912, 396, 96, 1.0f);
    ASSERT_EQ(areas.size(), 4u);
    const auto& address = Area(areas, "[Address Area]");
    EXPECT_EQ(address.left, 48);
    EXPECT_EQ(address.top, 396 - 264);
    EXPECT_EQ(address.right, 912 - 48);
    EXPECT_EQ(address.bottom, 396 - 60);
    const auto& ret = Area(areas, "[Return Address Area]");
    EXPECT_EQ(QRect(ret.left, ret.top, ret.right, ret.bottom), QRect(1, 1, 456, 132));
    EXPECT_EQ(ret.captionAt, QPoint(3, 3));
    const auto& barcode = Area(areas, "[Barcode Clear Zone]");
    EXPECT_EQ(barcode.left, 912 - 384);
    EXPECT_EQ(barcode.top, 396 - 60);
    EXPECT_EQ(barcode.right, 912 - 48);
    EXPECT_EQ(barcode.bottom, 395);
    const auto& fim = Area(areas, "[FIM Area]");
    EXPECT_EQ(fim.left, 912 - 288);
    EXPECT_EQ(fim.right, 912 - 192);
    EXPECT_EQ(fim.bottom, 60);
    EXPECT_EQ(fim.captionAt, QPoint(912 - 288 + 2, 3));
}

TEST(TEnvelopeOverlaysTest, Number14PlacesItFromTheRightEdge)
{
    // 11.5 in wide: W - 9.75 in = 1.75 in = 168 pixels.
    const auto areas = TEnvelopeOverlays::TemplateAreas(1104, 480, 96, 1.0f);
    EXPECT_EQ(Area(areas, "[Address Area]").left, 168);
    // At 60 % the test still sees the face as designed (11.5 in), not 6.9 in.
    const int w = int(1104 * 0.6f);
    const auto zoomed = TEnvelopeOverlays::TemplateAreas(w, int(480 * 0.6f), 96, 0.6f);
    EXPECT_EQ(Area(zoomed, "[Address Area]").left, w - TEnvelopeOverlays::Pixels(9.75, 96, 0.6f));
}

TEST(TEnvelopeOverlaysTest, C6EndsTheReturnAddressAreaAtAThird)
{
    // 4.56 in high: 438 pixels; H - 2.75 in = 174, H / 3 = 146.
    const auto areas = TEnvelopeOverlays::TemplateAreas(622, 438, 96, 1.0f);
    EXPECT_EQ(Area(areas, "[Return Address Area]").bottom, 146);
    // A #10 (396 high): H - 2.75 in = 132 is the smaller.
    EXPECT_EQ(
        Area(TEnvelopeOverlays::TemplateAreas(912, 396, 96, 1.0f), "[Return Address Area]").bottom,
        132);
}

TEST(TEnvelopeOverlaysTest, PrinterMarginsInWholeDesignPixelsTimesTheScale)
{
    print::TPageGeometry page;
    page.pageWidth = 9.5;
    page.pageHeight = 4.125;
    page.leftWaste = 0.25;
    page.topWaste = 0.17;   // 16.32 -> 16
    page.rightWaste = 0.25; // 9.25 in -> 888
    page.bottomWaste = 0.2; // 3.925 in -> 376.8 -> 376
    EXPECT_EQ(TEnvelopeOverlays::PrinterMargins(page, 96, 1.0f),
              QRect(QPoint(24, 16), QPoint(887, 375)));
    // At 140 %: 24 -> 33, 16 -> 22, 888 -> 1243, 376 -> 526.
    EXPECT_EQ(TEnvelopeOverlays::PrinterMargins(page, 96, 1.4f),
              QRect(QPoint(33, 22), QPoint(1242, 525)));
}

TEST(TEnvelopeOverlaysTest, PaintsTheColoursOfTheTemplateAndTheDottedMargins)
{
    QImage image(913, 397, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TEnvelopeOverlays::PaintTemplate(
            painter, TEnvelopeOverlays::TemplateAreas(912, 396, 96, 1.0f), 1.0f);
        TEnvelopeOverlays::PaintPrinterMargins(painter, QRect(QPoint(10, 10), QPoint(899, 385)));
    }
    // Inside the address area, away from its caption: the light grey fill.
    EXPECT_EQ(QColor(image.pixel(400, 300)), QColor(239, 239, 239));
    // Its outline: grey, left edge at x = 48.
    EXPECT_EQ(QColor(image.pixel(48, 300)), QColor(128, 128, 128));
    // The caption sits on silver 2 pixels inside the corner.
    EXPECT_EQ(QColor(image.pixel(51, 134)), QColor(192, 192, 192));
    // The margins: red dots on the left edge, one pixel wide.
    int red = 0;
    for (int y = 20; y < 380; ++y)
        if (QColor(image.pixel(10, y)) == QColor(Qt::red))
            ++red;
    EXPECT_GT(red, 100);
    EXPECT_LT(red, 300);
    EXPECT_NE(QColor(image.pixel(11, 200)), QColor(Qt::red));
}

} // namespace qm::envelopes
