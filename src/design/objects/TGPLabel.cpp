#include "design/objects/TGPLabel.h"

namespace qm::design {

void TGPLabel::Paint(QPainter& painter)
{
    mText.Paint(*this, painter, Caption());
}

void TGPLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    mText.Print(*this, canvas, x, y, Caption());
}

void TGPLabel::ConfigureDrawn(const TGFont& panelFont)
{
    SetCaption(QStringLiteral("<text>"));
    SetFont(panelFont);
}

void TGPLabel::ApplyText(const QString& caption)
{
    SetCaption(caption);
    FitWidth();
    Invalidate();
    NotifyChanged();
}

} // namespace qm::design
