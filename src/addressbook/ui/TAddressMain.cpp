#include "addressbook/ui/TAddressMain.h"

#include "addressbook/THandOver.h"
#include "addressbook/TPackedRecordFinder.h"
#include "addressbook/TRecentFiles.h"
#include "addressbook/TRecordFormLayout.h"
#include "addressbook/TSoftSeek.h"
#include "addressbook/ui/TAddressBrowseDialog.h"
#include "addressbook/ui/TAddressFilterDialog.h"
#include "addressbook/ui/TCopyRecordDialog.h"
#include "addressbook/ui/TDBEdit.h"
#include "addressbook/ui/TGettingStartedDialog.h"
#include "addressbook/ui/TNewRecordDialog.h"
#include "addressbook/ui/TPreferencesDialog.h"
#include "addressbook/ui/TSearchDialog.h"
#include "addressbook/ui/TSelectDateDialog.h"
#include "addressbook/ui/TTaggingDialog.h"
#include "data/TAddressFileNames.h"
#include "data/TFilterFiles.h"
#include "data/TMessageService.h"
#include "data/TPlacementRules.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/TSortOrders.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TNewDatabaseDialog.h"
#include "data/ui/TRebuildIndexesDialog.h"
#include "data/ui/TRebuildSystemIndexesDialog.h"
#include "data/ui/TWindowPlacement.h"
#include "dialer/ui/TDialDialog.h"
#include "print/TRPDevice.h"
#include "print/ui/TPrinterCheck.h"
#include "transfer/ui/TTransferCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace qm::addressbook {

using data::THelpWindow;
using data::TMessageService;
using data::TSettingsFile;
using data::TWindowPlacement;

namespace {

TSettingsFile Settings()
{
    return TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

// The skip switch that takes each field out of the Tab order while adding.
const std::map<QString, TSkip>& SkipOfField()
{
    static const std::map<QString, TSkip> map = {
        {"LNAME", TSkip::LastName},   {"FNAME", TSkip::FirstName}, {"MIDDLE", TSkip::MiddleInitial},
        {"ORG", TSkip::Organization}, {"PHONE", TSkip::Phone1},    {"EMAIL", TSkip::Email},
        {"STATE", TSkip::State},      {"ZIP", TSkip::Zip},         {"COUNTRY", TSkip::Country},
        {"STREET2", TSkip::Address2}, {"TITLE", TSkip::Title},     {"PHONE2", TSkip::Phone2},
        {"FAX", TSkip::Fax},          {"CODES", TSkip::Codes},     {"PREFIX", TSkip::Prefix},
        {"USER1", TSkip::Comments1},  {"USER2", TSkip::Comments2},
    };
    return map;
}

// A check box that never changes by itself: a press asks the owner to toggle the tag.
class TTagCheckBox : public QCheckBox {
public:
    TTagCheckBox(const QString& text, QWidget* parent, std::function<void()> toggle)
        : QCheckBox(text, parent), mToggle(std::move(toggle))
    {
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && isEnabled())
            mToggle();
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space && isEnabled()) {
            mToggle();
            return;
        }
        QCheckBox::keyPressEvent(event);
    }
    void nextCheckState() override {}

private:
    std::function<void()> mToggle;
};

} // namespace

TAddressMain::TAddressMain(QWidget* parent) : QMainWindow(parent), mSource(&mBook.DataSet())
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Quillmark"));

    BuildActions();
    BuildMenus();

    mClientArea = new QStackedWidget(this);
    mEmptyStatePanel =
        new QLabel(QStringLiteral("Please Open or Create a Quillmark Address file"), mClientArea);
    mEmptyStatePanel->setObjectName(QStringLiteral("EmptyStatePanel"));
    mEmptyStatePanel->setAlignment(Qt::AlignCenter);
    mEmptyStatePanel->setWordWrap(true);
    QFont big = mEmptyStatePanel->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    mEmptyStatePanel->setFont(big);
    mRecordArea = BuildRecordArea();
    mClientArea->addWidget(mEmptyStatePanel);
    mClientArea->addWidget(mRecordArea);
    setCentralWidget(mClientArea);

    mSortStatus = new QLabel(this);
    mSortStatus->setObjectName(QStringLiteral("SortStatus"));
    mCountStatus = new QLabel(this);
    mCountStatus->setObjectName(QStringLiteral("CountStatus"));
    statusBar()->addWidget(mSortStatus, 1);
    statusBar()->addPermanentWidget(mCountStatus);
    // The design size is the smallest the window gets, unless the form needs more (large fonts,
    // high scaling).
    setMinimumSize(QSize(632, 434).expandedTo(minimumSizeHint()));

    mBook.SetHooks({[this] {
        data::TRebuildIndexesDialog dialog(mBook.DataSet(), this);
        dialog.exec();
        if (!dialog.Failure().isEmpty())
            TMessageService::Inform(this, dialog.Failure());
    }});
    connect(&mBook, &TAddressBook::CommandsChanged, this, &TAddressMain::UpdateCommands);
    connect(&mBook, &TAddressBook::CaptionChanged, this,
            [this](const QString& caption) { setWindowTitle(caption); });
    connect(&mSource, &data::TDataSource::DataChanged, this, [this] {
        RefreshMemo();
        mTaggedCheck->setChecked(mBook.DataSet().Active() && mBook.DataSet().AsBoolean("Tagged"));
        if (mBook.Busy())
            mCountStatus->setText(mBook.CountStatus());
    });
    qApp->installEventFilter(this);
    UpdateCommands();
}

TAddressMain::~TAddressMain()
{
    qApp->removeEventFilter(this);
}

QAction* TAddressMain::MakeAction(const char* name, const QString& caption,
                                  void (TAddressMain::*slot)(), const QKeySequence& key)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty())
        action->setShortcut(key);
    if (slot)
        connect(action, &QAction::triggered, this, [this, slot] { RunCommand(slot); });
    mActions[QString::fromLatin1(name)] = action;
    return action;
}

void TAddressMain::RunCommand(void (TAddressMain::*slot)())
{
    try {
        (this->*slot)();
    } catch (const std::exception& error) {
        // A command the file refused half-way (a disk that is full or gone, a damaged file): the
        // reason is shown and the window goes on with what the file holds; a record left in
        // editing keeps its Save and Cancel.
        while (QApplication::overrideCursor() != nullptr)
            QApplication::restoreOverrideCursor();
        TMessageService::Inform(this, QString::fromStdString(error.what()));
        UpdateCommands();
    }
}

