#include "design/ui/TObjectPreview.h"

#include "design/core/TGGraphicControl.h"

#include <QPainter>

namespace qm::design {

TObjectPreview::TObjectPreview(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 60);
}

void TObjectPreview::SetObject(TGGraphicControl* object)
{
    mObject = object;
    update();
}

void TObjectPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!mObject)
        return;
    painter.translate((width() - mObject->Width()) / 2, (height() - mObject->Height()) / 2);
    mObject->Paint(painter);
}

} // namespace qm::design
