#pragma once

// "Print Report": the built-in list reports of the open address file. The user picks a report,
// its title, memo and codes, and what to print, then prints (after the print dialog) or
// previews. Each run goes through TReportRunScope, so the table's order, query, scope and record
// are the same afterwards, also after a failed run.

#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace qm::data {
class TApollo;
class TDataSet;
} // namespace qm::data

namespace qm::reports {

enum class TRecordChoice;

class TReportSetup : public QDialog {
public:
    static constexpr int kHelpContext = 1310;

    // hasFilter: the main window has a filter expression ("Records matching filter" possible).
    TReportSetup(data::TDataSet& dataSet, data::TApollo& apollo, bool hasFilter,
                 QWidget* parent = nullptr);

    // The print dialog; replaced by tests. Returns whether the user chose to print.
    using TPrintDialog = std::function<bool(QWidget* parent)>;
    void SetPrintDialog(TPrintDialog dialog) { mPrintDialog = std::move(dialog); }

    QTabWidget* Tabs() const { return mTabs; }
    QListWidget* ReportList() const { return mReportList; }
    QLineEdit* TitleEdit() const { return mTitleEdit; }
    QCheckBox* PrintMemoCheck() const { return mPrintMemo; }
    QCheckBox* PrintCodesCheck() const { return mPrintCodes; }
    QRadioButton* AllButton() const { return mRbQAll; }
    QRadioButton* FilterButton() const { return mRbQFilter; }
    QRadioButton* CurrentButton() const { return mRbQCurrent; }
    QCheckBox* StartFromCurrentCheck() const { return mStartFromCurrent; }
    QPushButton* OkButton() const { return mOkButton; }
    QPushButton* PrintButton() const { return mPrintButton; }
    QPushButton* PreviewButton() const { return mPreviewButton; }
    QPushButton* PrinterSetupButton() const { return mPrinterSetupButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

    void ReportListChange();
    void PrintButtonClick();
    void PreviewButtonClick();
    void PrinterSetupButtonClick();
    void HelpButtonClick();

private:
    void RunReport(bool preview);
    TRecordChoice Choice() const;

    data::TDataSet& mDataSet;
    data::TApollo& mApollo;
    TPrintDialog mPrintDialog;

    QTabWidget* mTabs = nullptr;
    QListWidget* mReportList = nullptr;
    QLineEdit* mTitleEdit = nullptr;
    QCheckBox* mPrintMemo = nullptr;
    QCheckBox* mPrintCodes = nullptr;
    QGroupBox* mWhatToPrint = nullptr;
    QRadioButton* mRbQAll = nullptr;
    QRadioButton* mRbQFilter = nullptr;
    QRadioButton* mRbQCurrent = nullptr;
    QCheckBox* mStartFromCurrent = nullptr;
    QPushButton* mOkButton = nullptr;
    QPushButton* mPrintButton = nullptr;
    QPushButton* mPreviewButton = nullptr;
    QPushButton* mPrinterSetupButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

// The print dialog of the report windows: only the printer choice takes effect there, so the
// page range and copies are offered disabled. Returns whether the user chose to print.
bool ShowReportPrintDialog(QWidget* parent);

} // namespace qm::reports
