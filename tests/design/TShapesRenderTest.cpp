// The printed page of a panel holding every graphic kind, replayed to a PNG the way preview and
// printer replay it: the bars and outlines land where the page stream puts them. The picture is
// also saved to QM_SCREENSHOT_DIR when that is set, for a look by eye.

#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGPostNetBarCode.h"

#include "TShapeFixture.h"
#include "print/TPageRender.h"

#include <QFile>

namespace qm::design {
namespace {

class TShapesRenderTest : public test::TTextObjectFixture {};

TEST_F(TShapesRenderTest, EveryGraphicKindRendersWhereThePageStreamPutsIt)
{
    mPanel.SetSize(480, 288); // 5 x 3 inches
    auto* frame = Add(std::make_unique<TGLabelShapes>());
    frame->SetBounds(0, 0, 480, 288);
    frame->SetTransparent(true);
    TGPen thick;
    thick.width = 3;
    frame->SetPen(thick);
    auto* rounded = Add(std::make_unique<TGLabelShapes>());
    rounded->SetShape(TGShapeType::stRoundRect);
    rounded->SetRoundPerc(50);
    rounded->SetBounds(20, 20, 200, 50);
    TGBrush grey;
    grey.color = TGColor::Rgb(200, 200, 200);
    rounded->SetBrush(grey);
    auto* ellipse = Add(std::make_unique<TGLabelShapes>());
    ellipse->SetShape(TGShapeType::stEllipse);
    ellipse->SetBounds(240, 20, 100, 50);
    auto* line = Add(std::make_unique<TGLineShape>());
    line->SetBounds(0, 96, 10, 4);
    TGPen four;
    four.width = 4;
    line->SetPen(four);
    line->StretchToEdges();
    auto* diagonal = Add(std::make_unique<TGLineShape>());
    diagonal->SetLineStyle(TGLineStyle::stAngleSlopingDown);
    diagonal->SetBounds(360, 20, 96, 60);
    auto* code = Add(std::make_unique<TGPostNetBarCode>());
    code->ConfigureDrawn();
    code->SetBounds(48, 192, 270, 16);
    auto* mark = Add(std::make_unique<TGFIMBarCode>());
    mark->SetFIMType(TGFIMType::fimTypeB);
    mark->SetBounds(384, 144, 60, 60);
    AddRecord({{"ZIP", "62704-1234"}, {"STREET", "123 MAIN ST"}});

    const QByteArray stream =
        test::Record([this](print::TBaseReport& r) { PrintItem(r, 1.0, 1.0); });
    QTemporaryDir out;
    const int dpi = 300;
    const QStringList files = print::RenderPng(stream, out.filePath("page-%d.png"), dpi);
    ASSERT_EQ(files.size(), 1);
    const QString shots = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        QFile::copy(files[0], QDir(shots).filePath("shapes-printed-page.png"));
    const QImage page(files[0]);
    ASSERT_FALSE(page.isNull());
    auto dark = [&](double xIn, double yIn) {
        return qGray(page.pixel(int(xIn * dpi), int(yIn * dpi))) < 100;
    };

    // POSTNET: the first frame bar at 1.5 inch, full height; a half bar's top part stays white.
    const double codeLeft = 1.0 + 0.5, codeTop = 1.0 + 2.0;
    EXPECT_TRUE(dark(codeLeft + 0.007, codeTop + 0.02));
    EXPECT_TRUE(dark(codeLeft + 0.007, codeTop + 0.12));
    EXPECT_FALSE(dark(codeLeft + 0.030, codeTop + 0.10)); // the gap after the first bar
    // Digit 6 is 01100: its first bar (the second bar overall) is half.
    EXPECT_FALSE(dark(codeLeft + 0.046 + 0.007, codeTop + 0.03));
    EXPECT_TRUE(dark(codeLeft + 0.046 + 0.007, codeTop + 0.11));
    // The last frame bar, 61 pitches on.
    EXPECT_TRUE(dark(codeLeft + 61 * 0.046 + 0.007, codeTop + 0.03));
    EXPECT_FALSE(dark(codeLeft + 62 * 0.046 + 0.007, codeTop + 0.11));

    // FIM B: slots 1 and 5 dark, slot 2 light.
    const double fimLeft = 1.0 + 4.0, fimTop = 1.0 + 1.5;
    EXPECT_TRUE(dark(fimLeft + 0.5 / 32, fimTop + 0.3));
    EXPECT_FALSE(dark(fimLeft + 1.5 / 32, fimTop + 0.3));
    EXPECT_TRUE(dark(fimLeft + 4.5 / 32, fimTop + 0.3));
    EXPECT_FALSE(dark(fimLeft + 0.5 / 32, fimTop + 0.6));

    // The stretched line crosses the whole panel at 1 inch down; the frame's inside stays white.
    EXPECT_TRUE(dark(1.0 + 2.5, 1.0 + 1.0 + 0.02));
    EXPECT_TRUE(dark(1.0 + 4.9, 1.0 + 1.0 + 0.02));
    EXPECT_FALSE(dark(1.0 + 2.5, 1.0 + 1.2));
    EXPECT_TRUE(dark(1.0 + 0.002, 1.0 + 1.5)); // the frame's left edge
}

} // namespace
} // namespace qm::design
