// The two canvases agree: a job drawn on the live printer canvas and the same job recorded into a
// page stream and replayed give the same pixels, for every kind of drawing a job can do.

#include "TImageCanvas.h"
#include "TPrintTestSupport.h"

#include <QPainterPath>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

QImage Checker()
{
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, (x / 2 + y / 2) % 2 ? qRgb(20, 120, 40) : qRgb(250, 240, 200));
    return image;
}

// One job using every drawing operation of the canvas, with the state changes between them.
void DrawEverything(TBaseReport& r)
{
    // Texts on the line, in each alignment, style and rotation.
    r.SetFont(QStringLiteral("Arial"), 12);
    r.GotoXY(0.5, 0.75);
    r.TextLeft(QStringLiteral("Left aligned text"), 0.5);
    r.TextCenter(QStringLiteral("Centred"), 3.0);
    r.TextRight(QStringLiteral("Right aligned"), 5.5);
    r.SetFont(QStringLiteral("Times New Roman"), 14);
    r.SetBold(true);
    r.SetItalic(true);
    r.SetUnderline(true);
    r.SetFontColor(TColor::Rgb(200, 30, 30));
    r.GotoXY(0.5, 1.1);
    r.PrintText(QStringLiteral("Bold italic underlined"));
    r.SetFont(QStringLiteral("Arial"), 10);
    r.SetStrikeout(true);
    r.PrintText(QStringLiteral(" struck"));
    r.SetStrikeout(false);
    r.SetSuperscript(true);
    r.PrintText(QStringLiteral("sup"));
    r.SetSubscript(true);
    r.PrintText(QStringLiteral("sub"));
    r.SetSubscript(false);
    r.SetTextBKMode(TBkMode::bkOpaque);
    r.TextLeft(QStringLiteral("opaque"), 4.5);
    r.SetTextBKMode(TBkMode::bkTransparent);
    for (int angle : {30, 90, 180, 270}) {
        r.SetFontRotation(angle);
        r.GotoXY(1.0 + angle / 90.0, 2.2);
        r.PrintText(QStringLiteral("turned"));
    }
    r.SetFontRotation(0);

    // Tab boxes: shading, borders, and block-justified text.
    r.SetFont(QStringLiteral("Courier New"), 10);
    r.ClearTabs();
    r.SetTab(0.5, TTabJustify::Left, 1.5, 5, kBoxAll, 20);
    r.SetTab(-1, TTabJustify::Block, 2.0, 10, kBoxBottom | kBoxTop, 0);
    r.SetTab(-1, TTabJustify::Right, 1.5, 5, kBoxRight, 40);
    r.GotoXY(0.5, 3.0);
    r.PrintLine(QStringLiteral("\tName\tspread over the box\t12.50"));

    // Clipped texts, with and without a brush behind them, unturned and turned.
    r.SetFont(QStringLiteral("Arial"), 16);
    r.SetBrush(TColor::Rgb(255, 255, 160), TBrushStyle::bsSolid);
    r.TextInRect(r.MakeRect(0.5, 3.3, 2.0, 3.6), 0.55, 3.32,
                 QStringLiteral("Clipped caption text"));
    r.SetBrush(kWhite, TBrushStyle::bsClear);
    r.SetFontRotation(90);
    r.TextInRect(r.MakeRect(2.3, 3.3, 2.6, 4.6), 2.3, 4.6, QStringLiteral("Upwards"));
    r.SetFontRotation(270);
    r.TextInRect(r.MakeRect(2.7, 3.3, 3.0, 4.6), 3.0, 3.3, QStringLiteral("Downwards"));
    r.SetFontRotation(180);
    r.TextInRect(r.MakeRect(3.2, 3.3, 4.6, 3.6), 4.6, 3.6, QStringLiteral("Upside down"));
    r.SetFontRotation(0);

    // Shapes with pens of several widths, styles and modes, and brushes of several styles.
    r.SetPen(TColor::Rgb(0, 0, 200), TPenStyle::psSolid, TPenMode::pmCopy, 1);
    r.SetBrush(TColor::Rgb(255, 0, 0), TBrushStyle::bsSolid);
    r.DrawRectangle(0.5, 4.8, 1.0, 5.3);
    r.DrawEllipse(1.2, 4.8, 1.9, 5.3);
    r.DrawRoundRect(2.1, 4.8, 2.8, 5.3, 0.2, 0.15);
    r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, -3); // 0.03 in
    r.SetBrush(TColor::Rgb(0, 160, 0), TBrushStyle::bsDiagCross);
    r.DrawRectangle(3.0, 4.8, 3.6, 5.3);
    r.SetPen(kBlack, TPenStyle::psInsideFrame, TPenMode::pmCopy, -5);
    r.DrawEllipse(3.8, 4.8, 4.6, 5.3);
    r.SetPen(TColor::Rgb(120, 0, 120), TPenStyle::psDash, TPenMode::pmCopy, 1);
    r.SetBrush(kBlack, TBrushStyle::bsClear);
    r.DrawRectangle(4.8, 4.8, 5.6, 5.3);
    r.SetPen(kBlack, TPenStyle::psClear, TPenMode::pmCopy, 1);
    r.SetBrush(TColor::Rgb(90, 90, 255), TBrushStyle::bsHorizontal);
    r.DrawRectangle(0.5, 5.5, 1.2, 5.9);
    r.SetBrush(TColor::Rgb(90, 90, 255), TBrushStyle::bsSolid, Checker());
    r.DrawRectangle(1.4, 5.5, 2.1, 5.9);
    r.SetBrush(TColor::Rgb(250, 200, 0), TBrushStyle::bsSolid);
    r.FillRect(2.3, 5.5, 3.0, 5.9);
    // A run of bars: one fill live, one fill command per bar in the stream.
    std::vector<QRectF> bars;
    for (int i = 0; i < 20; ++i)
        bars.emplace_back(QPointF(4.1 + i / 22.0, 5.5 + (i % 3) * 0.05),
                          QPointF(4.12 + i / 22.0, 5.9));
    r.FillRects(bars);
    r.SetPen(TColor::Rgb(0, 120, 120), TPenStyle::psSolid, TPenMode::pmCopy, 2);
    r.FrameRect(3.2, 5.5, 3.9, 5.9);
    r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmXor, 4);
    r.SetBrush(TColor::Rgb(250, 200, 0), TBrushStyle::bsSolid);
    r.DrawRectangle(2.6, 5.4, 3.4, 6.0); // across the fill and the frame

    // Lines, polylines and polygons.
    r.SetPen(TColor::Rgb(0, 0, 0), TPenStyle::psSolid, TPenMode::pmCopy, 1);
    r.MoveTo(0.5, 6.2);
    r.LineTo(2.5, 6.6);
    r.SetPen(TColor::Rgb(200, 0, 0), TPenStyle::psDot, TPenMode::pmCopy, 1);
    r.LineTo(4.5, 6.2);
    r.SetPen(TColor::Rgb(0, 100, 0), TPenStyle::psSolid, TPenMode::pmCopy, -2);
    r.Polyline({{0.5, 6.8}, {1.0, 7.2}, {1.5, 6.8}, {2.0, 7.2}});
    r.SetBrush(TColor::Rgb(255, 180, 180), TBrushStyle::bsSolid);
    r.Polygon({{2.5, 6.8}, {3.5, 6.8}, {3.0, 7.4}});

    // Pictures.
    r.DrawBitmap(4.0, 6.8, 4.8, 7.4, Checker());
    r.DrawGraphic(r.MakeRect(5.0, 6.8, 5.6, 7.4), Checker());

    // Scale.
    r.SetScaleX(80);
    r.SetScaleY(120);
    r.SetFont(QStringLiteral("Arial"), 12);
    r.TextLeft(QStringLiteral("Scaled text"), 0.5);
    // A pen's width is device pixels (or hundredths of an inch turned into pixels with the
    // scale when it is set), so it does not grow or shrink with the scale of what it draws.
    r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, 6);
    r.SetBrush(TColor::Rgb(0, 200, 200), TBrushStyle::bsSolid);
    r.DrawRectangle(0.5, 6.5, 1.5, 6.9);
    r.MoveTo(2.0, 6.5);
    r.LineTo(4.0, 6.6);
    r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, -4);
    r.DrawEllipse(4.0, 6.3, 4.8, 6.6);
    r.SetScaleX(100);
    r.SetScaleY(100);
}