void TAddressMain::BuildActions()
{
    MakeAction("NewItem", QStringLiteral("&New Address Database"), &TAddressMain::NewItemClick);
    MakeAction("OpenItem", QStringLiteral("&Open Address DataBase"), &TAddressMain::OpenItemClick,
               QKeySequence::Open);
    MakeAction("BrowseItem", QStringLiteral("&Browse"), &TAddressMain::BrowseItemClick,
               QKeySequence(Qt::CTRL | Qt::Key_B));
    MakeAction("SearchItem", QStringLiteral("&Search"), &TAddressMain::SearchItemClick,
               QKeySequence(Qt::CTRL | Qt::Key_S));
    MakeAction("ImportDbfItem", QStringLiteral("Import from &DBF File"),
               &TAddressMain::TransferCommand);
    MakeAction("ImportAsciiItem", QStringLiteral("Import from &ASCII File"),
               &TAddressMain::TransferCommand);
    MakeAction("Import1xItem", QStringLiteral("Import from Quillmark 1.x DBF"),
               &TAddressMain::TransferCommand);
    MakeAction("Import2xItem", QStringLiteral("Import from Quillmark 2.x DBF"),
               &TAddressMain::TransferCommand);
    MakeAction("ExportItem", QStringLiteral("&Export "), &TAddressMain::TransferCommand);
    MakeAction("SetFilterItem", QStringLiteral("Set &Filter"), &TAddressMain::SetFilterItemClick,
               QKeySequence(Qt::CTRL | Qt::Key_F));
    MakeAction("ClearFilterItem", QStringLiteral("&Clear Filter"),
               &TAddressMain::ClearFilterItemClick);
    MakeAction("SaveFilterItem", QStringLiteral("&Save Filter"),
               &TAddressMain::SaveFilterItemClick);
    MakeAction("RestoreFilterItem", QStringLiteral("&Restore Filter"),
               &TAddressMain::RestoreFilterItemClick);
    MakeAction("ClearTagsItem", QStringLiteral("Clear &Tags"), &TAddressMain::ClearTagsItemClick);
    MakeAction("TagAllItem", QStringLiteral("&Tag All Filter Matches"),
               &TAddressMain::TagAllItemClick);
    MakeAction("RebuildIndexesItem", QStringLiteral("&Rebuild Indexes for this file"),
               &TAddressMain::RebuildIndexesItemClick);
    MakeAction("RebuildSystemIndexesItem", QStringLiteral("Rebuild S&ystem File indexes"),
               &TAddressMain::RebuildSystemIndexesItemClick);
    MakeAction("PreferencesItem", QStringLiteral("Pre&ferences"),
               &TAddressMain::PreferencesItemClick);
    MakeAction("ExitItem", QStringLiteral("E&xit "), &TAddressMain::ExitItemClick);

    // The Edit commands act on the entry field (or the memo) that has the focus.
    MakeAction("UndoItem", QStringLiteral("&Undo typing"), &TAddressMain::UndoItemClick,
               QKeySequence(Qt::CTRL | Qt::Key_Z));
    MakeAction("CutItem", QStringLiteral("Cu&t"), &TAddressMain::CutItemClick,
               QKeySequence(Qt::CTRL | Qt::Key_X));
    MakeAction("CopyItem", QStringLiteral("&Copy"), &TAddressMain::CopyItemClick,
               QKeySequence(Qt::CTRL | Qt::Key_C));
    MakeAction("PasteItem", QStringLiteral("&Paste"), &TAddressMain::PasteItemClick,
               QKeySequence(Qt::CTRL | Qt::Key_V));

    MakeAction("FirstItem", QStringLiteral("&First"), &TAddressMain::FirstButtonClick,
               QKeySequence(Qt::CTRL | Qt::Key_Up));
    MakeAction("PriorItem", QStringLiteral("&Previous"), &TAddressMain::PriorButtonClick,
               QKeySequence(Qt::CTRL | Qt::Key_Left));
    MakeAction("NextItem", QStringLiteral("&Next"), &TAddressMain::NextButtonClick,
               QKeySequence(Qt::CTRL | Qt::Key_Right));
    MakeAction("LastItem", QStringLiteral("&Last"), &TAddressMain::LastButtonClick,
               QKeySequence(Qt::CTRL | Qt::Key_Down));
    MakeAction("AddItem", QStringLiteral("&Add"), &TAddressMain::AddButtonClick);
    MakeAction("EditItem", QStringLiteral("&Edit"), &TAddressMain::EditButtonClick);
    MakeAction("DeleteItem", QStringLiteral("&Delete"), &TAddressMain::DeleteButtonClick);
    MakeAction("CopyToClipboardItem", QStringLiteral("Copy To &Clipboard"),
               &TAddressMain::CopyToClipboardItemClick);
    MakeAction("CloneItem", QStringLiteral("Create a Duplicate &Record (Clone)"),
               &TAddressMain::CloneItemClick);
    MakeAction("SaveItem", QStringLiteral("&Save"), &TAddressMain::SaveButtonClick,
               QKeySequence(Qt::CTRL | Qt::Key_Return));
    MakeAction("CancelItem", QStringLiteral("&Cancel"), &TAddressMain::CancelButtonClick);

    MakeAction("CountZipItem", {}, &TAddressMain::CountZipItemClick);
    for (const char* n : {"CheckStateZipItem", "CheckDuplicatesItem", "ConvertCaseItem",
                          "DeleteRecordsItem", "SearchReplaceItem"})
        MakeAction(n, {}, &TAddressMain::MaintenanceItemClick);
    mActions["CountZipItem"]->setText(QStringLiteral("Count &Zip Codes"));
    mActions["CheckStateZipItem"]->setText(QStringLiteral("Check && Repair &State and Zip Codes"));
    mActions["CheckDuplicatesItem"]->setText(QStringLiteral("Check && Repair &Duplicates"));
    mActions["ConvertCaseItem"]->setText(QStringLiteral("Con&vert Case"));
    mActions["DeleteRecordsItem"]->setText(QStringLiteral("Delete &Records"));
    mActions["SearchReplaceItem"]->setText(QStringLiteral("&Search && Replace Field Values"));

    MakeAction("PrintLabelsItem", QStringLiteral("Print &Labels"), &TAddressMain::PrintCommand,
               QKeySequence(Qt::CTRL | Qt::Key_L));
    MakeAction("PrintLettersItem", QStringLiteral("Print Le&tters"), &TAddressMain::PrintCommand,
               QKeySequence(Qt::CTRL | Qt::Key_T));
    MakeAction("PrintEnvelopesItem", QStringLiteral("Print &Envelopes"),
               &TAddressMain::PrintCommand, QKeySequence(Qt::CTRL | Qt::Key_E));
    MakeAction("PrintReportsItem", QStringLiteral("Print &Reports"),
               &TAddressMain::PrintReportsItemClick, QKeySequence(Qt::CTRL | Qt::Key_R));
    MakeAction("PrintCurrentItem", QStringLiteral("Print C&urrent Record"),
               &TAddressMain::PrintCurrentItemClick, QKeySequence(Qt::CTRL | Qt::Key_P));

    MakeAction("HelpContentsItem", QStringLiteral("&Contents"), nullptr,
               QKeySequence::HelpContents);
    connect(mActions["HelpContentsItem"], &QAction::triggered, this,
            [this] { THelpWindow::ShowContext(THelpWindow::kContentsContext, this); });
    MakeAction("HelpSearchItem", QStringLiteral("Search for Help On"), nullptr);
    connect(mActions["HelpSearchItem"], &QAction::triggered, this,
            [this] { THelpWindow::ShowSearch(this); });
    MakeAction("HelpHowToItem", QStringLiteral("How to Use Help"), nullptr);
    connect(mActions["HelpHowToItem"], &QAction::triggered, this,
            [this] { THelpWindow::ShowContext(THelpWindow::kHowToUseHelpContext, this); });
    MakeAction("GettingStartedItem", QStringLiteral("&Getting Started"),
               &TAddressMain::GettingStartedItemClick);
    MakeAction("AboutItem", QStringLiteral("&About..."), &TAddressMain::AboutItemClick);

    mSortGroup = new QActionGroup(this);
    mSortGroup->setExclusive(true);
    for (const data::TSortOrder& order : data::TSortOrders::All()) {
        auto* action = new QAction(QString::fromLatin1(order.caption), mSortGroup);
        action->setObjectName(QStringLiteral("Sort") + QString::fromLatin1(order.tag) + "Item");
        action->setCheckable(true);
        action->setData(QString::fromLatin1(order.tag));
        mActions[action->objectName()] = action;
    }
    connect(mSortGroup, &QActionGroup::triggered, this, &TAddressMain::SortItemClick);
}

