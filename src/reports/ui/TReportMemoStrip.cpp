#include "reports/ui/TReportMemoStrip.h"

#include <QPainter>

namespace qm::reports {

TReportMemoStrip::TReportMemoStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MemoStrip"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TReportMemoStrip::SetText(const QString& text)
{
    mText = text;
    update();
}

void TReportMemoStrip::SetLook(const TReportSettings& settings)
{
    mMemoFont = QFont(settings.memoFontName);
    mMemoFont.setPointSize(std::max(1, settings.memoFontSize));
    mMemoFont.setBold(settings.memoBold);
    mMemoFont.setItalic(settings.memoItalic);
    switch (settings.memoAlignment) {
    case TMemoAlignment::Left:
        mAlignment = Qt::AlignLeft;
        break;
    case TMemoAlignment::Right:
        mAlignment = Qt::AlignRight;
        break;
    case TMemoAlignment::Centre:
        mAlignment = Qt::AlignHCenter;
        break;
    }
    update();
}

void TReportMemoStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xF4, 0xF4, 0xF4));
    painter.setFont(mMemoFont);
    painter.setPen(Qt::black);
    painter.drawText(rect().adjusted(2, 1, -2, -1),
                     int(mAlignment) | Qt::AlignTop | Qt::TextWordWrap, mText);
}

} // namespace qm::reports
