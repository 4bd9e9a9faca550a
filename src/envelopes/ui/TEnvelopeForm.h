#pragma once

// The envelope print status window: runs one envelope job (TEnvelopeRun) with the status window
// every printing window shares, with the envelope texts. Print: caption "Print Status", button
// "Cancel", which aborts the job at once. Preview: caption "Preview Status", button "Stop", which
// ends the run before the next envelope. When the job has ended the window closes itself.

#include "envelopes/TEnvelopeRun.h"
#include "print/ui/TPrintStatusWindow.h"

class QTimer;

namespace qm::envelopes {

class TEnvelopeForm : public print::TPrintStatusWindow {
public:
    // The run and the job must outlive the window; the run is attached to the job here.
    TEnvelopeForm(TEnvelopeRun& run, print::TBaseReport& job, print::TPrintStatusMode mode,
                  QWidget* parent = nullptr);
    ~TEnvelopeForm() override;

    static print::TPrintStatusTexts Texts(print::TPrintStatusMode mode);
    // The job ended cancelled or failed (the window then showed the error and its cancel text).
    bool Failed() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TEnvelopeRun& mRun;
    print::TBaseReport& mJob;
    QTimer* mCloser = nullptr;
};

} // namespace qm::envelopes
