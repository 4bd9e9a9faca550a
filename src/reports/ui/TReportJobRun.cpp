#include "reports/ui/TReportJobRun.h"

#include "data/ui/TEventPump.h"
#include "print/TReportFiler.h"
#include "print/TReportPrinter.h"
#include "print/ui/TPdfFileDialog.h"
#include "print/ui/TPreviewForm.h"

#include <QBuffer>
#include <QPointer>
#include <memory>

namespace qm::reports {
namespace {

TReportJobRun::TWindowHook& Hook()
{
    static TReportJobRun::TWindowHook hook;
    return hook;
}

void CallHook(QWidget& window)
{
    if (const TReportJobRun::TWindowHook hook = Hook())
        hook(window);
}

} // namespace

void TReportJobRun::SetWindowHook(TWindowHook hook)
{
    Hook() = std::move(hook);
}

bool TReportJobRun::Run(QWidget* parent, const TReportJobSettings& settings, const TAttach& attach)
{
    const bool preview = settings.mode == print::TPrintStatusMode::Preview;
    if (!preview && !settings.pdfJobName.isEmpty() &&
        !print::TPdfFileDialog::Choose(parent, settings.pdfJobName))
        return false;
    std::unique_ptr<print::TBaseReport> job;
    if (preview) {
        auto filer = std::make_unique<print::TReportFiler>();
        filer->SetStreamMode(print::TStreamMode::smMemory);
        job = std::move(filer);
    } else {
        job = std::make_unique<print::TReportPrinter>();
    }
    print::TPrintStatusWindow window(*job, settings.mode, settings.texts, parent);
    QPointer<print::TPrintStatusWindow> guard(&window);
    data::TEventPump pump;
    print::TBaseReport* running = job.get();
    const TKeepGoing keepGoing = [&, running] {
        pump.Pump();
        return !running->Aborted() && !(guard && guard->StopRequested());
    };
    attach(*job, keepGoing);
    // A run that ends with an error is a failed run, whatever the status window shows.
    bool failed = false;
    if (print::TBaseReport::THandler print = job->OnPrint) {
        job->OnPrint = [print, &failed](print::TBaseReport& r) {
            try {
                print(r);
            } catch (...) {
                failed = true;
                throw;
            }
        };
    }
    CallHook(window);
    window.exec();
    const bool complete = !failed && !job->Aborted() && job->CurrentPage() > 0;
    if (preview && complete) {
        auto* filer = static_cast<print::TReportFiler*>(job.get());
        const QByteArray stream = static_cast<QBuffer*>(filer->Stream())->data();
        print::TPreviewForm form(stream, settings.previewCaption, settings.previewZoom, parent);
        CallHook(form);
        form.exec();
    }
    return complete && !window.StopRequested();
}

TReportJobSettings TReportJobSettings::RecordReport(bool preview)
{
    TReportJobSettings settings;
    settings.mode = preview ? print::TPrintStatusMode::Preview : print::TPrintStatusMode::Print;
    settings.texts = TReportStatusTexts::BuiltInReportPrint();
    settings.previewCaption = QStringLiteral("Preview Report");
    settings.previewZoom = print::TPreviewForm::kPageWidth;
    return settings;
}

print::TPrintStatusTexts TReportStatusTexts::BuiltInReportPrint()
{
    print::TPrintStatusTexts texts;
    texts.cancelQuestion = QStringLiteral("Cancel Report Printing?");
    texts.printCanceled = QStringLiteral("\rReport Print Canceled!");
    texts.previewCanceled = QStringLiteral("\rReport Preview Canceled!");
    texts.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    texts.printCompleted = QStringLiteral("\rReport Print Completed!");
    texts.previewReady = QStringLiteral("\rReport Preview Ready!");
    // The report windows' button reads "OK" when the run has ended; the ZIP count's keeps "Ok".
    texts.doneButton = QStringLiteral("OK");
    return texts;
}

print::TPrintStatusTexts TReportStatusTexts::ZipReport()
{
    print::TPrintStatusTexts texts;
    texts.cancelQuestion = QStringLiteral("Cancel Printing?");
    texts.previewReady = QStringLiteral("\rPreview Ready!");
    texts.doneButton = QStringLiteral("Ok");
    return texts;
}

} // namespace qm::reports
