#include "design/objects/TGLabelShapes.h"

#include "design/objects/TGShapeScreen.h"
#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "print/TBaseReport.h"

#include <QPainter>
#include <algorithm>

namespace qm::design {

TGLabelShapes::TGLabelShapes()
{
    SetReading(true);
    SetBounds(0, 0, kDefaultSize, kDefaultSize);
    SetReading(false);
}

void TGLabelShapes::SetShape(TGShapeType shape)
{
    if (shape == mShape)
        return;
    mShape = shape;
    Invalidate();
}

void TGLabelShapes::SetPen(const TGPen& pen)
{
    mPen = pen;
    Invalidate();
}

void TGLabelShapes::SetBrush(const TGBrush& brush)
{
    mBrush = brush;
    Invalidate();
}

void TGLabelShapes::SetTransparent(bool on)
{
    mTransparent = on;
    mBrush.style = on ? print::TBrushStyle::bsClear : print::TBrushStyle::bsSolid;
    Invalidate();
}

void TGLabelShapes::SetRoundPerc(int percent)
{
    mRoundPerc = percent;
    Invalidate();
}

int TGLabelShapes::ScreenPenWidth() const
{
    return TGShapeScreen::PenWidth(mPen.width, Scale());
}

QRect TGLabelShapes::ScreenFigure() const
{
    const std::int64_t pw = ScreenPenWidth();
    const std::int64_t c = pw / 2;
    const std::int64_t w = std::int64_t(Width()) - pw + 1; // (Width + c - pw + 1) - c
    const std::int64_t h = std::int64_t(Height()) - pw + 1;
    return QRect(TGShapeScreen::Clamped(c), TGShapeScreen::Clamped(c), TGShapeScreen::Clamped(w),
                 TGShapeScreen::Clamped(h));
}

int TGLabelShapes::ScreenCorner() const
{
    return TDesignUnits::Trunc(mRoundPerc * 0.01 * std::max(Width(), Height()));
}

void TGLabelShapes::AfterCreate()
{
    mRoundedMenu = IsRounded();
}

void TGLabelShapes::Paint(QPainter& painter)
{
    const int pw = ScreenPenWidth();
    painter.save();
    TGShapeScreen::ApplyMode(painter, mPen.mode);
    painter.setPen(TGShapeScreen::ScreenPen(mPen, pw, false));
    painter.setBrush(TGShapeScreen::ScreenBrush(mBrush));
    const QRect figure = ScreenFigure();
    if (figure.width() > 0 && figure.height() > 0) {
        const QRectF stroke = TGShapeScreen::StrokeRect(figure, std::max(pw, 0));
        if (IsRounded()) {
            // A k x k corner ellipse has radii k / 2.
            const double r = ScreenCorner() / 2.0;
            painter.drawRoundedRect(stroke, r, r, Qt::AbsoluteSize);
        } else if (IsEllipse()) {
            painter.drawEllipse(stroke);
        } else {
            painter.drawRect(stroke);
        }
    }
    painter.restore();
}

void TGLabelShapes::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    const int ppi = TDesignUnits::Ppi();
    const int hundredths =
        TGShapeScreen::PrintablePenWidth(TDesignUnits::Trunc(double(mPen.width) / ppi * 100.0));
    canvas.SetPen(TGShapeScreen::PrintColor(mPen.color), mPen.style, mPen.mode, -hundredths);
    canvas.SetBrush(TGShapeScreen::PrintColor(mBrush.color), mBrush.style);
    const double x1 = PrintLeft(x);
    const double y1 = PrintTop(y);
    const double x2 = x + TGShapeScreen::Inches(std::int64_t(Left()) + Width());
    const double y2 = y + TGShapeScreen::Inches(std::int64_t(Top()) + Height());
    if (IsRounded()) {
        const double corner =
            mRoundPerc * 0.01 * TDesignUnits::ToInches(std::max(Width(), Height()));
        canvas.DrawRoundRect(x1, y1, x2, y2, corner, corner);
    } else if (IsEllipse()) {
        canvas.DrawEllipse(x1, y1, x2, y2);
    } else {
        canvas.DrawRectangle(x1, y1, x2, y2);
    }
}

void TGLabelShapes::WriteProperties(TLayoutWriter& out) const
{
    TGGraphicControl::WriteProperties(out);
    out.PropertyBoolean("Transparent", mTransparent);
    mBrush.Write(out);
    mPen.Write(out);
    if (mRoundPerc != kDefaultRoundPerc)
        out.PropertyInteger("RoundPerc", mRoundPerc);
    if (mShape != TGShapeType::stRectangle)
        out.PropertyEnum("Shape", kShapeTypeNames, int(mShape));
}

bool TGLabelShapes::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "Transparent"))
        SetTransparent(value.AsBoolean());
    else if (InGroup(name, "Brush."))
        return mBrush.ReadMember(name.mid(6), value);
    else if (InGroup(name, "Pen."))
        return mPen.ReadMember(name.mid(4), value);
    else if (SameName(name, "RoundPerc"))
        mRoundPerc = value.AsInteger();
    else if (SameName(name, "Shape"))
        mShape = TGShapeType(value.AsEnum(kShapeTypeNames));
    else
        return TGGraphicControl::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
