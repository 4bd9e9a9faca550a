#include "labels/ui/TLabelSetupScreen.h"

#include "data/TApollo.h"
#include "data/TDataSet.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TMessageService.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TImbSettings.h"
#include "design/stream/TLayoutError.h"
#include "labels/TCursorLabelRecords.h"
#include "labels/TLabelJobDrawer.h"
#include "labels/TLabelJobScope.h"
#include "labels/TLabelPrintLoop.h"
#include "labels/TLabelRow.h"
#include "labels/TLabelSheet.h"
#include "labels/TPresortFile.h"
#include "labels/TPresortRun.h"
#include "labels/ui/TLabelDesignScreen.h"
#include "labels/ui/TLabelPrinter.h"
#include "labels/ui/TSelectSpecificLabels.h"
#include "labels/ui/TSortBulkMail.h"
#include "print/TRPDevice.h"
#include "print/ui/TPdfFileDialog.h"
#include "print/ui/TPreviewForm.h"
#include "xbase/TTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace qm::labels {

namespace {

const char* const kDetailCaptions[] = {"Label Height", "Label Width", "Sheet Name",
                                       "# Across",     "# Down",      "Paper Size",
                                       "Paper Width",  "Paper Height"};

QString Inches(double value)
{
    return QString::number(value, 'f', 3);
}

} // namespace

TLabelSetupScreen::TLabelSetupScreen(data::TApollo& apollo, bool filterSet, QWidget* parent)
    : QDialog(parent), mApollo(apollo), mChoices(filterSet)
{
    setObjectName(QStringLiteral("TLabelSetupScreen"));
    setWindowTitle(QStringLiteral("Print Labels"));
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Label);
    mPanel.SetDataSet(&mApollo.DataSet());
    BuildControls();
    try {
        mOpenFailure = mStore.Open(data::TProgramHome::Current().SysDataDir());
    } catch (const std::exception& e) {
        mOpenFailure = QStringLiteral("Unable to Open or Create LABEL.DBF: %1")
                           .arg(QString::fromLocal8Bit(e.what()));
    }
    // An index rebuilt on the way in is said once.
    if (mOpenFailure.isEmpty() && !mStore.Notice().isEmpty())
        data::TMessageService::Inform(this, mStore.Notice());
    FillList(0);
}

TLabelSetupScreen::~TLabelSetupScreen() = default;