void TAddressMain::BuildMenus()
{
    mFileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    for (const char* n : {"NewItem", "OpenItem"})
        mFileMenu->addAction(mActions[n]);
    mFileMenu->addSeparator();
    mFileMenu->addAction(mActions["BrowseItem"]);
    mFileMenu->addAction(mActions["SearchItem"]);
    mImportMenu = mFileMenu->addMenu(QStringLiteral("&Import"));
    for (const char* n : {"ImportDbfItem", "ImportAsciiItem", "Import1xItem", "Import2xItem"})
        mImportMenu->addAction(mActions[n]);
    mFileMenu->addAction(mActions["ExportItem"]);
    mFileMenu->addSeparator();
    for (const char* n :
         {"SetFilterItem", "ClearFilterItem", "SaveFilterItem", "RestoreFilterItem"})
        mFileMenu->addAction(mActions[n]);
    mFileMenu->addSeparator();
    mFileMenu->addAction(mActions["ClearTagsItem"]);
    mFileMenu->addAction(mActions["TagAllItem"]);
    mFileMenu->addSeparator();
    mFileMenu->addAction(mActions["RebuildIndexesItem"]);
    mFileMenu->addAction(mActions["RebuildSystemIndexesItem"]);
    mFileMenu->addSeparator();
    mFileMenu->addAction(mActions["PreferencesItem"]);
    mFileMenu->addSeparator();
    mFileMenu->addAction(mActions["ExitItem"]);
    mRecentSeparator = mFileMenu->addSeparator();

    mRecordMenu = menuBar()->addMenu(QStringLiteral("&Record"));
    for (const char* n : {"FirstItem", "PriorItem", "NextItem", "LastItem"})
        mRecordMenu->addAction(mActions[n]);
    mRecordMenu->addSeparator();
    for (const char* n : {"AddItem", "EditItem", "DeleteItem"})
        mRecordMenu->addAction(mActions[n]);
    mRecordMenu->addSeparator();
    mRecordMenu->addAction(mActions["CopyToClipboardItem"]);
    mRecordMenu->addAction(mActions["CloneItem"]);
    // Save and Cancel work by key (Ctrl+Enter) and by their buttons.
    addAction(mActions["SaveItem"]);
    // The Edit commands have no menu of their own; they work by key.
    for (const char* n : {"UndoItem", "CutItem", "CopyItem", "PasteItem"})
        addAction(mActions[n]);

    mSortMenu = menuBar()->addMenu(QStringLiteral("&Sort"));
    mSortMenu->addActions(mSortGroup->actions());

    mUtilitiesMenu = menuBar()->addMenu(QStringLiteral("&Utilities"));
    for (const char* n : {"CountZipItem", "CheckStateZipItem", "CheckDuplicatesItem",
                          "ConvertCaseItem", "DeleteRecordsItem", "SearchReplaceItem"})
        mUtilitiesMenu->addAction(mActions[n]);

    mPrintMenu = menuBar()->addMenu(QStringLiteral("&Print"));
    for (const char* n : {"PrintLabelsItem", "PrintLettersItem", "PrintEnvelopesItem",
                          "PrintReportsItem", "PrintCurrentItem"})
        mPrintMenu->addAction(mActions[n]);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    for (const char* n : {"HelpContentsItem", "HelpSearchItem", "HelpHowToItem"})
        help->addAction(mActions[n]);
    help->addSeparator();
    help->addAction(mActions["GettingStartedItem"]);
    help->addAction(mActions["AboutItem"]);
}

void TAddressMain::BuildButtonBar(QWidget* owner, QVBoxLayout* layout)
{
    auto* bar = new QHBoxLayout;
    struct TBarButton {
        const char* name;
        const char* caption;
        const char* hint;
        const char* action;
    };
    const TBarButton buttons[] = {
        {"LabelsButton", "Labels", "Click here or press CTRL+L to print/design labels",
         "PrintLabelsItem"},
        {"LettersButton", "Letters", "Click here or press CTRL+T to print/design letters",
         "PrintLettersItem"},
        {"EnvelopesButton", "Envelopes", "Click here or press CTRL+E to print/design envelopes",
         "PrintEnvelopesItem"},
        {"ReportsButton", "Reports", "Click here or press CTRL+R to print/design reports",
         "PrintReportsItem"},
        {"BrowseButton", "Browse", "Click here or press CTRL+B for a table view of the database",
         "BrowseItem"},
        {"SearchButton", "Search", "Click here or press CTRL+S to search for a specific value",
         "SearchItem"},
        {"FilterButton", "Filter", "Click here or press CTRL+F to set or change a filter",
         "SetFilterItem"},
    };
    for (const TBarButton& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), owner);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromLatin1(b.hint));
        button->setFocusPolicy(Qt::NoFocus);
        QAction* action = mActions[QString::fromLatin1(b.action)];
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QPushButton::setEnabled);
        mButtons[button->objectName()] = button;
        bar->addWidget(button);
    }
    bar->addStretch();
    auto* mouseHelp = new QPushButton(QStringLiteral("?"), owner);
    mouseHelp->setObjectName(QStringLiteral("MouseHelpButton"));
    mouseHelp->setToolTip(QStringLiteral("Click here for mouse help"));
    mouseHelp->setFocusPolicy(Qt::NoFocus);
    connect(mouseHelp, &QPushButton::clicked, this,
            [this] { THelpWindow::ShowContext(kHelpContext, this); });
    mButtons[mouseHelp->objectName()] = mouseHelp;
    bar->addWidget(mouseHelp);
    layout->addLayout(bar);
}

void TAddressMain::BuildBottomBar(QWidget* owner, QVBoxLayout* layout)
{
    auto* bar = new QHBoxLayout;
    const auto add = [&](const char* name, const QString& caption, QAction* action,
                         QStyle::StandardPixmap icon = QStyle::SP_CustomBase) {
        auto* button = new QPushButton(caption, owner);
        button->setObjectName(QString::fromLatin1(name));
        if (icon != QStyle::SP_CustomBase)
            button->setIcon(style()->standardIcon(icon));
        button->setToolTip(
            action->text().remove('&') +
            (action->shortcut().isEmpty()
                 ? QString()
                 : " (" + action->shortcut().toString(QKeySequence::NativeText) + ")"));
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QPushButton::setEnabled);
        button->setEnabled(action->isEnabled());
        mButtons[button->objectName()] = button;
        bar->addWidget(button);
        return button;
    };
    add("ExitButton", QStringLiteral("E&xit"), mActions["ExitItem"]);
    bar->addSpacing(12);
    add("FirstButton", {}, mActions["FirstItem"], QStyle::SP_MediaSkipBackward);
    add("PriorButton", {}, mActions["PriorItem"], QStyle::SP_MediaSeekBackward);
    add("NextButton", {}, mActions["NextItem"], QStyle::SP_MediaSeekForward);
    add("LastButton", {}, mActions["LastItem"], QStyle::SP_MediaSkipForward);
    bar->addSpacing(12);
    add("AddButton", QStringLiteral("&Add"), mActions["AddItem"]);
    add("EditButton", QStringLiteral("&Edit"), mActions["EditItem"]);
    add("DeleteButton", QStringLiteral("&Delete"), mActions["DeleteItem"]);
    add("SaveButton", QStringLiteral("&Save"), mActions["SaveItem"]);
    add("CancelButton", QStringLiteral("&Cancel"), mActions["CancelItem"]);
    bar->addStretch();
    add("ClearFilterButton", QStringLiteral("Clear Filter"), mActions["ClearFilterItem"]);
    layout->addLayout(bar);
}

