#include "design/ui/TGPanelView.h"

#include "design/core/TGDataPanel.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

// Fills more than its bounds, so the test sees the clipping.
class TFillObject : public TGGraphicControl {
public:
    explicit TFillObject(QColor color) : mColor(color) {}
    QByteArray ClassName() const override { return "TFillObject"; }
    void Paint(QPainter& painter) override { painter.fillRect(-50, -50, 500, 500, mColor); }

private:
    QColor mColor;
};

QImage Render(TGPanelView& view)
{
    QImage image(view.sizeHint(), QImage::Format_RGB32);
    image.fill(Qt::black);
    view.render(&image);
    return image;
}

TEST(TGPanelView, PaintsThePageAndEachObjectClippedBottomFirst)
{
    TGDataPanel panel;
    panel.SetSize(100, 50);
    auto* bottom = panel.AddObject(std::make_unique<TFillObject>(Qt::red));
    bottom->SetBounds(10, 10, 30, 20);
    auto* top = panel.AddObject(std::make_unique<TFillObject>(Qt::blue));
    top->SetBounds(30, 10, 30, 20);
    TGPanelView view(panel);
    EXPECT_EQ(view.sizeHint(), QSize(101, 51));

    const QImage image = Render(view);
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(35, 15), QColor(Qt::blue)) << "the later object covers the earlier";
    EXPECT_EQ(image.pixelColor(65, 15), QColor(Qt::white)) << "objects are clipped to their bounds";
    EXPECT_EQ(image.pixelColor(15, 35), QColor(Qt::white));
}

TEST(TGPanelView, InstallsAndRemovesTheRepaintHooks)
{
    TGDataPanel panel;
    panel.SetSize(40, 40);
    {
        TGPanelView view(panel);
        EXPECT_TRUE(bool(panel.OnInvalidate));
        EXPECT_TRUE(bool(panel.OnProcessUpdates));
        auto* object = panel.AddObject(std::make_unique<TFillObject>(Qt::green));
        object->SetBounds(0, 0, 10, 10); // goes through the hook
        panel.RefreshData();
    }
    EXPECT_FALSE(bool(panel.OnInvalidate));
    EXPECT_FALSE(bool(panel.OnProcessUpdates));
    panel.ObjectAt(0)->SetLeft(5); // no view any more: nothing to call
}

} // namespace
} // namespace qm::design