void TLabelSetupScreen::BuildControls()
{
    mLayoutGrid = new QTableWidget(0, 1, this);
    mLayoutGrid->setObjectName(QStringLiteral("LayoutGrid"));
    mLayoutGrid->setHorizontalHeaderLabels({QStringLiteral("Description")});
    mLayoutGrid->horizontalHeader()->setStretchLastSection(true);
    mLayoutGrid->verticalHeader()->hide();
    mLayoutGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mLayoutGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    mLayoutGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mLayoutGrid->setMinimumSize(300, 200);

    auto* details = new QFormLayout;
    for (const char* caption : kDetailCaptions) {
        auto* field = new QLineEdit(this);
        field->setReadOnly(true);
        field->setObjectName(QString::fromLatin1(caption));
        field->setFocusPolicy(Qt::NoFocus);
        details->addRow(QString::fromLatin1(caption), field);
        mDetails.emplace_back(QString::fromLatin1(caption), field);
    }

    mModifyButton = new QPushButton(QStringLiteral("&Modify"), this);
    mModifyButton->setObjectName(QStringLiteral("ModifyButton"));
    mNewButton = new QPushButton(QStringLiteral("&New"), this);
    mNewButton->setObjectName(QStringLiteral("NewButton"));
    mDeleteButton = new QPushButton(QStringLiteral("&Delete"), this);
    mDeleteButton->setObjectName(QStringLiteral("DeleteButton"));
    mCloneButton = new QPushButton(QStringLiteral("C&lone"), this);
    mCloneButton->setObjectName(QStringLiteral("CloneButton"));
    auto* rowButtons = new QHBoxLayout;
    for (QPushButton* b : {mModifyButton, mNewButton, mDeleteButton, mCloneButton}) {
        b->setAutoDefault(false);
        rowButtons->addWidget(b);
    }

    mWhatPanel = new QGroupBox(QStringLiteral("What to Print"), this);
    mWhatPanel->setObjectName(QStringLiteral("WhatToPrintPanel"));
    mAllChoice = new QRadioButton(QStringLiteral("&All records"), mWhatPanel);
    mAllChoice->setObjectName(QStringLiteral("rbQAll"));
    mFilterChoice = new QRadioButton(QStringLiteral("Records matching &filter"), mWhatPanel);
    mFilterChoice->setObjectName(QStringLiteral("rbQFilter"));
    mCurrentChoice = new QRadioButton(QStringLiteral("Only &current record"), mWhatPanel);
    mCurrentChoice->setObjectName(QStringLiteral("rbQCurrent"));
    mStartCheck = new QCheckBox(QStringLiteral("&Start from current record"), mWhatPanel);
    mStartCheck->setObjectName(QStringLiteral("StartFromCurrentCheck"));
    mPresortCheck = new QCheckBox(QStringLiteral("Presort for &Bulk Mail"), mWhatPanel);
    mPresortCheck->setObjectName(QStringLiteral("PresortCheck"));
    auto* whatLayout = new QVBoxLayout(mWhatPanel);
    for (QWidget* w : std::initializer_list<QWidget*>{mAllChoice, mFilterChoice, mCurrentChoice,
                                                      mStartCheck, mPresortCheck})
        whatLayout->addWidget(w);

    mPrinterPanel = new QGroupBox(QStringLiteral("Printer"), this);
    mPrinterPanel->setObjectName(QStringLiteral("PrinterPanel"));
    mPrinterList = new QComboBox(mPrinterPanel);
    mPrinterList->setObjectName(QStringLiteral("PrinterList"));
    mPrinterList->setMinimumContentsLength(24);
    auto* printerLayout = new QVBoxLayout(mPrinterPanel);
    printerLayout->addWidget(mPrinterList);

    mPreviewButton = new QPushButton(QStringLiteral("Pre&view"), this);
    mPreviewButton->setObjectName(QStringLiteral("PreviewButton"));
    mPrintButton = new QPushButton(QStringLiteral("&Print"), this);
    mPrintButton->setObjectName(QStringLiteral("PrintButton"));
    mOkButton = new QPushButton(QStringLiteral("Ok"), this);
    mOkButton->setObjectName(QStringLiteral("OkButton"));
    mOkButton->setDefault(true);
    mHelpButton = new QPushButton(QStringLiteral("&Help"), this);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    auto* commandButtons = new QHBoxLayout;
    commandButtons->addStretch(1);
    for (QPushButton* b : {mPreviewButton, mPrintButton, mOkButton, mHelpButton}) {
        if (b != mOkButton)
            b->setAutoDefault(false);
        commandButtons->addWidget(b);
    }

    auto* left = new QVBoxLayout;
    left->addWidget(mLayoutGrid, 1);
    left->addLayout(rowButtons);
    auto* right = new QVBoxLayout;
    right->addLayout(details);
    right->addWidget(mWhatPanel);
    right->addWidget(mPrinterPanel);
    right->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(commandButtons);

    mAllChoice->setChecked(mChoices.Scope() == TLabelScope::AllRecords);
    mFilterChoice->setChecked(mChoices.Scope() == TLabelScope::MatchingFilter);
    mFilterChoice->setEnabled(mChoices.FilterChoiceEnabled());

    connect(mLayoutGrid, &QTableWidget::currentCellChanged, this, [this] { ShowRow(); });
    connect(mModifyButton, &QPushButton::clicked, this, &TLabelSetupScreen::ModifyButtonClick);
    connect(mNewButton, &QPushButton::clicked, this, &TLabelSetupScreen::NewButtonClick);
    connect(mDeleteButton, &QPushButton::clicked, this, &TLabelSetupScreen::DeleteButtonClick);
    connect(mCloneButton, &QPushButton::clicked, this, &TLabelSetupScreen::CloneButtonClick);
    connect(mAllChoice, &QRadioButton::clicked, this,
            [this] { ScopeClick(TLabelScope::AllRecords); });
    connect(mFilterChoice, &QRadioButton::clicked, this,
            [this] { ScopeClick(TLabelScope::MatchingFilter); });
    connect(mCurrentChoice, &QRadioButton::clicked, this,
            [this] { ScopeClick(TLabelScope::CurrentRecord); });
    connect(mStartCheck, &QCheckBox::clicked, this, [this](bool on) {
        mChoices.SetStartFromCurrent(on);
        UpdateControls();
    });
    connect(mPresortCheck, &QCheckBox::clicked, this, [this](bool on) {
        mChoices.SetPresort(on);
        UpdateControls();
    });
    connect(mPrinterList, &QComboBox::activated, this, &TLabelSetupScreen::PrinterListChange);
    connect(mPreviewButton, &QPushButton::clicked, this, &TLabelSetupScreen::PreviewButtonClick);
    connect(mPrintButton, &QPushButton::clicked, this, &TLabelSetupScreen::PrintButtonClick);
    connect(mOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
}

void TLabelSetupScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (mActivated)
        return;
    mActivated = true;
    // A list left by an earlier visit may hold other records: every visit presorts afresh.
    QFile::remove(PresortPath());
    // A layout table that could not be opened leaves the list empty: say why, once.
    if (!mOpenFailure.isEmpty())
        QMetaObject::invokeMethod(
            this, [this] { data::TMessageService::Inform(this, mOpenFailure); },
            Qt::QueuedConnection);
}

