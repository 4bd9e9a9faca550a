#include "design/objects/TGBaseLabel.h"

#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"

namespace qm::design {

TGBaseLabel::TGBaseLabel()
{
    SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
}

void TGBaseLabel::TextChanged()
{
    mLayoutDirty = true;
    Invalidate();
}

void TGBaseLabel::SetAlignment(TGAlignment alignment)
{
    mAlignment = alignment;
    TextChanged();
}

void TGBaseLabel::SetDepthHighlight(int depth)
{
    mDepthHighlight = depth;
    TextChanged();
}

void TGBaseLabel::SetDepthShadow(int depth)
{
    mDepthShadow = depth;
    TextChanged();
}

void TGBaseLabel::SetDirectionHighlight(TGHighlightDirection direction)
{
    mDirectionHighlight = direction;
    TextChanged();
}

void TGBaseLabel::SetDirectionShadow(TGShadowDirection direction)
{
    mDirectionShadow = direction;
    TextChanged();
}

void TGBaseLabel::SetColorHighlight(TGColor color)
{
    mColorHighlight = color;
    Invalidate();
}

void TGBaseLabel::SetColorShadow(TGColor color)
{
    mColorShadow = color;
    Invalidate();
}

void TGBaseLabel::SetAngle(int degrees)
{
    if (degrees != 0 && degrees != 90 && degrees != 180 && degrees != 270)
        return;
    mAngle = degrees;
    TextChanged();
}

void TGBaseLabel::SetCaption(const QString& caption)
{
    mCaption = caption;
    TextChanged();
}

void TGBaseLabel::SetFont(const TGFont& font)
{
    mFont = font;
    TextChanged();
}

void TGBaseLabel::SetTransparent(bool on)
{
    mTransparent = on;
    Invalidate();
}

void TGBaseLabel::SetBackColor(TGColor color)
{
    mBackColor = color;
    Invalidate();
}

int TGBaseLabel::ScreenPointSize() const
{
    return TDesignUnits::Trunc(double(mFont.PointSize()) * double(Scale()));
}

void TGBaseLabel::WriteProperties(TLayoutWriter& out) const
{
    TGGraphicControl::WriteProperties(out);
    if (mAlignment != TGAlignment::taLeftJustify)
        out.PropertyEnum("Alignment", kAlignmentNames, int(mAlignment));
    if (mDepthHighlight != 0)
        out.PropertyInteger("DepthHighlight", mDepthHighlight);
    if (mDepthShadow != 0)
        out.PropertyInteger("DepthShadow", mDepthShadow);
    if (mDirectionHighlight != TGHighlightDirection::hdUpLeft)
        out.PropertyEnum("DirectionHighlight", kHighlightDirectionNames, int(mDirectionHighlight));
    if (mDirectionShadow != TGShadowDirection::sdDownRight)
        out.PropertyEnum("DirectionShadow", kShadowDirectionNames, int(mDirectionShadow));
    if (mColorHighlight != kDefaultHighlight)
        out.PropertyColor("colorHighlight", mColorHighlight);
    if (mColorShadow != kDefaultShadow)
        out.PropertyColor("colorShadow", mColorShadow);
    if (mAngle != 0)
        out.PropertyInteger("Angle", mAngle);
    out.PropertyString("Caption", mCaption);
    mFont.Write(out);
    out.PropertyBoolean("Transparent", mTransparent);
    out.PropertyColor("BackColor", mBackColor);
}

bool TGBaseLabel::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (InGroup(name, "Font.")) {
        if (!mFont.ReadMember(name.mid(5), value))
            return false;
        TextChanged();
        return true;
    }
    if (SameName(name, "Alignment"))
        SetAlignment(TGAlignment(value.AsEnum(kAlignmentNames)));
    else if (SameName(name, "DepthHighlight"))
        SetDepthHighlight(value.AsInteger());
    else if (SameName(name, "DepthShadow"))
        SetDepthShadow(value.AsInteger());
    else if (SameName(name, "DirectionHighlight"))
        SetDirectionHighlight(TGHighlightDirection(value.AsEnum(kHighlightDirectionNames)));
    else if (SameName(name, "DirectionShadow"))
        SetDirectionShadow(TGShadowDirection(value.AsEnum(kShadowDirectionNames)));
    else if (SameName(name, "colorHighlight"))
        SetColorHighlight(value.AsColor());
    else if (SameName(name, "colorShadow"))
        SetColorShadow(value.AsColor());
    else if (SameName(name, "Angle"))
        SetAngle(value.AsInteger());
    else if (SameName(name, "Caption"))
        SetCaption(value.AsString());
    else if (SameName(name, "Transparent"))
        SetTransparent(value.AsBoolean());
    else if (SameName(name, "BackColor"))
        SetBackColor(value.AsColor());
    else
        return TGGraphicControl::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
