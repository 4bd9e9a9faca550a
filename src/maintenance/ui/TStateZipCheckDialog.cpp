#include "maintenance/ui/TStateZipCheckDialog.h"
#include "maintenance/ui/TMaintenanceWidgets.h"

#include "addressbook/TAddressBook.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSystemTables.h"
#include "data/ui/THelpWindow.h"
#include "maintenance/TResultIndex.h"
#include "maintenance/TStateRowCheck.h"
#include "maintenance/TStateZipRanges.h"
#include "maintenance/ui/TEditGridModel.h"
#include "maintenance/ui/TGridPanel.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace qm::maintenance {

using data::TMessageService;

TStateZipCheckDialog::TStateZipCheckDialog(addressbook::TAddressBook& book, QWidget* parent)
    : TCheckDialogBase(book, parent)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Check State and Zip Codes"));
    auto* layout = new QVBoxLayout(this);

    mSetUp = new QWidget(this);
    mSetUp->setObjectName(QStringLiteral("SetUpPanel"));
    auto* setUp = new QVBoxLayout(mSetUp);
    mBlanks = new QCheckBox(
        QStringLiteral("Include records with &blank State/Province or Zip/Postcode entries?"),
        mSetUp);
    mBlanks->setObjectName(QStringLiteral("BlanksCheck"));
    setUp->addWidget(mBlanks);
    mPerform = new QPushButton(QStringLiteral("&Perform Check Now"), mSetUp);
    mPerform->setObjectName(QStringLiteral("PerformButton"));
    connect(mPerform, &QPushButton::clicked, this, &TStateZipCheckDialog::PerformButtonClick);
    setUp->addWidget(mPerform, 0, Qt::AlignLeft);
    setUp->addStretch();
    layout->addWidget(mSetUp);

    mResults = new QWidget(this);
    mResults->setObjectName(QStringLiteral("ResultPanel"));
    auto* results = new QVBoxLayout(mResults);
    results->setContentsMargins(0, 0, 0, 0);
    mResultText = new QLabel(
        QStringLiteral("These records have questionable state/zip or province/postcode "
                       "combinations. You may edit the contents to make changes. When you are "
                       "done, press the Close button."),
        mResults);
    mResultText->setWordWrap(true);
    results->addWidget(mResultText);
    mPanel->setParent(mResults);
    mPanel->show();
    results->addWidget(mPanel, 1);
    mResults->hide();
    layout->addWidget(mResults, 1);
    const auto add = [this](TGridPanel* panel, const char* name, const QString& caption,
                            void (TStateZipCheckDialog::*slot)()) {
        auto* b = new QPushButton(caption, panel);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        panel->ButtonRow()->addWidget(b);
    };
    add(mPanel, "EditButton", QStringLiteral("&Edit"), &TStateZipCheckDialog::EditButtonClick);
    add(mPanel, "SaveButton", QStringLiteral("&Save"), &TStateZipCheckDialog::SaveButtonClick);
    add(mPanel, "CancelEditButton", QStringLiteral("&Cancel"),
        &TStateZipCheckDialog::CancelEditButtonClick);
    add(mPanel, "TagButton", QStringLiteral("&Tag"), &TStateZipCheckDialog::TagButtonClick);
    auto* tagAll = new QPushButton(QStringLiteral("Tag &All"), mPanel);
    tagAll->setObjectName(QStringLiteral("TagAllButton"));
    tagAll->setAutoDefault(false);
    connect(tagAll, &QPushButton::clicked, this, [this] {
        TagAllButtonClick(QStringLiteral("Tag all records with questionable state or zipcodes?"));
    });
    mPanel->ButtonRow()->addWidget(tagAll);

    mEditorPage = new QWidget(this);
    mEditorPage->setObjectName(QStringLiteral("EditorPanel"));
    auto* editor = new QVBoxLayout(mEditorPage);
    editor->setContentsMargins(0, 0, 0, 0);
    editor->addWidget(new QLabel(
        QStringLiteral("Make changes to the State/Province file to best reflect your country"),
        mEditorPage));
    mEditor = new TGridPanel(mStateTable, mEditorPage);
    mEditor->Model().SetValidator([](data::TDataSet& row) {
        return TStateRowCheck::Problem(
            row.AsString(QStringLiteral("NAME")), row.AsString(QStringLiteral("STATE")),
            row.AsString(QStringLiteral("LOW_ZIP")), row.AsString(QStringLiteral("HIGH_ZIP")));
    });
    mEditor->Grid()->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    editor->addWidget(mEditor, 1);
    add(mEditor, "EditorDeleteButton", QStringLiteral("Delete"),
        &TStateZipCheckDialog::EditorDeleteButtonClick);
    add(mEditor, "EditorSaveButton", QStringLiteral("Save"),
        &TStateZipCheckDialog::EditorSaveButtonClick);
    add(mEditor, "EditorUndoButton", QStringLiteral("Undo"),
        &TStateZipCheckDialog::EditorUndoButtonClick);
    mEditorPage->hide();
    layout->addWidget(mEditorPage, 1);

    layout->addWidget(mBar);
    mCount->setWordWrap(true);
    layout->addWidget(mCount);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    mEditTable = new QPushButton(QStringLiteral("Edit State/Province &File"), this);
    mEditTable->setObjectName(QStringLiteral("EditTableButton"));
    connect(mEditTable, &QPushButton::clicked, this, &TStateZipCheckDialog::EditTableButtonClick);
    mClose = new QPushButton(QStringLiteral("Close"), this);
    mClose->setObjectName(QStringLiteral("CloseButton"));
    connect(mClose, &QPushButton::clicked, this, &TStateZipCheckDialog::CloseButtonClick);
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    mCancel->hide();
    connect(mCancel, &QPushButton::clicked, this, &TStateZipCheckDialog::CancelButtonClick);
    mHelp = TMaintenanceWidgets::HelpButton(this, kHelpContext);
    for (QPushButton* b : {mEditTable, mClose, mCancel, mHelp}) {
        b->setAutoDefault(false);
        bottom->addWidget(b);
    }
    layout->addLayout(bottom);
    mPerform->setDefault(true);
}

