#pragma once

// "Check and Repair Duplicates": the set-up panel (what to check, how many street characters), the
// run with its progress and Cancel, then the grid of the records found, edited in place, with
// Delete, Save, Undo, Tag and Tag All. The check runs once per opening. The main window hands the
// records over (query "!ISDEL", controls disabled) and takes them back afterwards.

#include "maintenance/TDuplicateCheckRun.h"
#include "maintenance/ui/TCheckDialogBase.h"

class QGroupBox;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace qm::maintenance {

class TDuplicateCheckDialog : public TCheckDialogBase {
public:
    static constexpr int kHelpContext = 1044;
    static constexpr const char* kClassName = "TDuplicateCheckDialog";

    TDuplicateCheckDialog(addressbook::TAddressBook& book, QWidget* parent = nullptr);
    ~TDuplicateCheckDialog() override;

    QRadioButton* NameRadio() const { return mName; }
    QRadioButton* InitialRadio() const { return mInitial; }
    QRadioButton* StreetRadio() const { return mStreet; }
    QSpinBox* StreetChars() const { return mChars; }
    QPushButton* PerformButton() const { return mPerform; }
    const TDuplicateCheckRun::TOutcome& Outcome() const { return mOutcome; }

    void PerformButtonClick();
    void DeleteButtonClick();
    void SaveButtonClick();
    void UndoButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

protected:
    void done(int result) override;

private:
    void KindChanged();
    static QString FoundText(uint32_t count);

    QWidget* mSetUp = nullptr;
    QRadioButton* mName = nullptr;
    QRadioButton* mInitial = nullptr;
    QRadioButton* mStreet = nullptr;
    QWidget* mCharsRow = nullptr;
    QSpinBox* mChars = nullptr;
    QPushButton* mPerform = nullptr;
    QPushButton* mOk = nullptr;
    int mStreetColumnWas = -1;
    TDuplicateCheckRun::TOutcome mOutcome;
};

} // namespace qm::maintenance