QString TLabelSetupScreen::PresortPath() const
{
    return data::TProgramHome::Current().FilePath(TPresortFile::FileName());
}

QLineEdit* TLabelSetupScreen::DetailField(const QString& caption) const
{
    for (const auto& [name, field] : mDetails)
        if (name == caption)
            return field;
    return nullptr;
}

int TLabelSetupScreen::CurrentRow() const
{
    const int row = mLayoutGrid->currentRow();
    return row >= 0 && row < static_cast<int>(mStore.Rows().size()) ? row : -1;
}

void TLabelSetupScreen::SelectRow(int row)
{
    if (row >= 0 && row < mLayoutGrid->rowCount())
        mLayoutGrid->setCurrentCell(row, 0);
}

void TLabelSetupScreen::FillList(int selectRow)
{
    const QSignalBlocker block(mLayoutGrid);
    const auto& rows = mStore.Rows();
    mLayoutGrid->setRowCount(static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i)
        mLayoutGrid->setItem(static_cast<int>(i), 0,
                             new QTableWidgetItem(rows[i].geometry.description));
    if (!rows.empty())
        mLayoutGrid->setCurrentCell(std::clamp(selectRow, 0, static_cast<int>(rows.size()) - 1), 0);
    ShowRow();
}

void TLabelSetupScreen::ShowRow()
{
    const TLabelGeometry g = mStore.WorkingRecord(CurrentRow());
    DetailField(QStringLiteral("Label Height"))->setText(Inches(g.labelHeight));
    DetailField(QStringLiteral("Label Width"))->setText(Inches(g.labelWidth));
    DetailField(QStringLiteral("Sheet Name"))->setText(TLabelRow::SheetName(g));
    DetailField(QStringLiteral("# Across"))->setText(QString::number(g.across));
    DetailField(QStringLiteral("# Down"))->setText(QString::number(g.down));
    DetailField(QStringLiteral("Paper Size"))->setText(g.paperSize.trimmed());
    DetailField(QStringLiteral("Paper Width"))->setText(Inches(g.sheetWidth));
    DetailField(QStringLiteral("Paper Height"))->setText(Inches(g.sheetDepth));
    UpdateControls();
}

void TLabelSetupScreen::UpdateControls()
{
    const bool rows = !mStore.IsEmpty();
    for (QWidget* w : std::initializer_list<QWidget*>{mModifyButton, mPrintButton, mPreviewButton,
                                                      mDeleteButton, mCloneButton, mLayoutGrid})
        w->setEnabled(rows);
    mWhatPanel->setVisible(rows);
    mPrinterPanel->setVisible(rows);

    mPresortCheck->setEnabled(mChoices.PresortEnabled());
    mPresortCheck->setChecked(mChoices.Presort());
    mStartCheck->setChecked(mChoices.StartFromCurrent());

    const QSignalBlocker block(mPrinterList);
    const print::TRPDevice& device = print::TRPDevice::Instance();
    const QStringList names = device.PrinterNames();
    QStringList shown;
    for (int i = 0; i < mPrinterList->count(); ++i)
        shown << mPrinterList->itemText(i);
    if (shown != names) {
        mPrinterList->clear();
        mPrinterList->addItems(names);
    }
    mPrinterList->setCurrentIndex(device.PrinterIndex());
}

