#include "envelopes/ui/TQMEnvelopes.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TGOwner.h"
#include "design/objects/TImbSettings.h"
#include "design/stream/TLayoutError.h"
#include "design/text/TDesignUnits.h"
#include "design/ui/TGKindMenus.h"
#include "design/ui/TGPanelView.h"
#include "envelopes/TEnvelopePrinterSettings.h"
#include "envelopes/TEnvelopeRun.h"
#include "envelopes/TEnvelopeSizes.h"
#include "envelopes/TJobPrinterPort.h"
#include "envelopes/ui/TChooseEnvelopeLayout.h"
#include "envelopes/ui/TEnvelopeDesignScreen.h"
#include "envelopes/ui/TEnvelopeForm.h"
#include "envelopes/ui/TEnvelopePrePrint.h"
#include "print/TPdfOutputName.h"
#include "print/TReportFiler.h"
#include "print/ui/TPdfFileDialog.h"
#include "print/ui/TPreviewForm.h"
#include "print/ui/TPrintDialogs.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace qm::envelopes {

namespace {

std::optional<data::TSettingsFile> Settings()
{
    if (data::TProgramHome::Current().Dir().isEmpty())
        return std::nullopt;
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

QToolButton* Step(QWidget* parent, const char* name, const QString& hint, Qt::ArrowType arrow,
                  const QString& text = {})
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    if (arrow != Qt::NoArrow)
        button->setArrowType(arrow);
    button->setText(text);
    return button;
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

std::vector<TEnvelopeSizeEntry> SizeEntries()
{
    std::vector<TEnvelopeSizeEntry> entries;
    for (int i = 0; i < TEnvelopeSizes::kCount; ++i)
        entries.push_back(
            {QString::fromLatin1(TEnvelopeSizes::At(i).text), TEnvelopeSizes::At(i).code});
    return entries;
}

} // namespace

TQMEnvelopes::TQMEnvelopes(data::TDataSet& addresses, QWidget* parent)
    : QDialog(parent), mAddresses(addresses), mOwner(std::make_unique<design::TGOwner>()),
      mPanel(std::make_unique<design::TGDataPanel>(mOwner.get()))
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Print Envelope"));
    RunDialog = [](QDialog& dialog) { return dialog.exec(); };
    OnPrinterSetup = [](QWidget* owner) { return print::ShowPrinterSetup(owner); };
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Envelope);
    design::TGKindMenus::Install();
    mPanel->SetDataSet(&mAddresses);

    BuildControls();
    // A home whose sysdata folder is gone gets it back, with an empty ENVELOPE table.
    const QString sysdata = data::TProgramHome::Current().SysDataDir();
    QDir().mkpath(sysdata);
    const QString failure = mStore.Open(sysdata);
    if (!failure.isEmpty())
        data::TMessageService::Error(this, QStringLiteral("Error"), failure);
    else if (!mStore.Notice().isEmpty())
        data::TMessageService::Inform(this, mStore.Notice());
    FillGrid(0);
    ShowRecord();
}

TQMEnvelopes::~TQMEnvelopes()
{
    mPanel->ClearObjects();
}