struct TDifference {
    int pixels = 0; // pixels that differ at all
    int strong = 0; // pixels that differ by more than anti-aliasing could
    QRect where;
};

TDifference Compare(const QImage& a, const QImage& b)
{
    TDifference d;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (p == q)
                continue;
            ++d.pixels;
            const int diff = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q))});
            if (diff > 96) {
                ++d.strong;
                d.where |= QRect(x, y, 1, 1);
            }
        }
    }
    return d;
}

class TCanvasParityTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        test::UsePdfPrinter(); // 300 DPI, no waste
        TRPDevice::Instance().SetPaperSize(0, 6.0, 8.0);
    }
    void TearDown() override { TRPDevice::Instance().SetPaperSize(1); }
};

TEST_P(TCanvasParityTest, LiveAndReplayedPagesHaveTheSamePixels)
{
    const QPainter::RenderHints hints =
        GetParam() ? QPainter::Antialiasing : QPainter::RenderHints{};
    const QImage live = test::PaintLive(DrawEverything, hints);
    const QImage replayed = test::PaintReplay(test::Record(DrawEverything), 300, hints);
    ASSERT_EQ(live.size(), replayed.size());
    ASSERT_EQ(live.size(), QSize(1800, 2400));
    // Something was drawn in every band of the page.
    for (int band = 0; band < 6; ++band)
        EXPECT_TRUE(
            test::InkBounds(live, test::Inked, QRect(0, 200 + band * 300, 1800, 300)).isValid())
            << "band " << band;

    const TDifference d = Compare(live, replayed);
    // Edge pixels may be shaded differently; nothing may be missing, added or moved.
    EXPECT_EQ(d.strong, 0) << "differences within " << d.where.x() << "," << d.where.y() << " "
                           << d.where.width() << "x" << d.where.height();
    EXPECT_LT(d.pixels, live.width() * live.height() / 2000) << d.pixels << " pixels differ";
}

INSTANTIATE_TEST_SUITE_P(Antialiasing, TCanvasParityTest, ::testing::Bool());

} // namespace
} // namespace qm::print
