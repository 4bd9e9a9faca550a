#include "design/objects/TGMultiLineBaseLabel.h"

#include "design/objects/TMultiLineText.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"

namespace qm::design {

TGMultiLineBaseLabel::TGMultiLineBaseLabel()
{
    SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
}

void TGMultiLineBaseLabel::SetItems(const QStringList& lines)
{
    mItems = lines;
    Invalidate();
}

void TGMultiLineBaseLabel::SetAlignment(TGAlignment alignment)
{
    mAlignment = alignment;
    Invalidate();
}

void TGMultiLineBaseLabel::SetFont(const TGFont& font)
{
    mFont = font;
    Rewrap();
    Invalidate();
}

void TGMultiLineBaseLabel::SetWordWrap(bool on)
{
    mWordWrap = on;
    Rewrap();
    Invalidate();
}

void TGMultiLineBaseLabel::Rewrap()
{
    TMultiLineText::Rewrap(*this);
}

bool TGMultiLineBaseLabel::ShowsPlaceholder() const
{
    return !mPlaceholderLine.isEmpty() && mItems.size() == 1 && mItems.first() == mPlaceholderLine;
}

int TGMultiLineBaseLabel::ScreenPointSize() const
{
    return TDesignUnits::Trunc(double(mFont.PointSize()) * double(Scale()));
}

void TGMultiLineBaseLabel::WriteProperties(TLayoutWriter& out) const
{
    TGGraphicControl::WriteProperties(out);
    out.PropertyStrings("Items.Strings", mItems);
    out.PropertyBoolean("AutoSize", mAutoSize);
    if (mAlignment != TGAlignment::taLeftJustify)
        out.PropertyEnum("Alignment", kAlignmentNames, int(mAlignment));
    mFont.Write(out);
    if (mWordWrap)
        out.PropertyBoolean("WordWrap", mWordWrap);
}

bool TGMultiLineBaseLabel::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (InGroup(name, "Font.")) {
        if (!mFont.ReadMember(name.mid(5), value))
            return false;
        Invalidate();
        return true;
    }
    if (SameName(name, "Items.Strings"))
        SetItems(value.AsStrings());
    else if (SameName(name, "AutoSize"))
        mAutoSize = value.AsBoolean();
    else if (SameName(name, "Alignment"))
        SetAlignment(TGAlignment(value.AsEnum(kAlignmentNames)));
    else if (SameName(name, "WordWrap"))
        SetWordWrap(value.AsBoolean());
    else
        return TGGraphicControl::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
