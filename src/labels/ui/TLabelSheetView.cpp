#include "labels/ui/TLabelSheetView.h"

#include <QMouseEvent>
#include <QPainter>

namespace qm::labels {

TLabelSheetView::TLabelSheetView(const TLabelSheet& sheet, TLabelSelection& selection,
                                 QWidget* parent)
    : QWidget(parent), mPicture(sheet), mSelection(selection)
{
    setObjectName(QStringLiteral("SheetPicture"));
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

QSize TLabelSheetView::sizeHint() const
{
    return mPicture.AreaSize();
}

int TLabelSheetView::ToggleAt(const QPoint& point)
{
    const int position = mPicture.PositionAt(point);
    if (position >= 0) {
        mSelection.Toggle(position);
        update();
    }
    return position;
}

void TLabelSheetView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    // Rectangles are drawn as the sheet's pixels say: outline and fill within the rectangle.
    const auto draw = [&](const QRect& r) { painter.drawRect(r.adjusted(0, 0, -1, -1)); };
    draw(mPicture.PageRect());
    for (int position = 0; position < mPicture.Positions(); ++position) {
        painter.setBrush(mSelection.Selected(position) ? QColor(Qt::red) : QColor(Qt::white));
        draw(mPicture.LabelRect(position));
    }
}

void TLabelSheetView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ToggleAt(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

} // namespace qm::labels
