// Page numbers: "##" on screen, the canvas's page when printing.

#include "design/objects/TGPageNumberLabel.h"

#include "TTextObjectFixture.h"
#include "print/TBaseReport.h"

#include <QImage>
#include <QPainter>

namespace qm::design {
namespace {

class TGPageNumberLabelTest : public test::TTextObjectFixture {};

TEST_F(TGPageNumberLabelTest, ScreenShowsHashesAndPrintShowsThePage)
{
    auto* number = Add(std::make_unique<TGPageNumberLabel>());
    QImage image(200, 50, QImage::Format_RGB32);
    QPainter painter(&image);
    number->Paint(painter);
    painter.end();
    EXPECT_EQ(number->Caption(), "##");

    const auto pages = test::ReadPages(test::Record([this](print::TBaseReport& r) {
        PrintItem(r);
        r.NewPage();
        PrintItem(r);
    }));
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[1].texts.size(), 1u);
    EXPECT_EQ(pages[0].texts[0].text, "1");
    EXPECT_EQ(pages[1].texts[0].text, "2");
}

} // namespace
} // namespace qm::design
