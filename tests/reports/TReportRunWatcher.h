#pragma once

// The status windows and previews of a report run, answered as a user would: a status window is
// closed once its run has finished (with Stop or Cancel pressed once while it runs, when asked
// to), and a preview is read and closed. What they showed is kept for the test to check.

#include "TScreenshot.h"
#include "print/ui/TPreviewForm.h"
#include "print/ui/TPrintStatusWindow.h"
#include "reports/ui/TReportJobRun.h"

#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

namespace qm::test {

class TReportRunWatcher {
public:
    // pressCancel: press the status window's button once while the run goes (Stop or Cancel).
    // screenshots: save each window as it ends ("report-status", "report-preview").
    explicit TReportRunWatcher(bool pressCancel = false, bool screenshots = false)
    {
        reports::TReportJobRun::SetWindowHook([this, pressCancel, screenshots](QWidget& window) {
            if (auto* status = dynamic_cast<print::TPrintStatusWindow*>(&window)) {
                mCaptions << status->windowTitle();
                auto* timer = new QTimer(status);
                timer->setInterval(1);
                bool pressed = false;
                QObject::connect(timer, &QTimer::timeout, status, [=, this]() mutable {
                    if (!status->Finished()) {
                        if (pressCancel && !pressed && status->isVisible()) {
                            pressed = true;
                            status->CancelButton()->click();
                        }
                        return;
                    }
                    if (screenshots)
                        SaveScreenshot(*status, "report-status");
                    mFinal << status->StatusLabel()->text();
                    mButtons << status->CancelButton()->text();
                    timer->stop();
                    status->CancelButton()->click();
                });
                timer->start();
            } else if (auto* preview = dynamic_cast<print::TPreviewForm*>(&window)) {
                mPreviews << preview->windowTitle();
                QTimer::singleShot(0, preview, [this, preview, screenshots] {
                    mPreviewPages << (preview->Preview() ? preview->Preview()->PageCount() : 0);
                    if (screenshots)
                        SaveScreenshot(*preview, "report-preview");
                    preview->OkButton()->click();
                });
            }
        });
    }
    ~TReportRunWatcher() { reports::TReportJobRun::SetWindowHook({}); }
    TReportRunWatcher(const TReportRunWatcher&) = delete;
    TReportRunWatcher& operator=(const TReportRunWatcher&) = delete;

    QStringList mCaptions, mFinal, mButtons, mPreviews;
    QList<int> mPreviewPages;
};

} // namespace qm::test
