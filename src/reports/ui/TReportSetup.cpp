#include "reports/ui/TReportSetup.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/ui/THelpWindow.h"
#include "design/stream/TLayoutError.h"
#include "print/TPrintError.h"
#include "print/TRPDevice.h"
#include "print/ui/TPdfFileDialog.h"
#include "print/ui/TPrintDialogs.h"
#include "reports/TBuiltInLayouts.h"
#include "reports/TBuiltInReport.h"
#include "reports/TReportRunScope.h"
#include "reports/TReportStore.h"
#include "reports/ui/TReportDesigner.h"
#include "reports/ui/TReportJobRun.h"
#include "reports/ui/TUserDefinedReportPrint.h"
#include "xbase/TXbaseError.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qm::reports {

using data::TMessageService;

namespace {

// The address table's bound controls are on while a designer shows its records, and off again
// afterwards as the main window handed them over.
class TBoundControlsOn {
public:
    explicit TBoundControlsOn(data::TDataSet& dataSet)
        : mDataSet(dataSet), mWereOff(dataSet.ControlsDisabled())
    {
        if (mWereOff)
            mDataSet.EnableControls();
    }
    ~TBoundControlsOn()
    {
        if (mWereOff)
            mDataSet.DisableControls();
    }
    TBoundControlsOn(const TBoundControlsOn&) = delete;
    TBoundControlsOn& operator=(const TBoundControlsOn&) = delete;

private:
    data::TDataSet& mDataSet;
    bool mWereOff;
};

} // namespace

