#include "design/ui/TGPanelView.h"

#include "design/core/TGBasePanel.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>

namespace qm::design {

TGPanelView::TGPanelView(TGBasePanel& panel, QWidget* parent) : QWidget(parent), mPanel(panel)
{
    mPanel.OnInvalidate = [this](const QRect& rect) { update(rect.adjusted(-1, -1, 1, 1)); };
    mPanel.OnProcessUpdates = [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    setMinimumSize(sizeHint());
}

TGPanelView::~TGPanelView()
{
    mPanel.OnInvalidate = nullptr;
    mPanel.OnProcessUpdates = nullptr;
}

QSize TGPanelView::sizeHint() const
{
    return QSize(mPanel.Width() + 1, mPanel.Height() + 1);
}

void TGPanelView::PaintPanel(TGBasePanel& panel, QPainter& painter)
{
    painter.fillRect(QRect(0, 0, panel.Width(), panel.Height()), Qt::white);
    for (const auto& object : panel.Objects()) {
        if (object->Width() <= 0 || object->Height() <= 0)
            continue;
        painter.save();
        painter.translate(object->Left(), object->Top());
        painter.setClipRect(QRect(0, 0, object->Width(), object->Height()));
        object->Paint(painter);
        painter.restore();
    }
}

void TGPanelView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    PaintPanel(mPanel, painter);
}

} // namespace qm::design
