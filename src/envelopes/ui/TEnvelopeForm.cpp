#include "envelopes/ui/TEnvelopeForm.h"

#include "data/ui/TEventPump.h"

#include <QTimer>
#include <memory>

namespace qm::envelopes {

print::TPrintStatusTexts TEnvelopeForm::Texts(print::TPrintStatusMode mode)
{
    print::TPrintStatusTexts texts;
    texts.caption = mode == print::TPrintStatusMode::Print ? QStringLiteral("Print Status")
                                                           : QStringLiteral("Preview Status");
    texts.printCanceled = QStringLiteral("\rEnvelope Print Canceled!");
    texts.previewCanceled = QStringLiteral("\rEnvelope Preview Canceled!");
    texts.previewStopped = QStringLiteral("\rPreview Stopped!");
    return texts;
}

TEnvelopeForm::TEnvelopeForm(TEnvelopeRun& run, print::TBaseReport& job,
                             print::TPrintStatusMode mode, QWidget* parent)
    : TPrintStatusWindow(job, mode, Texts(mode), parent), mRun(run), mJob(job)
{
    setObjectName(QStringLiteral("TEnvelopeForm"));
    mRun.SetPreview(mode == print::TPrintStatusMode::Preview);
    mRun.Attach(job);
    auto pump = std::make_shared<data::TEventPump>();
    mRun.AfterEnvelope = [this, pump](int, uint32_t) {
        // Let the button answer between envelopes; Stop then ends the run.
        pump->Pump();
        if (StopRequested())
            mRun.Stop();
    };
    mCloser = new QTimer(this);
    mCloser->setInterval(20);
    connect(mCloser, &QTimer::timeout, this, [this] {
        if (!Finished())
            return;
        mCloser->stop();
        accept();
    });
}

bool TEnvelopeForm::Failed() const
{
    const print::TPrintStatusTexts texts = Texts(Mode());
    const QString& canceled =
        Mode() == print::TPrintStatusMode::Print ? texts.printCanceled : texts.previewCanceled;
    return Finished() && mJob.StatusFormat() == canceled;
}

TEnvelopeForm::~TEnvelopeForm()
{
    mRun.AfterEnvelope = nullptr;
}

void TEnvelopeForm::showEvent(QShowEvent* event)
{
    TPrintStatusWindow::showEvent(event);
    mCloser->start();
}

} // namespace qm::envelopes