bool ShowReportPrintDialog(QWidget* parent, const QString& jobName)
{
    print::TRPDevice& device = print::TRPDevice::Instance();
    QPrinter* printer = device.Printer();
    if (!printer)
        return false;
    printer->setCopyCount(1);
    print::TPdfFileDialog::Offer(*printer, jobName);
    QPrintDialog dialog(printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    for (QSpinBox* copies : dialog.findChildren<QSpinBox*>())
        copies->setEnabled(false);
    if (print::TPdfFileDialog::RunDialog(dialog) != QDialog::Accepted)
        return false;
    // Selecting the printer opens it afresh: the file the dialog chose is read first.
    const QString file = print::TPdfFileDialog::DialogOutput(*printer);
    device.SelectPrinterByName(printer->printerName().isEmpty()
                                   ? QString::fromLatin1(print::TRPDeviceItem::kPdfDeviceName)
                                   : printer->printerName());
    device.SetCopies(1);
    return print::TPdfFileDialog::Take(parent, file, jobName);
}

TReportSetup::TReportSetup(data::TDataSet& dataSet, data::TApollo& apollo, bool hasFilter,
                           QWidget* parent)
    : QDialog(parent), mDataSet(dataSet), mApollo(apollo),
      mPrintDialog([this](QWidget* owner) { return ShowReportPrintDialog(owner, PdfJobName()); }),
      mStore(std::make_unique<TReportStore>())
{
    setObjectName(QStringLiteral("TReportSetup"));
    setWindowTitle(QStringLiteral("Print Report"));

    mTabs = new QTabWidget(this);
    mTabs->setObjectName(QStringLiteral("Tabs"));
    auto* builtIn = new QWidget(mTabs);
    builtIn->setObjectName(QStringLiteral("BuiltInTab"));
    auto* listLabel = new QLabel(QStringLiteral("Select Report:"), builtIn);
    mReportList = new QListWidget(builtIn);
    mReportList->setObjectName(QStringLiteral("ReportList"));
    for (const TBuiltInLayout& layout : TBuiltInLayouts::All())
        mReportList->addItem(QString::fromLatin1(layout.listText));
    mReportList->setCurrentRow(0);
    mReportList->setMinimumHeight(mReportList->sizeHintForRow(0) * 5);
    listLabel->setBuddy(mReportList);
    auto* titleLabel = new QLabel(QStringLiteral("Report Title"), builtIn);
    mTitleEdit = new QLineEdit(TBuiltInLayouts::DefaultTitle(1), builtIn);
    mTitleEdit->setObjectName(QStringLiteral("TitleEdit"));
    titleLabel->setBuddy(mTitleEdit);
    mPrintMemo = new QCheckBox(QStringLiteral("Print Memo"), builtIn);
    mPrintMemo->setObjectName(QStringLiteral("PrintMemoCheck"));
    mPrintCodes = new QCheckBox(QStringLiteral("Print Codes"), builtIn);
    mPrintCodes->setObjectName(QStringLiteral("PrintCodesCheck"));
    auto* tabLayout = new QGridLayout(builtIn);
    tabLayout->addWidget(listLabel, 0, 0, 1, 2);
    tabLayout->addWidget(mReportList, 1, 0, 1, 2);
    tabLayout->addWidget(titleLabel, 2, 0);
    tabLayout->addWidget(mTitleEdit, 2, 1);
    tabLayout->addWidget(mPrintMemo, 3, 0, 1, 2);
    tabLayout->addWidget(mPrintCodes, 4, 0, 1, 2);
    tabLayout->setColumnStretch(1, 1);
    mTabs->addTab(builtIn, QStringLiteral("Built In Reports"));
    BuildDesignerTab();

    mWhatToPrint = new QGroupBox(QStringLiteral("What to Print"), this);
    mWhatToPrint->setObjectName(QStringLiteral("WhatToPrint"));
    mRbQAll = new QRadioButton(QStringLiteral("All records"), mWhatToPrint);
    mRbQAll->setObjectName(QStringLiteral("rbQAll"));
    mRbQFilter = new QRadioButton(QStringLiteral("Records matching filter"), mWhatToPrint);
    mRbQFilter->setObjectName(QStringLiteral("rbQFilter"));
    mRbQCurrent = new QRadioButton(QStringLiteral("Only current record"), mWhatToPrint);
    mRbQCurrent->setObjectName(QStringLiteral("rbQCurrent"));
    mStartFromCurrent = new QCheckBox(QStringLiteral("Start from current record"), mWhatToPrint);
    mStartFromCurrent->setObjectName(QStringLiteral("StartFromCurrentCheck"));
    mOnePerPage = new QCheckBox(QStringLiteral("One Record Per Page"), mWhatToPrint);
    mOnePerPage->setObjectName(QStringLiteral("OnePerPageCheck"));
    mRbQFilter->setChecked(true);
    if (!hasFilter) {
        mRbQFilter->setEnabled(false);
        mRbQAll->setChecked(true);
    }
    auto* whatLayout = new QVBoxLayout(mWhatToPrint);
    whatLayout->addWidget(mRbQAll);
    whatLayout->addWidget(mRbQFilter);
    whatLayout->addWidget(mRbQCurrent);
    whatLayout->addSpacing(6);
    whatLayout->addWidget(mStartFromCurrent);
    whatLayout->addWidget(mOnePerPage);
    whatLayout->addStretch(1);

    mOkButton = new QPushButton(QStringLiteral("Ok"), this);
    mOkButton->setObjectName(QStringLiteral("OkButton"));
    mPrintButton = new QPushButton(QStringLiteral("Print"), this);
    mPrintButton->setObjectName(QStringLiteral("PrintButton"));
    mPreviewButton = new QPushButton(QStringLiteral("Preview"), this);
    mPreviewButton->setObjectName(QStringLiteral("PreviewButton"));
    mPrinterSetupButton = new QPushButton(QStringLiteral("Printer Setup"), this);
    mPrinterSetupButton->setObjectName(QStringLiteral("PrinterSetupButton"));
    mHelpButton = new QPushButton(QStringLiteral("Help"), this);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    mPreviewButton->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(mTabs, 3);
    top->addWidget(mWhatToPrint, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button :
         {mOkButton, mPrintButton, mPreviewButton, mPrinterSetupButton, mHelpButton})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    setMinimumSize(560, 300);

    connect(mReportList, &QListWidget::currentRowChanged, this, &TReportSetup::ReportListChange);
    connect(mOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(mPrintButton, &QPushButton::clicked, this, &TReportSetup::PrintButtonClick);
    connect(mPreviewButton, &QPushButton::clicked, this, &TReportSetup::PreviewButtonClick);
    connect(mPrinterSetupButton, &QPushButton::clicked, this,
            &TReportSetup::PrinterSetupButtonClick);
    connect(mHelpButton, &QPushButton::clicked, this, &TReportSetup::HelpButtonClick);
    connect(mTabs, &QTabWidget::currentChanged, this, [this] { UpdateControls(); });

    mOpenFailure = mStore->Open(data::TProgramHome::Current().SysDataDir());
    if (mOpenFailure.isEmpty() && !mStore->Notice().isEmpty())
        data::TMessageService::Inform(this, mStore->Notice());
    FillDesigns(0);
}

TReportSetup::~TReportSetup() = default;

void TReportSetup::BuildDesignerTab()
{
    mDesignerTab = new QWidget(mTabs);
    mDesignerTab->setObjectName(QStringLiteral("DesignerTab"));
    mDesignGrid = new QTableWidget(0, 1, mDesignerTab);
    mDesignGrid->setObjectName(QStringLiteral("DesignGrid"));
    mDesignGrid->setHorizontalHeaderLabels({QStringLiteral("Description")});
    mDesignGrid->horizontalHeader()->setStretchLastSection(true);
    mDesignGrid->verticalHeader()->hide();
    mDesignGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mDesignGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    mDesignGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mModifyButton = new QPushButton(QStringLiteral("&Modify"), mDesignerTab);
    mModifyButton->setObjectName(QStringLiteral("ModifyButton"));
    mNewButton = new QPushButton(QStringLiteral("&New"), mDesignerTab);
    mNewButton->setObjectName(QStringLiteral("NewButton"));
    mDeleteButton = new QPushButton(QStringLiteral("&Delete"), mDesignerTab);
    mDeleteButton->setObjectName(QStringLiteral("DeleteButton"));
    mCloneButton = new QPushButton(QStringLiteral("C&lone"), mDesignerTab);
    mCloneButton->setObjectName(QStringLiteral("CloneButton"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {mModifyButton, mNewButton, mDeleteButton, mCloneButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(mDesignerTab);
    layout->addWidget(mDesignGrid, 1);
    layout->addLayout(buttons);
    mTabs->addTab(mDesignerTab, QStringLiteral("Report Designer"));

    connect(mDesignGrid, &QTableWidget::currentCellChanged, this, [this] { UpdateControls(); });
    connect(mDesignGrid, &QTableWidget::cellDoubleClicked, this, &TReportSetup::ModifyButtonClick);
    connect(mModifyButton, &QPushButton::clicked, this, &TReportSetup::ModifyButtonClick);
    connect(mNewButton, &QPushButton::clicked, this, &TReportSetup::NewButtonClick);
    connect(mDeleteButton, &QPushButton::clicked, this, &TReportSetup::DeleteButtonClick);
    connect(mCloneButton, &QPushButton::clicked, this, &TReportSetup::CloneButtonClick);
}

bool TReportSetup::OnDesignerTab() const
{
    return mTabs->currentWidget() == mDesignerTab;
}

int TReportSetup::CurrentDesign() const
{
    const int row = mDesignGrid->currentRow();
    return row >= 0 && row < int(mStore->Rows().size()) ? row : -1;
}

void TReportSetup::SelectDesign(int row)
{
    if (row >= 0 && row < mDesignGrid->rowCount())
        mDesignGrid->setCurrentCell(row, 0);
}

void TReportSetup::FillDesigns(int select)
{
    {
        const QSignalBlocker block(mDesignGrid);
        const auto& rows = mStore->Rows();
        mDesignGrid->setRowCount(int(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i)
            mDesignGrid->setItem(int(i), 0, new QTableWidgetItem(rows[i].description));
        if (!rows.empty())
            mDesignGrid->setCurrentCell(std::clamp(select, 0, int(rows.size()) - 1), 0);
    }
    UpdateControls();
}

void TReportSetup::UpdateControls()
{
    const bool selected = CurrentDesign() >= 0;
    for (QWidget* w :
         std::initializer_list<QWidget*>{mModifyButton, mDeleteButton, mCloneButton, mDesignGrid})
        w->setEnabled(selected);
    mNewButton->setEnabled(mStore->IsOpen());
    const bool designer = OnDesignerTab();
    mOnePerPage->setVisible(designer);
    const bool printable = !designer || !mStore->IsEmpty();
    mPrintButton->setEnabled(printable);
    mPreviewButton->setEnabled(printable);
    mWhatToPrint->setVisible(printable);
}

void TReportSetup::ModifyButtonClick()
{
    const int row = CurrentDesign();
    if (row >= 0)
        Design(row);
}

void TReportSetup::NewButtonClick()
{
    if (mStore->IsOpen())
        Design(-1);
}

void TReportSetup::Design(int row)
{
    TReportRow report = row < 0 ? TReportStore::NewRow() : mStore->Rows()[std::size_t(row)];
    data::TDataSet* addresses = mDataSet.Active() ? &mDataSet : nullptr;
    TReportDesigner designer(report.description, TReportSettings::NewReport(), addresses, this);
    if (!report.IsNew()) {
        try {
            designer.ShowSettings(mStore->Load(report, designer.Owner(), designer.Bands()));
        } catch (const design::TLayoutError& error) {
            // The objects read before the fault stay; the file is replaced only on Save.
            designer.ShowSettings(designer.Settings());
            TMessageService::Inform(this, error.Message());
        }
    }
    int saved = -1;
    designer.OnSave = [this, &report, &saved](TReportDesigner& d) -> QString {
        TReportRow stored = report;
        stored.description = d.Description();
        stored.layoutName = d.Settings().LayoutName();
        QString error;
        const int index = mStore->Save(stored, d.Bands(), d.Settings(), &error);
        if (index < 0)
            return error;
        report = stored;
        saved = index;
        return {};
    };
    {
        TBoundControlsOn controls(mDataSet);
        if (const TDesignerHook hook = mDesignerHook)
            hook(designer);
        designer.exec();
    }
    FillDesigns(saved >= 0 ? saved : std::max(row, 0));
}

void TReportSetup::DeleteButtonClick()
{
    const int row = CurrentDesign();
    if (row < 0)
        return;
    const QString description = mStore->Rows()[std::size_t(row)].description;
    if (!TMessageService::Ask(this, QStringLiteral("DELETE"),
                              TReportStore::DeleteQuestion(description)))
        return;
    QString note;
    if (!mStore->Delete(row, &note))
        TMessageService::Error(this, QStringLiteral("Error"), note);
    else if (!note.isEmpty())
        TMessageService::Inform(this, note);
    FillDesigns(row);
}

void TReportSetup::CloneButtonClick()
{
    const int row = CurrentDesign();
    if (row < 0)
        return;
    const QString description = mStore->Rows()[std::size_t(row)].description;
    if (!TMessageService::Ask(this, QStringLiteral("CLONE"),
                              TReportStore::CloneQuestion(description)))
        return;
    QString error;
    const int added = mStore->Clone(row, &error);
    if (added < 0)
        TMessageService::Error(this, QStringLiteral("Error"), error);
    FillDesigns(added >= 0 ? added : row);
}

void TReportSetup::ReportListChange()
{
    const int row = mReportList->currentRow();
    if (row >= 0)
        mTitleEdit->setText(TBuiltInLayouts::DefaultTitle(row + 1));
}

QString TReportSetup::PdfJobName() const
{
    if (OnDesignerTab()) {
        const int row = CurrentDesign();
        return row >= 0 ? mStore->Rows()[std::size_t(row)].description.trimmed() : QString();
    }
    const QString title = mTitleEdit->text().trimmed();
    return !title.isEmpty()
               ? title
               : TBuiltInLayouts::DefaultTitle(std::max(0, mReportList->currentRow()) + 1);
}

TRecordChoice TReportSetup::Choice() const
{
    if (mRbQAll->isChecked())
        return TRecordChoice::All;
    if (mRbQCurrent->isChecked())
        return TRecordChoice::CurrentOnly;
    return TRecordChoice::MatchingFilter;
}

void TReportSetup::PrintButtonClick()
{
    if (!mPrintDialog || !mPrintDialog(this))
        return;
    if (OnDesignerTab())
        RunUserReport(false);
    else
        RunReport(false);
}

void TReportSetup::PreviewButtonClick()
{
    if (OnDesignerTab())
        RunUserReport(true);
    else
        RunReport(true);
}

void TReportSetup::RunUserReport(bool preview)
{
    const int row = CurrentDesign();
    if (row < 0)
        return;
    QString path;
    try {
        path = mStore->LayoutPath(mStore->Rows()[std::size_t(row)]);
    } catch (const design::TLayoutError& e) {
        TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        return;
    }
    const TUserReportChoices choices{Choice(), mStartFromCurrent->isChecked(),
                                     mOnePerPage->isChecked()};
    TUserDefinedReportPrint::Run(this, mDataSet, mApollo, path, choices, preview);
}

void TReportSetup::PrinterSetupButtonClick()
{
    try {
        print::ShowPrinterSetup(this);
    } catch (const print::TPrintError& e) {
        TMessageService::Error(this, QStringLiteral("Error"), e.Message());
    }
}

void TReportSetup::HelpButtonClick()
{
    data::THelpWindow::ShowContext(kHelpContext, this);
}

void TReportSetup::RunReport(bool preview)
{
    const int number = std::max(0, mReportList->currentRow()) + 1;
    const TBuiltInLayout& layout = TBuiltInLayouts::Get(number);
    TReportRunScope scope(mDataSet, mApollo);
    try {
        scope.Apply({QString::fromLatin1(layout.sortTag), Choice(), mStartFromCurrent->isChecked(),
                     layout.skipLowKeys},
                    [this](const QString& text) { TMessageService::Inform(this, text); });
    } catch (const xbase::TXbaseError& e) {
        TMessageService::Error(this, QStringLiteral("Error"), QString::fromLocal8Bit(e.what()));
        return;
    } catch (const data::TDataSetError& e) {
        TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        return;
    }
    TBuiltInReportOptions options;
    options.report = number;
    options.title = mTitleEdit->text();
    options.printMemo = mPrintMemo->isChecked();
    options.printCodes = mPrintCodes->isChecked();
    TBuiltInReport routine(mDataSet, options);
    routine.SetStartAtEnd(scope.AtEnd());
    TReportJobRun::Run(this, TReportJobSettings::RecordReport(preview),
                       [&routine](print::TBaseReport& job, TReportJobRun::TKeepGoing keepGoing) {
                           routine.SetKeepGoing(std::move(keepGoing));
                           routine.Attach(job);
                       });
}

} // namespace qm::reports
