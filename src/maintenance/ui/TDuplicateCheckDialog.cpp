#include "maintenance/ui/TDuplicateCheckDialog.h"
#include "maintenance/ui/TMaintenanceWidgets.h"

#include "addressbook/TAddressBook.h"
#include "data/TApolloEnv.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/ui/THelpWindow.h"
#include "maintenance/TResultIndex.h"
#include "maintenance/ui/TEditGridModel.h"
#include "maintenance/ui/TGridPanel.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qm::maintenance {

using data::TMessageService;

TDuplicateCheckDialog::TDuplicateCheckDialog(addressbook::TAddressBook& book, QWidget* parent)
    : TCheckDialogBase(book, parent)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Check and Repair Duplicates"));

    auto* layout = new QVBoxLayout(this);
    mSetUp = new QWidget(this);
    mSetUp->setObjectName(QStringLiteral("SetUpPanel"));
    auto* setUp = new QVBoxLayout(mSetUp);
    auto* kind = new QGroupBox(QStringLiteral("What to check:"), mSetUp);
    auto* kinds = new QVBoxLayout(kind);
    mName = new QRadioButton(QStringLiteral("&Last + First"), kind);
    mName->setObjectName(QStringLiteral("NameRadio"));
    mInitial = new QRadioButton(QStringLiteral("Last + &First Initial"), kind);
    mInitial->setObjectName(QStringLiteral("InitialRadio"));
    mStreet = new QRadioButton(QStringLiteral("&Street Address"), kind);
    mStreet->setObjectName(QStringLiteral("StreetRadio"));
    mName->setChecked(true);
    for (QRadioButton* radio : {mName, mInitial, mStreet}) {
        kinds->addWidget(radio);
        connect(radio, &QRadioButton::toggled, this, [this] { KindChanged(); });
    }
    setUp->addWidget(kind);
    mCharsRow = new QWidget(mSetUp);
    auto* chars = new QHBoxLayout(mCharsRow);
    chars->setContentsMargins(0, 0, 0, 0);
    auto* charsLabel = new QLabel(
        QStringLiteral("Check how many characters of street address (max 30)"), mCharsRow);
    mChars = new QSpinBox(mCharsRow);
    mChars->setObjectName(QStringLiteral("StreetChars"));
    mChars->setRange(1, TDuplicateCheckRun::kMaxStreetChars);
    mChars->setValue(TDuplicateCheckRun::kMaxStreetChars);
    charsLabel->setBuddy(mChars);
    chars->addWidget(charsLabel);
    chars->addWidget(mChars);
    chars->addStretch();
    setUp->addWidget(mCharsRow);
    mPerform = new QPushButton(QStringLiteral("&Perform Duplicate Check Now"), mSetUp);
    mPerform->setObjectName(QStringLiteral("PerformButton"));
    connect(mPerform, &QPushButton::clicked, this, &TDuplicateCheckDialog::PerformButtonClick);
    setUp->addWidget(mPerform, 0, Qt::AlignLeft);
    setUp->addStretch();
    layout->addWidget(mSetUp);

    layout->addWidget(mPanel, 1);
    const auto add = [this](const char* name, const QString& caption,
                            void (TDuplicateCheckDialog::*slot)()) {
        auto* b = new QPushButton(caption, mPanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        mPanel->ButtonRow()->addWidget(b);
    };
    add("DeleteButton", QStringLiteral("&Delete"), &TDuplicateCheckDialog::DeleteButtonClick);
    add("SaveButton", QStringLiteral("S&ave"), &TDuplicateCheckDialog::SaveButtonClick);
    add("UndoButton", QStringLiteral("&Undo"), &TDuplicateCheckDialog::UndoButtonClick);
    add("TagButton", QStringLiteral("&Tag"), &TDuplicateCheckDialog::TagButtonClick);
    auto* tagAll = new QPushButton(QStringLiteral("Tag &All"), mPanel);
    tagAll->setObjectName(QStringLiteral("TagAllButton"));
    tagAll->setAutoDefault(false);
    connect(tagAll, &QPushButton::clicked, this,
            [this] { TagAllButtonClick(QStringLiteral("Tag all possible duplicates?")); });
    mPanel->ButtonRow()->addWidget(tagAll);

    layout->addWidget(mBar);
    mCount->setWordWrap(true);
    layout->addWidget(mCount);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    mOk = new QPushButton(QStringLiteral("Ok"), this);
    mOk->setObjectName(QStringLiteral("OKButton"));
    connect(mOk, &QPushButton::clicked, this, &TDuplicateCheckDialog::OKButtonClick);
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    mCancel->hide();
    connect(mCancel, &QPushButton::clicked, this, &TDuplicateCheckDialog::CancelButtonClick);
    mHelp = TMaintenanceWidgets::HelpButton(this, kHelpContext);
    for (QPushButton* b : {mOk, mCancel, mHelp}) {
        b->setAutoDefault(false);
        bottom->addWidget(b);
    }
    layout->addLayout(bottom);
    mPerform->setDefault(true);
    KindChanged();
}

