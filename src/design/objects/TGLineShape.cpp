#include "design/objects/TGLineShape.h"

#include "design/core/TGBasePanel.h"
#include "design/objects/TGShapeScreen.h"
#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "print/TBaseReport.h"

#include <QPainter>

namespace qm::design {

TGLineShape::TGLineShape()
{
    SetReading(true);
    SetBounds(0, 0, kDefaultSize, kDefaultSize);
    SetReading(false);
}

void TGLineShape::SetLineStyle(TGLineStyle style)
{
    if (style == mLineStyle)
        return;
    mLineStyle = style;
    Invalidate();
}

void TGLineShape::SetPen(const TGPen& pen)
{
    mPen = pen;
    Invalidate();
}

void TGLineShape::StretchToEdges()
{
    TGBasePanel* panel = Panel();
    if (!panel)
        return;
    // At 100 %, so that the line reaches the edges at every zoom.
    if (mLineStyle == TGLineStyle::stHorizontal)
        SetDesignBounds(0, DesignTop(), panel->DesignWidth(), DesignHeight());
    else if (mLineStyle == TGLineStyle::stVertical)
        SetDesignBounds(DesignLeft(), 0, DesignWidth(), panel->DesignHeight());
}

int TGLineShape::ScreenPenWidth() const
{
    return TGShapeScreen::PenWidth(mPen.width, Scale());
}

QLine TGLineShape::ScreenLine() const
{
    const std::int64_t pw = ScreenPenWidth();
    const int c = int(pw / 2);
    switch (mLineStyle) {
    case TGLineStyle::stHorizontal:
        return QLine(c, c, TGShapeScreen::Clamped(std::int64_t(Width()) + c - pw + 1), c);
    case TGLineStyle::stVertical:
        return QLine(c, c, c, TGShapeScreen::Clamped(c + std::int64_t(Height()) - pw + 1));
    case TGLineStyle::stAngleSlopingUp:
        return QLine(Width(), 0, 0, Height());
    case TGLineStyle::stAngleSlopingDown:
        return QLine(0, 0, Width(), Height());
    }
    return {};
}

void TGLineShape::Paint(QPainter& painter)
{
    const int pw = ScreenPenWidth();
    const QLine line = ScreenLine();
    painter.save();
    TGShapeScreen::ApplyMode(painter, mPen.mode);
    painter.setPen(TGShapeScreen::ScreenPen(mPen, pw, true));
    // The display draws a pen centred on pixel centres and leaves the end point out; with flat
    // caps that is the segment between the two points' pixel edges, shifted by half a pixel
    // across the line for odd widths.
    const double across = (pw % 2) ? 0.5 : 0.0;
    switch (mLineStyle) {
    case TGLineStyle::stHorizontal:
        painter.drawLine(QPointF(line.x1(), line.y1() + across),
                         QPointF(line.x2(), line.y2() + across));
        break;
    case TGLineStyle::stVertical:
        painter.drawLine(QPointF(line.x1() + across, line.y1()),
                         QPointF(line.x2() + across, line.y2()));
        break;
    default:
        painter.drawLine(QPointF(line.x1() + 0.5, line.y1() + 0.5),
                         QPointF(line.x2() + 0.5, line.y2() + 0.5));
        break;
    }
    painter.restore();
}

void TGLineShape::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    const int width = TGShapeScreen::PrintablePenWidth(mPen.width);
    canvas.SetPen(TGShapeScreen::PrintColor(mPen.color), mPen.style, print::TPenMode::pmCopy,
                  -width);
    const std::int64_t h = mPen.width / 2;
    const double x1 = PrintLeft(x);
    const double x2 = x + TGShapeScreen::Inches(std::int64_t(Left()) + Width());
    const double y1 = y + TGShapeScreen::Inches(Top() + h);
    const double y2 = y + TGShapeScreen::Inches(Top() + h + Height());
    switch (mLineStyle) {
    case TGLineStyle::stHorizontal:
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y1);
        break;
    case TGLineStyle::stVertical:
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x1, y2);
        break;
    case TGLineStyle::stAngleSlopingUp:
        canvas.MoveTo(x1, y2);
        canvas.LineTo(x2, y1);
        break;
    case TGLineStyle::stAngleSlopingDown:
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
        break;
    }
}

void TGLineShape::WriteProperties(TLayoutWriter& out) const
{
    TGGraphicControl::WriteProperties(out);
    if (mLineStyle != TGLineStyle::stHorizontal)
        out.PropertyEnum("LineStyle", kLineStyleNames, int(mLineStyle));
    mPen.Write(out);
}

bool TGLineShape::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "LineStyle"))
        mLineStyle = TGLineStyle(value.AsEnum(kLineStyleNames));
    else if (InGroup(name, "Pen."))
        return mPen.ReadMember(name.mid(4), value);
    else
        return TGGraphicControl::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
