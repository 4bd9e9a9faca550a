#include "labels/TMarkerLabel.h"

#include "labels/TLabelPrintLoop.h"
#include "labels/TLabelSheet.h"
#include "print/TBaseReport.h"

namespace qm::labels {

void TMarkerLabel::Print(print::TBaseReport& report, const TLabelSheet& sheet,
                         const TLabelSlot& slot)
{
    const QSizeF pitch = Pitch(sheet);
    const double x = slot.corner.x();
    const double y = slot.corner.y();
    report.SetFont(QStringLiteral("Arial"), 8);
    report.TextInRect(report.MakeRect(x, y, x + pitch.width(), y + pitch.height()), x + 0.15,
                      y + pitch.height() / 3.0, slot.marker);
}

QSizeF TMarkerLabel::Pitch(const TLabelSheet& sheet)
{
    // A single column or row may store no pitch (0): its marker keeps to the label instead of a
    // box of no width, which would clip the text away.
    return QSizeF(sheet.HorizontalPitch() > 0 ? sheet.HorizontalPitch() : sheet.LabelSize().width(),
                  sheet.VerticalPitch() > 0 ? sheet.VerticalPitch() : sheet.LabelSize().height());
}

} // namespace qm::labels
