#pragma once

// The print status window the label, envelope and report printing windows share: a small modal
// window with the job's status line and one button. The job runs when the window is first
// shown. While printing the button reads "Cancel" (optionally asking first), while previewing
// "Stop"; when the job has ended it reads "Ok" (or the window's own caption, such as the
// reports' "OK") and the status line shows the final text, followed by "Written to" and the
// file's path when the print went to a file (the "PDF file" printer).
//
// Contract: the job is not owned and must outlive the window. The caller's drawing loop looks
// at StopRequested() (preview) and the job's Aborted() (print) after each record.

#include "print/TBaseReport.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace qm::print {

enum class TPrintStatusMode { Print, Preview };

// The texts each printing window gives the status window.
struct TPrintStatusTexts {
    QString caption;        // empty: "Print Status" or "Preview Status"
    QString cancelQuestion; // e.g. "Cancel Label Printing?"; empty: Cancel aborts at once
    QString questionCaption = QStringLiteral("CANCEL");
    QString printCanceled = QStringLiteral("\rPrint Canceled!");
    QString previewCanceled = QStringLiteral("\rPreview Canceled!");
    QString previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    QString printCompleted = QStringLiteral("\rPrint Completed!");
    QString previewReady;                      // empty: the format is left as it was
    QString doneButton = QStringLiteral("Ok"); // the button once the job has ended
    bool closeAfterPreview = false;            // a finished (not stopped) preview closes the window
};

class TPrintStatusWindow : public QDialog {
public:
    static constexpr int kHelpContext = 4021;

    TPrintStatusWindow(TBaseReport& job, TPrintStatusMode mode, TPrintStatusTexts texts,
                       QWidget* parent = nullptr);

    TPrintStatusMode Mode() const { return mMode; }
    bool StopRequested() const { return mStopped; }
    bool Finished() const { return mFinished; }
    QLabel* StatusLabel() const { return mStatusLabel; }
    QPushButton* CancelButton() const { return mCancelButton; }

    void CancelButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormActivate();

    TBaseReport& mJob;
    TPrintStatusMode mMode;
    TPrintStatusTexts mTexts;
    bool mActivated = false;
    bool mStopped = false;
    bool mFinished = false;
    bool mRunning = false;
    QLabel* mStatusLabel = nullptr;
    QPushButton* mCancelButton = nullptr;
};

} // namespace qm::print
