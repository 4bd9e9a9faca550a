#pragma once

// The label print status window's job: runs one label job on the printer (TReportPrinter) or
// into a page stream in memory (TReportFiler) under the shared print status window with the
// label texts: "Print Status " with "Cancel" (asking "Cancel Label Printing?", then throwing the
// printer document away at once) or "Preview Status" with "Stop". A finished preview closes the
// status window so that the preview can open.

#include "labels/TLabelJobDrawer.h"
#include "print/ui/TPrintStatusWindow.h"

#include <QByteArray>
#include <functional>

class QDialog;
class QWidget;

namespace qm::labels {

class TLabelPrinter {
public:
    struct TOutcome {
        bool aborted = false; // cancelled, or the job could not start (no printer)
        bool stopped = false; // a preview stopped early: its pages so far are shown
        QByteArray stream;    // the preview's page stream
        TLabelRunResult result;
    };
    using TRunDialog = std::function<int(QDialog&)>;

    TLabelPrinter(TLabelJobDrawer& drawer, bool preview);

    static print::TPrintStatusTexts Texts(bool preview);

    // Shows the status window (through runDialog) and runs the job in it.
    TOutcome Run(QWidget* parent, const TRunDialog& runDialog);

private:
    TLabelJobDrawer& mDrawer;
    bool mPreview;
};

} // namespace qm::labels