QWidget* TAddressMain::BuildRecordArea()
{
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    BuildButtonBar(area, layout);

    const auto makeEdit = [this](const char* field, QWidget* owner) {
        auto* edit = new TDBEdit(mSource, QString::fromLatin1(field), owner);
        edit->onStartEdit = [this] {
            if (mBook.Commands().idle)
                EditButtonClick();
        };
        mEdits[QString::fromLatin1(field)] = edit;
        return edit;
    };
    const auto placeFields = [&](QGridLayout* grid, QWidget* owner, const auto& fields) {
        for (const TFormCell& f : fields) {
            TDBEdit* edit = makeEdit(f.field, owner);
            auto* label = new QLabel(QString::fromLatin1(f.label), owner);
            label->setBuddy(edit);
            grid->addWidget(label, f.row, f.column, Qt::AlignRight);
            grid->addWidget(edit, f.row, f.column + 1, 1, f.span);
        }
    };

    auto* names = new QGridLayout;
    placeFields(names, area, TRecordFormLayout::NameBlock());
    mEdits["MIDDLE"]->SetUpperCase(true);
    mEdits["MIDDLE"]->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MM")) + 16);
    names->setColumnStretch(1, 3);
    names->setColumnStretch(3, 3);
    names->setColumnStretch(7, 2);
    layout->addLayout(names);

    mPages = new QTabWidget(area);
    mPages->setObjectName(QStringLiteral("Pages"));
    mPages->setTabPosition(QTabWidget::South);
    auto* addressPage = new QWidget(mPages);
    auto* grid = new QGridLayout(addressPage);
    placeFields(grid, addressPage, TRecordFormLayout::AddressPage());
    // The date is read-only, changed through the "Date" button beside it.
    auto* dateButton = new QPushButton(QStringLiteral("Date"), addressPage);
    dateButton->setObjectName(QStringLiteral("DateButton"));
    mButtons[dateButton->objectName()] = dateButton;
    connect(dateButton, &QPushButton::clicked, this, &TAddressMain::DateButtonClick);
    grid->addWidget(dateButton, TRecordFormLayout::ByField("DisplayDate")->row,
                    TRecordFormLayout::kDateButtonColumn);
    for (const auto& [name, caption, field] :
         {std::tuple{"Dial1Button", "Dial Phone &1", "PHONE"},
          std::tuple{"Dial2Button", "Dial Phone &2", "PHONE2"}}) {
        auto* dial = new QPushButton(QString::fromLatin1(caption), addressPage);
        dial->setObjectName(QString::fromLatin1(name));
        connect(dial, &QPushButton::clicked, this,
                [this, f = QString::fromLatin1(field)] { DialButtonClick(f); });
        mButtons[dial->objectName()] = dial;
        grid->addWidget(dial, TRecordFormLayout::ByField(field)->row,
                        TRecordFormLayout::kDialButtonColumn);
    }
    mTaggedCheck = new TTagCheckBox(QStringLiteral("Tagged"), addressPage, [this] {
        mBook.ToggleTag();
        UpdateCommands();
    });
    mTaggedCheck->setObjectName(QStringLiteral("TaggedCheck"));
    grid->addWidget(mTaggedCheck, TRecordFormLayout::kTaggedRow, TRecordFormLayout::kTaggedColumn);
    for (const int column : TRecordFormLayout::kEntryColumns)
        grid->setColumnStretch(column, 1);
    grid->setRowStretch(TRecordFormLayout::kTaggedRow + 1, 1);
    mPages->addTab(addressPage, QStringLiteral("Address &Information"));

    auto* memoPage = new QWidget(mPages);
    auto* memoLayout = new QVBoxLayout(memoPage);
    auto* memoLabel = new QLabel(QStringLiteral("Memo"), memoPage);
    mMemo = new QPlainTextEdit(memoPage);
    mMemo->setObjectName(QStringLiteral("Memo"));
    memoLabel->setBuddy(mMemo);
    connect(mMemo, &QPlainTextEdit::textChanged, this, [this] {
        if (mMemoSync || mBook.DataSet().Editing())
            return;
        if (mBook.Commands().idle)
            EditButtonClick();
    });
    auto* memoButtons = new QHBoxLayout;
    auto* searchMemo = new QPushButton(QStringLiteral("Search &Memo"), memoPage);
    searchMemo->setObjectName(QStringLiteral("SearchMemoButton"));
    auto* findNext = new QPushButton(QStringLiteral("Find &Next"), memoPage);
    findNext->setObjectName(QStringLiteral("FindNextButton"));
    findNext->hide();
    mButtons[searchMemo->objectName()] = searchMemo;
    mButtons[findNext->objectName()] = findNext;
    connect(searchMemo, &QPushButton::clicked, this, &TAddressMain::SearchMemoButtonClick);
    connect(findNext, &QPushButton::clicked, this, &TAddressMain::FindNextButtonClick);
    memoButtons->addWidget(searchMemo);
    memoButtons->addWidget(findNext);
    memoButtons->addStretch();
    memoLayout->addWidget(memoLabel);
    memoLayout->addWidget(mMemo, 1);
    memoLayout->addLayout(memoButtons);
    mPages->addTab(memoPage, QStringLiteral("&Memo"));
    layout->addWidget(mPages, 1);

    BuildBottomBar(area, layout);
    SetTabOrder();
    return area;
}

