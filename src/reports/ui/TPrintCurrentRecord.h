#pragma once

// "Print Current Record": the main window's current record as a one-record sheet with the
// chosen fields and the memo. The window stays open after each run so the user can print again
// with other choices.

#include "reports/TRecordSheet.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QPushButton;

namespace qm::data {
class TDataSet;
}

namespace qm::reports {

class TPrintCurrentRecord : public QDialog {
public:
    static constexpr int kHelpContext = 1312;

    explicit TPrintCurrentRecord(data::TDataSet& dataSet, QWidget* parent = nullptr);

    QCheckBox* AllCheck() const { return mAll; }
    // The field check boxes in print order (TRecordSheet::Fields()).
    QCheckBox* FieldCheck(int index) const { return mFields[size_t(index)]; }
    std::array<bool, TRecordSheet::kFieldCount> Chosen() const;
    QPushButton* PrintButton() const { return mPrintButton; }
    QPushButton* PreviewButton() const { return mPreviewButton; }
    QPushButton* PrinterSetupButton() const { return mPrinterSetupButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

    void AllCheckClick();
    void PrintButtonClick();
    void PreviewButtonClick();
    void PrinterSetupButtonClick();
    void HelpButtonClick();

private:
    void RunSheet(bool preview);
    // The name a print to a PDF file is offered under: "Record - " and the record's name.
    QString PdfJobName() const;

    data::TDataSet& mDataSet;
    QCheckBox* mAll = nullptr;
    std::array<QCheckBox*, TRecordSheet::kFieldCount> mFields{};
    QPushButton* mPrintButton = nullptr;
    QPushButton* mPreviewButton = nullptr;
    QPushButton* mPrinterSetupButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::reports
