#pragma once

// The "Tagging" progress window of Tag All Filter Matches. The loop (TTagAllRun) starts as soon as
// the window shows; the status line counts the records tagged. "Cancel" asks "Cancel Tagging?" and
// on Yes stops after the current record. At the end the status reads "Complete" or "Cancelled
// before completion", Cancel gives way to "Ok", which closes the window. "Help" opens the window's
// help page at any time.

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace qm::addressbook {

class TAddressBook;

class TTaggingDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1035;

    TTaggingDialog(TAddressBook& book, QWidget* parent = nullptr);

    QString StatusText() const;
    bool Running() const { return mRunning; }
    int Tagged() const { return mTagged; }
    // Called after each record with the running count (tests click Cancel from here).
    void SetAfterRecordHook(std::function<void(int)> hook) { mAfterRecord = std::move(hook); }

    void CancelButtonClick();
    void OKButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void Run();

    TAddressBook& mBook;
    QLabel* mStatus = nullptr;
    QPushButton* mCancel = nullptr;
    QPushButton* mOk = nullptr;
    bool mStarted = false;
    bool mRunning = false;
    bool mStop = false;
    int mTagged = 0;
    std::function<void(int)> mAfterRecord;
};

} // namespace qm::addressbook