void TAddressMain::SetTabOrder()
{
    // Tab runs through the name block into the address page, each button after the field it
    // belongs to, then through the memo page; the page tabs, which sit below the pages, come
    // last. (Widgets on the page not shown are passed over.)
    QList<QWidget*> chain;
    for (const TFormCell& cell : TRecordFormLayout::NameBlock())
        chain << mEdits[QString::fromLatin1(cell.field)];
    const std::map<QString, const char*> buttonAfter = {
        {"DisplayDate", "DateButton"}, {"PHONE", "Dial1Button"}, {"PHONE2", "Dial2Button"}};
    for (const TFormCell& cell : TRecordFormLayout::AddressPage()) {
        const QString field = QString::fromLatin1(cell.field);
        chain << mEdits[field];
        if (const auto it = buttonAfter.find(field); it != buttonAfter.end())
            chain << mButtons[QString::fromLatin1(it->second)];
    }
    chain << mTaggedCheck << mMemo << mButtons["SearchMemoButton"] << mButtons["FindNextButton"];
    if (auto* tabs = mPages->findChild<QTabBar*>())
        chain << tabs;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

// --- state and start-up ---

QString TAddressMain::EmptyStateText() const
{
    return mEmptyStatePanel->text();
}

bool TAddressMain::EmptyStateShown() const
{
    return mClientArea->currentWidget() == mEmptyStatePanel;
}

QString TAddressMain::SortStatusText() const
{
    return mSortStatus->text();
}

QString TAddressMain::CountStatusText() const
{
    return mBook.IsOpen() ? mCountStatus->text() : QString();
}

TDBEdit* TAddressMain::Edit(const QString& field) const
{
    const auto it = mEdits.find(field);
    return it == mEdits.end() ? nullptr : it->second;
}

QAction* TAddressMain::Action(const QString& name) const
{
    const auto it = mActions.find(name);
    return it == mActions.end() ? nullptr : it->second;
}

QPushButton* TAddressMain::Button(const QString& name) const
{
    const auto it = mButtons.find(name);
    return it == mButtons.end() ? nullptr : it->second;
}

bool TAddressMain::event(QEvent* e)
{
    if (!mActivated && (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)) {
        mActivated = true;
        // The rest of the start-up runs once the window is on the screen.
        QTimer::singleShot(0, this, &TAddressMain::FormActivate);
    }
    return QMainWindow::event(e);
}

void TAddressMain::FormActivate()
{
    TSettingsFile settings = Settings();
    try {
        TWindowPlacement::Restore(*this, QString::fromLatin1(kClassName), settings);
    } catch (const data::TSettingsWriteError& error) {
        TMessageService::Inform(this, error.Message());
    }
    mClientArea->hide();
    setWindowTitle(QStringLiteral("Quillmark"));
    mBook.Filter().Clear();
    mBook.LoadPreferences();
    mBook.Env().SetDefaults();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mBook.OpenAtStartUp();
    RebuildRecentMenu();
    UpdateCommands();
    QApplication::restoreOverrideCursor();
    print::CheckPrinterPresence(this);
    if (!settings.ReadBool(QStringLiteral("Misc"), QStringLiteral("GettingStarted"), false))
        QTimer::singleShot(0, this, &TAddressMain::GettingStartedItemClick);
    mClientArea->show();
}

void TAddressMain::RaiseFromOtherCopy()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TAddressMain::changeEvent(QEvent* e)
{
    // Minimising the main window minimises the whole program: its other top-level windows go too.
    if (e->type() == QEvent::WindowStateChange && isMinimized())
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && w->isWindow() && !w->isMinimized())
                w->showMinimized();
    QMainWindow::changeEvent(e);
}

void TAddressMain::KeepOnScreen()
{
    if (!mActivated || windowState() != Qt::WindowNoState || !screen())
        return;
    const QRect area = screen()->geometry();
    const QRect g = geometry();
    const data::TEdges current{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    const data::TEdges kept =
        data::TPlacementRules::KeepMainWindowOnScreen(current, area.width(), area.height());
    if (!(kept == current))
        move(kept.left, kept.top);
}

void TAddressMain::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    KeepOnScreen();
}

void TAddressMain::closeEvent(QCloseEvent* e)
{
    // What was typed into the record is not thrown away unasked.
    if (mBook.IsOpen() && mBook.DataSet().Editing()) {
        switch (TMessageService::AskWithCancel(this, QStringLiteral("Save"),
                                               QStringLiteral("Save changes?"))) {
        case data::TAnswer::Cancel:
            e->ignore();
            return;
        case data::TAnswer::Yes:
            SaveButtonClick();
            if (mBook.DataSet().Editing()) { // not saved; the message said why
                e->ignore();
                return;
            }
            break;
        case data::TAnswer::No:
            CancelButtonClick();
            break;
        }
    }
    if (mBook.IsOpen()) {
        QCoreApplication::processEvents();
        mBook.CloseFile();
    }
    TSettingsFile settings = Settings();
    try {
        TWindowPlacement::Save(*this, QString::fromLatin1(kClassName), settings);
    } catch (const data::TSettingsWriteError& error) {
        TMessageService::Inform(this, error.Message());
    }
    e->accept();
}

// --- commands and their enabling ---

void TAddressMain::UpdateCommands()
{
    const TCommandState s = mBook.Commands();
    mClientArea->setCurrentWidget(s.open ? mRecordArea : static_cast<QWidget*>(mEmptyStatePanel));
    const auto enable = [this](const char* name, bool on) {
        mActions[QString::fromLatin1(name)]->setEnabled(on);
    };
    for (const char* n : {"RebuildIndexesItem", "ImportDbfItem", "ImportAsciiItem", "UndoItem",
                          "CutItem", "CopyItem", "PasteItem"})
        enable(n, s.open);
    enable("AddItem", s.Add());
    for (const char* n : {"EditItem",
                          "DeleteItem",
                          "SearchItem",
                          "BrowseItem",
                          "ExportItem",
                          "CloneItem",
                          "CopyToClipboardItem",
                          "FirstItem",
                          "PriorItem",
                          "NextItem",
                          "LastItem",
                          "PrintLabelsItem",
                          "PrintLettersItem",
                          "PrintEnvelopesItem",
                          "PrintReportsItem",
                          "PrintCurrentItem",
                          "CountZipItem",
                          "CheckStateZipItem",
                          "CheckDuplicatesItem",
                          "ConvertCaseItem",
                          "DeleteRecordsItem",
                          "SearchReplaceItem"})
        enable(n, s.idle);
    enable("SaveItem", s.editing);
    enable("CancelItem", s.editing);
    enable("SetFilterItem", s.Filter());
    for (const char* n : {"SaveFilterItem", "ClearFilterItem", "TagAllItem"})
        enable(n, s.filtered);
    for (const char* n :
         {"NewItem", "OpenItem", "Import1xItem", "Import2xItem", "PreferencesItem",
          "RebuildSystemIndexesItem", "ExitItem", "RestoreFilterItem", "ClearTagsItem"})
        enable(n, s.FileMenu());
    mActions["ClearTagsItem"]->setEnabled(s.open && !s.editing);
    mFileMenu->setEnabled(s.FileMenu());
    mRecordMenu->setEnabled(s.RecordMenu());
    mSortMenu->setEnabled(s.idle);
    mPrintMenu->setEnabled(s.idle);
    mUtilitiesMenu->setEnabled(s.idle);
    for (QAction* a : mSortGroup->actions())
        a->setEnabled(s.idle);

    for (const char* n : {"AddButton", "EditButton", "DeleteButton", "ExitButton"})
        mButtons[n]->setVisible(!s.editing);
    for (const char* n : {"SaveButton", "CancelButton"})
        mButtons[n]->setVisible(s.editing);
    mButtons["ClearFilterButton"]->setVisible(s.filtered);
    mButtons["ClearFilterButton"]->setEnabled(s.ClearFilterButtonEnabled());
    for (const char* n : {"Dial1Button", "Dial2Button", "SearchMemoButton"})
        mButtons[n]->setVisible(s.idle);
    mButtons["FindNextButton"]->setVisible(mBook.MemoFound() && !s.editing);
    mButtons["DateButton"]->setEnabled(s.RecordShown());
    mButtons["FilterButton"]->setEnabled(s.Filter());
    mTaggedCheck->setEnabled(s.RecordShown());
    mMemo->setReadOnly(!s.RecordShown());

    if (s.editing) {
        QWidget* focus = QApplication::focusWidget();
        const bool inField = focus && (dynamic_cast<TDBEdit*>(focus) || focus == mMemo);
        if (!inField && !mEdits["LNAME"]->hasFocus())
            mEdits["LNAME"]->setFocus();
    } else {
        SetTabStopsForAdd(false);
    }

    // The sort menu check marks and the status line.
    const QString tag = mBook.SortTag();
    for (QAction* a : mSortGroup->actions())
        a->setChecked(a->data().toString() == tag);
    mSortStatus->setText(mBook.SortStatus());
    mCountStatus->setVisible(s.open);
    mCountStatus->setText(mBook.CountStatus());
    setWindowTitle(mBook.Caption());
}