void TQMEnvelopes::BuildControls()
{
    // ---- the layouts
    mGrid = new QListWidget(this);
    mGrid->setObjectName(QStringLiteral("EnvelopeGrid"));
    auto* gridLabel = new QLabel(QStringLiteral("&Select Envelope Setup"), this);
    gridLabel->setBuddy(mGrid);
    connect(mGrid, &QListWidget::currentRowChanged, this, [this] { DrawPicture(); });
    connect(mGrid, &QListWidget::itemDoubleClicked, this, [this] { ModifyClick(); });

    mModifyButton = Button(QStringLiteral("Modify"), "ModifyButton", this);
    mNewButton = Button(QStringLiteral("New"), "NewButton", this);
    mDeleteButton = Button(QStringLiteral("Delete"), "DeleteButton", this);
    mCloneButton = Button(QStringLiteral("Clone"), "CloneButton", this);
    connect(mModifyButton, &QPushButton::clicked, this, &TQMEnvelopes::ModifyClick);
    connect(mNewButton, &QPushButton::clicked, this, &TQMEnvelopes::NewClick);
    connect(mDeleteButton, &QPushButton::clicked, this, &TQMEnvelopes::DeleteClick);
    connect(mCloneButton, &QPushButton::clicked, this, &TQMEnvelopes::CloneClick);

    mPicture = new QLabel(this);
    mPicture->setObjectName(QStringLiteral("EnvelopePicture"));
    mPicture->setAlignment(Qt::AlignCenter);
    mPicture->setFrameShape(QFrame::StyledPanel);
    mPicture->setBackgroundRole(QPalette::Dark);
    mPicture->setAutoFillBackground(true);
    const int ppi = design::TDesignUnits::Ppi();
    // Room for the largest face (B4, 14.12 x 10 in) at 30 %.
    mPicture->setMinimumSize(int(ppi * 9.5 * kPictureScale) + 16,
                             int(ppi * 4.5 * kPictureScale) + 16);

    auto* layoutButtons = new QHBoxLayout;
    for (QPushButton* b : {mModifyButton, mNewButton, mDeleteButton, mCloneButton})
        layoutButtons->addWidget(b);
    auto* left = new QVBoxLayout;
    left->addWidget(gridLabel);
    left->addWidget(mGrid, 1);
    left->addLayout(layoutButtons);
    left->addWidget(mPicture, 1);

    // ---- what to print
    auto* what = new QGroupBox(QStringLiteral("What to Print"), this);
    what->setObjectName(QStringLiteral("WhatToPrintBox"));
    mAllRecords = new QRadioButton(QStringLiteral("All records"), what);
    mAllRecords->setObjectName(QStringLiteral("AllRecordsButton"));
    mMatchingFilter = new QRadioButton(QStringLiteral("Records matching filter"), what);
    mMatchingFilter->setObjectName(QStringLiteral("FilterButton"));
    mCurrentRecord = new QRadioButton(QStringLiteral("Only current record"), what);
    mCurrentRecord->setObjectName(QStringLiteral("CurrentRecordButton"));
    mCurrentRecord->setChecked(true);
    mStartFromCurrent = new QCheckBox(QStringLiteral("Start from current record"), what);
    mStartFromCurrent->setObjectName(QStringLiteral("StartFromCurrentBox"));
    auto* whatLayout = new QVBoxLayout(what);
    for (QWidget* w : std::initializer_list<QWidget*>{mAllRecords, mMatchingFilter, mCurrentRecord,
                                                      mStartFromCurrent})
        whatLayout->addWidget(w);
    const auto scopeChanged = [this] {
        mStartFromCurrent->setEnabled(!mCurrentRecord->isChecked());
    };
    for (QRadioButton* b : {mAllRecords, mMatchingFilter, mCurrentRecord})
        connect(b, &QRadioButton::toggled, this, scopeChanged);
    scopeChanged();

    // ---- the current record
    auto* record = new QGroupBox(QStringLiteral("Current Record"), this);
    record->setObjectName(QStringLiteral("CurrentRecordBox"));
    mRecordLabel = new QLabel(record);
    mRecordLabel->setObjectName(QStringLiteral("RecordLabel"));
    mRecordLabel->setMinimumWidth(mRecordLabel->fontMetrics().averageCharWidth() * 30);
    mRecordLabel->setMinimumHeight(mRecordLabel->fontMetrics().lineSpacing() * 3);
    mRecordLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mFirstButton = Step(record, "FirstButton", QStringLiteral("First record"), Qt::NoArrow,
                        QStringLiteral("|<"));
    mPriorButton = Step(record, "PriorButton", QStringLiteral("Previous record"), Qt::LeftArrow);
    mNextButton = Step(record, "NextButton", QStringLiteral("Next record"), Qt::RightArrow);
    mLastButton = Step(record, "LastButton", QStringLiteral("Last record"), Qt::NoArrow,
                       QStringLiteral(">|"));
    const auto move = [this](void (data::TDataSet::*step)()) {
        if (!mAddresses.Active() || mAddresses.IsEmpty())
            return;
        (mAddresses.*step)();
        ShowRecord();
    };
    connect(mFirstButton, &QToolButton::clicked, this, [move] { move(&data::TDataSet::First); });
    connect(mPriorButton, &QToolButton::clicked, this, [move] { move(&data::TDataSet::Prior); });
    connect(mNextButton, &QToolButton::clicked, this, [move] { move(&data::TDataSet::Next); });
    connect(mLastButton, &QToolButton::clicked, this, [move] { move(&data::TDataSet::Last); });
    auto* steps = new QHBoxLayout;
    for (QToolButton* b : {mFirstButton, mPriorButton, mNextButton, mLastButton})
        steps->addWidget(b);
    steps->addStretch(1);
    auto* recordLayout = new QVBoxLayout(record);
    recordLayout->addWidget(mRecordLabel);
    recordLayout->addLayout(steps);

    // ---- commands
    mSetupButton = Button(QStringLiteral("Printer Setup"), "PrinterSetupButton", this);
    mPreviewButton = Button(QStringLiteral("Pre&view"), "PreviewButton", this);
    mPrintButton = Button(QStringLiteral("&Print"), "PrintButton", this);
    mPrintButton->setDefault(true);
    mOkButton = Button(QStringLiteral("Ok"), "OkButton", this);
    mHelpButton = Button(QStringLiteral("Help"), "HelpButton", this);
    connect(mSetupButton, &QPushButton::clicked, this, &TQMEnvelopes::PrinterSetupClick);
    connect(mPreviewButton, &QPushButton::clicked, this, &TQMEnvelopes::PreviewClick);
    connect(mPrintButton, &QPushButton::clicked, this, &TQMEnvelopes::PrintClick);
    connect(mOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    for (QPushButton* b : {mSetupButton, mPreviewButton, mPrintButton, mOkButton, mHelpButton})
        commands->addWidget(b);

    auto* right = new QVBoxLayout;
    right->addWidget(what);
    right->addWidget(record);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(commands);
}

// ---- the list and its picture

int TQMEnvelopes::CurrentRow() const
{
    const int row = mGrid->currentRow();
    return row >= 0 && row < int(mStore.Rows().size()) ? row : -1;
}

void TQMEnvelopes::FillGrid(int select)
{
    const QSignalBlocker block(mGrid);
    mGrid->clear();
    for (const TEnvelopeLayout& row : mStore.Rows())
        mGrid->addItem(row.description);
    if (mGrid->count() > 0)
        mGrid->setCurrentRow(std::clamp(select, 0, mGrid->count() - 1));
    UpdateEnabling();
    DrawPicture();
}

void TQMEnvelopes::UpdateEnabling()
{
    const bool any = !mStore.IsEmpty();
    for (QWidget* w : std::initializer_list<QWidget*>{mModifyButton, mCloneButton, mPrintButton,
                                                      mPreviewButton, mDeleteButton, mGrid})
        w->setEnabled(any);
    mNewButton->setEnabled(mStore.IsOpen());
}

void TQMEnvelopes::DrawPicture()
{
    mPictureImage = QImage();
    const int row = CurrentRow();
    if (row < 0) {
        mPicture->setPixmap(QPixmap());
        return;
    }
    const TEnvelopeLayout values = mStore.WorkingValues(row);
    const std::optional<TEnvelopeFace> face = values.Face();
    if (!face) {
        mPicture->setPixmap(QPixmap());
        mPicture->setText(TEnvelopeSizes::NoValidSizeMessage());
        return;
    }
    design::TGOwner owner;
    design::TGDataPanel panel(&owner);
    panel.SetDataSet(&mAddresses);
    const int ppi = design::TDesignUnits::Ppi();
    panel.SetSize(design::TDesignUnits::Round(ppi * face->WidthInches()),
                  design::TDesignUnits::Round(ppi * face->HeightInches()));
    const QString path = mStore.LayoutPath(row);
    if (!path.isEmpty()) {
        try {
            design::TGLabelObjectFiler::LoadFromFile(panel, path);
        } catch (const design::TLayoutError&) {
            // A damaged file shows as an empty face here; Print and Modify say why.
            panel.ClearObjects();
        }
    }
    panel.SetScale(kPictureScale);
    panel.SetSize(design::TDesignUnits::Round(ppi * face->WidthInches() * kPictureScale),
                  design::TDesignUnits::Round(ppi * face->HeightInches() * kPictureScale));
    panel.RefreshData();
    const qreal ratio = devicePixelRatioF();
    QImage image(QSize(panel.Width() + 1, panel.Height() + 1) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(palette().color(QPalette::Dark));
    {
        QPainter painter(&image);
        design::TGPanelView::PaintPanel(panel, painter);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawRect(QRect(0, 0, panel.Width(), panel.Height()));
    }
    panel.ClearObjects();
    mPictureImage = image;
    // Room for the whole face with the frame around it, whatever the size.
    const QSize room =
        QSize(panel.Width() + 1, panel.Height() + 1) + QSize(2, 2) * (mPicture->frameWidth() + 4);
    mPicture->setMinimumSize(mPicture->minimumSize().expandedTo(room));
    mPicture->setText({});
    mPicture->setPixmap(QPixmap::fromImage(image));
}

void TQMEnvelopes::ShowRecord()
{
    if (!mAddresses.Active() || mAddresses.IsEmpty() || mAddresses.Eof()) {
        mRecordLabel->clear();
        return;
    }
    const auto field = [this](const char* name) {
        return mAddresses.AsString(QString::fromLatin1(name)).trimmed();
    };
    mRecordLabel->setText(field("FNAME") + QLatin1Char(' ') + field("LNAME") + QLatin1Char('\n') +
                          field("ORG") + QLatin1Char('\n') + field("CITY"));
}

// ---- settings

void TQMEnvelopes::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (mActivated)
        return;
    mActivated = true;
    if (auto settings = Settings())
        data::TWindowPlacement::Restore(*this, QString::fromLatin1(kClassName), *settings);
    LoadSettings();
    DrawPicture();
}

void TQMEnvelopes::done(int result)
{
    if (mActivated && !mPlacementSaved) {
        mPlacementSaved = true;
        if (auto settings = Settings()) {
            try {
                data::TWindowPlacement::Save(*this, QString::fromLatin1(kClassName), *settings);
            } catch (const data::TSettingsWriteError& e) {
                data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
            }
        }
    }
    QDialog::done(result);
}

void TQMEnvelopes::LoadSettings()
{
    auto settings = Settings();
    if (!settings)
        return;
    mFeed = TEnvelopeFeedMethod::Read(*settings);
    TJobPrinterPort port(mJob);
    TEnvelopePrinterSettings::Read(*settings).Apply(port);
}

void TQMEnvelopes::SaveSettings()
{
    auto settings = Settings();
    if (!settings)
        return;
    try {
        mFeed.Write(*settings);
        TEnvelopePrinterSettings::Capture(TJobPrinterPort(mJob)).Write(*settings);
    } catch (const data::TSettingsWriteError& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
    }
}

void TQMEnvelopes::PrinterSetupClick()
{
    if (OnPrinterSetup && !OnPrinterSetup(this))
        return;
    SaveSettings();
}

// ---- layouts

std::optional<int> TQMEnvelopes::ChooseSize(int code)
{
    TChooseEnvelopeLayout dialog(SizeEntries(), code, this);
    if (RunDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.Code();
}

bool TQMEnvelopes::LoadLayout(design::TGDataPanel& panel, const QString& path)
{
    try {
        design::TGLabelObjectFiler::LoadFromFile(panel, path);
        return true;
    } catch (const design::TLayoutError& e) {
        panel.ClearObjects();
        QString text = QFileInfo(path).fileName();
        if (e.Offset() >= 0)
            text += QStringLiteral(", offset ") + QString::number(e.Offset());
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     text + QStringLiteral(": ") + e.Message());
        return false;
    }
}

void TQMEnvelopes::NewClick()
{
    if (!mStore.IsOpen())
        return;
    const int row = CurrentRow();
    const int current =
        row >= 0 ? mStore.Rows()[std::size_t(row)].code : TEnvelopeSizes::kDefaultCode;
    const std::optional<int> code = ChooseSize(current);
    if (!code)
        return;
    Design(mStore.NewLayout(*code));
}

void TQMEnvelopes::ModifyClick()
{
    const int row = CurrentRow();
    if (row < 0)
        return;
    Design(mStore.WorkingValues(row));
}

void TQMEnvelopes::Design(TEnvelopeLayout values)
{
    if (!values.Face()) {
        // A row whose size is no envelope size: a size is chosen first, so that the designer
        // never works on a face of negative size.
        const std::optional<int> code = ChooseSize(values.code);
        if (!code || !TEnvelopeSizes::Face(*code))
            return;
        values.code = *code;
    }
    mPanel->ClearObjects();
    if (!values.IsNew()) {
        const QString path = mStore.PrepareModify(values);
        if (!path.isEmpty() && !LoadLayout(*mPanel, path))
            return;
    }

    // The margins overlay shows the envelope printer as printing will set it up.
    LoadSettings();
    mJob.SetPaperSize(values.code);
    TEnvelopePrePrint::TurnJob(mJob, mFeed.orientation);
    const print::TPageGeometry printer = print::TRPDevice::Instance().Geometry();

    TEnvelopeFaceSource sizes;
    sizes.face = [](int code) {
        const auto face = TEnvelopeSizes::Face(code);
        return face ? QSizeF(face->WidthInches(), face->HeightInches()) : QSizeF();
    };
    sizes.choose = [this](int code, QWidget*) { return ChooseSize(code); };
    TEnvelopeDesignScreen designer(*mPanel, &mAddresses, printer, values.description, values.code,
                                   sizes, this);
    int saved = -1;
    while (RunDialog(designer) == QDialog::Accepted) {
        values.description = designer.Description();
        values.code = designer.Code();
        QString error;
        saved = mStore.Save(values, *mPanel, &error);
        if (saved >= 0)
            break;
        // Nothing was written: the design stays open so that it is not lost.
        data::TMessageService::Error(this, QStringLiteral("Error"), error);
    }
    mPanel->ClearObjects();
    FillGrid(saved >= 0 ? saved : CurrentRow());
    ShowRecord();
}

void TQMEnvelopes::DeleteClick()
{
    const int row = CurrentRow();
    if (row < 0)
        return;
    // A table that refuses the change (a full disk, a damaged file) ends the command with its
    // reason; the list shows what the table holds afterwards.
    try {
        if (mStore.Delete(row, this))
            FillGrid(row);
    } catch (const data::TDataSetError& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        FillGrid(row);
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
        FillGrid(row);
    }
}

void TQMEnvelopes::CloneClick()
{
    const int row = CurrentRow();
    if (row < 0)
        return;
    try {
        const int added = mStore.Clone(row, this);
        if (added >= 0)
            FillGrid(added);
    } catch (const data::TDataSetError& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        FillGrid(row);
    } catch (const std::exception& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"),
                                     QString::fromLocal8Bit(e.what()));
        FillGrid(row);
    }
}

