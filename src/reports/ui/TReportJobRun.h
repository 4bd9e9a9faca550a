#pragma once

// One run of a report job with its status window: the job draws on the selected printer (print
// mode) or into a page stream in memory (preview mode), the status window shows its progress and
// takes Cancel or Stop, and after a preview that was not aborted the page preview opens.
//
// Contract: attach sets the job's handlers and gets the check the drawing loop asks before each
// record: it lets window events run (at most every ~30 ms) and returns false once the preview
// was stopped or the job aborted. Errors of the run show as an error box in the status window;
// a failed run opens no preview.

#include "print/ui/TPrintStatusWindow.h"

#include <functional>

class QWidget;

namespace qm::reports {

struct TReportJobSettings {
    print::TPrintStatusMode mode = print::TPrintStatusMode::Preview;
    print::TPrintStatusTexts texts;
    QString previewCaption;
    int previewZoom = 0; // TPreviewForm's kPageWidth, kWholePage or a percentage
    // A print on the "PDF file" printer first asks for its file under this name
    // (TPdfFileDialog::Choose); empty when a print dialog has asked already.
    QString pdfJobName;

    // A report of the address records (built-in or user-designed) printed or previewed: the
    // report status texts, "Preview Report" at page width.
    static TReportJobSettings RecordReport(bool preview);
};

class TReportJobRun {
public:
    using TKeepGoing = std::function<bool()>;
    using TAttach = std::function<void(print::TBaseReport& job, TKeepGoing keepGoing)>;
    // Called with each window the run opens (status window, preview), before it is shown;
    // tests use it to press buttons.
    using TWindowHook = std::function<void(QWidget& window)>;

    static void SetWindowHook(TWindowHook hook);

    // Returns whether the job ran to its end (not aborted, not failed, not cancelled in the
    // PDF file's save dialog).
    static bool Run(QWidget* parent, const TReportJobSettings& settings, const TAttach& attach);
};

// The status windows of the report commands: the shared print status window with each one's
// question and final texts.
class TReportStatusTexts {
public:
    static print::TPrintStatusTexts BuiltInReportPrint();
    static print::TPrintStatusTexts ZipReport();
    static print::TPrintStatusTexts SingleRecordPrint() { return BuiltInReportPrint(); }
};

} // namespace qm::reports
