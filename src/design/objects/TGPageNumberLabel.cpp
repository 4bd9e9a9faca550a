#include "design/objects/TGPageNumberLabel.h"

#include "print/TBaseReport.h"

namespace qm::design {

void TGPageNumberLabel::Paint(QPainter& painter)
{
    const QString caption = QStringLiteral("##");
    if (Caption() != caption)
        SetCaption(caption);
    mText.Paint(*this, painter, caption);
}

void TGPageNumberLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    const QString caption = QString::number(canvas.CurrentPage());
    if (Caption() != caption)
        SetCaption(caption);
    mText.Print(*this, canvas, x, y, caption);
}

} // namespace qm::design