void TAddressMain::RefreshMemo()
{
    data::TDataSet& ds = mBook.DataSet();
    if (ds.Editing())
        return;
    mMemoSync = true;
    QString text;
    try {
        if (ds.Active())
            text = ds.AsString(QStringLiteral("MEMO"));
        mUnreadableMemo = 0;
    } catch (const std::exception& error) {
        // A damaged memo file: the record's other fields still show, with an empty memo, and the
        // reason is named once for the record, after the move that showed it has finished.
        if (mUnreadableMemo != ds.RecNo()) {
            mUnreadableMemo = ds.RecNo();
            const QString why =
                QStringLiteral("The memo of this record cannot be read, so it shows "
                               "empty and is kept as it is unless you type a new "
                               "one.\r\n\r\n") +
                QString::fromStdString(error.what());
            QTimer::singleShot(0, this, [this, why] { TMessageService::Inform(this, why); });
        }
    }
    if (mMemo->toPlainText() != QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
        mMemo->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    mMemoSync = false;
}

void TAddressMain::SetTabStopsForAdd(bool adding)
{
    const TPreferences& p = mBook.Preferences();
    for (const auto& [field, skip] : SkipOfField()) {
        TDBEdit* edit = mEdits[field];
        edit->setFocusPolicy(adding && p.Skips(skip) ? Qt::ClickFocus : Qt::StrongFocus);
    }
    mButtons["DateButton"]->setFocusPolicy(adding && p.Skips(TSkip::Date) ? Qt::ClickFocus
                                                                          : Qt::StrongFocus);
}

void TAddressMain::RebuildRecentMenu()
{
    for (QAction* a : mRecentActions) {
        mFileMenu->removeAction(a);
        a->deleteLater();
    }
    mRecentActions.clear();
    for (const QString& path : mBook.RecentFiles()) {
        auto* action = new QAction(path, this);
        connect(action, &QAction::triggered, this, [this, path] {
            mBook.OpenRecentFile(path);
            RebuildRecentMenu();
            UpdateCommands();
        });
        mFileMenu->addAction(action);
        mRecentActions << action;
    }
    mRecentSeparator->setVisible(!mRecentActions.isEmpty());
}

void TAddressMain::NewItemClick()
{
    const data::TProgramHome& home = data::TProgramHome::Current();
    TSettingsFile settings = Settings();
    data::TNewDatabaseDialog dialog(data::TAddressFileNames::ProposeNewName(home.DataDir()),
                                    settings, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = QDir(home.DataDir()).filePath(dialog.Name() + QStringLiteral(".DBF"));
    if (QFileInfo::exists(path)) {
        TMessageService::Inform(
            this, QStringLiteral("That file already exists.Please select another name"));
        return;
    }
    QDir().mkpath(home.DataDir());
    mBook.CreateAndOpen(path, dialog.Lengths());
    RebuildRecentMenu();
    UpdateCommands();
}

void TAddressMain::OpenItemClick()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Address DataBase"),
                                                      data::TProgramHome::Current().DataDir(),
                                                      QStringLiteral("DBF Files (*.dbf *.DBF)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QLatin1String("DBF"), Qt::CaseInsensitive) != 0) {
        TMessageService::Inform(this, QStringLiteral("Must be a DBF file"));
        return;
    }
    mBook.OpenAddressFile(path);
    RebuildRecentMenu();
    UpdateCommands();
}

void TAddressMain::ExitItemClick()
{
    close();
}

void TAddressMain::EditFocusedField(TFieldEdit what)
{
    QWidget* focus = QApplication::focusWidget();
    const auto act = [what](auto* field) {
        // A field shown while browsing is read-only: only copying works there.
        if (what != TFieldEdit::Copy && field->isReadOnly())
            return;
        switch (what) {
        case TFieldEdit::Undo:
            field->undo();
            break;
        case TFieldEdit::Cut:
            field->cut();
            break;
        case TFieldEdit::Copy:
            field->copy();
            break;
        case TFieldEdit::Paste:
            field->paste();
            break;
        }
    };
    if (auto* edit = dynamic_cast<TDBEdit*>(focus); edit && edit->window() == this)
        act(edit);
    else if (focus == mMemo)
        act(mMemo);
}

void TAddressMain::UndoItemClick()
{
    EditFocusedField(TFieldEdit::Undo);
}
void TAddressMain::CutItemClick()
{
    EditFocusedField(TFieldEdit::Cut);
}
void TAddressMain::CopyItemClick()
{
    EditFocusedField(TFieldEdit::Copy);
}
void TAddressMain::PasteItemClick()
{
    EditFocusedField(TFieldEdit::Paste);
}

void TAddressMain::FirstButtonClick()
{
    mBook.First();
}
void TAddressMain::PriorButtonClick()
{
    mBook.Prior();
}
void TAddressMain::NextButtonClick()
{
    mBook.Next();
}
void TAddressMain::LastButtonClick()
{
    mBook.Last();
}

void TAddressMain::AddButtonClick()
{
    if (!mBook.Commands().Add())
        return;
    mPages->setCurrentIndex(0);
    mBook.PrepareAdd();
    TNewRecordInput input;
    if (mBook.AddAsksNames() || mBook.AddAsksZip()) {
        data::TDataSet& ds = mBook.DataSet();
        TNewRecordDialog dialog(mBook.AddAsksNames(), mBook.AddAsksZip(),
                                ds.FieldByName("LNAME").Size(), ds.FieldByName("FNAME").Size(),
                                ds.FieldByName("ZIP").Size(), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        input = dialog.Input();
    }
    mMemoSync = true;
    mMemo->clear();
    mMemoSync = false;
    if (!mBook.StartNewRecord(input, QDate::currentDate()))
        return;
    SetTabStopsForAdd(true);
    const TPreferences& p = mBook.Preferences();
    data::TDataSet& ds = mBook.DataSet();
    QWidget* focus = mEdits["STREET"];
    if (!p.Skips(TSkip::LastName) && ds.AsString("LNAME").isEmpty())
        focus = mEdits["LNAME"];
    else if (!p.Skips(TSkip::FirstName) && ds.AsString("FNAME").isEmpty())
        focus = mEdits["FNAME"];
    else if (!p.Skips(TSkip::MiddleInitial))
        focus = mEdits["MIDDLE"];
    else if (!p.Skips(TSkip::Prefix))
        focus = mEdits["PREFIX"];
    else if (!p.Skips(TSkip::Title))
        focus = mEdits["TITLE"];
    else if (!p.Skips(TSkip::Organization))
        focus = mEdits["ORG"];
    focus->setFocus();
    UpdateCommands();
}

void TAddressMain::EditButtonClick()
{
    if (!mBook.Commands().idle)
        return;
    mBook.Edit();
}

void TAddressMain::DeleteButtonClick()
{
    if (mBook.Commands().idle)
        mBook.Delete();
}

void TAddressMain::SaveButtonClick()
{
    if (!mBook.DataSet().Editing())
        return;
    try {
        mBook.Save(mMemo->toPlainText());
    } catch (const std::exception& error) {
        TMessageService::Inform(this, QString::fromStdString(error.what()));
    }
    SetTabStopsForAdd(false);
    RefreshMemo();
    UpdateCommands();
}

void TAddressMain::CancelButtonClick()
{
    mBook.Cancel();
    SetTabStopsForAdd(false);
    RefreshMemo();
    UpdateCommands();
}

void TAddressMain::CloneItemClick()
{
    if (!mBook.Commands().idle)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        mBook.Clone();
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        TMessageService::Inform(this, QString::fromStdString(error.what()));
        return;
    }
    QApplication::restoreOverrideCursor();
}

void TAddressMain::CopyToClipboardItemClick()
{
    TCopyRecordDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QApplication::clipboard()->setText(mBook.ClipboardText(dialog.Parts()));
    TMessageService::Inform(this, QStringLiteral("Record copied to Windows Clipboard"));
}

void TAddressMain::ClearTagsItemClick()
{
    mBook.ClearTags(QDateTime::currentDateTime());
}

void TAddressMain::DateButtonClick()
{
    TSelectDateDialog dialog(mBook.DataSet().AsString("DisplayDate"), QDate::currentDate(), this);
    dialog.exec();
    if (dialog.Outcome() == TSelectDateDialog::Chosen)
        mBook.SetDate(dialog.Date());
    else if (dialog.Outcome() == TSelectDateDialog::NoDate)
        mBook.SetDate(std::nullopt);
}

void TAddressMain::RunMemoSearch(const QString& text, bool fromStart)
{
    QProgressDialog searching(QStringLiteral("Searching for: ") + text, QStringLiteral("Cancel"), 0,
                              0, this);
    searching.setWindowTitle(QStringLiteral("Memo Search"));
    searching.setWindowModality(Qt::WindowModal);
    searching.setMinimumDuration(300);
    data::TEventPump pump;
    mBook.SearchMemo(text, fromStart, [&] {
        pump.Pump();
        return searching.wasCanceled();
    });
    searching.close();
    UpdateCommands();
}

void TAddressMain::SearchMemoButtonClick()
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(this, QStringLiteral("Memo Search"), QStringLiteral("Search For"),
                              QLineEdit::Normal, mBook.MemoSearchText(), &ok);
    if (ok)
        RunMemoSearch(text.left(255), true);
}

