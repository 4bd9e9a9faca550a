#include "design/ui/THRuler.h"

#include "design/text/TDesignUnits.h"

#include <QFont>
#include <QPainter>

namespace qm::design {

THRuler::THRuler(QWidget* parent) : QWidget(parent)
{
    resize(kDefaultWidth, kDefaultHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void THRuler::SetStartInch(double inch)
{
    mStartInch = inch;
    update();
}

void THRuler::SetColor(const QColor& color)
{
    mColor = color;
    update();
}

void THRuler::SetAlignHRuler(TAlign align)
{
    if (align == TAlign::alNone || align == TAlign::alTop || align == TAlign::alBottom)
        mAlign = align;
}

int THRuler::TickStep()
{
    return TDesignUnits::Ppi() / 16;
}

int THRuler::FirstTick() const
{
    return TDesignUnits::Trunc(mStartInch * 16);
}

void THRuler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), mColor);
    const QColor grey(0x80, 0x80, 0x80);
    painter.setPen(QPen(grey, 0));
    QFont font(QStringLiteral("SmallFonts"));
    font.setPointSize(7);
    painter.setFont(font);
    const int step = std::max(1, TickStep());
    const int h = height();
    int tick = FirstTick();
    for (int x = 0; x < width(); x += step, ++tick) {
        int length = h / 4;
        if (tick % 16 == 0)
            length = h;
        else if (tick % 8 == 0)
            length = h / 2;
        painter.drawLine(x, 0, x, length - 1);
        if (tick % 16 == 0 && tick != 0)
            painter.drawText(QRect(x + 3, h / 4, 40, h - h / 4), Qt::AlignLeft | Qt::AlignTop,
                             QString::number(tick / 16));
    }
}

} // namespace qm::design
