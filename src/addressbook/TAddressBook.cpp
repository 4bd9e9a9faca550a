#include "addressbook/TAddressBook.h"

#include "addressbook/TRecentFiles.h"
#include "data/TAddressFile.h"
#include "data/TCalculatedFields.h"
#include "data/TMessageService.h"
#include "data/TNewFileFieldLengths.h"
#include "data/TProgramHome.h"
#include "data/TRecordText.h"
#include "data/TSettingsFile.h"
#include "data/TSortOrders.h"
#include "data/TTagIdentifier.h"
#include "data/TWin1252.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFileInfo>

namespace qm::addressbook {

using data::TMessageService;

namespace {

data::TSettingsFile Settings()
{
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

constexpr const char* kNotIsDel = "!ISDEL";
constexpr int kMaxQuery = 255;
constexpr int kQuerySuffixLength = 12; // ".and. !ISDEL"

// Puts the engine's exact-matching and soft-seek settings, the order and the record back when a
// lookup ends, also after an error; errors while restoring are ignored.
class TPositionKeeper {
public:
    explicit TPositionKeeper(data::TDataSet& ds)
        : mDataSet(ds), mRecNo(ds.RecNo()), mOrder(ds.Active() ? ds.Cursor().Order() : 0)
    {
    }
    ~TPositionKeeper()
    {
        try {
            if (!mDataSet.Active())
                return;
            mDataSet.Cursor().SetOrder(mOrder);
            if (mGoBack && mRecNo != 0)
                mDataSet.GoTo(mRecNo);
            else
                mDataSet.Resync();
        } catch (...) {
        }
    }
    void StayWhereFound() { mGoBack = false; }

private:
    data::TDataSet& mDataSet;
    uint32_t mRecNo;
    int mOrder;
    bool mGoBack = true;
};

} // namespace

TAddressBook::TAddressBook(QObject* parent) : QObject(parent), mApollo(mDataSet)
{
    data::TAddressFile::DeclareFieldObjects(mDataSet);
    data::TCalculatedFields::Install(mDataSet, &mTagIdentifier, &mCalculateNames);
    const auto afterChange = [this] {
        InvalidateCount();
        if (mBusy)
            UpdateCommands();
    };
    connect(&mDataSet, &data::TDataSet::AfterPost, this, afterChange);
    connect(&mDataSet, &data::TDataSet::AfterEdit, this, [this] {
        if (mBusy)
            UpdateCommands();
    });
    connect(&mDataSet, &data::TDataSet::AfterInsert, this, [this] {
        if (mBusy)
            UpdateCommands();
    });
    connect(&mDataSet, &data::TDataSet::AfterCancel, this, [this] {
        if (mBusy)
            UpdateCommands();
    });
}

TAddressBook::~TAddressBook() = default;

void TAddressBook::UpdateCommands()
{
    emit CommandsChanged();
}

void TAddressBook::SetBusy(bool busy)
{
    mBusy = busy;
    if (busy)
        UpdateCommands();
}

void TAddressBook::SetCalculateNames(bool on)
{
    mCalculateNames = on;
    mDataSet.RecalculateFields();
}

// --- settings ---

void TAddressBook::LoadPreferences()
{
    data::TSettingsFile settings = Settings();
    mPreferences = TPreferences::Load(settings);
    try {
        mTagIdentifier = data::TTagIdentifier::LoadAndStore(settings, QDateTime::currentDateTime());
    } catch (const data::TSettingsWriteError& error) {
        if (mTagIdentifier.isEmpty())
            mTagIdentifier = data::TTagIdentifier::MakeNew(QDateTime::currentDateTime());
        TMessageService::Inform(nullptr, error.Message());
    }
    mDataSet.RecalculateFields();
}

QStringList TAddressBook::RecentFiles() const
{
    return TRecentFiles::Load(Settings());
}

// --- files ---

void TAddressBook::CloseFile()
{
    if (mDataSet.Editing())
        mDataSet.Cancel();
    mDataSet.Close();
    InvalidateCount();
}

bool TAddressBook::OpenAddressFile(const QString& path)
{
    CloseFile();
    const data::TAddressOpenResult result = data::TAddressFile::Open(mDataSet, path);
    if (!result.opened) {
        TMessageService::Inform(nullptr, result.message);
        if (result.message.endsWith(QStringLiteral(" not found")))
            TMessageService::Inform(nullptr, data::TAddressFile::OpenFailureText(path));
    } else if (!data::TAddressFile::TagsValid(mDataSet)) {
        const bool rebuild = TMessageService::Ask(nullptr, QStringLiteral("Warning"),
                                                  data::TAddressFile::RebuildQuestion(path), true);
        if (rebuild && mHooks.rebuildIndexes)
            mHooks.rebuildIndexes();
        if (!rebuild || !data::TAddressFile::TagsValid(mDataSet))
            mDataSet.Close();
    }

    const bool open = mDataSet.Active();
    if (open) {
        SetCurrentOrder(QStringLiteral("LNAME"));
        ApplyFilter();
        mDataSet.First();
        try {
            data::TSettingsFile settings = Settings();
            TRecentFiles::Push(settings, path);
        } catch (const data::TSettingsWriteError& error) {
            TMessageService::Inform(nullptr, error.Message());
        }
        mCurrentPath = path;
    } else {
        mSortTag.clear();
        mCurrentPath.clear();
    }
    UpdateCaption();
    ResetMemoSearch();
    InvalidateCount();
    if (open)
        emit FileOpened();
    UpdateCommands();
    return open;
}

void TAddressBook::UpdateCaption()
{
    // The title names the file that is open, never one that failed to open.
    const QString caption = mDataSet.Active() && !mCurrentPath.isEmpty()
                                ? QStringLiteral("Quillmark - ") + mCurrentPath
                                : QStringLiteral("Quillmark");
    if (caption == mCaption)
        return;
    mCaption = caption;
    emit CaptionChanged(mCaption);
}

bool TAddressBook::OpenRecentFile(const QString& path)
{
    const QString previous = mCurrentPath;
    if (OpenAddressFile(path))
        return true;
    if (!previous.isEmpty() && previous != path)
        OpenAddressFile(previous);
    return false;
}

bool TAddressBook::CreateAndOpen(const QString& path, const data::TNewFileFieldLengths& lengths)
{
    CloseFile();
    const data::TAddressCreateResult created = data::TAddressFile::CreateFile(path, lengths);
    if (!created.Created()) {
        for (const QString& message : created.messages)
            TMessageService::Inform(nullptr, message);
        mSortTag.clear();
        mCurrentPath.clear();
        UpdateCaption();
        UpdateCommands();
        return false;
    }
    return OpenAddressFile(path);
}

void TAddressBook::OpenAtStartUp()
{
    const QStringList recent = RecentFiles();
    if (!recent.isEmpty()) {
        OpenAddressFile(recent.first());
        return;
    }
    const data::TProgramHome& home = data::TProgramHome::Current();
    QString path = home.FilePath(QStringLiteral("DATA/ADD0001.DBF"));
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        const data::TAddressCreateResult created =
            data::TAddressFile::CreateFile(path, data::TNewFileFieldLengths::Load(Settings()));
        if (!created.Created()) {
            for (const QString& message : created.messages)
                TMessageService::Inform(nullptr, message);
            UpdateCaption();
            UpdateCommands();
            return;
        }
    }
    OpenAddressFile(path);
}

// --- sort orders ---

void TAddressBook::SetCurrentOrder(const QString& tag)
{
    if (!mDataSet.Active())
        return;
    try {
        mApollo.SetOrder(mApollo.TagArea(tag));
    } catch (const std::exception&) {
        // An order that cannot be set leaves the current one; nothing to tell the user.
    }
    mSortTag = tag;
}

QString TAddressBook::SortStatus() const
{
    if (!mDataSet.Active())
        return {};
    const data::TSortOrder* order = data::TSortOrders::ByTag(mSortTag);
    return order ? data::TSortOrders::StatusText(*order) : QString();
}

// --- filter ---

int TAddressBook::ApplyFilter()
{
    mFilterMatchedNothing = false;
    const data::TFilterBuilder::TResult built =
        data::TFilterBuilder::Build(mFilter, mTagIdentifier);
    if (!built.error.isEmpty()) {
        TMessageService::Inform(nullptr, built.error);
        mFilter = mAppliedFilter; // the filter in force stays as it was
        return mDataSet.Active() ? int(mApollo.QueryRecCount()) : 0;
    }
    InvalidateCount();
    mFilterExpression = built.expression;
    const auto dropFilter = [this] {
        mFilter.Clear();
        mFilterExpression.clear();
        mAppliedFilter = mFilter;
        if (mDataSet.Active())
            mApollo.SetQuery(QString::fromLatin1(kNotIsDel));
    };
    if (mFilterExpression.isEmpty()) {
        dropFilter();
        return 0;
    }
    if (mFilterExpression.size() + kQuerySuffixLength > kMaxQuery) {
        TMessageService::Inform(
            nullptr, QStringLiteral("Sorry - filter is too complex.Please simplify it."));
        dropFilter();
        return 0;
    }
    mAppliedFilter = mFilter;
    if (!mDataSet.Active())
        return 0;
    const QString query = mFilterExpression + QStringLiteral(".and. !ISDEL");
    const QString problem = mApollo.QueryTest(query);
    if (!problem.isEmpty()) {
        TMessageService::Inform(nullptr, problem);
        dropFilter();
        return 0;
    }
    mApollo.SetQuery(query);
    const int count = int(mApollo.QueryRecCount());
    if (count == 0) {
        dropFilter();
        mFilterMatchedNothing = true;
        return 0;
    }
    mCount = uint32_t(count);
    return count;
}

void TAddressBook::ClearFilter()
{
    mFilter.Clear();
    ApplyFilter();
    if (mDataSet.Active())
        mDataSet.First();
    UpdateCommands();
}

QString TAddressBook::CountStatus()
{
    if (!mDataSet.Active())
        return {};
    if (!mCount)
        mCount = mApollo.QueryRecCount();
    if (!mFilterExpression.isEmpty())
        return QString::number(*mCount) + QStringLiteral(" filter matches");
    if (*mCount > 0)
        return QString::number(*mCount) + QStringLiteral(" records (no filter)");
    return QStringLiteral("No records");
}

// --- commands ---

TCommandState TAddressBook::Commands() const
{
    TCommandState s;
    s.open = mDataSet.Active();
    s.editing = mDataSet.Editing();
    s.hasRecords = s.open && !mDataSet.IsEmpty();
    s.filtered = !mFilterExpression.isEmpty();
    s.idle = s.open && !s.editing && s.hasRecords;
    return s;
}

// --- movement ---

void TAddressBook::First()
{
    mDataSet.First();
    UpdateCommands();
}

void TAddressBook::Last()
{
    mDataSet.Last();
    UpdateCommands();
}

void TAddressBook::Next()
{
    const uint32_t before = mDataSet.RecNo();
    mDataSet.Next();
    if (mDataSet.Eof() || mDataSet.RecNo() == before)
        TMessageService::Beep();
    UpdateCommands();
}

void TAddressBook::Prior()
{
    const uint32_t before = mDataSet.RecNo();
    mDataSet.Prior();
    if (mDataSet.Bof() || mDataSet.RecNo() == before)
        TMessageService::Beep();
    UpdateCommands();
}

// --- records ---

void TAddressBook::PrepareAdd()
{
    mCarryOrg = Value(QStringLiteral("ORG"));
    mCarryCity = Value(QStringLiteral("CITY"));
    mCarryState = Value(QStringLiteral("STATE"));
    mCarryZip = Value(QStringLiteral("ZIP"));
    mCarryStreet = Value(QStringLiteral("STREET"));
    mCarryStreet2 = Value(QStringLiteral("STREET2"));
    mCarryCountry = mPreferences.carryCountry ? Value(QStringLiteral("COUNTRY")) : QString();
}

std::optional<std::pair<QString, QString>> TAddressBook::FindCityState(const QString& zip)
{
    if (!mDataSet.Active() || zip.trimmed().isEmpty())
        return std::nullopt;
    std::optional<std::pair<QString, QString>> found;
    try {
        TPositionKeeper keep(mDataSet);
        auto exact = data::TApolloEnv::ScopedExact(false);
        mDataSet.Cursor().SelectTag("ZIP");
        if (mApollo.Seek(data::TWin1252::Upper(zip)))
            found = std::make_pair(Value(QStringLiteral("CITY")), Value(QStringLiteral("STATE")));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return found;
}

uint32_t TAddressBook::FindDuplicate(const QString& last, const QString& first)
{
    if (!mDataSet.Active() || last.isEmpty() || first.isEmpty())
        return 0;
    const QString key = data::TRecordText::DuplicateKey(
        last, first, mDataSet.FieldByName("LNAME").Size(), mDataSet.FieldByName("FNAME").Size());
    try {
        TPositionKeeper keep(mDataSet);
        auto exact = data::TApolloEnv::ScopedExact(true);
        mDataSet.Cursor().SelectTag("LNAME");
        if (mApollo.Seek(key))
            return mDataSet.RecNo();
    } catch (const std::exception&) {
    }
    return 0;
}

bool TAddressBook::StartNewRecord(const TNewRecordInput& input, const QDate& today)
{
    std::optional<std::pair<QString, QString>> cityState;
    if (mPreferences.plugCityState && !input.zip.isEmpty())
        cityState = FindCityState(input.zip);

    if (!input.lastName.isEmpty() && !input.firstName.isEmpty()) {
        const uint32_t duplicate = FindDuplicate(input.lastName, input.firstName);
        if (duplicate != 0) {
            const uint32_t remembered = mDataSet.RecNo();
            mDataSet.GoTo(duplicate);
            TMessageService::Beep();
            const QString question =
                data::TRecordText::DuplicateQuestion([this](const QString& f) { return Value(f); });
            if (!TMessageService::Ask(nullptr, QStringLiteral("Possible Duplicate"), question,
                                      false)) {
                UpdateCommands();
                return false;
            }
            if (remembered != 0)
                mDataSet.GoTo(remembered);
        }
    }

    mDataSet.Append();
    const auto put = [this](const char* field, const QString& value) {
        if (!value.isEmpty())
            mDataSet.SetAsString(QString::fromLatin1(field), value);
    };
    put("FNAME", input.firstName);
    put("LNAME", input.lastName);
    put("ZIP", input.zip);
    if (cityState) {
        put("CITY", cityState->first);
        put("STATE", cityState->second);
    }
    const TPreferences& p = mPreferences;
    if (input.zip.isEmpty() && p.carryZip)
        put("ZIP", mCarryZip);
    if (!cityState && p.carryCity)
        put("CITY", mCarryCity);
    if (!cityState && p.carryState)
        put("STATE", mCarryState);
    if (p.carryCountry)
        put("COUNTRY", mCarryCountry);
    if (p.carrySA1)
        put("STREET", mCarryStreet);
    if (p.carrySA2)
        put("STREET2", mCarryStreet2);
    if (mCarryCountry.isEmpty() && !p.defaultCountry.isEmpty())
        put("COUNTRY", p.defaultCountry);
    if (p.plugDate)
        put("DATE", today.toString(QStringLiteral("yyyyMMdd")));
    if (p.carryOrg)
        put("ORG", mCarryOrg);
    UpdateCommands();
    return true;
}

namespace {

// A change the user made on the record form reaches the disk with the index in step as soon as
// it is posted: a copy killed afterwards loses nothing and reopens without a rebuild question.
// (Bulk work posts many records and commits once at its end instead.)
void CommitPosted(data::TDataSet& dataSet)
{
    if (dataSet.Active())
        dataSet.Table().Commit();
}

} // namespace

void TAddressBook::Edit()
{
    mDataSet.Edit();
    UpdateCommands();
}

void TAddressBook::Save(const QString& memoText)
{
    if (!mDataSet.Editing())
        return;
    const QString stored = data::TRecordText::StoredMemo(memoText);
    // A memo the memo file cannot give back (the window shows it empty) is left as it is unless a
    // new one was typed, so the record's other fields can still be saved.
    std::optional<QString> current;
    try {
        current = Value(QStringLiteral("MEMO"));
    } catch (const xbase::TXbaseError&) {
    }
    if (current ? stored != *current : !stored.isEmpty())
        mDataSet.SetAsString(QStringLiteral("MEMO"), stored);
    mDataSet.Post();
    CommitPosted(mDataSet);
    InvalidateCount();
    if (mApollo.QueryRecCount() == 0)
        ApplyFilter();
    UpdateCommands();
}

void TAddressBook::Cancel()
{
    mDataSet.Cancel();
    UpdateCommands();
}

bool TAddressBook::Delete()
{
    bool deleted = false;
    if (TMessageService::Ask(nullptr, QStringLiteral("DELETE"),
                             QStringLiteral("Delete this record?"))) {
        {
            auto showDeleted = data::TApolloEnv::ScopedDeleted(false);
            mDataSet.MarkDeleted(true);
            mDataSet.Edit();
            mDataSet.SetAsBoolean(QStringLiteral("ISDEL"), true);
            mDataSet.Post();
            CommitPosted(mDataSet);
        }
        mDataSet.Prior();
        if (mDataSet.MarkedDeleted())
            mDataSet.First();
        deleted = true;
    }
    InvalidateCount();
    if (mApollo.QueryRecCount() == 0)
        ApplyFilter();
    UpdateCommands();
    return deleted;
}

bool TAddressBook::Clone()
{
    if (!TMessageService::Ask(nullptr, QStringLiteral("Clone"),
                              QStringLiteral("Clone this record?")))
        return false;
    static const char* const kFields[] = {
        "LNAME",   "FNAME", "MIDDLE", "PREFIX", "TITLE",   "ORG",   "STREET",
        "STREET2", "CITY",  "STATE",  "ZIP",    "COUNTRY", "PHONE", "PHONE2",
        "EMAIL",   "FAX",   "CODES",  "DATE",   "USER1",   "USER2", "MEMO"};
    mDataSet.DisableControls();
    try {
        QStringList values;
        for (const char* f : kFields)
            values << Value(QString::fromLatin1(f));
        mDataSet.Append();
        for (size_t i = 0; i < std::size(kFields); ++i)
            if (!values[int(i)].isEmpty())
                mDataSet.SetAsString(QString::fromLatin1(kFields[i]), values[int(i)]);
        mDataSet.Post();
        CommitPosted(mDataSet);
    } catch (...) {
        if (mDataSet.Editing())
            mDataSet.Cancel();
        mDataSet.EnableControls();
        throw;
    }
    mDataSet.EnableControls();
    InvalidateCount();
    TMessageService::Inform(nullptr,
                            QStringLiteral("Clone completed. Current record is an exact copy"));
    UpdateCommands();
    return true;
}

void TAddressBook::ToggleTag()
{
    if (!Commands().RecordShown())
        return;
    const bool wasEditing = mDataSet.Editing();
    const bool tagged =
        data::TCalculatedFields::Tagged(Value(QStringLiteral("TAG")), mTagIdentifier);
    if (!wasEditing) {
        SetBusy(false);
        mDataSet.Edit();
    }
    mDataSet.SetAsString(QStringLiteral("TAG"), tagged ? QString() : mTagIdentifier);
    if (!wasEditing) {
        mDataSet.Post();
        CommitPosted(mDataSet);
        SetBusy(true);
        InvalidateCount();
        // Untagging under a tagged-only filter may have emptied the view. A record being edited
        // or added keeps its change until Save (which looks at the view then): applying the
        // filter now would post it behind the user's back.
        if (mApollo.QueryRecCount() == 0)
            ApplyFilter();
    }
    UpdateCommands();
}

void TAddressBook::ClearTags(const QDateTime& now)
{
    data::TSettingsFile settings = Settings();
    try {
        mTagIdentifier = data::TTagIdentifier::Renew(settings, now);
    } catch (const data::TSettingsWriteError& error) {
        TMessageService::Inform(nullptr, error.Message());
        return;
    }
    ApplyFilter();
    mDataSet.RecalculateFields();
    if (mDataSet.Active())
        mDataSet.Resync();
    UpdateCommands();
}

QString TAddressBook::ClipboardText(const data::TClipboardParts& parts) const
{
    return data::TRecordText::ClipboardText([this](const QString& f) { return Value(f); }, parts);
}

void TAddressBook::SetDate(const std::optional<QDate>& date)
{
    if (!mDataSet.Editing())
        mDataSet.Edit();
    mDataSet.SetAsString(QStringLiteral("DATE"),
                         date ? date->toString(QStringLiteral("yyyyMMdd")) : QString());
    UpdateCommands();
}

void TAddressBook::ResetMemoSearch()
{
    mMemoFound = false;
}

bool TAddressBook::SearchMemo(const QString& text, bool fromStart,
                              const std::function<bool()>& cancelled)
{
    mMemoSearchText = text.left(255);
    mMemoFound = false;
    if (!mDataSet.Active() || mDataSet.IsEmpty() || mMemoSearchText.isEmpty())
        return false;
    const uint32_t start = mDataSet.RecNo();
    mDataSet.DisableControls();
    bool found = false;
    const auto matches = [this] {
        const QString memo = Value(QStringLiteral("MEMO")).left(32767);
        return !memo.isEmpty() && memo.contains(mMemoSearchText, Qt::CaseInsensitive);
    };
    try {
        bool more = true;
        if (fromStart) {
            mDataSet.First();
        } else {
            mDataSet.Next();
            more = mDataSet.RecNo() != start;
        }
        while (more) {
            if (matches()) {
                found = true;
                break;
            }
            if (cancelled && cancelled())
                break;
            const uint32_t before = mDataSet.RecNo();
            mDataSet.Next();
            more = mDataSet.RecNo() != before;
        }
    } catch (...) {
        mDataSet.EnableControls();
        throw;
    }
    if (!found) {
        mDataSet.GoTo(start);
        TMessageService::Beep();
    }
    mDataSet.EnableControls();
    mMemoFound = found;
    UpdateCommands();
    return found;
}

} // namespace qm::addressbook
