#pragma once

// The main window's state and record operations, apart from any widget: the open address file
// with its data set and engine wrappers, the current file and sort order, the filter, the
// preferences, the tag identifier, the values carried into new records, the busy flag, and every
// command of the main window that works on records. Questions and messages go through
// TMessageService; the window supplies the dialogs through hooks.
//
// Contract: one instance per main window; every operation leaves the data set browsing or editing
// as the command says and then emits CommandsChanged (unless the busy flag is off).

#include "addressbook/TPreferences.h"
#include "data/TApollo.h"
#include "data/TApolloEnv.h"
#include "data/TDataSet.h"
#include "data/TFilterBuilder.h"
#include "data/TNewFileFieldLengths.h"

#include <QDate>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

namespace qm::data {
class TSettingsFile;
struct TClipboardParts;
} // namespace qm::data

namespace qm::addressbook {

// What the "New Record" dialog gave.
struct TNewRecordInput {
    QString lastName;
    QString firstName;
    QString zip;
};

// Which commands of the main window are available now.
struct TCommandState {
    bool open = false;
    bool editing = false;
    bool hasRecords = false;
    bool filtered = false;
    bool idle = false; // open, not editing, has records

    bool Add() const { return open && !editing; }
    bool Filter() const { return filtered || idle; }
    bool FileMenu() const { return !editing; }
    bool RecordMenu() const { return open && !editing; }
    bool ClearFilterButtonEnabled() const { return filtered && !editing; }
    // A record is on the form: a stored one, or the new one being added (also the first record
    // of an empty file). The date button, the "Tagged" box and the memo work on it.
    bool RecordShown() const { return open && (hasRecords || editing); }
};

class TAddressBook : public QObject {
    Q_OBJECT
public:
    struct THooks {
        // Runs the address file's rebuild dialog on DataSet(); called from the open sequence.
        std::function<void()> rebuildIndexes;
    };

    explicit TAddressBook(QObject* parent = nullptr);
    ~TAddressBook() override;

    void SetHooks(THooks hooks) { mHooks = std::move(hooks); }

    data::TDataSet& DataSet() { return mDataSet; }
    data::TApollo& Apollo() { return mApollo; }
    data::TApolloEnv& Env() { return mEnv; }

    // --- settings ---
    // Loads the preferences and the tag identifier (written back at once).
    void LoadPreferences();
    const TPreferences& Preferences() const { return mPreferences; }
    const QString& TagIdentifier() const { return mTagIdentifier; }
    QStringList RecentFiles() const;

    // --- files ---
    // The open sequence: close, open with the tag check and the rebuild offer, Last Name order,
    // filter, first record; the recent files on success. Returns whether the file is open.
    bool OpenAddressFile(const QString& path);
    // Opens a recent file; when it fails and another file had been open, opens that one again.
    bool OpenRecentFile(const QString& path);
    // Start-up: the first recent file, else DATA/ADD0001.DBF in the home (created when missing).
    void OpenAtStartUp();
    // Creates a file (messages shown on failure) and opens it. Returns whether it is open.
    bool CreateAndOpen(const QString& path, const data::TNewFileFieldLengths& lengths);
    void CloseFile();
    bool IsOpen() const { return mDataSet.Active(); }
    const QString& CurrentPath() const { return mCurrentPath; }
    // "Quillmark - " + the open file's path, or "Quillmark" while no file is open (also after an
    // open or a creation that failed).
    QString Caption() const { return mCaption; }

    // --- sort orders ---
    void SetCurrentOrder(const QString& tag);
    const QString& SortTag() const { return mSortTag; }
    QString SortStatus() const;

    // --- filter ---
    data::TFilterEntries& Filter() { return mFilter; }
    const QString& FilterExpression() const { return mFilterExpression; }
    // Builds and applies the filter; returns the number of shown records (0 when the filter was
    // dropped or there is none).
    int ApplyFilter();
    // Whether the last ApplyFilter() dropped a filter because no record matched it (as opposed to
    // there being no filter, or one refused as too complex or by the engine).
    bool FilterMatchedNothing() const { return mFilterMatchedNothing; }
    void ClearFilter();
    QString CountStatus();

    // --- commands ---
    TCommandState Commands() const;
    bool Busy() const { return mBusy; }
    void SetBusy(bool busy);

    // --- movement (beep at either end) ---
    void First();
    void Prior();
    void Next();
    void Last();

    // --- records ---
    // Remembers the values new records may carry; call before the "New Record" dialog.
    void PrepareAdd();
    // Whether Add asks for names and/or a ZIP first.
    bool AddAsksNames() const { return mPreferences.autoDupCheck; }
    bool AddAsksZip() const { return mPreferences.plugCityState; }
    // Starts the new record from the dialog's values (none when the dialog was not shown): ZIP
    // lookup, duplicate-name check, carry-forward, default country, date stamp. Returns false
    // when the user declined after a possible duplicate (the found record is then current).
    bool StartNewRecord(const TNewRecordInput& input, const QDate& today);
    // City and state of the first record with this ZIP (prefix match on the ZIP tag, any case).
    std::optional<std::pair<QString, QString>> FindCityState(const QString& zip);
    // The record number of a record with exactly this last and first name, 0 when none.
    uint32_t FindDuplicate(const QString& last, const QString& first);

    void Edit();
    // Stores the memo text by the stored-memo rule and posts.
    void Save(const QString& memoText);
    void Cancel();
    // Asks "Delete this record?"; returns whether the record was deleted.
    bool Delete();
    // Asks "Clone this record?"; returns whether a clone was made.
    bool Clone();
    void ToggleTag();
    void ClearTags(const QDateTime& now);
    QString ClipboardText(const data::TClipboardParts& parts) const;
    // Sets DATE (nothing: blank), putting the record into edit state first.
    void SetDate(const std::optional<QDate>& date);

    // Memo search from the first record (fromStart) or the one after the current. cancelled is
    // asked after each record (it may let window messages run). Returns whether a memo matched;
    // without a match the starting record is current again and a beep sounds.
    bool SearchMemo(const QString& text, bool fromStart, const std::function<bool()>& cancelled);
    bool MemoFound() const { return mMemoFound; }
    const QString& MemoSearchText() const { return mMemoSearchText; }
    void ResetMemoSearch();

    // Names of the calculated name fields are computed only while a printing window asks.
    void SetCalculateNames(bool on);

signals:
    void CommandsChanged();
    void CaptionChanged(const QString& caption);
    void FileOpened();

private:
    void UpdateCommands();
    void UpdateCaption();
    void InvalidateCount() { mCount.reset(); }
    QString Value(const QString& field) const { return mDataSet.AsString(field); }

    data::TDataSet mDataSet;
    data::TApollo mApollo;
    data::TApolloEnv mEnv;
    THooks mHooks;
    TPreferences mPreferences;
    QString mTagIdentifier;
    bool mCalculateNames = false;
    QString mCurrentPath;
    QString mCaption = QStringLiteral("Quillmark");
    QString mSortTag;
    data::TFilterEntries mFilter;
    data::TFilterEntries mAppliedFilter;
    QString mFilterExpression;
    bool mFilterMatchedNothing = false;
    std::optional<uint32_t> mCount;
    bool mBusy = true;
    // Values carried from the record shown when Add was pressed.
    QString mCarryOrg, mCarryStreet, mCarryStreet2, mCarryCity, mCarryState, mCarryZip,
        mCarryCountry;
    QString mMemoSearchText;
    bool mMemoFound = false;
};

} // namespace qm::addressbook
