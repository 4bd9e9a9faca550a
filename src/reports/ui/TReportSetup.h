#pragma once

// "Print Report": the built-in list reports of the open address file. The user picks a report,
// its title, memo and codes, and what to print, then prints (after the print dialog) or
// previews. Each run goes through TReportRunScope, so the table's order, query, scope and record
// are the same afterwards, also after a failed run.
//
// The "Report Designer" tab lists the user's own reports (the REPORT table, through
// TReportStore, open for the window's lifetime) and runs New, Modify, Delete and Clone on them.
// The designer edits; the store saves (layout file first, then the row), and a failed save keeps
// the designer open with the design. While a designer is open the address table's bound controls
// are enabled, so the main window's fields follow the designer's record buttons.

#include <QDialog>
#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace qm::data {
class TApollo;
class TDataSet;
} // namespace qm::data

namespace qm::reports {

enum class TRecordChoice;
class TReportDesigner;
class TReportStore;

class TReportSetup : public QDialog {
public:
    static constexpr int kHelpContext = 1310;

    // hasFilter: the main window has a filter expression ("Records matching filter" possible).
    TReportSetup(data::TDataSet& dataSet, data::TApollo& apollo, bool hasFilter,
                 QWidget* parent = nullptr);
    ~TReportSetup() override;

    // Empty when REPORT.DBF is open; else the message the main window shows instead of opening
    // the window.
    const QString& OpenFailure() const { return mOpenFailure; }
    TReportStore& Store() { return *mStore; }

    // Called with every report designer just before it runs (tests script it).
    using TDesignerHook = std::function<void(TReportDesigner&)>;
    void SetDesignerHook(TDesignerHook hook) { mDesignerHook = std::move(hook); }

    // The print dialog; replaced by tests. Returns whether the user chose to print.
    // The name a print to a PDF file is offered under: the built-in report's title (or
    // "Report N"), the user report's description.
    QString PdfJobName() const;
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
    // The "Report Designer" tab.
    QWidget* DesignerTab() const { return mDesignerTab; }
    QTableWidget* DesignGrid() const { return mDesignGrid; }
    QPushButton* ModifyButton() const { return mModifyButton; }
    QPushButton* NewButton() const { return mNewButton; }
    QPushButton* DeleteButton() const { return mDeleteButton; }
    QPushButton* CloneButton() const { return mCloneButton; }
    QCheckBox* OnePerPageCheck() const { return mOnePerPage; }
    QGroupBox* WhatToPrintPanel() const { return mWhatToPrint; }
    // The selected user report's list index, or -1.
    int CurrentDesign() const;
    void SelectDesign(int row);

    void ReportListChange();
    void ModifyButtonClick();
    void NewButtonClick();
    void DeleteButtonClick();
    void CloneButtonClick();
    void PrintButtonClick();
    void PreviewButtonClick();
    // The report chosen on the designer tab, printed or previewed through its own run.
    void RunUserReport(bool preview);
    void PrinterSetupButtonClick();
    void HelpButtonClick();

private:
    void BuildDesignerTab();
    void FillDesigns(int select);
    void UpdateControls();
    bool OnDesignerTab() const;
    // New (row -1) and Modify: the designer on the report; the list shows what it saved.
    void Design(int row);
    void RunReport(bool preview);
    TRecordChoice Choice() const;

    data::TDataSet& mDataSet;
    data::TApollo& mApollo;
    TPrintDialog mPrintDialog;
    std::unique_ptr<TReportStore> mStore;
    QString mOpenFailure;
    TDesignerHook mDesignerHook;

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
    QWidget* mDesignerTab = nullptr;
    QTableWidget* mDesignGrid = nullptr;
    QPushButton* mModifyButton = nullptr;
    QPushButton* mNewButton = nullptr;
    QPushButton* mDeleteButton = nullptr;
    QPushButton* mCloneButton = nullptr;
    QCheckBox* mOnePerPage = nullptr;
};

// The print dialog of the report windows: only the printer choice takes effect there, so the
// page range and copies are offered disabled. Printing to a file offers jobName as the PDF's
// name and prints to the "Output file" the user leaves there (TPdfFileDialog). Returns whether
// the user chose to print.
bool ShowReportPrintDialog(QWidget* parent, const QString& jobName);

} // namespace qm::reports
