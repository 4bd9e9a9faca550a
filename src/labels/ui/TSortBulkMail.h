#pragma once

// "Bulk Mail Presorting": runs the presort (TPresortRun) over the address table as soon as it is
// shown, with one status line and a "Cancel" button that asks "Cancel PRESORT?" first. It closes
// by itself when the run ends; Succeeded() is true only for a finished run that was not
// cancelled (the presort file is then written). A failed run shows its error first.

#include "labels/TPresortRun.h"

#include <QDialog>
#include <atomic>

class QLabel;
class QPushButton;

namespace qm::data {
class TApollo;
}

namespace qm::labels {

class TSortBulkMail : public QDialog {
public:
    static constexpr int kHelpContext = 1072;

    TSortBulkMail(data::TApollo& apollo, const QString& presortPath, QWidget* parent = nullptr);

    bool Succeeded() const { return mSucceeded; }
    bool Finished() const { return mFinished; }
    const TPresortCounts& Counts() const { return mRun.Counts(); }

    QLabel* StatusLabel() const { return mStatusLabel; }
    QPushButton* CancelButton() const { return mCancelButton; }

    void CancelButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormActivate();

    TPresortRun mRun;
    std::atomic<bool> mCancel{false};
    bool mActivated = false;
    bool mRunning = false;
    bool mFinished = false;
    bool mSucceeded = false;
    QLabel* mStatusLabel = nullptr;
    QPushButton* mCancelButton = nullptr;
};

} // namespace qm::labels
