#include "letters/ui/TqMLetters.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "letters/TLetterScope.h"
#include "letters/ui/TLetterDesign.h"
#include "letters/ui/TLetterPrint.h"
#include "letters/ui/TPrinterLetterSink.h"
#include "letters/ui/TRTFPreviewForm.h"
#include "print/TRPDevice.h"
#include "print/ui/TPdfFileDialog.h"
#include "print/ui/TPrintDialogs.h"
#include "richtext/TRichDocument.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <optional>

namespace qm::letters {

namespace {

std::optional<data::TSettingsFile> Settings()
{
    if (data::TProgramHome::Current().Dir().isEmpty())
        return std::nullopt;
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

TLetterPageTwips PageOf(const richtext::TRichDocument& document)
{
    const richtext::TPageLayout& p = document.PageLayout();
    return {p.paperWidth, p.paperHeight, p.marginLeft, p.marginRight, p.marginTop, p.marginBottom};
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TqMLetters::TqMLetters(data::TDataSet& addresses, const QString& filterExpression,
                       const QString& sysdataDir, QWidget* parent)
    : QDialog(parent), mAddresses(addresses), mFilterExpression(filterExpression),
      mClock([] { return QDate::currentDate(); })
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Print Letters"));
    setMinimumSize(560, 400);

    auto* listBox = new QGroupBox(QStringLiteral("Select Letter"), this);
    mList = new QTableWidget(0, 1, listBox);
    mList->setObjectName(QStringLiteral("LetterList"));
    mList->setHorizontalHeaderLabels({QStringLiteral("Letter Description")});
    mList->horizontalHeader()->setStretchLastSection(true);
    mList->verticalHeader()->hide();
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mList->setSelectionBehavior(QAbstractItemView::SelectRows);
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    mList->setTabKeyNavigation(false);
    auto* modify = MakeButton(this, "ModifyButton", QStringLiteral("&Modify"));
    auto* create = MakeButton(this, "NewButton", QStringLiteral("&New"));
    auto* remove = MakeButton(this, "DeleteButton", QStringLiteral("&Delete"));
    auto* clone = MakeButton(this, "CloneButton", QStringLiteral("C&lone"));
    auto* listButtons = new QHBoxLayout;
    for (QPushButton* b : {modify, create, remove, clone})
        listButtons->addWidget(b);
    auto* listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(mList, 1);
    listLayout->addLayout(listButtons);

    auto* whatBox = new QGroupBox(QStringLiteral("What to Print"), this);
    mAll = new QRadioButton(QStringLiteral("&All records"), whatBox);
    mAll->setObjectName(QStringLiteral("rbQAll"));
    mFilter = new QRadioButton(QStringLiteral("Records matching &filter"), whatBox);
    mFilter->setObjectName(QStringLiteral("rbQFilter"));
    mFilter->setEnabled(!mFilterExpression.isEmpty());
    mCurrent = new QRadioButton(QStringLiteral("&Only current record"), whatBox);
    mCurrent->setObjectName(QStringLiteral("rbQCurrent"));
    mCurrent->setChecked(true);
    mStartFromCurrent = new QCheckBox(QStringLiteral("&Start from current record"), whatBox);
    mStartFromCurrent->setObjectName(QStringLiteral("StartFromCurrentBox"));
    auto* whatLayout = new QVBoxLayout(whatBox);
    for (QWidget* w : {static_cast<QWidget*>(mAll), static_cast<QWidget*>(mFilter),
                       static_cast<QWidget*>(mCurrent), static_cast<QWidget*>(mStartFromCurrent)})
        whatLayout->addWidget(w);

    auto* printerBox = new QGroupBox(QStringLiteral("Printer"), this);
    mPrinterLabel = new QLabel(printerBox);
    mPrinterLabel->setObjectName(QStringLiteral("PrinterLabel"));
    mPrinterLabel->setWordWrap(true);
    auto* printerLayout = new QVBoxLayout(printerBox);
    printerLayout->addWidget(mPrinterLabel);

    auto* copiesBox = new QGroupBox(QStringLiteral("Copies"), this);
    mCopies = new QSpinBox(copiesBox);
    mCopies->setObjectName(QStringLiteral("CopiesEdit"));
    mCopies->setRange(1, TLetterRun::kMaxCopies);
    mCopies->setValue(1);
    auto* copiesLabel = new QLabel(QStringLiteral("# &copies of each letter"), copiesBox);
    copiesLabel->setBuddy(mCopies);
    auto* copiesLayout = new QHBoxLayout(copiesBox);
    copiesLayout->addWidget(mCopies);
    copiesLayout->addWidget(copiesLabel, 1);

    auto* ok = MakeButton(this, "OkButton", QStringLiteral("Ok"));
    ok->setDefault(true);
    auto* print = MakeButton(this, "PrintButton", QStringLiteral("&Print"));
    auto* preview = MakeButton(this, "PreviewButton", QStringLiteral("Pre&view"));
    // Alt+S is "Start from current record"; Alt+T is free.
    auto* setup = MakeButton(this, "PrinterSetupButton", QStringLiteral("Printer Se&tup"));
    auto* help = MakeButton(this, "HelpButton", QStringLiteral("&Help"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    for (QPushButton* b : {ok, print, preview, setup, help})
        bottom->addWidget(b);

    auto* right = new QVBoxLayout;
    right->addWidget(whatBox);
    right->addWidget(printerBox);
    right->addWidget(copiesBox);
    right->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(listBox, 3);
    top->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(modify, &QPushButton::clicked, this, &TqMLetters::ModifyButtonClick);
    connect(create, &QPushButton::clicked, this, &TqMLetters::NewButtonClick);
    connect(remove, &QPushButton::clicked, this, &TqMLetters::DeleteButtonClick);
    connect(clone, &QPushButton::clicked, this, &TqMLetters::CloneButtonClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(print, &QPushButton::clicked, this, &TqMLetters::PrintNowClick);
    connect(preview, &QPushButton::clicked, this, &TqMLetters::PreviewButtonClick);
    connect(setup, &QPushButton::clicked, this, &TqMLetters::PrinterSetupClick);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    connect(mList, &QTableWidget::cellDoubleClicked, this, &TqMLetters::ModifyButtonClick);

    try {
        mOpenFailure = mStore.Open(sysdataDir);
    } catch (const std::exception& e) {
        mOpenFailure = QStringLiteral("Unable to Open or Create LETTER.DBF\r\n") +
                       QString::fromLocal8Bit(e.what());
    }
    // An index rebuilt on the way in is said once.
    if (mOpenFailure.isEmpty() && !mStore.Notice().isEmpty())
        data::TMessageService::Inform(this, mStore.Notice());
    FillList(0);
    ShowPrinterName();
}

TqMLetters::~TqMLetters() = default;

QPushButton* TqMLetters::Button(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

void TqMLetters::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        SetLetterButtons();
        if (auto settings = Settings())
            data::TWindowPlacement::Restore(*this, QString::fromLatin1(kClassName), *settings);
    }
}

void TqMLetters::SavePlacement()
{
    // Once per visit, and only for a window that was shown (and so placed).
    if (mPlacementSaved || !mActivated)
        return;
    mPlacementSaved = true;
    if (auto settings = Settings()) {
        try {
            data::TWindowPlacement::Save(*this, QString::fromLatin1(kClassName), *settings);
        } catch (const data::TSettingsWriteError& e) {
            data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        }
    }
}

void TqMLetters::closeEvent(QCloseEvent* event)
{
    SavePlacement();
    QDialog::closeEvent(event);
}

void TqMLetters::done(int result)
{
    SavePlacement();
    QDialog::done(result);
}

void TqMLetters::ShowPrinterName()
{
    const print::TRPDevice& device = print::TRPDevice::Instance();
    mPrinterLabel->setText(device.HasPrinter() ? device.DeviceName() : QString());
}

void TqMLetters::FillList(int select)
{
    const auto& rows = mStore.Rows();
    mList->setRowCount(int(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i)
        mList->setItem(int(i), 0, new QTableWidgetItem(rows[i].description.trimmed()));
    if (!rows.empty())
        SelectRow(std::clamp(select, 0, int(rows.size()) - 1));
    SetLetterButtons();
}

int TqMLetters::SelectedRow() const
{
    const int row = mList->currentRow();
    return row >= 0 && row < int(mStore.Rows().size()) ? row : -1;
}

void TqMLetters::SelectRow(int row)
{
    mList->setCurrentCell(row, 0);
}

void TqMLetters::SetLetterButtons()
{
    const bool any = !mStore.IsEmpty();
    for (const char* name :
         {"ModifyButton", "CloneButton", "PrintButton", "PreviewButton", "DeleteButton"})
        if (QPushButton* b = Button(QString::fromLatin1(name)))
            b->setEnabled(any);
    mList->setEnabled(any);
}

int TqMLetters::Run(QDialog& dialog)
{
    if (mRunHook)
        return mRunHook(dialog);
    return dialog.exec();
}

bool TqMLetters::LoadSelected(richtext::TRichDocument& document)
{
    return LoadSelected([&document](const QByteArray& bytes) { return document.LoadRtf(bytes); });
}

bool TqMLetters::LoadSelected(const TLoad& load)
{
    const int row = SelectedRow();
    if (row < 0)
        return false;
    const QString description = mStore.Rows()[size_t(row)].description.trimmed();
    try {
        const richtext::TRtfReadResult read = load(mStore.Rtf(row));
        if (read.ok)
            return true;
        data::TMessageService::Inform(
            this,
            QStringLiteral("The letter \"%1\" cannot be read: %2").arg(description, read.error));
    } catch (const std::exception& e) {
        data::TMessageService::Inform(this,
                                      QStringLiteral("The letter \"%1\" cannot be read: %2")
                                          .arg(description, QString::fromLocal8Bit(e.what())));
    }
    return false;
}

void TqMLetters::Design(int row)
{
    TLetterDesign designer(mAddresses, this);
    designer.SetClock(mClock);
    if (row >= 0) {
        if (!LoadSelected([&designer](const QByteArray& bytes) { return designer.LoadRtf(bytes); }))
            return;
        designer.SetDescription(mStore.Rows()[size_t(row)].description.trimmed());
    } else {
        designer.SetDescription(QStringLiteral("{untitled}"));
        designer.SetNewDocument(true);
    }
    mNewLetter = row < 0;
    const int result = Run(designer);
    mNewLetter = false;
    if (result != QDialog::Accepted)
        return;
    try {
        const QByteArray rtf = designer.Editor()->SaveRtf();
        int shown = row;
        if (row < 0) {
            shown = mStore.Append(designer.Description(), rtf);
        } else {
            const uint32_t recNo = mStore.Rows()[size_t(row)].recNo;
            mStore.Rewrite(row, designer.Description(), rtf);
            for (size_t i = 0; i < mStore.Rows().size(); ++i)
                if (mStore.Rows()[i].recNo == recNo)
                    shown = int(i);
        }
        FillList(shown);
    } catch (const data::TDataSetError& e) {
        data::TMessageService::Inform(this, e.Message());
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
    }
}

void TqMLetters::ModifyButtonClick()
{
    if (SelectedRow() >= 0)
        Design(SelectedRow());
}

void TqMLetters::NewButtonClick()
{
    Design(-1);
}

void TqMLetters::DeleteButtonClick()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const QString description = mStore.Rows()[size_t(row)].description.trimmed();
    if (!data::TMessageService::Ask(this, QStringLiteral("DELETE"),
                                    TLetterStore::DeleteQuestion(description)))
        return;
    try {
        mStore.Delete(row);
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
    }
    FillList(row);
}

void TqMLetters::CloneButtonClick()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const QString description = mStore.Rows()[size_t(row)].description.trimmed();
    if (!data::TMessageService::Ask(this, QStringLiteral("CLONE"),
                                    TLetterStore::CloneQuestion(description)))
        return;
    int cloned = row;
    try {
        cloned = mStore.Clone(row);
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
    }
    FillList(cloned);
}

void TqMLetters::PrinterSetupClick()
{
    try {
        print::ShowPrinterSetup(this);
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
    }
    ShowPrinterName();
}

void TqMLetters::PrintNowClick()
{
    if (SelectedRow() < 0)
        return;
    richtext::TRichDocument letterTemplate;
    if (!LoadSelected(letterTemplate))
        return;
    const TLetterPageTwips page = PageOf(letterTemplate);

    std::unique_ptr<TLetterPageSink> sink;
    if (mSinkFactory) {
        if (mPrintDialog && !mPrintDialog(nullptr))
            return;
        sink = mSinkFactory(page);
    } else {
        print::TRPDevice& device = print::TRPDevice::Instance();
        QPrinter* printer = device.Printer();
        if (!printer) {
            data::TMessageService::Inform(this, QStringLiteral("There is no printer to print on."));
            return;
        }
        // The letter's paper before the dialog (so nothing is cut off), and one copy: the run
        // prints the copies itself.
        TPrinterLetterSink::PreparePrinter(*printer, page);
        const QString jobName = QStringLiteral("Letters - ") +
                                mStore.Rows()[size_t(SelectedRow())].description.trimmed();
        print::TPdfFileDialog::Offer(*printer, jobName);
        const bool accepted = mPrintDialog ? mPrintDialog(printer) : [&] {
            QPrintDialog dialog(printer, this);
            return print::TPdfFileDialog::RunDialog(dialog) == QDialog::Accepted;
        }();
        if (!accepted)
            return;
        // Selecting the printer opens it afresh: the file the dialog chose is read first.
        const QString file = print::TPdfFileDialog::DialogOutput(*printer);
        device.SelectPrinterByName(printer->printerName().isEmpty()
                                       ? QString::fromLatin1(print::TRPDeviceItem::kPdfDeviceName)
                                       : printer->printerName());
        if (!print::TPdfFileDialog::Take(this, file, jobName))
            return;
        printer = device.Printer();
        if (!printer)
            return;
        TPrinterLetterSink::PreparePrinter(*printer, page);
        sink = std::make_unique<TPrinterLetterSink>(*printer, page);
        ShowPrinterName();
    }

    const int copies = mCopies->value();
    const bool onlyCurrent = mCurrent->isChecked();
    const TLetterWhat what = mAll->isChecked()      ? TLetterWhat::AllRecords
                             : mFilter->isChecked() ? TLetterWhat::MatchingFilter
                                                    : TLetterWhat::CurrentRecord;
    TLetterScope scope(mAddresses);
    QString message;
    try {
        message = scope.Apply(what, mStartFromCurrent->isChecked());
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
        return;
    }
    if (!message.isEmpty())
        data::TMessageService::Inform(this, message);
    TLetterPrint status(letterTemplate, mAddresses, *sink, copies, onlyCurrent, this);
    status.SetClock(mClock);
    Run(status);
}

void TqMLetters::PreviewButtonClick()
{
    if (SelectedRow() < 0)
        return;
    richtext::TRichDocument letterTemplate;
    if (!LoadSelected(letterTemplate))
        return;
    TRTFPreviewForm preview(letterTemplate, mAddresses, this);
    preview.SetClock(mClock);
    Run(preview);
}

} // namespace qm::letters