void TLabelSetupScreen::ScopeClick(TLabelScope scope)
{
    mChoices.ChooseScope(scope);
    UpdateControls();
}

void TLabelSetupScreen::PrinterListChange(int index)
{
    print::TRPDevice::Instance().SetPrinterIndex(index);
}

void TLabelSetupScreen::ModifyButtonClick()
{
    const int row = CurrentRow();
    if (row >= 0)
        Design(row);
}

void TLabelSetupScreen::NewButtonClick()
{
    Design(-1);
}

void TLabelSetupScreen::Design(int row)
{
    if (!mOpenFailure.isEmpty()) {
        data::TMessageService::Inform(this, mOpenFailure);
        return;
    }
    data::TDataSet* addresses = mApollo.DataSet().Active() ? &mApollo.DataSet() : nullptr;
    const int saved = TLabelDesignScreen::DesignLayout(mStore, row, addresses, this);
    // The designer reloads the store on Save; the list follows it either way.
    FillList(saved >= 0 ? saved : std::max(row, 0));
}

void TLabelSetupScreen::DeleteButtonClick()
{
    const int row = CurrentRow();
    if (row < 0)
        return;
    try {
        if (mStore.Delete(row, this))
            FillList(row);
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
        FillList(row);
    }
}

void TLabelSetupScreen::CloneButtonClick()
{
    const int row = CurrentRow();
    if (row < 0)
        return;
    try {
        const int added = mStore.Clone(row, this);
        if (added >= 0)
            FillList(added);
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
        FillList(row);
    }
}

int TLabelSetupScreen::RunDialog(QDialog& dialog)
{
    // A copy: the hook may replace itself.
    if (const TDialogHook hook = mDialogHook)
        hook(dialog);
    return dialog.exec();
}

void TLabelSetupScreen::PrintOrPreview(bool preview)
{
    if (CurrentRow() < 0 || !mApollo.DataSet().Active())
        return;
    try {
        RunCommand(preview);
    } catch (const design::TLayoutError& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
    }
    mPanel.SetPrinting(false);
    UpdateControls();
}

