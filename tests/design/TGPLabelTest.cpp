// Fixed text: construction defaults, rotation commands, fit width, and printing through the page
// canvas (positions, 3D passes, background, rotation) asserted on the recorded page stream.

#include "design/objects/TGPLabel.h"

#include "TTextObjectFixture.h"
#include "print/TBaseReport.h"

#include <QImage>
#include <QPainter>

namespace qm::design {
namespace {

using test::PrintedTexts;
using test::Record;

class TGPLabelTest : public test::TTextObjectFixture {};

TEST_F(TGPLabelTest, ConstructorDefaults)
{
    TGPLabel label;
    EXPECT_EQ(label.Caption(), "Text");
    EXPECT_EQ(label.Width(), 142);
    EXPECT_EQ(label.Height(), 33);
    EXPECT_EQ(label.Font().Name(), "Arial");
    EXPECT_EQ(label.Font().PointSize(), 10);
    EXPECT_TRUE(label.Transparent());
}

TEST_F(TGPLabelTest, RotatingTo90SwapsTheSidesAndForcesLeftAlignment)
{
    auto* label = Add(std::make_unique<TGPLabel>());
    label->SetAlignment(TGAlignment::taCenter);
    TSingleLineText::Rotate(*label, 90);
    EXPECT_EQ(label->Angle(), 90);
    EXPECT_EQ(label->Width(), 33);
    EXPECT_EQ(label->Height(), 142);
    EXPECT_EQ(label->Alignment(), TGAlignment::taLeftJustify);
    // Then the layout sizes it to its text: no higher than 1.2 x the text width, as wide as the
    // line block.
    label->Text().LayOut(*label, label->Caption());
    const auto w = label->Text().TextWidth();
    const auto h = label->Text().LineHeight();
    EXPECT_EQ(label->Height(), TDesignUnits::Trunc(1.2 * w));
    EXPECT_GE(label->Width(), h);
    EXPECT_LE(label->Width(), TDesignUnits::Trunc(1.2 * h));

    TSingleLineText::Rotate(*label, 45); // not a rotation: ignored
    EXPECT_EQ(label->Angle(), 90);
    TSingleLineText::Rotate(*label, 180);
    EXPECT_GT(label->Width(), label->Height());
}

TEST_F(TGPLabelTest, FitWidthGrowsButNeverShrinks)
{
    auto* label = Add(std::make_unique<TGPLabel>());
    label->SetBounds(10, 10, 5, 5);
    label->ApplyText(QStringLiteral("A rather long caption for one label"));
    const QFont font = TSingleLineText::ScreenFont(*label);
    EXPECT_GE(label->Width(), QFontMetrics(font).horizontalAdvance(label->Caption() + "     "));
    const int grown = label->Width();
    label->SetWidth(grown + 100);
    label->FitWidth();
    EXPECT_EQ(label->Width(), grown + 100);
    TSingleLineText::Rotate(*label, 90);
    const QRect turned = label->BoundsRect();
    label->FitWidth(); // only unrotated text is fitted
    EXPECT_EQ(label->BoundsRect(), turned);
}

TEST_F(TGPLabelTest, PrintsTheCaptionAtItsPlaceOnThePage)
{
    auto* label = Add(std::make_unique<TGPLabel>());
    label->SetBounds(96, 48, 142, 33);
    label->SetCaption(QStringLiteral("Hello"));
    const auto texts =
        PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r, 1.0, 2.0); }));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Hello");
    EXPECT_DOUBLE_EQ(texts[0].x, 1.0 + 96.0 / 96);
    EXPECT_DOUBLE_EQ(texts[0].y, 2.0 + 48.0 / 96);
    EXPECT_EQ(texts[0].font, "Arial");
    EXPECT_NEAR(texts[0].heightInches, 10.0 / 72, 1e-6);
    EXPECT_EQ(texts[0].color, 0u);
    EXPECT_EQ(texts[0].rotation, 0);
    // The clip reaches 0.03 inch past the left and top edges.
    EXPECT_NEAR(texts[0].clip.left(), 2.0 - 0.03, 1.0 / 96);
    EXPECT_NEAR(texts[0].clip.top(), 2.5 - 0.03, 1.0 / 96);
}