TStateZipCheckDialog::~TStateZipCheckDialog()
{
    mEditor->Release();
    mStateTable.Close();
}

QString TStateZipCheckDialog::FoundText(uint32_t count)
{
    return QStringLiteral("Found ") + QString::number(count) +
           QStringLiteral(" records with questionable state or zipcodes");
}

void TStateZipCheckDialog::PerformButtonClick()
{
    if (mRunning || mIndex || mEditorShown)
        return;
    mHelp->hide();
    mCancel->show();
    mClose->hide();
    mSetUp->hide();
    mEditTable->hide();
    mRunning = true;
    mStop = false;

    TStateZipRanges ranges;
    const QString failure = ranges.Load(data::TProgramHome::Current().SysDataDir());
    data::TDataSet& ds = mBook.DataSet();
    if (!failure.isEmpty()) {
        mRunning = false;
        TMessageService::Inform(this, failure);
    } else {
        try {
            const QString path = TResultIndex::StateZipPath(mBook.CurrentPath());
            mIndex = std::make_unique<TResultIndex>(ds, path, TStateZipCheckRun::KeyExpression());
            mBar->setValue(0);
            mCount->setText(FoundText(0));
            mOutcome = TStateZipCheckRun(ds, ranges, mBlanks->isChecked())
                           .Run(*mIndex, Progress(&FoundText));
            mRunning = false;
            mBar->hide();
            mIndex->MakeOrder();
            mResults->show();
            ShowResults();
            // The values to correct next to the name.
            mPanel->MoveColumn(QStringLiteral("STATE"), 3);
            mPanel->MoveColumn(QStringLiteral("ZIP"), 4);
            mCount->setText(FoundText(mOutcome.questionable));
        } catch (const std::exception& error) {
            mRunning = false;
            mBar->hide();
            DropResults();
            ShowFailure(error);
        }
    }
    mRunning = false;
    if (!mIndex)
        mSetUp->show();
    mEditTable->show();
    mHelp->show();
    mClose->show();
    mCancel->hide();
}

