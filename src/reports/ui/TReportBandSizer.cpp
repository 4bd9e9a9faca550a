#include "reports/ui/TReportBandSizer.h"

#include <QMouseEvent>
#include <QPainter>

namespace qm::reports {

TReportBandSizer::TReportBandSizer(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("BandSizer"));
    setFixedHeight(kHeight);
    setCursor(Qt::SizeVerCursor);
    setToolTip(QStringLiteral("Drag to change the band's height"));
}

void TReportBandSizer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), isEnabled() ? QColor(0x80, 0x80, 0x80) : QColor(0xC0, 0xC0, 0xC0));
}

void TReportBandSizer::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        setCursor(isEnabled() ? Qt::SizeVerCursor : Qt::ArrowCursor);
        mDragging = false;
        update();
    }
    QWidget::changeEvent(event);
}

void TReportBandSizer::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    mDragging = true;
    // Global positions: the bar itself moves while the band above it grows.
    mPressY = event->globalPosition().y();
    if (OnPress)
        OnPress();
}

void TReportBandSizer::mouseMoveEvent(QMouseEvent* event)
{
    if (mDragging && OnDrag)
        OnDrag(int(event->globalPosition().y() - mPressY));
}

void TReportBandSizer::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !mDragging)
        return;
    if (OnDrag)
        OnDrag(int(event->globalPosition().y() - mPressY));
    mDragging = false;
    if (OnRelease)
        OnRelease();
}

} // namespace qm::reports
