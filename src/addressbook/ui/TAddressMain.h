#pragma once

// The main window: one address file, one record at a time. The window builds its controls, binds
// them to the address book's data set and turns commands into TAddressBook calls; the decisions
// live in TAddressBook. On its first activation it runs the start-up sequence; closing cancels a
// pending edit, closes the file and saves the placement.

#include "addressbook/TAddressBook.h"
#include "addressbook/TBrowseColumnWidths.h"
#include "data/TDataSource.h"

#include <QMainWindow>
#include <functional>
#include <map>

class QAction;
class QActionGroup;
class QCheckBox;
class QDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QToolButton;
class QVBoxLayout;

namespace qm::addressbook {

class TDBEdit;

class TAddressMain : public QMainWindow {
public:
    static constexpr int kHelpContext = 1029;
    static constexpr const char* kClassName = "TAddressMain";

    explicit TAddressMain(QWidget* parent = nullptr);
    ~TAddressMain() override;

    // Brings the window to the front, restoring it when minimised (a second copy asked for it).
    void RaiseFromOtherCopy();

    TAddressBook& Book() { return mBook; }
    QString EmptyStateText() const;
    bool EmptyStateShown() const;
    QString SortStatusText() const;
    QString CountStatusText() const;
    TDBEdit* Edit(const QString& field) const;
    QPlainTextEdit* Memo() const { return mMemo; }
    QCheckBox* TaggedCheck() const { return mTaggedCheck; }
    QAction* Action(const QString& objectName) const;
    QPushButton* Button(const QString& objectName) const;
    QTabWidget* Pages() const { return mPages; }

    // The start-up steps after the window shows (placement, preferences, the first file, the
    // printer check, the getting-started screen). Runs once, on the first activation.
    void FormActivate();

    // Chooses filter files instead of the file dialogs (tests): save, caption, start folder,
    // name filter; returns the chosen path or "" for Cancel.
    using TFileChooser = std::function<QString(bool save, const QString& caption,
                                               const QString& dir, const QString& filter)>;
    void SetFileChooser(TFileChooser chooser) { mFileChooser = std::move(chooser); }
    // Called with the filter, tagging, search, browse and rebuild windows just before they run
    // (tests).
    using TDialogHook = std::function<void(QDialog&)>;
    void SetDialogHook(TDialogHook hook) { mDialogHook = std::move(hook); }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    QWidget* BuildRecordArea();
    void BuildButtonBar(QWidget* owner, QVBoxLayout* layout);
    void BuildBottomBar(QWidget* owner, QVBoxLayout* layout);
    QAction* MakeAction(const char* name, const QString& caption, void (TAddressMain::*slot)(),
                        const QKeySequence& key = {});
    // Runs a menu or button command; what escapes it is shown instead of ending the program.
    void RunCommand(void (TAddressMain::*slot)());

    void UpdateCommands();
    void RebuildRecentMenu();
    void RefreshMemo();
    void SetTabStopsForAdd(bool adding);
    void SetTabOrder();
    void KeepOnScreen();
    bool HandleWindowKey(QKeyEvent* key);
    // Whether the key runs one of the window's enabled commands (the Edit commands aside).
    bool IsCommandKey(const QKeyEvent* key) const;
    void PrintLettersItemClick();

    // Commands (slots named after their control and event).
    void NewItemClick();
    void OpenItemClick();
    void ExitItemClick();
    enum class TFieldEdit { Undo, Cut, Copy, Paste };
    void EditFocusedField(TFieldEdit what);
    void UndoItemClick();
    void CutItemClick();
    void CopyItemClick();
    void PasteItemClick();
    void FirstButtonClick();
    void PriorButtonClick();
    void NextButtonClick();
    void LastButtonClick();
    void AddButtonClick();
    void EditButtonClick();
    void DeleteButtonClick();
    void SaveButtonClick();
    void CancelButtonClick();
    void CloneItemClick();
    void CopyToClipboardItemClick();
    void ClearTagsItemClick();
    void DateButtonClick();
    // "Dial Phone 1" and "Dial Phone 2": the dialer on the record's PHONE or PHONE2.
    void DialButtonClick(const QString& field);
    void SearchMemoButtonClick();
    void FindNextButtonClick();
    void PreferencesItemClick();
    void RebuildIndexesItemClick();
    void RebuildSystemIndexesItemClick();
    void ClearFilterItemClick();
    void SetFilterItemClick();
    void SaveFilterItemClick();
    void RestoreFilterItemClick();
    void TagAllItemClick();
    void SearchItemClick();
    void BrowseItemClick();
    int RunDialog(QDialog& dialog);
    QString ChooseFile(bool save, const QString& caption, const QString& filter);
    void SortItemClick(QAction* action);
    void GettingStartedItemClick();
    void AboutItemClick();
    void PrintCommand();
    // "Print Labels" with the records handed over (TAddressMainLabels.cpp).
    void PrintLabelsItemClick();
    void PrintEnvelopesItemClick();
    void TransferCommand();
    // The checks and bulk edits of the Utilities menu (TAddressMainMaintenance.cpp).
    void MaintenanceItemClick();
    // The report windows (TAddressMainReports.cpp).
    void PrintReportsItemClick();
    void PrintCurrentItemClick();
    void CountZipItemClick();
    void RunMemoSearch(const QString& text, bool fromStart);

    TAddressBook mBook;
    data::TDataSource mSource;
    bool mActivated = false;
    bool mMemoSync = false;
    // The record whose memo could not be read and was named to the user (0: none).
    uint32_t mUnreadableMemo = 0;
    TFileChooser mFileChooser;
    TDialogHook mDialogHook;
    QString mFilterDir;                // where saving a filter starts; the program folder at first
    TBrowseColumnWidths mBrowseWidths; // the browse grid's columns as the user left them

    QStackedWidget* mClientArea = nullptr;
    QLabel* mEmptyStatePanel = nullptr;
    QWidget* mRecordArea = nullptr;
    QTabWidget* mPages = nullptr;
    QPlainTextEdit* mMemo = nullptr;
    QCheckBox* mTaggedCheck = nullptr;
    QLabel* mSortStatus = nullptr;
    QLabel* mCountStatus = nullptr;
    std::map<QString, TDBEdit*> mEdits;
    std::map<QString, QAction*> mActions;
    std::map<QString, QPushButton*> mButtons;
    QMenu* mFileMenu = nullptr;
    QMenu* mRecordMenu = nullptr;
    QMenu* mSortMenu = nullptr;
    QMenu* mUtilitiesMenu = nullptr;
    QMenu* mPrintMenu = nullptr;
    QMenu* mImportMenu = nullptr;
    QActionGroup* mSortGroup = nullptr;
    QList<QAction*> mRecentActions;
    QAction* mRecentSeparator = nullptr;
};

} // namespace qm::addressbook