TDuplicateCheckDialog::~TDuplicateCheckDialog() = default;

QString TDuplicateCheckDialog::FoundText(uint32_t count)
{
    return QStringLiteral("Found ") + QString::number(count) +
           QStringLiteral(" possible duplicates");
}

void TDuplicateCheckDialog::KindChanged()
{
    mCharsRow->setVisible(mStreet->isChecked());
}

void TDuplicateCheckDialog::PerformButtonClick()
{
    if (mRunning || mIndex || mRebuildWanted)
        return;
    TDuplicateOptions options;
    options.kind = mStreet->isChecked()    ? TDuplicateKind::Street
                   : mInitial->isChecked() ? TDuplicateKind::Initial
                                           : TDuplicateKind::Name;
    options.streetChars = mChars->value();

    mSetUp->hide();
    mHelp->hide();
    mOk->hide();
    mCancel->show();
    mBar->setValue(0);
    mCount->setText(FoundText(0));
    mRunning = true;
    mStop = false;
    data::TDataSet& ds = mBook.DataSet();
    try {
        const QString path = QDir(data::TProgramHome::Current().Dir())
                                 .filePath(QString::fromLatin1(TResultIndex::kDuplicatesFile));
        mIndex = std::make_unique<TResultIndex>(ds, path,
                                                TDuplicateCheckRun::KeyExpression(options.kind));
        mOutcome = TDuplicateCheckRun(ds, options).Run(*mIndex, Progress(&FoundText));
        mRunning = false;
        mBar->hide();
        if (mOutcome.listed > 0) {
            mIndex->MakeOrder();
            ShowResults();
            if (options.kind == TDuplicateKind::Street)
                mStreetColumnWas = mPanel->MoveColumn(QStringLiteral("STREET"), 1);
        }
        mCount->setText(FoundText(mOutcome.duplicates));
    } catch (const std::exception& error) {
        mRunning = false;
        mBar->hide();
        DropResults();
        ShowFailure(error);
    }
    mRunning = false;
    mCancel->hide();
    mHelp->show();
    mOk->show();
    mOk->setDefault(true);
}

void TDuplicateCheckDialog::DeleteButtonClick()
{
    data::TDataSet& ds = mBook.DataSet();
    if (!mPanel->isVisible() || ds.IsEmpty())
        return;
    if (!TMessageService::Ask(this, QStringLiteral("DELETE"),
                              QStringLiteral("Delete this record?")))
        return;
    try {
        if (ds.Editing())
            ds.Cancel();
        {
            auto showDeleted = data::TApolloEnv::ScopedDeleted(false);
            ds.MarkDeleted(true);
            ds.Edit();
            ds.SetAsBoolean(QStringLiteral("ISDEL"), true);
            ds.Post();
            ds.Table().Commit();
        }
        // The query hides the record at once; stand on a record the grid still lists.
        ds.Prior();
        if (ds.MarkedDeleted())
            ds.First();
    } catch (const xbase::TXbaseError& error) {
        TMessageService::Inform(this, QString::fromStdString(error.Message()));
    }
    mPanel->Refresh();
}

void TDuplicateCheckDialog::SaveButtonClick()
{
    mPanel->Model().PostPending();
}

void TDuplicateCheckDialog::UndoButtonClick()
{
    mPanel->Model().CancelPending();
}

void TDuplicateCheckDialog::OKButtonClick()
{
    if (!mRunning)
        accept();
}

void TDuplicateCheckDialog::CancelButtonClick()
{
    if (mRunning)
        AskCancel();
    else
        reject();
}

void TDuplicateCheckDialog::done(int result)
{
    if (mRunning)
        return;
    if (mStreetColumnWas >= 0) {
        mPanel->MoveColumn(QStringLiteral("STREET"), mStreetColumnWas);
        mStreetColumnWas = -1;
    }
    TCheckDialogBase::done(result);
}

} // namespace qm::maintenance
