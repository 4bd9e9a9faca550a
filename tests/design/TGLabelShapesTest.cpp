// Closed shapes: defaults, the screen figure and its pixels, printing through the page canvas
// (outline, pen width in hundredths of an inch, rounded corners, brush), transparency, and the
// stream entries.

#include "design/objects/TGLabelShapes.h"
#include "design/objects/Trpshapes.h"

#include "TShapeFixture.h"
#include "print/TBaseReport.h"

namespace qm::design {
namespace {

using print::stream::TCode;
using test::Drawings;
using test::IsBlack;
using test::IsWhite;
using test::PaintAlone;

class TGLabelShapesTest : public test::TTextObjectFixture {
protected:
    void SetUp() override
    {
        test::TTextObjectFixture::SetUp();
        TGClassRegistry::Instance().Clear();
        test::RegisterAllHosts();
    }

    std::vector<test::TDrawing> PrintPanel(double x = 0, double y = 0)
    {
        return Drawings(test::RecordOnPdf([&](print::TBaseReport& r) { PrintItem(r, x, y); }));
    }
};

TEST_F(TGLabelShapesTest, NewShapeIsAWhiteRectangleWithABlackOnePixelOutline)
{
    TGLabelShapes shape;
    EXPECT_EQ(shape.Width(), 25);
    EXPECT_EQ(shape.Height(), 25);
    EXPECT_EQ(shape.Shape(), TGShapeType::stRectangle);
    EXPECT_EQ(shape.Pen(), TGPen{});
    EXPECT_EQ(shape.Brush(), TGBrush{});
    EXPECT_FALSE(shape.Transparent());
    EXPECT_EQ(shape.RoundPerc(), 25);
    EXPECT_EQ(Trpshapes().ClassName(), "Trpshapes");
}

TEST_F(TGLabelShapesTest, OnePointRectangle100By50PrintsAHundredthOfAnInchOutline)
{
    auto* shape = Add(std::make_unique<TGLabelShapes>());
    shape->SetBounds(96, 48, 100, 50);
    const auto d = PrintPanel(0.5, 0.25);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].code, TCode::Rectangle);
    EXPECT_DOUBLE_EQ(d[0].Left(), 0.5 + 1.0);
    EXPECT_DOUBLE_EQ(d[0].Top(), 0.25 + 0.5);
    EXPECT_NEAR(d[0].Right() - d[0].Left(), 100.0 / 96, 1e-6);
    EXPECT_NEAR(d[0].Bottom() - d[0].Top(), 50.0 / 96, 1e-6);
    EXPECT_NEAR(d[0].penWidth, 0.01, 1e-6);
    EXPECT_EQ(d[0].penColor, 0u);
    EXPECT_EQ(d[0].brushColor, 0xFFFFFFu);
    EXPECT_EQ(d[0].brushStyle, int(print::TBrushStyle::bsSolid));
}

TEST_F(TGLabelShapesTest, PrintedPenWidthIsTruncatedHundredths)
{
    auto* shape = Add(std::make_unique<TGLabelShapes>());
    TGPen pen;
    pen.width = 10; // 10 / 96 inch = 10.4 hundredths -> 10
    pen.color = TGColor::Rgb(255, 0, 0);
    pen.style = print::TPenStyle::psDash;
    shape->SetPen(pen);
    const auto d = PrintPanel();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_NEAR(d[0].penWidth, 0.10, 1e-6);
    EXPECT_EQ(d[0].penColor, 0x0000FFu);
    EXPECT_EQ(d[0].penStyle, int(print::TPenStyle::psDash));
}

TEST_F(TGLabelShapesTest, RoundedRectangle200By50HasAHundredPixelCorner)
{
    auto* shape = Add(std::make_unique<TGLabelShapes>());
    shape->SetShape(TGShapeType::stRoundRect);
    shape->SetRoundPerc(50);
    shape->SetBounds(0, 0, 200, 50);
    EXPECT_EQ(shape->ScreenCorner(), 100);
    // Printed: both corner sizes half of the larger side, in inches.
    const auto d = PrintPanel();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].code, TCode::RoundRect);
    EXPECT_NEAR(d[0].f[0], 100.0 / 96, 1e-6);
    EXPECT_NEAR(d[0].f[1], 100.0 / 96, 1e-6);
    // On screen the corner is rounded far in: the corner pixel stays white, the middle of the top
    // edge is outline.
    const QImage image = PaintAlone(*shape, 200, 50);
    EXPECT_TRUE(IsWhite(image, 1, 1));
    EXPECT_TRUE(IsWhite(image, 10, 3));
    EXPECT_TRUE(IsBlack(image, 100, 0));
}