bool TStateZipCheckDialog::OpenEditor()
{
    mStateTable.Close();
    if (mStateTable.Fields().empty()) {
        mStateTable.AddStoredField(QStringLiteral("NAME"), QStringLiteral("State or Province"));
        mStateTable.AddStoredField(QStringLiteral("STATE"), QStringLiteral("Abbreviation"));
        mStateTable.AddStoredField(QStringLiteral("LOW_ZIP"), QStringLiteral("Starting Zip/Post"));
        mStateTable.AddStoredField(QStringLiteral("HIGH_ZIP"), QStringLiteral("Ending Zip/Post"));
    }
    const QString failure = data::TSystemTables::OpenOrCreate(
        mStateTable, data::TSystemTable::StateZip, data::TProgramHome::Current().SysDataDir());
    if (!failure.isEmpty() || !mStateTable.Active()) {
        mStateTable.Close();
        TMessageService::Inform(this, QStringLiteral("Unable to open CSZ.DBF"));
        return false;
    }
    try {
        mStateTable.Cursor().SelectTag("STATE");
        mStateTable.First();
    } catch (const xbase::TXbaseError&) {
        // Record order serves as well.
    }
    mEditor->Refresh();
    return true;
}

bool TStateZipCheckDialog::CloseEditor()
{
    if (!mEditor->Model().PostPending())
        return false;
    mStateTable.Close();
    mEditor->Release();
    return true;
}

void TStateZipCheckDialog::EditTableButtonClick()
{
    if (mRunning)
        return;
    if (!mEditorShown) {
        if (!mPanel->Model().PostPending() || !OpenEditor())
            return;
        mPanelBeforeEditor = mResults->isVisible() ? mResults : mSetUp;
        mPanelBeforeEditor->hide();
        mEditorPage->show();
        mEditTable->setText(QStringLiteral("Stop &Editing"));
        mClose->setEnabled(false);
        mEditorShown = true;
        return;
    }
    if (!CloseEditor())
        return;
    mEditorPage->hide();
    mEditTable->setText(QStringLiteral("Edit State/Province &File"));
    mClose->setEnabled(true);
    mEditorShown = false;
    if (mPanelBeforeEditor)
        mPanelBeforeEditor->show();
}

void TStateZipCheckDialog::EditButtonClick()
{
    data::TDataSet& ds = mBook.DataSet();
    if (!ds.IsEmpty() && !ds.Editing())
        ds.Edit();
    mPanel->Grid()->setFocus();
    if (mPanel->Grid()->currentIndex().isValid())
        mPanel->Grid()->edit(mPanel->Grid()->currentIndex());
}

void TStateZipCheckDialog::SaveButtonClick()
{
    mPanel->Model().PostPending();
}

void TStateZipCheckDialog::CancelEditButtonClick()
{
    mPanel->Model().CancelPending();
}

void TStateZipCheckDialog::EditorDeleteButtonClick()
{
    if (mStateTable.IsEmpty())
        return;
    if (!TMessageService::Ask(this, QStringLiteral("DELETE"), QStringLiteral("Delete this row?")))
        return;
    try {
        if (mStateTable.Editing())
            mStateTable.Cancel();
        mStateTable.MarkDeleted(true);
        mStateTable.Table().Commit();
        mStateTable.Prior();
        if (mStateTable.MarkedDeleted())
            mStateTable.First();
    } catch (const xbase::TXbaseError& error) {
        TMessageService::Inform(this, QString::fromStdString(error.Message()));
    }
    mEditor->Refresh();
}

void TStateZipCheckDialog::EditorSaveButtonClick()
{
    if (mEditor->Model().PostPending())
        mEditor->Refresh();
}

void TStateZipCheckDialog::EditorUndoButtonClick()
{
    mEditor->Model().CancelPending();
}

void TStateZipCheckDialog::CloseButtonClick()
{
    if (!mRunning && !mEditorShown)
        accept();
}

void TStateZipCheckDialog::CancelButtonClick()
{
    if (mRunning)
        AskCancel();
}

void TStateZipCheckDialog::done(int result)
{
    if (mRunning)
        return;
    if (mEditorShown && !CloseEditor())
        return;
    TCheckDialogBase::done(result);
}

} // namespace qm::maintenance
