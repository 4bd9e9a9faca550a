#include "reports/ui/TCountZipCodes.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"
#include "print/TPrintError.h"
#include "print/TRPDevice.h"
#include "print/ui/TPrintDialogs.h"
#include "print/ui/TPrinterCheck.h"
#include "reports/TZipCount.h"
#include "reports/TZipReport.h"
#include "reports/ui/TReportJobRun.h"
#include "xbase/TXbaseError.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qm::reports {

using data::TMessageService;

TCountZipCodes::TCountZipCodes(data::TDataSet& dataSet, QWidget* parent)
    : QDialog(parent), mDataSet(dataSet)
{
    setObjectName(QStringLiteral("TCountZipCodes"));
    setWindowTitle(QStringLiteral("Count Zip Codes"));

    mExplanation =
        new QLabel(QStringLiteral("Counting the number of occurrences of each zip code:"), this);
    mExplanation->setObjectName(QStringLiteral("ExplanationLabel"));
    mExplanation->setWordWrap(true);
    mStatus = new QLabel(this);
    mStatus->setObjectName(QStringLiteral("StatusLabel"));
    mStatus->setMinimumWidth(mStatus->fontMetrics().horizontalAdvance(
        QStringLiteral("Reading database records... 0000000")));
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));

    mBottomBar = new QWidget(this);
    mBottomBar->setObjectName(QStringLiteral("BottomBar"));
    mPrintButton = new QPushButton(QStringLiteral("Print"), mBottomBar);
    mPrintButton->setObjectName(QStringLiteral("PrintButton"));
    mPreviewButton = new QPushButton(QStringLiteral("Preview"), mBottomBar);
    mPreviewButton->setObjectName(QStringLiteral("PreviewButton"));
    mPrinterSetupButton = new QPushButton(QStringLiteral("Printer Setup"), mBottomBar);
    mPrinterSetupButton->setObjectName(QStringLiteral("PrinterSetupButton"));
    mOkButton = new QPushButton(QStringLiteral("Ok"), mBottomBar);
    mOkButton->setObjectName(QStringLiteral("OkButton"));
    mHelpButton = new QPushButton(QStringLiteral("Help"), mBottomBar);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    auto* bar = new QHBoxLayout(mBottomBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addStretch(1);
    for (QPushButton* button :
         {mPrintButton, mPreviewButton, mPrinterSetupButton, mOkButton, mHelpButton})
        bar->addWidget(button);
    mBottomBar->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mExplanation);
    layout->addWidget(mStatus);
    layout->addStretch(1);
    layout->addWidget(mCancelButton, 0, Qt::AlignHCenter);
    layout->addWidget(mBottomBar);
    setMinimumSize(460, 160);

    connect(mCancelButton, &QPushButton::clicked, this, &TCountZipCodes::CancelButtonClick);
    connect(mPrintButton, &QPushButton::clicked, this, &TCountZipCodes::PrintButtonClick);
    connect(mPreviewButton, &QPushButton::clicked, this, &TCountZipCodes::PreviewButtonClick);
    connect(mPrinterSetupButton, &QPushButton::clicked, this,
            &TCountZipCodes::PrinterSetupButtonClick);
    connect(mOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(mHelpButton, &QPushButton::clicked, this, &TCountZipCodes::HelpButtonClick);
}

void TCountZipCodes::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        QTimer::singleShot(0, this, [this] { Count(); });
    }
}

bool TCountZipCodes::Count()
{
    if (mCounting)
        return false;
    mCounting = true;
    mCancelRequested = false;
    mLines.reset();
    mBottomBar->hide();
    mCancelButton->show();
    mStatus->show();
    mCancelButton->setFocus();
    data::TEventPump pump;
    TZipCount count(mDataSet);
    count.SetStatus([this](const QString& text) { mStatus->setText(text); });
    count.SetPoll([this, &pump] {
        pump.Pump();
        return !mCancelRequested;
    });
    bool counted = false;
    QString failure;
    try {
        counted = count.Run(mTally);
        if (counted)
            mLines = mTally.Lines();
    } catch (const xbase::TXbaseError& e) {
        failure = QString::fromLocal8Bit(e.what());
    } catch (const data::TDataSetError& e) {
        failure = e.Message();
    }
    mCounting = false;
    mBottomBar->show();
    mCancelButton->hide();
    mStatus->hide();
    if (!failure.isEmpty()) {
        mTally.Clear();
        TMessageService::Error(this, QStringLiteral("Error"), failure);
        QDialog::reject();
        return false;
    }
    if (!counted) {
        QDialog::reject();
        return false;
    }
    TMessageService::Beep();
    mExplanation->setText(
        QStringLiteral("Finished counting. Press Print or Preview for the report"));
    mPreviewButton->setDefault(true);
    mPreviewButton->setFocus();
    return true;
}

void TCountZipCodes::CancelButtonClick()
{
    if (!mCounting)
        return;
    if (TMessageService::Ask(this, QStringLiteral("CANCEL"), QStringLiteral("Cancel Count?")))
        mCancelRequested = true;
}

void TCountZipCodes::reject()
{
    // Escape or the close box while counting is the Cancel button.
    if (mCounting) {
        CancelButtonClick();
        return;
    }
    QDialog::reject();
}

void TCountZipCodes::PrintButtonClick()
{
    RunReport(false);
}

void TCountZipCodes::PreviewButtonClick()
{
    RunReport(true);
}

void TCountZipCodes::RunReport(bool preview)
{
    if (!Counted() && !Count())
        return;
    if (!print::CheckPrinterPresence(this))
        return;
    TZipReport report(*mLines);
    TReportJobSettings settings;
    settings.mode = preview ? print::TPrintStatusMode::Preview : print::TPrintStatusMode::Print;
    settings.texts = TReportStatusTexts::ZipReport();
    settings.previewCaption = QStringLiteral("Preview Zipcode Count");
    settings.previewZoom = 100;
    settings.pdfJobName = QStringLiteral("Zip Code Count");
    TReportJobRun::Run(this, settings,
                       [&report](print::TBaseReport& job, TReportJobRun::TKeepGoing keepGoing) {
                           report.SetKeepGoing(std::move(keepGoing));
                           report.Attach(job);
                       });
}

void TCountZipCodes::PrinterSetupButtonClick()
{
    if (print::TRPDevice::Instance().PrinterNames().isEmpty()) {
        TMessageService::Inform(this, QStringLiteral("There are no printers installed"));
        return;
    }
    try {
        print::ShowPrinterSetup(this);
    } catch (const print::TPrintError& e) {
        TMessageService::Error(this, QStringLiteral("Error"), e.Message());
    }
}

void TCountZipCodes::HelpButtonClick()
{
    data::THelpWindow::ShowContext(kHelpContext, this);
}

} // namespace qm::reports