TEST_F(TGLabelShapesTest, EachShapeKindPrintsItsFigure)
{
    const std::pair<TGShapeType, TCode> kinds[] = {{TGShapeType::stRectangle, TCode::Rectangle},
                                                   {TGShapeType::stSquare, TCode::Rectangle},
                                                   {TGShapeType::stRoundRect, TCode::RoundRect},
                                                   {TGShapeType::stRoundSquare, TCode::RoundRect},
                                                   {TGShapeType::stEllipse, TCode::Ellipse},
                                                   {TGShapeType::stCircle, TCode::Ellipse}};
    for (const auto& [shapeType, code] : kinds) {
        mPanel.ClearObjects();
        auto* shape = Add(std::make_unique<TGLabelShapes>());
        shape->SetShape(shapeType);
        shape->SetBounds(10, 10, 60, 30); // square and circle are not forced to equal sides
        const auto d = PrintPanel();
        ASSERT_EQ(d.size(), 1u);
        EXPECT_EQ(d[0].code, code) << int(shapeType);
        EXPECT_NEAR(d[0].Right() - d[0].Left(), 60.0 / 96, 1e-6);
        EXPECT_NEAR(d[0].Bottom() - d[0].Top(), 30.0 / 96, 1e-6);
    }
}

TEST_F(TGLabelShapesTest, ScreenFigureKeepsWideOutlinesInsideTheObject)
{
    TGLabelShapes shape;
    shape.SetBounds(0, 0, 40, 20);
    EXPECT_EQ(shape.ScreenFigure(), QRect(QPoint(0, 0), QSize(40, 20)));
    TGPen pen;
    pen.width = 4; // c = 2: from (2, 2) to (40 + 2 - 4 + 1, 20 + 2 - 4 + 1) = (39, 19)
    shape.SetPen(pen);
    EXPECT_EQ(shape.ScreenFigure(), QRect(QPoint(2, 2), QSize(37, 17)));

    const QImage image = PaintAlone(shape, 44, 24);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(IsBlack(image, i, 10)) << i;      // left outline, 4 pixels
        EXPECT_TRUE(IsBlack(image, 39 - i, 10)) << i; // right outline ends at the object's edge
    }
    EXPECT_TRUE(IsWhite(image, 4, 10));
    EXPECT_TRUE(IsWhite(image, 40, 10)); // nothing outside the object
    EXPECT_TRUE(IsWhite(image, 20, 20));
    EXPECT_TRUE(IsBlack(image, 20, 19));
}

TEST_F(TGLabelShapesTest, ZoomScalesThePenWidthButNeverToNothing)
{
    TGLabelShapes shape;
    TGPen pen;
    pen.width = 3;
    shape.SetPen(pen);
    EXPECT_EQ(shape.ScreenPenWidth(), 3);
    shape.SetScale(2.0f);
    EXPECT_EQ(shape.ScreenPenWidth(), 6);
    shape.SetScale(0.5f);
    EXPECT_EQ(shape.ScreenPenWidth(), 2); // round(1.5) goes to the even neighbour
    pen.width = 1;
    shape.SetPen(pen);
    shape.SetScale(0.25f);
    EXPECT_EQ(shape.ScreenPenWidth(), 1);
}

TEST_F(TGLabelShapesTest, TransparencyClearsTheBrushAndTurningItOffRestoresTheFill)
{
    auto* below = Add(std::make_unique<TGLabelShapes>());
    below->SetBounds(0, 0, 40, 40);
    TGBrush black;
    black.color = kclBlack;
    below->SetBrush(black);
    auto* shape = Add(std::make_unique<TGLabelShapes>());
    shape->SetBounds(0, 0, 40, 40);
    TGBrush yellow;
    yellow.color = TGColor::Rgb(255, 255, 0);
    shape->SetBrush(yellow);

    shape->SetTransparent(true);
    EXPECT_EQ(shape->Brush().style, print::TBrushStyle::bsClear);
    QImage image = PaintAlone(*below, 40, 40);
    {
        QPainter p(&image);
        shape->Paint(p);
    }
    EXPECT_TRUE(IsBlack(image, 20, 20)); // the object below shows through
    auto d = PrintPanel();
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[1].brushStyle, int(print::TBrushStyle::bsClear));

    shape->SetTransparent(false);
    EXPECT_EQ(shape->Brush().style, print::TBrushStyle::bsSolid);
    EXPECT_EQ(shape->Brush().color, yellow.color);
    {
        QPainter p(&image);
        shape->Paint(p);
    }
    EXPECT_EQ(image.pixel(20, 20), qRgb(255, 255, 0));
    d = PrintPanel();
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[1].brushStyle, int(print::TBrushStyle::bsSolid));
    EXPECT_EQ(d[1].brushColor, 0x00FFFFu);
}

