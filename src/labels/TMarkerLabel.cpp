#include "labels/TMarkerLabel.h"

#include "labels/TLabelPrintLoop.h"
#include "labels/TLabelSheet.h"
#include "print/TBaseReport.h"

namespace qm::labels {

void TMarkerLabel::Print(print::TBaseReport& report, const TLabelSheet& sheet,
                         const TLabelSlot& slot)
{
    const double x = slot.corner.x();
    const double y = slot.corner.y();
    report.SetFont(QStringLiteral("Arial"), 8);
    report.TextInRect(report.MakeRect(x, y, x + sheet.HorizontalPitch(), y + sheet.VerticalPitch()),
                      x + 0.15, y + sheet.VerticalPitch() / 3.0, slot.marker);
}

} // namespace qm::labels