void TLabelSetupScreen::RunCommand(bool preview)
{
    // The table's filter, order, record and exact matching come back however the command ends.
    // Taken before the layout is loaded: loading fills the objects from the data set.
    TLabelJobScope scope(mApollo);
    data::TDataSet& ds = mApollo.DataSet();

    // 1-2: the working record and the positions, printer and number per record.
    mPanel.ClearObjects();
    const int row = CurrentRow();
    const TLabelListRow& listed = mStore.Rows()[size_t(row)];
    if (!listed.problem.isEmpty()) {
        data::TMessageService::Inform(this, listed.problem);
        return;
    }
    const TLabelSheet sheet(listed.geometry);
    {
        TSelectSpecificLabels select(sheet, mSelection, mLabelsPerRecord, mChoices.Presort(), this);
        const int answer = RunDialog(select);
        UpdateControls(); // the printer may have changed
        if (answer != QDialog::Accepted)
            return;
        mSelection = select.Selection();
        mLabelsPerRecord = select.LabelsPerRecord();
    }

    // 3: the layout file.
    QString why;
    const QString layoutPath = mStore.LayoutPath(row, &why);
    if (layoutPath.isEmpty()) {
        data::TMessageService::Inform(this, why);
        return;
    }
    try {
        design::TGLabelObjectFiler::LoadFromFile(mPanel, layoutPath);
    } catch (const design::TLayoutError& e) {
        data::TMessageService::Inform(this,
                                      QStringLiteral("The label layout file %1 cannot be read: %2")
                                          .arg(QDir::toNativeSeparators(layoutPath), e.Message()));
        return;
    }

    // 4-6: the records, positioned after the layout was loaded.
    if (!scope.Apply(mChoices.Scope(), mChoices.StartFromCurrent()))
        data::TMessageService::Inform(this, TLabelJobScope::OutOfRangeMessage());

    // 7-8: presort.
    const bool presort = mChoices.Presort();
    QStringList presortList;
    if (presort) {
        if (mApollo.TagArea(QStringLiteral("ZIP")) <= 0) {
            data::TMessageService::Inform(
                this, QStringLiteral("The address file %1 has no ZIP index tag; it cannot be "
                                     "printed in presort order.")
                          .arg(QDir::toNativeSeparators(ds.Path())));
            return;
        }
        if (mChoices.PresortNeeded()) {
            TSortBulkMail sort(mApollo, PresortPath(), this);
            RunDialog(sort);
            mChoices.SetPresortDone(sort.Succeeded(), sort.Counts().recordsLeftOut);
            if (!mChoices.PresortDone())
                return;
        }
        if (mChoices.PresortLeftOut() > 0)
            data::TMessageService::Inform(this,
                                          TPresortRun::LeftOutMessage(mChoices.PresortLeftOut()));
        scope.UseZipOrder();
        data::TMessageService::Inform(this, TLabelJobScope::PresortOrderMessage());
        QString error;
        const std::optional<QStringList> lines =
            TLabelPrintLoop::ReadPresortList(PresortPath(), &error);
        if (!lines) {
            data::TMessageService::Inform(this, error);
            return;
        }
        presortList = *lines;
    }

    // 9-10: paper and orientation, and the check of what the printer took.
    print::TRPDevice& device = print::TRPDevice::Instance();
    const TLabelSheet::TPaperRequest request = sheet.PaperRequest(device.DeviceName());
    if (request.requestSize)
        device.SetPaperSize(request.code, request.width, request.height);
    device.SetOrientation(request.landscape ? print::TOrientation::poLandScape
                                            : print::TOrientation::poPortrait);
    const print::TPageGeometry page = device.Geometry();
    if (!TLabelSheet::PaperConfirmed(request, page.pageWidth, page.pageHeight) &&
        !data::TMessageService::Ask(this, QStringLiteral("PAPER SIZE"),
                                    TLabelSheet::PaperQuestion(request)))
        return;

    // A print on the "PDF file" printer asks for its file first.
    if (!preview) {
        const QString name = !listed.geometry.description.trimmed().isEmpty()
                                 ? listed.geometry.description
                                 : listed.geometry.templateDescription;
        if (!print::TPdfFileDialog::Choose(this, QStringLiteral("Labels - ") + name.trimmed()))
            return;
    }

    // 11-13: the job under the status window, then the preview.
    TLabelPrintLoop loop(sheet, mSelection, presort ? 1 : mLabelsPerRecord);
    if (presort)
        loop.SetPresortList(presortList);
    TCursorLabelRecords records(ds.Cursor(), ds.Table().FieldIndex("ZIP"));
    TLabelJobDrawer drawer(sheet, loop, records, mPanel, ds);
    data::TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
    drawer.SetImbStart(design::TImbSettings::Read(settings).nextSerial);
    mPanel.SetPrinting(true);
    TLabelPrinter printer(drawer, preview);
    const TLabelPrinter::TOutcome outcome =
        printer.Run(this, [this](QDialog& dialog) { return RunDialog(dialog); });
    mPanel.SetPrinting(false);
    // The counter moves on only for pieces that really went to the printer.
    if (!outcome.aborted && !preview) {
        try {
            drawer.Imb().WriteBack(settings);
        } catch (const data::TSettingsWriteError& error) {
            data::TMessageService::Error(this, QStringLiteral("Error"), error.Message());
        }
    }
    if (outcome.aborted || !preview)
        return;
    // The preview's status window closed by itself: its notes are said here.
    if (const QStringList notes = drawer.Imb().Notes(); !notes.isEmpty())
        data::TMessageService::Inform(this, notes.join(QLatin1Char('\n')));
    mLastPreview = outcome.stream;
    print::TPreviewForm form(outcome.stream, QStringLiteral("Preview Labels"),
                             print::TPreviewForm::kPageWidth, this);
    RunDialog(form);
}

} // namespace qm::labels
