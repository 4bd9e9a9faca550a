// Symbol objects: defaults, sizing after bounds changes, the stored code printed in its face.

#include "design/objects/TGSymbolLabel.h"

#include "TTextObjectFixture.h"
#include "design/text/TDesignTextMeasure.h"

namespace qm::design {
namespace {

class TGSymbolLabelTest : public test::TTextObjectFixture {};

TEST_F(TGSymbolLabelTest, DefaultsAreTheYinYangIn24Point)
{
    TGSymbolLabel symbol;
    EXPECT_EQ(symbol.Caption(), "[");
    EXPECT_EQ(symbol.Font().Name(), "WingDings");
    EXPECT_EQ(symbol.Font().PointSize(), 24);
}

TEST_F(TGSymbolLabelTest, SizesItselfAfterEveryBoundsChange)
{
    auto* symbol = Add(std::make_unique<TGSymbolLabel>());
    symbol->SetBounds(5, 5, 300, 300);
    const QFont font = TDesignTextMeasure::ScreenFont(symbol->Font(), 24);
    const QString shown = symbol->ShownText();
    EXPECT_EQ(symbol->Width(),
              TDesignUnits::Trunc(1.1 * QFontMetrics(font).horizontalAdvance(shown)));
    EXPECT_EQ(symbol->Height(), TDesignUnits::Trunc(1.1 * QFontMetrics(font).height()));
    EXPECT_EQ(symbol->Left(), 5);

    // Not while reading a stream.
    symbol->SetReading(true);
    symbol->SetBounds(5, 5, 300, 300);
    EXPECT_EQ(symbol->Width(), 300);
    symbol->SetReading(false);
}

// The zoom sets the bounds before the Scale; the symbol must still take its size at the new zoom.
TEST_F(TGSymbolLabelTest, TakesItsSizeAtTheNewZoom)
{
    auto* symbol = Add(std::make_unique<TGSymbolLabel>());
    symbol->SetBounds(5, 5, 10, 10);
    const QSize atOne(symbol->Width(), symbol->Height());
    mPanel.SetScale(2.0f);
    EXPECT_EQ(QSize(symbol->Width(), symbol->Height()), symbol->SymbolSize());
    EXPECT_GT(symbol->Width(), atOne.width() * 3 / 2);
    mPanel.SetScale(1.0f);
    EXPECT_EQ(QSize(symbol->Width(), symbol->Height()), atOne);
}

TEST_F(TGSymbolLabelTest, ChosenSymbolPrintsItsCodeInTheSymbolFace)
{
    auto* symbol = Add(std::make_unique<TGSymbolLabel>());
    symbol->ApplySymbol(symbol->Font(), 0x28); // telephone
    EXPECT_EQ(symbol->Caption(), "(");
    const auto texts =
        test::PrintedTexts(test::Record([this](print::TBaseReport& r) { PrintItem(r); }));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "(");
    EXPECT_EQ(texts[0].font, "WingDings");
    EXPECT_NEAR(texts[0].heightInches, 24.0 / 72, 1e-6);
}

} // namespace
} // namespace qm::design
