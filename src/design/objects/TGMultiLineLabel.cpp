#include "design/objects/TGMultiLineLabel.h"

#include "design/objects/TMultiLineText.h"

namespace qm::design {

void TGMultiLineLabel::ApplyLines(const QStringList& lines)
{
    SetItems(lines);
    Rewrap();
    Invalidate();
    NotifyChanged();
}

void TGMultiLineLabel::ConfigureDrawn(const TGFont& panelFont)
{
    SetFont(panelFont);
}

void TGMultiLineLabel::ToggleWordWrap()
{
    SetWordWrap(!WordWrap()); // re-wraps
    NotifyChanged();
}

void TGMultiLineLabel::ChangeFont(const TGFont& font)
{
    SetFont(font); // re-wraps
    NotifyChanged();
}

void TGMultiLineLabel::Paint(QPainter& painter)
{
    TMultiLineText::Paint(*this, painter);
}

void TGMultiLineLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    TMultiLineText::Print(*this, canvas, x, y);
}

bool TGMultiLineLabel::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (!TGMultiLineBaseLabel::ReadProperty(name, value))
        return false;
    // Items, font and flag may arrive in any order; the wrapped lines follow each of them.
    Rewrap();
    return true;
}

} // namespace qm::design