void TAddressMain::FindNextButtonClick()
{
    RunMemoSearch(mBook.MemoSearchText(), false);
}

void TAddressMain::PreferencesItemClick()
{
    TSettingsFile settings = Settings();
    TPreferencesDialog dialog(settings, this);
    dialog.exec();
    mBook.LoadPreferences();
    UpdateCommands();
}

void TAddressMain::RebuildIndexesItemClick()
{
    if (!mBook.IsOpen()) {
        TMessageService::Inform(this,
                                QStringLiteral("You need to have a database file open first"));
        return;
    }
    THandOverOptions options;
    options.clearBusy = false;
    options.rememberQuery = false;
    options.applyFilterAfter = true;
    // The pack renumbers the records: the record is found again by its values afterwards.
    options.rememberRecord = false;
    TPackedRecordFinder record(mBook.DataSet());
    {
        THandOver handOver(mBook, options);
        data::TRebuildIndexesDialog dialog(mBook.DataSet(), this);
        RunDialog(dialog);
        if (!dialog.Failure().isEmpty())
            TMessageService::Inform(this, dialog.Failure());
    }
    try {
        record.GoBack();
    } catch (...) {
        // As after any window: a failure to return to the record is ignored.
    }
    UpdateCommands();
}

void TAddressMain::RebuildSystemIndexesItemClick()
{
    data::TRebuildSystemIndexesDialog dialog(data::TProgramHome::Current().SysDataDir(), this);
    dialog.exec();
}

void TAddressMain::ClearFilterItemClick()
{
    if (mBook.DataSet().Editing())
        return;
    mBook.ClearFilter();
}

void TAddressMain::SortItemClick(QAction* action)
{
    mBook.SetCurrentOrder(action->data().toString());
    UpdateCommands();
}

void TAddressMain::GettingStartedItemClick()
{
    auto* screen = new TGettingStartedDialog(Settings(), this);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
}

void TAddressMain::AboutItemClick()
{
    TAboutDialog about(this);
    about.exec();
}

QString TAddressMain::ChooseFile(bool save, const QString& caption, const QString& filter)
{
    // Saving starts in the program folder the first time and where it saved last afterwards;
    // restoring always starts in the program folder.
    if (mFilterDir.isEmpty())
        mFilterDir = data::TProgramHome::Current().Dir();
    const QString start = save ? mFilterDir : data::TProgramHome::Current().Dir();
    QString chosen;
    if (mFileChooser) {
        chosen = mFileChooser(save, caption, start, filter);
    } else if (save) {
        QFileDialog dialog(this, caption, start, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("FLT"));
        // The name rules are ours: the dialog neither asks about existing files nor adds suffixes
        // to names that already hold one.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    } else {
        chosen = QFileDialog::getOpenFileName(this, caption, start, filter);
    }
    if (save && !chosen.isEmpty())
        mFilterDir = QFileInfo(chosen).absolutePath();
    return chosen;
}

int TAddressMain::RunDialog(QDialog& dialog)
{
    // A copy: the hook may replace itself.
    if (const TDialogHook hook = mDialogHook)
        hook(dialog);
    return dialog.exec();
}

void TAddressMain::SetFilterItemClick()
{
    if (mBook.DataSet().Editing()) {
        TMessageService::Beep();
        return;
    }
    if (!mBook.Commands().Filter())
        return;
    {
        TAddressFilterDialog dialog(mBook, this);
        RunDialog(dialog);
    }
    // Either way the filter in the main window's state (new or put back) is applied again.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mBook.ApplyFilter();
    QApplication::restoreOverrideCursor();
    UpdateCommands();
}

void TAddressMain::SaveFilterItemClick()
{
    if (!mBook.Commands().filtered)
        return;
    const QString chosen = ChooseFile(true, QStringLiteral("Save Filter"),
                                      QStringLiteral("Filter files (*.FLT *.flt)"));
    if (chosen.isEmpty())
        return;
    const data::TFilterFiles::TTarget target = data::TFilterFiles::SaveTarget(chosen);
    if (!target.error.isEmpty()) {
        TMessageService::Inform(this, target.error);
        return;
    }
    if (QFileInfo::exists(target.path) &&
        !TMessageService::Ask(this, QStringLiteral("Warning!"),
                              data::TFilterFiles::OverwriteQuestion(target.path), false))
        return;
    const QString error = data::TFilterFiles::Write(target.path, mBook.Filter());
    if (!error.isEmpty())
        TMessageService::Inform(this, error);
}

