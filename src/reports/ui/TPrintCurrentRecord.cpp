#include "reports/ui/TPrintCurrentRecord.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/ui/THelpWindow.h"
#include "print/TPrintError.h"
#include "print/ui/TPreviewForm.h"
#include "print/ui/TPrintDialogs.h"
#include "reports/ui/TReportJobRun.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::reports {

TPrintCurrentRecord::TPrintCurrentRecord(data::TDataSet& dataSet, QWidget* parent)
    : QDialog(parent), mDataSet(dataSet)
{
    setObjectName(QStringLiteral("TPrintCurrentRecord"));
    setWindowTitle(QStringLiteral("Print Current Record"));

    auto* fields = new QGroupBox(QStringLiteral("Fields to Print"), this);
    fields->setObjectName(QStringLiteral("FieldsGroup"));
    auto* grid = new QGridLayout(fields);
    constexpr int kRows = 7;
    for (int i = 0; i < TRecordSheet::kFieldCount; ++i) {
        const TSheetField& field = TRecordSheet::Fields()[size_t(i)];
        auto* box = new QCheckBox(QString::fromLatin1(field.caption), fields);
        box->setObjectName(QString::fromLatin1(field.field) + QStringLiteral("Check"));
        box->setChecked(true);
        grid->addWidget(box, i % kRows, i / kRows);
        mFields[size_t(i)] = box;
    }
    mAll = new QCheckBox(QStringLiteral("All"), fields);
    mAll->setObjectName(QStringLiteral("AllCheck"));
    mAll->setChecked(true);
    grid->addWidget(mAll, kRows, 0);

    mPrintButton = new QPushButton(QStringLiteral("&Print"), this);
    mPrintButton->setObjectName(QStringLiteral("PrintButton"));
    mPreviewButton = new QPushButton(QStringLiteral("Pre&view"), this);
    mPreviewButton->setObjectName(QStringLiteral("PreviewButton"));
    mPrinterSetupButton = new QPushButton(QStringLiteral("Printer &Setup"), this);
    mPrinterSetupButton->setObjectName(QStringLiteral("PrinterSetupButton"));
    mCancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    mHelpButton = new QPushButton(QStringLiteral("Help"), this);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    mPreviewButton->setDefault(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button :
         {mPrintButton, mPreviewButton, mPrinterSetupButton, mCancelButton, mHelpButton})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(fields, 1);
    layout->addLayout(buttons);

    connect(mAll, &QCheckBox::clicked, this, &TPrintCurrentRecord::AllCheckClick);
    connect(mPrintButton, &QPushButton::clicked, this, &TPrintCurrentRecord::PrintButtonClick);
    connect(mPreviewButton, &QPushButton::clicked, this, &TPrintCurrentRecord::PreviewButtonClick);
    connect(mPrinterSetupButton, &QPushButton::clicked, this,
            &TPrintCurrentRecord::PrinterSetupButtonClick);
    connect(mCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mHelpButton, &QPushButton::clicked, this, &TPrintCurrentRecord::HelpButtonClick);
}

std::array<bool, TRecordSheet::kFieldCount> TPrintCurrentRecord::Chosen() const
{
    std::array<bool, TRecordSheet::kFieldCount> chosen{};
    for (int i = 0; i < TRecordSheet::kFieldCount; ++i)
        chosen[size_t(i)] = mFields[size_t(i)]->isChecked();
    return chosen;
}

void TPrintCurrentRecord::AllCheckClick()
{
    for (QCheckBox* box : mFields)
        box->setChecked(mAll->isChecked());
}

void TPrintCurrentRecord::PrintButtonClick()
{
    RunSheet(false);
}

void TPrintCurrentRecord::PreviewButtonClick()
{
    RunSheet(true);
}

void TPrintCurrentRecord::PrinterSetupButtonClick()
{
    try {
        print::ShowPrinterSetup(this);
    } catch (const print::TPrintError& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
    }
}

void TPrintCurrentRecord::HelpButtonClick()
{
    data::THelpWindow::ShowContext(kHelpContext, this);
}

QString TPrintCurrentRecord::PdfJobName() const
{
    // "Record - Smith, John"; a record without a name is the current record.
    QStringList name;
    try {
        for (const char* field : {"LNAME", "FNAME"})
            if (const QString text = mDataSet.AsString(QString::fromLatin1(field)).trimmed();
                !text.isEmpty())
                name << text;
    } catch (const std::exception&) {
        // A file without the name fields still prints, under the general name.
    }
    return name.isEmpty() ? QStringLiteral("Current Record")
                          : QStringLiteral("Record - ") + name.join(QStringLiteral(", "));
}

void TPrintCurrentRecord::RunSheet(bool preview)
{
    TRecordSheet sheet(mDataSet, Chosen());
    TReportJobSettings settings;
    settings.mode = preview ? print::TPrintStatusMode::Preview : print::TPrintStatusMode::Print;
    settings.texts = TReportStatusTexts::SingleRecordPrint();
    settings.previewCaption = QStringLiteral("Preview Report");
    settings.previewZoom = print::TPreviewForm::kPageWidth;
    settings.pdfJobName = PdfJobName();
    TReportJobRun::Run(this, settings,
                       [&sheet](print::TBaseReport& job, TReportJobRun::TKeepGoing keepGoing) {
                           sheet.SetKeepGoing(std::move(keepGoing));
                           sheet.Attach(job);
                       });
}

} // namespace qm::reports
