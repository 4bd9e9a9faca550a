#pragma once

// "Rebuild System Indexes": packs and reindexes the six system tables in sysdata/, one after
// another, with a progress bar and a line naming the table at work.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qm::data {

class TRebuildSystemIndexesDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1039;

    explicit TRebuildSystemIndexesDialog(QString sysdataDir, QWidget* parent = nullptr);

    QPushButton* ReindexButton() const { return mReindexButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QProgressBar* ProgressBar() const { return mProgressBar; }
    // Every text line shown during the last run, in order.
    QStringList ShownTexts() const { return mShownTexts; }

private:
    void ReindexButtonClick();

    QString mSysdataDir;
    QStringList mShownTexts;
    QLabel* mStatusLabel = nullptr;
    QProgressBar* mProgressBar = nullptr;
    QPushButton* mReindexButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::data
