// FIM marks: the bars of each type on the page canvas, the square screen size with its bars, an
// unknown type, and the stream.

#include "design/objects/TGFIMBarCode.h"

#include "TShapeFixture.h"
#include "print/TBaseReport.h"

namespace qm::design {
namespace {

using print::stream::TCode;
using test::Drawings;
using test::IsBlack;
using test::IsWhite;
using test::Record;

class TGFIMBarCodeTest : public test::TTextObjectFixture {
protected:
    void SetUp() override
    {
        test::TTextObjectFixture::SetUp();
        TGClassRegistry::Instance().Clear();
        test::RegisterAllHosts();
    }

    std::vector<test::TDrawing> PrintPanel(double x = 0, double y = 0)
    {
        return Drawings(Record([&](print::TBaseReport& r) { PrintItem(r, x, y); }));
    }
};

TEST_F(TGFIMBarCodeTest, NewMarkIsTypeAAtItsSize)
{
    TGFIMBarCode mark;
    EXPECT_EQ(mark.FIMType(), int(TGFIMType::fimTypeA));
    EXPECT_EQ(mark.Width(), 60);  // trunc(0.625 x 96)
    EXPECT_EQ(mark.Height(), 54); // trunc(0.5625 x 96)
}

TEST_F(TGFIMBarCodeTest, TypeBPrintsSixBarsAtTheirOffsets)
{
    auto* mark = Add(std::make_unique<TGFIMBarCode>());
    mark->SetFIMType(TGFIMType::fimTypeB);
    mark->SetBounds(96, 192, 60, 60);
    const auto d = PrintPanel(0.25, 0.5);
    ASSERT_EQ(d.size(), 6u);
    const double offsets[6] = {0, 4, 6, 10, 12, 16};
    const double left = 0.25 + 1.0, top = 0.5 + 2.0;
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(d[i].code, TCode::Rectangle);
        EXPECT_NEAR(d[i].Left() - left, offsets[i] / 32, 1e-6) << i;
        EXPECT_NEAR(d[i].Right() - d[i].Left(), 1.0 / 32, 1e-6) << i;
        EXPECT_NEAR(d[i].Top(), top, 1e-6) << i;
        EXPECT_NEAR(d[i].Bottom() - d[i].Top(), 0.5625, 1e-6) << i;
        EXPECT_EQ(d[i].brushColor, 0u);
        EXPECT_EQ(d[i].brushStyle, int(print::TBrushStyle::bsSolid));
    }
}

TEST_F(TGFIMBarCodeTest, TypesAAndCFollowTheirSlots)
{
    EXPECT_EQ(TGFIMBarCode::Slots(0), (std::vector<int>{1, 3, 9, 15, 17}));
    EXPECT_EQ(TGFIMBarCode::Slots(2), (std::vector<int>{1, 3, 7, 11, 15, 17}));
    auto* mark = Add(std::make_unique<TGFIMBarCode>());
    mark->SetBounds(0, 0, 60, 60);
    auto d = PrintPanel();
    ASSERT_EQ(d.size(), 5u);
    EXPECT_NEAR(d[2].Left(), 8.0 / 32, 1e-6);
    mark->SetFIMType(TGFIMType::fimTypeC);
    d = PrintPanel();
    ASSERT_EQ(d.size(), 6u);
    EXPECT_NEAR(d[3].Left(), 10.0 / 32, 1e-6);
}

TEST_F(TGFIMBarCodeTest, AnUnknownTypePrintsNothing)
{
    auto* mark = Add(std::make_unique<TGFIMBarCode>());
    mark->SetFIMType(3);
    EXPECT_TRUE(PrintPanel().empty());
    EXPECT_TRUE(TGFIMBarCode::Slots(-1).empty());
    // Nor is it written as a name no reader would accept.
    EXPECT_FALSE(test::StreamOf(*mark).contains("FIMType"));
}

TEST_F(TGFIMBarCodeTest, PaintMakesItSquareAndDrawsBarsInTheirSlots)
{
    auto* mark = Add(std::make_unique<TGFIMBarCode>());
    QImage image(70, 70, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        mark->Paint(p);
    }
    EXPECT_EQ(mark->BoundsRect().size(), QSize(60, 60));
    // Type A, 3-pixel bars (trunc(96 / 32)), 54 high: slot 1 at 0..2, slot 3 at 6..8, slot 9 at
    // 24..26.
    EXPECT_TRUE(IsBlack(image, 0, 0));
    EXPECT_TRUE(IsBlack(image, 2, 53));
    EXPECT_TRUE(IsWhite(image, 2, 54));
    EXPECT_TRUE(IsWhite(image, 3, 10));
    EXPECT_TRUE(IsBlack(image, 6, 10));
    EXPECT_TRUE(IsBlack(image, 24, 10));
    EXPECT_TRUE(IsWhite(image, 12, 10));

    mark->SetScale(2.0f);
    {
        QPainter p(&image);
        mark->Paint(p);
    }
    EXPECT_EQ(mark->BoundsRect().size(), QSize(120, 120));
}

TEST_F(TGFIMBarCodeTest, StreamRoundTripAlwaysStoresTheType)
{
    TGFIMBarCode plain;
    EXPECT_TRUE(test::StreamOf(plain).contains("fimTypeA"));
    TGFIMBarCode mark;
    mark.SetFIMType(TGFIMType::fimTypeC);
    mark.SetBounds(1, 2, 60, 60);
    auto* copy = test::ReadBack<TGFIMBarCode>(test::StreamOf(mark), mPanel);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->FIMType(), int(TGFIMType::fimTypeC));
    EXPECT_EQ(copy->BoundsRect(), QRect(1, 2, 60, 60));
}

} // namespace
} // namespace qm::design
