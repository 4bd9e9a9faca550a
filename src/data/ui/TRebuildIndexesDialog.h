#pragma once

// "Rebuild indexes for <file>": cleans out the open address file's deleted records and builds its
// tags again, with a progress bar. The work is TAddressFileRebuild's.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qm::data {

class TDataSet;

class TRebuildIndexesDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1040;

    explicit TRebuildIndexesDialog(TDataSet& dataSet, QWidget* parent = nullptr);

    // The message of a failed rebuild (empty when it succeeded or did not run).
    QString Failure() const { return mFailure; }

    QPushButton* ReindexButton() const { return mReindexButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QPushButton* HelpButton() const { return mHelpButton; }
    QProgressBar* ProgressBar() const { return mProgressBar; }
    QLabel* StatusLabel() const { return mStatusLabel; }

private:
    void ReindexButtonClick();

    TDataSet& mDataSet;
    QString mFailure;
    QLabel* mStatusLabel = nullptr;
    QProgressBar* mProgressBar = nullptr;
    QPushButton* mReindexButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::data
