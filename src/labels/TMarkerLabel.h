#pragma once

// The label a presorted job prints for a marker line ("** 5-digit 12345", "** ADC FARGO ND  580",
// ...): the line's text in Arial 8 at 0.15 in from the label's left edge and a third of the
// vertical pitch down, clipped to the label's pitch rectangle. A sheet that stores no pitch in
// one direction (a single column or row) uses the label's size there. The printer, the preview
// and the command-line tool all draw markers through it.

#include <QSizeF>

namespace qm::print {
class TBaseReport;
}

namespace qm::labels {

class TLabelSheet;
struct TLabelSlot;

class TMarkerLabel {
public:
    // Draws the marker of slot (slot.IsMarker()) on the running job's current page, leaving the
    // job's font at Arial 8.
    static void Print(print::TBaseReport& report, const TLabelSheet& sheet, const TLabelSlot& slot);
    // The marker's box in inches: the sheet's pitch, or the label's size where a pitch is 0.
    static QSizeF Pitch(const TLabelSheet& sheet);
};

} // namespace qm::labels
