#include "labels/ui/TLabelPrinter.h"

#include "print/TReportFiler.h"
#include "print/TReportPrinter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>

namespace qm::labels {

TLabelPrinter::TLabelPrinter(TLabelJobDrawer& drawer, bool preview)
    : mDrawer(drawer), mPreview(preview)
{
}

print::TPrintStatusTexts TLabelPrinter::Texts(bool preview)
{
    print::TPrintStatusTexts texts;
    texts.caption = preview ? QStringLiteral("Preview Status") : QStringLiteral("Print Status ");
    texts.cancelQuestion = QStringLiteral("Cancel Label Printing?");
    texts.printCanceled = QStringLiteral("\rLabel Print Canceled!");
    texts.previewCanceled = QStringLiteral("\rLabel Preview Canceled!");
    texts.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    // %2: the barcode notes of the job (skipped pieces, the counter), see TLabelJobDrawer.
    texts.printCompleted = QStringLiteral("\rLabel Print Completed!%2");
    texts.closeAfterPreview = true;
    return texts;
}

TLabelPrinter::TOutcome TLabelPrinter::Run(QWidget* parent, const TRunDialog& runDialog)
{
    TOutcome outcome;
    QBuffer buffer(&outcome.stream);
    std::unique_ptr<print::TBaseReport> job;
    if (mPreview) {
        auto filer = std::make_unique<print::TReportFiler>();
        buffer.open(QIODevice::ReadWrite);
        filer->SetStreamMode(print::TStreamMode::smUser);
        filer->SetStream(&buffer);
        job = std::move(filer);
    } else {
        job = std::make_unique<print::TReportPrinter>();
    }
    job->ClearHandlers();

    print::TPrintStatusWindow window(
        *job, mPreview ? print::TPrintStatusMode::Preview : print::TPrintStatusMode::Print,
        Texts(mPreview), parent);
    job->OnBeforePrint = [this](print::TBaseReport& report) {
        TLabelJobDrawer::BeforePrint(report, mPreview);
    };
    job->OnPrint = [&](print::TBaseReport& report) {
        // Window messages (Stop, Cancel) run after the first label and then at most every 30 ms.
        QElapsedTimer sincePump;
        bool first = true;
        outcome.result = mDrawer.Print(report, [&] {
            if (first || sincePump.elapsed() >= 30) {
                first = false;
                QCoreApplication::processEvents();
                sincePump.restart();
            }
            return !window.StopRequested() && !report.Aborted();
        });
    };
    runDialog(window);
    // A job that failed part way (the status window reported the error and shows the cancel
    // text) did not finish either: no preview of half a job, no counter moved on.
    const print::TPrintStatusTexts texts = Texts(mPreview);
    const QString& canceled = mPreview ? texts.previewCanceled : texts.printCanceled;
    outcome.aborted = job->Aborted() || !window.Finished() || job->CurrentPage() == 0 ||
                      job->StatusFormat() == canceled;
    outcome.stopped = window.StopRequested();
    buffer.close();
    return outcome;
}

} // namespace qm::labels