// ---- printing

TEnvelopeRecords TQMEnvelopes::Records() const
{
    if (mCurrentRecord->isChecked())
        return TEnvelopeRecords::CurrentRecord;
    if (mMatchingFilter->isChecked())
        return TEnvelopeRecords::MatchingFilter;
    return TEnvelopeRecords::AllRecords;
}

void TQMEnvelopes::PrintOrPreview(bool preview)
{
    const int row = CurrentRow();
    if (row < 0)
        return;
    const TEnvelopeLayout values = mStore.WorkingValues(row);
    const std::optional<TEnvelopeFace> face = values.Face();
    if (!face) {
        data::TMessageService::Inform(this, TEnvelopeSizes::NoValidSizeMessage());
        return;
    }
    LoadSettings();

    mPanel->ClearObjects();
    QString why;
    const QString path = mStore.LayoutPath(row, &why);
    if (path.isEmpty()) {
        data::TMessageService::Inform(this, why);
        return;
    }
    if (!LoadLayout(*mPanel, path))
        return;

    mJob.SetPaperSize(values.code);
    TEnvelopePrePrint::TurnJob(mJob, mFeed.orientation);
    {
        TEnvelopePrePrint confirm(mJob, mFeed, values.code, this);
        confirm.OnPrinterSetup = OnPrinterSetup;
        if (RunDialog(confirm) != QDialog::Accepted) {
            mPanel->ClearObjects();
            return;
        }
        mFeed = confirm.Feed();
    }
    SaveSettings();
    // A print on the "PDF file" printer asks for its file first.
    if (!preview && !print::TPdfFileDialog::Choose(this, QStringLiteral("Envelopes - ") +
                                                             values.description.trimmed())) {
        mPanel->ClearObjects();
        return;
    }

    QByteArray stream;
    bool aborted = true;
    {
        TEnvelopeRecordScope scope(mAddresses);
        try {
            scope.Apply(Records(), mStartFromCurrent->isChecked(), this);
        } catch (const std::exception& e) {
            data::TMessageService::Error(this, QStringLiteral("Error"),
                                         QString::fromLocal8Bit(e.what()));
            mPanel->ClearObjects();
            return;
        }
        print::TReportPrinter printerJob;
        print::TReportFiler filerJob;
        QBuffer buffer;
        print::TBaseReport& job = preview ? static_cast<print::TBaseReport&>(filerJob)
                                          : static_cast<print::TBaseReport&>(printerJob);
        if (preview) {
            buffer.open(QIODevice::ReadWrite);
            filerJob.SetStreamMode(print::TStreamMode::smUser);
            filerJob.SetStream(&buffer);
        }
        job.SetTitle(values.description);
        job.SetPaperSize(values.code);
        job.SetOrientation(mJob.Orientation());
        TEnvelopeRun run(*mPanel, mAddresses, *face, mFeed);
        run.SetOnlyCurrentRecord(Records() == TEnvelopeRecords::CurrentRecord);
        data::TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
        run.SetImbStart(design::TImbSettings::Read(settings).nextSerial);
        TEnvelopeForm form(
            run, job, preview ? print::TPrintStatusMode::Preview : print::TPrintStatusMode::Print,
            this);
        RunDialog(form);
        aborted = job.Aborted() || !form.Finished() || form.Failed();
        if (preview)
            stream = buffer.data();
        // The status window closes by itself: the barcode notes are said here, and the counter
        // moves on only after envelopes that really went to the printer.
        if (!aborted && !preview) {
            try {
                run.Imb().WriteBack(settings);
            } catch (const data::TSettingsWriteError& error) {
                data::TMessageService::Error(this, QStringLiteral("Error"), error.Message());
            }
        }
        QStringList notes = run.Imb().Notes();
        if (!aborted && !preview && !printerJob.OutputFile().isEmpty())
            notes << print::TPdfOutputName::WrittenLine(printerJob.OutputFile());
        if (!aborted && !notes.isEmpty())
            data::TMessageService::Inform(this, notes.join(QLatin1Char('\n')));
    }
    mPanel->ClearObjects();
    ShowRecord();
    if (preview && !aborted && !stream.isEmpty()) {
        print::TPreviewForm form(stream, QStringLiteral("Preview Envelope"),
                                 print::TPreviewForm::kWholePage, this);
        RunDialog(form);
    }
}

} // namespace qm::envelopes