void TAddressMain::RestoreFilterItemClick()
{
    const QString chosen = ChooseFile(false, QStringLiteral("Restore Filter"),
                                      QStringLiteral("Filter Files (*.flt *.FLT)"));
    if (chosen.isEmpty())
        return;
    if (const QString error = data::TFilterFiles::RestoreError(chosen); !error.isEmpty()) {
        TMessageService::Inform(this, error);
        return;
    }
    data::TFilterEntries filter;
    QString error;
    if (!data::TFilterFiles::Read(chosen, filter, error)) {
        TMessageService::Inform(this, error);
        return;
    }
    mBook.Filter() = filter;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mBook.ApplyFilter();
    QApplication::restoreOverrideCursor();
    UpdateCommands();
}

void TAddressMain::TagAllItemClick()
{
    if (!mBook.Commands().filtered || mBook.DataSet().Editing())
        return;
    if (!TMessageService::Ask(this, QStringLiteral("TAG ALL"),
                              QStringLiteral("Tag all records matching filter?")))
        return;
    THandOverOptions options;
    options.rememberRecord = false;
    options.rememberQuery = false;
    options.rememberOrder = false;
    // The run itself ends on the first record; finding it again would walk the order once more.
    options.firstRecordAfter = false;
    {
        THandOver handOver(mBook, options);
        TTaggingDialog dialog(mBook, this);
        RunDialog(dialog);
    }
    UpdateCommands();
}

void TAddressMain::SearchItemClick()
{
    if (!mBook.Commands().idle)
        return;
    TSearchDialog dialog(mBook.SortTag(), this);
    if (RunDialog(dialog) != QDialog::Accepted || dialog.Text().isEmpty())
        return;
    TSoftSeek::Run(mBook, dialog.OrderTag(), dialog.Text());
    UpdateCommands();
}

void TAddressMain::BrowseItemClick()
{
    if (mBook.DataSet().Editing()) {
        TMessageService::Beep();
        return;
    }
    if (!mBook.Commands().idle)
        return;
    TAddressBrowseDialog browse(mBook, mBrowseWidths, this);
    RunDialog(browse);
    if (const QString error = browse.WriteColumnOrder(); !error.isEmpty())
        TMessageService::Inform(this, error);
    UpdateCommands();
}

void TAddressMain::DialButtonClick(const QString& field)
{
    if (!mBook.Commands().idle)
        return;
    dialer::TDialDialog dialog(mBook.DataSet().AsString(field), this);
    RunDialog(dialog);
}

void TAddressMain::PrintCommand()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!print::CheckPrinterPresence(this))
        return;
    const QString command = action ? action->objectName() : QString();
    if (command == QLatin1String("PrintLabelsItem"))
        PrintLabelsItemClick();
    else if (command == QLatin1String("PrintEnvelopesItem"))
        PrintEnvelopesItemClick();
    else if (command == QLatin1String("PrintLettersItem"))
        PrintLettersItemClick();
}

void TAddressMain::TransferCommand()
{
    // The import and export commands: each opens its window through the transfer commands.
    if (const QObject* source = sender())
        transfer::TTransferCommands::Run(source->objectName(), mBook, this,
                                         [this](QDialog& dialog) { return RunDialog(dialog); });
    UpdateCommands();
}

// --- keys the window sees before its controls ---

bool TAddressMain::eventFilter(QObject* watched, QEvent* e)
{
    // A double click on the memo starts editing, as one on an entry field does.
    if (e->type() == QEvent::MouseButtonDblClick && watched == mMemo->viewport() &&
        mBook.Commands().idle)
        EditButtonClick();
    if (e->type() == QEvent::ShortcutOverride) {
        // An entry field or the memo claims some of the window's keys for itself (Ctrl+E moves to
        // the end of the line on X11), and a claimed key never reaches the window's shortcut.
        // Left unclaimed, the command runs wherever the focus is.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && IsCommandKey(static_cast<QKeyEvent*>(e)))
            return true;
    }
    if (e->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && isActiveWindow() &&
            HandleWindowKey(static_cast<QKeyEvent*>(e)))
            return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

bool TAddressMain::IsCommandKey(const QKeyEvent* key) const
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier || mods == Qt::ShiftModifier)
        return false; // typing stays the field's
    const QKeySequence pressed(QKeyCombination(mods, Qt::Key(key->key())));
    for (const auto& [name, action] : mActions) {
        // The Edit commands are the field's own keys: it undoes, cuts, copies and pastes itself.
        if (name == QLatin1String("UndoItem") || name == QLatin1String("CutItem") ||
            name == QLatin1String("CopyItem") || name == QLatin1String("PasteItem"))
            continue;
        if (action->isEnabled() && action->shortcuts().contains(pressed))
            return true;
    }
    return false;
}

bool TAddressMain::HandleWindowKey(QKeyEvent* key)
{
    const bool editing = mBook.DataSet().Editing();
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods == Qt::AltModifier && editing) {
            SaveButtonClick();
            if (TMessageService::Ask(this, QStringLiteral("Add"),
                                     QStringLiteral("Add another record?")))
                AddButtonClick();
            return true;
        }
        if (mods == Qt::ControlModifier && editing) {
            SaveButtonClick();
            return true;
        }
        return false;
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Down: {
        // The record keys work wherever the focus is: an entry field would take Ctrl+Left and
        // Ctrl+Right as word moves. While a record is edited the commands are off and the field
        // keeps its keys.
        if (mods != Qt::ControlModifier)
            return false;
        const char* name = key->key() == Qt::Key_Up      ? "FirstItem"
                           : key->key() == Qt::Key_Left  ? "PriorItem"
                           : key->key() == Qt::Key_Right ? "NextItem"
                                                         : "LastItem";
        QAction* action = mActions[QString::fromLatin1(name)];
        if (!action->isEnabled())
            return false;
        action->trigger();
        return true;
    }
    case Qt::Key_B:
    case Qt::Key_F:
        // Browse and the filter form answer their keys with a beep while a record is edited,
        // also when their commands are disabled then.
        if (mods == Qt::ControlModifier && editing) {
            TMessageService::Beep();
            return true;
        }
        return false;
    case Qt::Key_PageDown:
        if (editing) {
            if (TMessageService::Ask(this, QStringLiteral("Save"), QStringLiteral("Save changes?")))
                SaveButtonClick();
        } else if (mBook.Commands().idle) {
            RunCommand(mods == Qt::ControlModifier ? &TAddressMain::LastButtonClick
                                                   : &TAddressMain::NextButtonClick);
        }
        return true;
    case Qt::Key_PageUp:
        if (!editing && mBook.Commands().idle)
            RunCommand(mods == Qt::ControlModifier ? &TAddressMain::FirstButtonClick
                                                   : &TAddressMain::PriorButtonClick);
        return true;
    case Qt::Key_Escape:
        // The memo asks like every other field: cancelling there throws away the changes made
        // in the entry fields too.
        if (!editing)
            return false;
        if (TMessageService::Ask(this, QStringLiteral("Cancel"), QStringLiteral("Cancel changes?")))
            CancelButtonClick();
        return true;
    default:
        return false;
    }
}

} // namespace qm::addressbook
