#include "reports/ui/TReportSetup.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/ui/THelpWindow.h"
#include "print/TPrintError.h"
#include "print/TRPDevice.h"
#include "print/ui/TPreviewForm.h"
#include "print/ui/TPrintDialogs.h"
#include "reports/TBuiltInLayouts.h"
#include "reports/TBuiltInReport.h"
#include "reports/TReportRunScope.h"
#include "reports/ui/TReportJobRun.h"
#include "xbase/TXbaseError.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qm::reports {

using data::TMessageService;

bool ShowReportPrintDialog(QWidget* parent)
{
    print::TRPDevice& device = print::TRPDevice::Instance();
    QPrinter* printer = device.Printer();
    if (!printer)
        return false;
    printer->setCopyCount(1);
    QPrintDialog dialog(printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    for (QSpinBox* copies : dialog.findChildren<QSpinBox*>())
        copies->setEnabled(false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    device.SelectPrinterByName(printer->printerName().isEmpty()
                                   ? QString::fromLatin1(print::TRPDeviceItem::kPdfDeviceName)
                                   : printer->printerName());
    device.SetCopies(1);
    return true;
}

TReportSetup::TReportSetup(data::TDataSet& dataSet, data::TApollo& apollo, bool hasFilter,
                           QWidget* parent)
    : QDialog(parent), mDataSet(dataSet), mApollo(apollo), mPrintDialog(ShowReportPrintDialog)
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
}

void TReportSetup::ReportListChange()
{
    const int row = mReportList->currentRow();
    if (row >= 0)
        mTitleEdit->setText(TBuiltInLayouts::DefaultTitle(row + 1));
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
    RunReport(false);
}

void TReportSetup::PreviewButtonClick()
{
    RunReport(true);
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
    TReportJobSettings settings;
    settings.mode = preview ? print::TPrintStatusMode::Preview : print::TPrintStatusMode::Print;
    settings.texts = TReportStatusTexts::BuiltInReportPrint();
    settings.previewCaption = QStringLiteral("Preview Report");
    settings.previewZoom = print::TPreviewForm::kPageWidth;
    TReportJobRun::Run(this, settings,
                       [&routine](print::TBaseReport& job, TReportJobRun::TKeepGoing keepGoing) {
                           routine.SetKeepGoing(std::move(keepGoing));
                           routine.Attach(job);
                       });
}

} // namespace qm::reports
