// Every graphic kind painted by the plain panel view at 100 % and 200 %: zooming keeps outlines
// and bars in proportion. The pictures are saved to QM_SCREENSHOT_DIR when that is set.

#include "design/core/TGBasePanel.h"
#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGPostNetBarCode.h"
#include "design/text/TDesignUnits.h"
#include "design/ui/TGPanelView.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

QImage PaintPanel(TGBasePanel& panel, const char* name)
{
    QImage image(panel.Width(), panel.Height(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        TGPanelView::PaintPanel(panel, painter);
    }
    const QString shots = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        image.save(QDir(shots).filePath(QString::fromLatin1(name) + ".png"));
    return image;
}

bool Dark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 100;
}

TEST(TShapesScreenTest, GraphicKindsAtOneAndTwoTimes)
{
    TDesignUnits::SetPpiOverride(96);
    TGBasePanel panel;
    panel.SetSize(480, 240);
    auto add = [&panel](auto object) {
        return static_cast<decltype(object.get())>(panel.AddObject(std::move(object)));
    };
    auto* rounded = add(std::make_unique<TGLabelShapes>());
    rounded->SetShape(TGShapeType::stRoundRect);
    rounded->SetRoundPerc(30);
    rounded->SetBounds(10, 10, 150, 60);
    TGPen pen;
    pen.width = 3;
    rounded->SetPen(pen);
    auto* ellipse = add(std::make_unique<TGLabelShapes>());
    ellipse->SetShape(TGShapeType::stEllipse);
    ellipse->SetBounds(180, 10, 100, 60);
    TGBrush yellow;
    yellow.color = TGColor::Rgb(255, 255, 0);
    ellipse->SetBrush(yellow);
    auto* line = add(std::make_unique<TGLineShape>());
    line->SetBounds(0, 90, 10, 2);
    TGPen two;
    two.width = 2;
    line->SetPen(two);
    line->StretchToEdges();
    auto* up = add(std::make_unique<TGLineShape>());
    up->SetLineStyle(TGLineStyle::stAngleSlopingUp);
    up->SetBounds(300, 10, 80, 60);
    auto* code = add(std::make_unique<TGPostNetBarCode>());
    code->SetBounds(10, 120, 249, 12);
    auto* mark = add(std::make_unique<TGFIMBarCode>());
    mark->SetFIMType(TGFIMType::fimTypeC);
    mark->SetBounds(400, 120, 60, 54);

    QImage one = PaintPanel(panel, "shapes-screen-100");
    EXPECT_EQ(code->BoundsRect(), QRect(10, 120, 270, 16));
    EXPECT_EQ(mark->BoundsRect(), QRect(400, 120, 60, 60));
    one = PaintPanel(panel, "shapes-screen-100"); // after the objects took their sizes
    EXPECT_TRUE(Dark(one, 100, 91));              // the stretched line, rows 90..91
    EXPECT_TRUE(Dark(one, 400, 121));             // FIM C, slot 1
    EXPECT_FALSE(Dark(one, 404, 121));            // slot 2 is empty

    panel.SetScale(2.0f);
    const QImage two_ = PaintPanel(panel, "shapes-screen-200");
    EXPECT_EQ(code->BoundsRect().size(), QSize(540, 32));
    EXPECT_EQ(mark->BoundsRect().size(), QSize(120, 120));
    EXPECT_EQ(line->BoundsRect(), QRect(0, 180, 960, 4));
    EXPECT_EQ(line->ScreenPenWidth(), 4);
    EXPECT_TRUE(Dark(two_, 200, 183));
    EXPECT_FALSE(Dark(two_, 200, 184));
    EXPECT_TRUE(Dark(two_, 800, 241)); // FIM C slot 1, 6 pixels wide now
    EXPECT_TRUE(Dark(two_, 805, 241));
    EXPECT_FALSE(Dark(two_, 806, 241));
    TDesignUnits::SetPpiOverride(0);
}

} // namespace
} // namespace qm::design
