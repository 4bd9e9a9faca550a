#pragma once

// What the two check windows share: the progress of a run (bar, count line, event pumping every
// ~30 ms, Cancel asking "Cancel operation?"), the result grid bound to the main window's data set
// with its Tag and Tag All commands, and the result index that is deleted when the window closes.

#include "maintenance/TRunProgress.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qm::addressbook {
class TAddressBook;
}

namespace qm::maintenance {

class TGridPanel;
class TResultIndex;

class TCheckDialogBase : public QDialog {
public:
    // Runs the "Tagging" window over the records the data set shows (the main window supplies it).
    using TTagAll = std::function<void()>;

    TCheckDialogBase(addressbook::TAddressBook& book, QWidget* parent);
    ~TCheckDialogBase() override;

    void SetTagAll(TTagAll tagAll) { mTagAll = std::move(tagAll); }
    // True when the user asked to rebuild the address file's indexes (a tag the check needs is
    // missing); the caller runs the rebuild after the window closed.
    bool RebuildWanted() const { return mRebuildWanted; }
    bool Running() const { return mRunning; }
    TGridPanel* Panel() const { return mPanel; }
    QString CountText() const;
    // Called after each record of a run (tests press Cancel from here).
    void SetAfterRecordHook(std::function<void(const TRunStep&)> hook)
    {
        mAfterRecord = std::move(hook);
    }

    void TagButtonClick();
    void TagAllButtonClick(const QString& question);
    void GridDblClick(const QModelIndex& index);

protected:
    // The progress callback of a run: bar, count line (text made by countText), events, stop.
    TRunProgress Progress(std::function<QString(uint32_t)> countText);
    void AskCancel();
    // Handles a failed run: the message, and for a missing tag the rebuild question.
    void ShowFailure(const std::exception& error);
    // Makes the grid panel show the records of the data set's current order.
    void ShowResults();
    void DropResults();
    void reject() override;
    void done(int result) override;

    addressbook::TAddressBook& mBook;
    std::unique_ptr<TResultIndex> mIndex;
    TGridPanel* mPanel = nullptr;
    QProgressBar* mBar = nullptr;
    QLabel* mCount = nullptr;
    QPushButton* mCancel = nullptr;
    QPushButton* mHelp = nullptr;
    bool mRunning = false;
    bool mStop = false;
    bool mRebuildWanted = false;
    TTagAll mTagAll;
    std::function<void(const TRunStep&)> mAfterRecord;
};

} // namespace qm::maintenance
