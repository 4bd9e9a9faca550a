// Lines: defaults, "Stretch To Edges", the screen line and its pixels, printing (pen width in
// hundredths of an inch, always copying, one move and one line per style), and the stream.

#include "design/objects/TGLineShape.h"

#include "TShapeFixture.h"
#include "print/TBaseReport.h"

namespace qm::design {
namespace {

using print::stream::TCode;
using test::Drawings;
using test::IsBlack;
using test::IsWhite;
using test::PaintAlone;

class TGLineShapeTest : public test::TTextObjectFixture {
protected:
    void SetUp() override
    {
        test::TTextObjectFixture::SetUp();
        TGClassRegistry::Instance().Clear();
        test::RegisterAllHosts();
        mPanel.SetSize(300, 200);
    }

    TGLineShape* AddLine(TGLineStyle style, QRect bounds, int penWidth = 1)
    {
        auto* line = Add(std::make_unique<TGLineShape>());
        line->SetLineStyle(style);
        line->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
        TGPen pen;
        pen.width = penWidth;
        line->SetPen(pen);
        return line;
    }

    std::vector<test::TDrawing> PrintPanel(double x = 0, double y = 0)
    {
        return Drawings(test::RecordOnPdf([&](print::TBaseReport& r) { PrintItem(r, x, y); }));
    }
};

TEST_F(TGLineShapeTest, NewLineIsHorizontalTenByTen)
{
    TGLineShape line;
    EXPECT_EQ(line.Width(), 10);
    EXPECT_EQ(line.Height(), 10);
    EXPECT_EQ(line.LineStyle(), TGLineStyle::stHorizontal);
    EXPECT_EQ(line.Pen(), TGPen{});
}

TEST_F(TGLineShapeTest, StretchToEdgesOnA300PixelPage)
{
    auto* line = AddLine(TGLineStyle::stHorizontal, QRect(40, 30, 50, 4), 4);
    line->StretchToEdges();
    EXPECT_EQ(line->BoundsRect(), QRect(0, 30, 300, 4));
    // On screen it runs from x = 2 to x = 300 + 2 - 4 + 1 = 299.
    EXPECT_EQ(line->ScreenLine(), QLine(2, 2, 299, 2));
    const QImage image = PaintAlone(*line, 310, 10);
    EXPECT_TRUE(IsWhite(image, 1, 1));
    EXPECT_TRUE(IsBlack(image, 2, 0));
    EXPECT_TRUE(IsBlack(image, 2, 3));
    EXPECT_TRUE(IsWhite(image, 2, 4));
    EXPECT_TRUE(IsBlack(image, 298, 1));
    EXPECT_TRUE(IsWhite(image, 299, 1)); // the end point is left out

    auto* vertical = AddLine(TGLineStyle::stVertical, QRect(40, 30, 3, 50));
    vertical->StretchToEdges();
    EXPECT_EQ(vertical->BoundsRect(), QRect(40, 0, 3, 200));

    for (TGLineStyle sloped : {TGLineStyle::stAngleSlopingUp, TGLineStyle::stAngleSlopingDown}) {
        auto* diagonal = AddLine(sloped, QRect(40, 30, 20, 50));
        diagonal->StretchToEdges();
        EXPECT_EQ(diagonal->BoundsRect(), QRect(40, 30, 20, 50));
    }
}

TEST_F(TGLineShapeTest, ScreenLinesOfEachStyle)
{
    TGLineShape line;
    line.SetBounds(0, 0, 30, 20);
    EXPECT_EQ(line.ScreenLine(), QLine(0, 0, 30, 0));
    line.SetLineStyle(TGLineStyle::stVertical);
    EXPECT_EQ(line.ScreenLine(), QLine(0, 0, 0, 20));
    line.SetLineStyle(TGLineStyle::stAngleSlopingUp);
    EXPECT_EQ(line.ScreenLine(), QLine(30, 0, 0, 20));
    line.SetLineStyle(TGLineStyle::stAngleSlopingDown);
    EXPECT_EQ(line.ScreenLine(), QLine(0, 0, 30, 20));

    // A vertical one-pixel line covers column 0 from row 0 to row 19.
    line.SetLineStyle(TGLineStyle::stVertical);
    const QImage image = PaintAlone(line, 32, 22);
    EXPECT_TRUE(IsBlack(image, 0, 0));
    EXPECT_TRUE(IsBlack(image, 0, 19));
    EXPECT_TRUE(IsWhite(image, 1, 10));
    EXPECT_TRUE(IsWhite(image, 0, 20));
}

TEST_F(TGLineShapeTest, PrintsOneMoveAndOneLinePerStyle)
{
    // Pen width 4: h = 2 design pixels lower; the object at (96, 48), 192 x 96.
    const double x1 = 1.0, x2 = 3.0, y1 = (48.0 + 2) / 96, y2 = (48.0 + 2 + 96) / 96;
    struct TCase {
        TGLineStyle style;
        QPointF from, to;
    };
    const TCase cases[] = {
        {TGLineStyle::stHorizontal, {x1, y1}, {x2, y1}},
        {TGLineStyle::stVertical, {x1, y1}, {x1, y2}},
        {TGLineStyle::stAngleSlopingUp, {x1, y2}, {x2, y1}},
        {TGLineStyle::stAngleSlopingDown, {x1, y1}, {x2, y2}},
    };
    for (const TCase& c : cases) {
        mPanel.ClearObjects();
        AddLine(c.style, QRect(96, 48, 192, 96), 4);
        const auto d = PrintPanel();
        ASSERT_EQ(d.size(), 2u);
        EXPECT_EQ(d[0].code, TCode::MoveTo);
        EXPECT_EQ(d[1].code, TCode::LineTo);
        EXPECT_NEAR(d[0].points[0].x(), c.from.x(), 1e-6) << int(c.style);
        EXPECT_NEAR(d[0].points[0].y(), c.from.y(), 1e-6) << int(c.style);
        EXPECT_NEAR(d[1].points[0].x(), c.to.x(), 1e-6) << int(c.style);
        EXPECT_NEAR(d[1].points[0].y(), c.to.y(), 1e-6) << int(c.style);
        EXPECT_NEAR(d[1].penWidth, 0.04, 1e-6); // the design width in hundredths of an inch
    }
}

TEST_F(TGLineShapeTest, PrintingAlwaysCopiesWithThePensColourAndStyle)
{
    auto* line = AddLine(TGLineStyle::stHorizontal, QRect(0, 0, 96, 10));
    TGPen pen;
    pen.color = TGColor::Rgb(0, 0, 255);
    pen.style = print::TPenStyle::psDashDot;
    pen.mode = print::TPenMode::pmXor;
    line->SetPen(pen);
    const auto d = PrintPanel(0.5, 0.5);
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[1].penMode, int(print::TPenMode::pmCopy));
    EXPECT_EQ(d[1].penColor, 0xFF0000u);
    EXPECT_EQ(d[1].penStyle, int(print::TPenStyle::psDashDot));
    EXPECT_NEAR(d[1].points[0].x(), 1.5, 1e-6);
}

TEST_F(TGLineShapeTest, StreamRoundTrip)
{
    TGLineShape plain;
    const QByteArray plainBytes = test::StreamOf(plain);
    EXPECT_FALSE(plainBytes.contains("LineStyle"));
    EXPECT_FALSE(plainBytes.contains("Pen."));

    TGLineShape line;
    line.SetBounds(3, 4, 5, 600);
    line.SetLineStyle(TGLineStyle::stVertical);
    TGPen pen;
    pen.width = 9;
    pen.color = TGColor::System(5);
    line.SetPen(pen);
    auto* copy = test::ReadBack<TGLineShape>(test::StreamOf(line), mPanel);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->BoundsRect(), QRect(3, 4, 5, 600));
    EXPECT_EQ(copy->LineStyle(), TGLineStyle::stVertical);
    EXPECT_EQ(copy->Pen(), pen);
}

} // namespace
} // namespace qm::design

namespace qm::design {
namespace {

TEST_F(TGLineShapeTest, ExtremeStoredValuesNeitherWrapNorOverflow)
{
    for (int width : {2147483647, -2147483647 - 1}) {
        mPanel.ClearObjects();
        auto* line = AddLine(TGLineStyle::stHorizontal, QRect(0, 0, 10, 10));
        line->SetBounds(2147483000, 2147483000, 2147483647, 2147483647);
        TGPen pen;
        pen.width = width;
        line->SetPen(pen);
        (void)line->ScreenLine();
        line->SetLineStyle(TGLineStyle::stVertical);
        (void)line->ScreenLine();
        (void)PaintAlone(*line, 10, 10);
        const auto d = PrintPanel();
        ASSERT_EQ(d.size(), 2u);
        EXPECT_GT(d[1].points[0].y(), 2147483000.0 / 96); // Top + h + Height did not wrap
    }
}

} // namespace
} // namespace qm::design
