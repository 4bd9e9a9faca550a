#pragma once

// "Labels Print": shown by Print and Preview of the "Print Labels" window before every job. The
// sheet picture chooses the positions filled on every sheet (a click toggles one; All and None),
// the printer list is a copy of the window's (choosing sets the selected printer), and "Number
// of each label to print" (1 to 99) is hidden for a presorted job. Enter acts as Ok, Escape as
// Cancel. Ok refuses an empty selection and turns the printer to portrait.

#include "labels/TLabelSelection.h"
#include "labels/TLabelSheet.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qm::labels {

class TLabelSheetView;

class TSelectSpecificLabels : public QDialog {
public:
    static constexpr int kHelpContext = 1071;

    // The selection is fitted to the sheet (positions it lacks dropped, new ones selected).
    TSelectSpecificLabels(const TLabelSheet& sheet, const TLabelSelection& selection,
                          int labelsPerRecord, bool presort, QWidget* parent = nullptr);

    const TLabelSelection& Selection() const { return mSelection; }
    // The number per record; values below 1 count as 1.
    int LabelsPerRecord() const;

    TLabelSheetView* SheetView() const { return mSheetView; }
    QPushButton* AllButton() const { return mAllButton; }
    QPushButton* NoneButton() const { return mNoneButton; }
    QComboBox* PrinterList() const { return mPrinterList; }
    QSpinBox* CopiesEdit() const { return mCopiesEdit; }
    QLabel* CopiesLabel() const { return mCopiesLabel; }
    QPushButton* OkButton() const { return mOkButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

    void AllButtonClick();
    void NoneButtonClick();
    void PrinterListChange(int index);
    void OkButtonClick();

private:
    TLabelSelection mSelection;
    TLabelSheetView* mSheetView = nullptr;
    QPushButton* mAllButton = nullptr;
    QPushButton* mNoneButton = nullptr;
    QComboBox* mPrinterList = nullptr;
    QSpinBox* mCopiesEdit = nullptr;
    QLabel* mCopiesLabel = nullptr;
    QPushButton* mOkButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::labels
