#pragma once

// "Check State and Zip Codes": the set-up panel (the blank option), the run with its progress and
// Cancel, then the grid of the questionable records, edited in place, with Edit, Save, Cancel, Tag
// and Tag All. "Edit State/Province File" shows the state table editor in place of the set-up or
// result panel (its button then reads "Stop Editing"); a row the editor would save with an empty
// abbreviation or a starting ZIP after its ending ZIP is refused, naming the row.

#include "data/TDataSet.h"
#include "maintenance/TStateZipCheckRun.h"
#include "maintenance/ui/TCheckDialogBase.h"

class QCheckBox;

namespace qm::maintenance {

class TStateZipCheckDialog : public TCheckDialogBase {
public:
    static constexpr int kHelpContext = 1043;
    static constexpr const char* kClassName = "TStateZipCheckDialog";

    TStateZipCheckDialog(addressbook::TAddressBook& book, QWidget* parent = nullptr);
    ~TStateZipCheckDialog() override;

    QCheckBox* BlanksCheck() const { return mBlanks; }
    QPushButton* PerformButton() const { return mPerform; }
    QPushButton* EditTableButton() const { return mEditTable; }
    TGridPanel* EditorPanel() const { return mEditor; }
    data::TDataSet& StateTable() { return mStateTable; }
    const TStateZipCheckRun::TOutcome& Outcome() const { return mOutcome; }
    bool Editing() const { return mEditorShown; }

    void PerformButtonClick();
    void EditTableButtonClick();
    void EditButtonClick();
    void SaveButtonClick();
    void CancelEditButtonClick();
    void EditorDeleteButtonClick();
    void EditorSaveButtonClick();
    void EditorUndoButtonClick();
    void CloseButtonClick();
    void CancelButtonClick();

protected:
    void done(int result) override;

private:
    static QString FoundText(uint32_t count);
    bool OpenEditor();
    bool CloseEditor();

    QWidget* mSetUp = nullptr;
    QCheckBox* mBlanks = nullptr;
    QPushButton* mPerform = nullptr;
    QPushButton* mEditTable = nullptr;
    QPushButton* mClose = nullptr;
    QLabel* mResultText = nullptr;
    QWidget* mResults = nullptr;
    QWidget* mEditorPage = nullptr;
    TGridPanel* mEditor = nullptr;
    data::TDataSet mStateTable;
    bool mEditorShown = false;
    QWidget* mPanelBeforeEditor = nullptr;
    TStateZipCheckRun::TOutcome mOutcome;
};

} // namespace qm::maintenance