TEST_F(TGLabelShapesTest, DefaultShapeStoresNoPenOrBrushEntries)
{
    TGLabelShapes shape;
    const QByteArray bytes = test::StreamOf(shape);
    EXPECT_TRUE(bytes.contains("Transparent"));
    EXPECT_FALSE(bytes.contains("Pen."));
    EXPECT_FALSE(bytes.contains("Brush."));
    EXPECT_FALSE(bytes.contains("RoundPerc"));
    EXPECT_FALSE(bytes.contains("\x05Shape"));
}

TEST_F(TGLabelShapesTest, StreamRoundTripKeepsEveryProperty)
{
    for (bool report : {false, true}) {
        std::unique_ptr<TGLabelShapes> shape =
            report ? std::make_unique<Trpshapes>() : std::make_unique<TGLabelShapes>();
        shape->SetBounds(5, 6, 70, 80);
        shape->SetShape(TGShapeType::stRoundSquare);
        shape->SetRoundPerc(60);
        TGPen pen;
        pen.width = 7;
        pen.color = TGColor::Rgb(0, 128, 0);
        pen.style = print::TPenStyle::psDot;
        pen.mode = print::TPenMode::pmXor;
        shape->SetPen(pen);
        TGBrush brush;
        brush.color = TGColor::Rgb(1, 2, 3);
        brush.style = print::TBrushStyle::bsCross;
        shape->SetBrush(brush);

        auto* copy = test::ReadBack<TGLabelShapes>(test::StreamOf(*shape), mPanel);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->ClassName(), shape->ClassName());
        EXPECT_EQ(copy->BoundsRect(), QRect(5, 6, 70, 80));
        EXPECT_EQ(copy->Shape(), TGShapeType::stRoundSquare);
        EXPECT_EQ(copy->RoundPerc(), 60);
        EXPECT_EQ(copy->Pen(), pen);
        EXPECT_EQ(copy->Brush(), brush); // the brush entry read after Transparent wins
        EXPECT_FALSE(copy->Transparent());
        // Read as rounded, so its menu offers the degree of rounding.
        EXPECT_TRUE(copy->RoundedMenu());
    }
}

TEST_F(TGLabelShapesTest, TransparentShapeReadsBackTransparent)
{
    TGLabelShapes shape;
    shape.SetTransparent(true);
    auto* copy = test::ReadBack<TGLabelShapes>(test::StreamOf(shape), mPanel);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->Transparent());
    EXPECT_EQ(copy->Brush().style, print::TBrushStyle::bsClear);
    EXPECT_FALSE(copy->RoundedMenu());
}

} // namespace
} // namespace qm::design

namespace qm::design {
namespace {

// Stored layouts may hold any 32-bit values: extreme bounds and pen widths paint and print
// without wrapping around.
TEST_F(TGLabelShapesTest, ExtremeStoredValuesNeitherWrapNorOverflow)
{
    auto* shape = Add(std::make_unique<TGLabelShapes>());
    shape->SetBounds(2147483000, 10, 2147483647, 20);
    TGPen pen;
    pen.width = 2147483647;
    shape->SetPen(pen);
    shape->SetRoundPerc(2147483647);
    shape->SetShape(TGShapeType::stRoundRect);
    EXPECT_EQ(shape->ScreenFigure().width(), 1); // computed in 64 bits, not wrapped
    EXPECT_EQ(shape->ScreenFigure().height(), 20 - 2147483647 + 1);
    EXPECT_EQ(shape->ScreenCorner(), 2147483647);
    (void)PaintAlone(*shape, 20, 20);
    const auto d = PrintPanel();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_GT(d[0].Right(), d[0].Left()); // Left + Width did not wrap to a negative number
    EXPECT_NEAR(d[0].Right(), (2147483000.0 + 2147483647.0) / 96, 1.0);
    EXPECT_LE(d[0].penWidth, 1000.0 + 1e-3);

    pen.width = -2147483647 - 1;
    shape->SetPen(pen);
    shape->SetScale(3.0f);
    (void)shape->ScreenFigure();
    EXPECT_EQ(PrintPanel().size(), 1u);
}

} // namespace
} // namespace qm::design
