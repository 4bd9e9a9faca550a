#pragma once

// "Print Labels": the user's label layouts (LABEL rows) with the chosen row's sheet, the row
// commands (Modify, New, Delete, Clone), which records to print, presort for bulk mail, the
// printer, and the Print and Preview commands.
//
// Contract: opened modally by the main window with its address table (through the engine
// wrapper) handed over; the window changes the table's query, order, record and exact matching
// only for the length of one command and puts them back afterwards, also after an error or a
// cancel (TLabelJobScope). The LABEL table is open for the window's lifetime. The presort file
// of the program home is deleted when the window is first shown.

#include "design/core/TGDataPanel.h"
#include "labels/TLabelLayoutStore.h"
#include "labels/TLabelPrintChoices.h"
#include "labels/TLabelSelection.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace qm::data {
class TApollo;
}

namespace qm::labels {

class TLabelSetupScreen : public QDialog {
public:
    static constexpr int kHelpContext = 1070;

    // filterSet: the main window has a filter ("Records matching filter" is offered).
    TLabelSetupScreen(data::TApollo& apollo, bool filterSet, QWidget* parent = nullptr);
    ~TLabelSetupScreen() override;

    // Empty when LABEL.DBF is open, else the message the main window shows instead.
    const QString& OpenFailure() const { return mOpenFailure; }

    // Called with every window this one opens (selection, presort, status, preview) just before
    // it runs (tests).
    using TDialogHook = std::function<void(QDialog&)>;
    void SetDialogHook(TDialogHook hook) { mDialogHook = std::move(hook); }

    const TLabelPrintChoices& Choices() const { return mChoices; }
    const TLabelSelection& Selection() const { return mSelection; }
    int LabelsPerRecord() const { return mLabelsPerRecord; }
    int CurrentRow() const;
    void SelectRow(int row);
    QString PresortPath() const;
    // The page stream of the last preview shown (tests compare what it draws).
    const QByteArray& LastPreviewStream() const { return mLastPreview; }

    // The controls, named as the window's parts.
    QTableWidget* LayoutGrid() const { return mLayoutGrid; }
    QLineEdit* DetailField(const QString& caption) const;
    QPushButton* ModifyButton() const { return mModifyButton; }
    QPushButton* NewButton() const { return mNewButton; }
    QPushButton* DeleteButton() const { return mDeleteButton; }
    QPushButton* CloneButton() const { return mCloneButton; }
    QGroupBox* WhatToPrintPanel() const { return mWhatPanel; }
    QRadioButton* AllRecordsChoice() const { return mAllChoice; }
    QRadioButton* FilterChoice() const { return mFilterChoice; }
    QRadioButton* CurrentChoice() const { return mCurrentChoice; }
    QCheckBox* StartFromCurrentCheck() const { return mStartCheck; }
    QCheckBox* PresortCheck() const { return mPresortCheck; }
    QGroupBox* PrinterPanel() const { return mPrinterPanel; }
    QComboBox* PrinterList() const { return mPrinterList; }
    QPushButton* PreviewButton() const { return mPreviewButton; }
    QPushButton* PrintButton() const { return mPrintButton; }
    QPushButton* OkButton() const { return mOkButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

    void ModifyButtonClick();
    void NewButtonClick();
    void DeleteButtonClick();
    void CloneButtonClick();
    void PreviewButtonClick() { PrintOrPreview(true); }
    void PrintButtonClick() { PrintOrPreview(false); }
    void PrinterListChange(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void FillList(int selectRow);
    void ShowRow();
    void UpdateControls();
    // New (row -1) and Modify: the label designer on the row; the list shows what it saved.
    void Design(int row);
    void ScopeClick(TLabelScope scope);
    void PrintOrPreview(bool preview);
    // The steps of a command after the table was handed to the job; false ends the command.
    void RunCommand(bool preview);
    int RunDialog(QDialog& dialog);

    data::TApollo& mApollo;
    TLabelLayoutStore mStore;
    QString mOpenFailure;
    TLabelPrintChoices mChoices;
    TLabelSelection mSelection;
    int mLabelsPerRecord = 1;
    design::TGDataPanel mPanel;
    TDialogHook mDialogHook;
    bool mActivated = false;
    QByteArray mLastPreview;

    QTableWidget* mLayoutGrid = nullptr;
    std::vector<std::pair<QString, QLineEdit*>> mDetails;
    QPushButton* mModifyButton = nullptr;
    QPushButton* mNewButton = nullptr;
    QPushButton* mDeleteButton = nullptr;
    QPushButton* mCloneButton = nullptr;
    QGroupBox* mWhatPanel = nullptr;
    QRadioButton* mAllChoice = nullptr;
    QRadioButton* mFilterChoice = nullptr;
    QRadioButton* mCurrentChoice = nullptr;
    QCheckBox* mStartCheck = nullptr;
    QCheckBox* mPresortCheck = nullptr;
    QGroupBox* mPrinterPanel = nullptr;
    QComboBox* mPrinterList = nullptr;
    QPushButton* mPreviewButton = nullptr;
    QPushButton* mPrintButton = nullptr;
    QPushButton* mOkButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::labels