TEST_F(TGPLabelTest, ShadowThenHighlightThenTextInTheirColours)
{
    auto* label = Add(std::make_unique<TGPLabel>());
    label->SetCaption(QStringLiteral("3D"));
    label->SetDepthShadow(3);
    label->SetDepthHighlight(2);
    TGFont font = label->Font();
    font.SetColor(TGColor::Rgb(0, 0, 255));
    label->SetFont(font);
    const auto texts = PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].color, 0x808080u); // shadow, grey
    EXPECT_EQ(texts[1].color, 0xFFFF00u); // highlight, aqua (stored as 0x00BBGGRR)
    EXPECT_EQ(texts[2].color, 0xFF0000u); // the font colour, blue
    // Shadow down-right by 3, highlight up-left by 2, main text at the margins (2, 2).
    EXPECT_NEAR(texts[0].x - texts[2].x, 3.0 / 96, 1e-6);
    EXPECT_NEAR(texts[0].y - texts[2].y, 3.0 / 96, 1e-6);
    EXPECT_NEAR(texts[1].x - texts[2].x, -2.0 / 96, 1e-6);
    EXPECT_NEAR(texts[2].x, 2.0 / 96, 1e-6);

    label->SetDirectionShadow(TGShadowDirection::sdNone);
    label->SetDepthHighlight(0);
    EXPECT_EQ(PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); })).size(), 1u);
}

TEST_F(TGPLabelTest, OpaqueBackgroundIsFilledBeforeTheText)
{
    auto* label = Add(std::make_unique<TGPLabel>());
    label->SetTransparent(false);
    label->SetBackColor(TGColor::Rgb(255, 255, 0));
    const auto pages = test::ReadPages(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    ASSERT_EQ(pages.size(), 1u);
    const auto& codes = pages[0].codes;
    const auto rect =
        std::find(codes.begin(), codes.end(), std::uint8_t(print::stream::TCode::Rectangle));
    const auto text =
        std::find(codes.begin(), codes.end(), std::uint8_t(print::stream::TCode::TextRect));
    ASSERT_NE(rect, codes.end());
    EXPECT_LT(rect, text);
    label->SetTransparent(true);
    const auto clear = test::ReadPages(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    EXPECT_EQ(std::count(clear[0].codes.begin(), clear[0].codes.end(),
                         std::uint8_t(print::stream::TCode::Rectangle)),
              0);
}

TEST_F(TGPLabelTest, RotatedTextPrintsRotatedAndRestoresTheCanvas)
{
    auto* label = Add(std::make_unique<TGPLabel>());
    TSingleLineText::Rotate(*label, 270);
    std::vector<int> after;
    const auto texts = PrintedTexts(Record([&](print::TBaseReport& r) {
        PrintItem(r);
        after.push_back(r.Font().rotation);
    }));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rotation, 270);
    EXPECT_EQ(after, std::vector<int>{0});
    // At 270 the origin is the main rectangle's top-right corner.
    EXPECT_NEAR(texts[0].x, label->Text().Layout().mainOrigin.x() / 96.0, 1e-6);
    EXPECT_GT(label->Text().Layout().mainOrigin.x(), 0);
}

TEST_F(TGPLabelTest, ScreenPaintDrawsInsideTheObject)
{
    TGPLabel label;
    label.SetCaption(QStringLiteral("Paint"));
    label.SetTransparent(false);
    label.SetBackColor(TGColor::Rgb(255, 0, 0));
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    label.Paint(painter);
    painter.end();
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 0, 0)); // background filled
    EXPECT_EQ(image.pixelColor(label.Width() + 5, 1), QColor(Qt::white));
    int dark = 0;
    for (int y = 0; y < label.Height(); ++y)
        for (int x = 0; x < label.Width(); ++x)
            dark += image.pixelColor(x, y).lightness() < 60;
    EXPECT_GT(dark, 10); // the caption in black
}

} // namespace
} // namespace qm::design
