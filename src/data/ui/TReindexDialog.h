#pragma once

// The frame both reindex windows share: an introduction, a hidden status line and progress bar,
// and the Reindex, Cancel and Help buttons (in the order each window shows them). Reindex hides
// Cancel and Help, shows the bar and the line, runs the window's work with the hourglass, then
// closes the window.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qm::data {

class TReindexDialog : public QDialog {
public:
    enum class TButtonOrder { ReindexHelpCancel, ReindexCancelHelp };

    QPushButton* ReindexButton() const { return mReindexButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QPushButton* HelpButton() const { return mHelpButton; }
    QProgressBar* ProgressBar() const { return mProgressBar; }
    QLabel* StatusLabel() const { return mStatusLabel; }

protected:
    TReindexDialog(const QString& title, const QString& introduction, int helpContext,
                   TButtonOrder order, QWidget* parent);

    // The window's work, run when Reindex is pressed, with the bar and the line showing.
    virtual void Reindex() = 0;

private:
    void ReindexButtonClick();

    QLabel* mStatusLabel = nullptr;
    QProgressBar* mProgressBar = nullptr;
    QPushButton* mReindexButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::data
