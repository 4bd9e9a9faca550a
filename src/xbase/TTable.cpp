#include "xbase/TTable.h"

#include "xbase/TCompoundIndex.h"
#include "xbase/TDbfFile.h"
#include "xbase/TDbfFormat.h"
#include "xbase/TExpression.h"
#include "xbase/TFileIoIndexStorage.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TIndexTag.h"
#include "xbase/TKeyEncoding.h"
#include "xbase/TMemoFile.h"
#include "xbase/TPairSwap.h"
#include "xbase/TTableIndexes.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace qm::xbase {

struct TTable::TState {
    TFileIoSystem* files = nullptr;
    TOpenMode mode = TOpenMode::Exclusive;
    std::string path;
    std::unique_ptr<TDbfFile> dbf;
    std::unique_ptr<TMemoFile> memo;
    std::unique_ptr<TTableIndexes> indexes;
    std::string buffer;   // the current record as changed by the caller
    std::string original; // the current record as the file holds it
    uint32_t recNo = 0;
    // Go() only notes the record; its bytes are read when something asks for them, so walks and
    // seeks that merely pass over records do not read each one.
    bool unread = false;
    bool changed = false;
    bool appendPending = false; // recNo is a new record not yet in the file
    bool dirty = false;         // changes not yet committed
    bool failed = false;        // a write failed: no more writes until reopened
    bool stale = false;
    bool closed = false;
    bool unopenedIndexMarked = false; // an index file not open here was marked out of date
    bool openIndex = true;            // the options' choice, for reopening
};

namespace {

constexpr uint32_t kStaleSyncCount = UINT32_MAX;
// Appends between header count writes while the table is open exclusively.
constexpr uint32_t kCountLag = 1023;

bool IsBinaryType(const TFieldInfo& f)
{
    return f.type == TFieldType::Integer || f.type == TFieldType::Currency ||
           f.type == TFieldType::DateTime || f.type == TFieldType::Double ||
           ((f.type == TFieldType::Memo || f.type == TFieldType::General ||
             f.type == TFieldType::Picture || f.type == TFieldType::Blob) &&
            f.length == dbf::kVfpMemoFieldLength);
}

bool IsMemoType(TFieldType t)
{
    return t == TFieldType::Memo || t == TFieldType::General || t == TFieldType::Picture ||
           t == TFieldType::Blob;
}

std::string BlankRecord(const TDbfHeader& h)
{
    std::string r(h.recordLength, ' ');
    for (const TFieldInfo& f : h.fields)
        if (IsBinaryType(f))
            std::memset(r.data() + f.offset, 0, f.length);
    return r;
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

bool ParseNumber(std::string_view text, double& value)
{
    text = TrimLeft(TrimRight(text));
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

uint64_t Le(std::string_view b, size_t n)
{
    uint64_t v = 0;
    for (size_t i = 0; i < n && i < b.size(); ++i)
        v |= uint64_t(uint8_t(b[i])) << (8 * i);
    return v;
}

std::string DateFromJulian(int64_t jd)
{
    if (jd <= 0)
        return {};
    // Gregorian calendar from a Julian day number (Richards' algorithm).
    const int64_t f = jd + 1401 + (((4 * jd + 274277) / 146097) * 3) / 4 - 38;
    const int64_t e = 4 * f + 3;
    const int64_t g = (e % 1461) / 4;
    const int64_t h = 5 * g + 2;
    const int64_t day = (h % 153) / 5 + 1;
    const int64_t month = ((h / 153 + 2) % 12) + 1;
    const int64_t year = e / 1461 - 4716 + (12 + 2 - month) / 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04lld%02lld%02lld", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day));
    return buf;
}

} // namespace

TTable::TTable() : mState(std::make_unique<TState>()) {}

TTable::~TTable()
{
    if (!mState->closed) {
        try {
            Close();
        } catch (...) {
            // Close() reports; a destructor cannot.
        }
    }
}

// --- opening ---------------------------------------------------------------------------------

namespace {

void OpenFiles(TTable::TState& s, bool openIndex);

} // namespace

std::unique_ptr<TTable> TTable::Open(const std::string& path, const TTableOptions& options)
{
    std::unique_ptr<TTable> table(new TTable());
    TState& s = *table->mState;
    s.files = options.files ? options.files : &TFileIoSystem::Default();
    s.mode = options.mode;
    s.path = path;
    s.openIndex = options.openIndex;
    OpenFiles(s, options.openIndex);
    return table;
}

namespace {

// A pack replaces the memo file and then the table file by renaming; a crash between the two
// leaves the packed table file (complete: it was flushed before the first rename) beside a memo
// file that already belongs to it. Called with the table file open and locked; returns true when
// the table file was replaced and must be opened again.
bool FinishInterruptedPack(TTable::TState& s)
{
    const std::string tmpDbf = CompanionPath(s.path, ".PK$");
    const std::string tmpMemo = CompanionPath(s.path, ".PM$");
    if (!s.files->Exists(tmpDbf)) {
        if (s.mode != TOpenMode::ReadOnly && s.files->Exists(tmpMemo))
            s.files->Remove(tmpMemo); // a pack stopped early: nothing was replaced
        return false;
    }
    const bool memoRenamed = s.dbf->Header().HasMemoFields() && !s.files->Exists(tmpMemo);
    if (s.mode == TOpenMode::ReadOnly) {
        if (memoRenamed)
            throw TXbaseError(TErrorKind::Damaged,
                              "packing the table was interrupted; open it for writing to finish",
                              s.path);
        return false;
    }
    if (!memoRenamed) {
        // The old files are whole; what the pack left is dropped.
        s.files->Remove(tmpDbf);
        s.files->Remove(tmpMemo);
        return false;
    }
    s.dbf.reset();
    s.files->Rename(tmpDbf, s.path);
    return true;
}

void OpenFiles(TTable::TState& s, bool openIndex)
{
    // A replacement of the table and its memo cut short is finished or undone first.
    TPairSwap::Recover(*s.files, s.path);
    const bool writable = s.mode != TOpenMode::ReadOnly;
    const TFileAccess access = writable ? TFileAccess::ReadWrite : TFileAccess::ReadOnly;
    const TFileLock lock =
        s.mode == TOpenMode::Exclusive ? TFileLock::Exclusive : TFileLock::Shared;
    s.dbf = std::make_unique<TDbfFile>(s.files->Open(s.path, access, lock), writable);
    const bool packFinished = FinishInterruptedPack(s);
    // An index rebuild or a pack stopped before its new files replaced the old ones leaves them
    // behind; nobody else can be writing them while the table is ours alone.
    if (s.mode == TOpenMode::Exclusive) {
        for (const char* ext : {".CX$", ".BD$", ".BM$"}) {
            const std::string unfinished = CompanionPath(s.path, ext);
            if (s.files->Exists(unfinished))
                s.files->Remove(unfinished);
        }
    }
    if (packFinished)
        s.dbf = std::make_unique<TDbfFile>(s.files->Open(s.path, access, lock), writable);
    if (s.mode == TOpenMode::Exclusive) {
        s.dbf->SetCountLag(kCountLag);
        s.dbf->SetKeepMarks(true);
    }
    const TDbfHeader& h = s.dbf->Header();

    const TMemoKind kind = h.MemoKind();
    if (kind != TMemoKind::None) {
        TMemoKind found = kind;
        std::string memoPath =
            s.files->FindCompanion(s.path, kind == TMemoKind::Fpt ? ".FPT" : ".DBT");
        if (memoPath.empty()) {
            found = kind == TMemoKind::Fpt ? TMemoKind::Dbt : TMemoKind::Fpt;
            memoPath = s.files->FindCompanion(s.path, found == TMemoKind::Fpt ? ".FPT" : ".DBT");
        }
        if (memoPath.empty())
            throw TXbaseError(TErrorKind::NotFound,
                              "the table's memo file " +
                                  CompanionPath(s.path, kind == TMemoKind::Fpt ? ".FPT" : ".DBT") +
                                  " is missing",
                              s.path);
        s.memo = std::make_unique<TMemoFile>(s.files->Open(memoPath, access, TFileLock::None),
                                             found, writable);
        s.memo->SetShared(s.mode == TOpenMode::Shared);
    }
    s.buffer = BlankRecord(h);
    s.original = s.buffer;
    s.recNo = 0;
    s.unread = false;
    s.changed = false;
    s.appendPending = false;

    s.stale = false;
    if (!openIndex)
        return;
    const std::string cdxPath = s.files->FindCompanion(s.path, ".CDX");
    if (cdxPath.empty())
        return;
    auto storage =
        std::make_unique<TFileIoIndexStorage>(s.files->Open(cdxPath, access, TFileLock::None));
    s.indexes = std::make_unique<TTableIndexes>(TCompoundIndex::Open(std::move(storage), !writable),
                                                h.fields);
    s.stale = packFinished || s.indexes->StaleOnOpen(s.dbf->RecordCount()) || s.dbf->Reconciled();
    if (s.stale && writable)
        s.indexes->Index().SetSyncCount(kStaleSyncCount); // stays stale until rebuilt
}

} // namespace

std::unique_ptr<TTable> TTable::Create(const std::string& path,
                                       const std::vector<TFieldDef>& fields,
                                       const TTableOptions& options)
{
    TFileIoSystem& files = options.files ? *options.files : TFileIoSystem::Default();
    const TFieldList list = MakeFieldList(fields);
    const TDbfHeader header = TDbfHeader::ForNewTable(list);
    if (files.Exists(path))
        throw TXbaseError(TErrorKind::Usage, "the file already exists", path);
    // Memo and index files are found in any letter case, so a table whose name differs only in
    // case owns the ones this table would use; making it would remove or take them over.
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        if (const std::string other = files.FindCompanion(path, std::string_view(path).substr(dot));
            !other.empty())
            throw TXbaseError(TErrorKind::Usage,
                              "a table of that name in other letter case exists (" + other + ")",
                              path);
    // The table is written under a temporary name and renamed into place last, so a failure on
    // the way never leaves a half-made table that would block the next attempt.
    // A table file left under that name by a killed attempt is used again (emptied).
    const std::string tmpPath = CompanionPath(path, ".CR$");
    const std::string memoPath = CompanionPath(path, ".FPT");
    bool memoMade = false;
    try {
        auto dbfFile = files.Create(tmpPath, TFileLock::Exclusive, true);
        // Companions of an earlier table of that name would otherwise be taken for this one's.
        const std::string oldIndex = files.FindCompanion(path, ".CDX");
        if (!oldIndex.empty())
            files.Remove(oldIndex);
        if (header.HasMemoFields()) {
            const std::string oldMemo = files.FindCompanion(path, ".FPT");
            if (!oldMemo.empty() && oldMemo != memoPath)
                files.Remove(oldMemo);
            auto memoFile = files.Create(memoPath, TFileLock::None, true);
            memoMade = true;
            TMemoFile::WriteNewFpt(*memoFile);
            memoFile->Sync();
        }
        TDbfFile::WriteNew(*dbfFile, header);
        dbfFile->Sync();
        dbfFile.reset();
        files.Rename(tmpPath, path);
    } catch (...) {
        // Nothing half made stays behind: no table appeared, so its memo goes too.
        try {
            if (!files.Exists(path)) {
                if (files.Exists(tmpPath))
                    files.Remove(tmpPath);
                if (memoMade && files.Exists(memoPath))
                    files.Remove(memoPath);
            }
        } catch (...) {
            // The next attempt replaces them.
        }
        throw;
    }
    return Open(path, options);
}

void TTable::Close()
{
    TState& s = *mState;
    if (s.closed)
        return;
    std::exception_ptr error;
    try {
        if (!s.failed && s.dbf && s.dbf->Writable())
            Commit();
    } catch (...) {
        error = std::current_exception();
    }
    s.closed = true;
    try {
        if (s.indexes && !s.failed)
            s.indexes->Close();
    } catch (...) {
        if (!error)
            error = std::current_exception();
    }
    // After a failed write the index keeps its dirty mark on disk: what its cache holds may not
    // match the records.
    if (s.indexes)
        s.indexes->Discard();
    s.indexes.reset();
    s.memo.reset();
    s.dbf.reset();
    if (error)
        std::rethrow_exception(error);
}

// --- plain queries ---------------------------------------------------------------------------

const std::string& TTable::Path() const
{
    return mState->path;
}

const TFieldList& TTable::Fields() const
{
    static const TFieldList none;
    return mState->dbf ? mState->dbf->Header().fields : none;
}

int TTable::FieldIndex(std::string_view name) const
{
    return FindField(Fields(), name);
}
bool TTable::HasMemo() const
{
    return mState->memo != nullptr;
}
bool TTable::ReadOnly() const
{
    return mState->mode == TOpenMode::ReadOnly;
}
uint32_t TTable::RecordCount() const
{
    return mState->dbf ? mState->dbf->RecordCount() + (mState->appendPending ? 1 : 0) : 0;
}
uint8_t TTable::Version() const
{
    return mState->dbf ? mState->dbf->Header().version : 0;
}

// --- guards ----------------------------------------------------------------------------------

namespace {

void RequireOpen(const TTable::TState& s)
{
    if (s.closed || !s.dbf)
        throw TXbaseError(TErrorKind::Usage, "the table is closed", s.path);
}

void RequireWritable(const TTable::TState& s)
{
    RequireOpen(s);
    if (s.mode == TOpenMode::ReadOnly)
        throw TXbaseError(TErrorKind::Usage, "the table is open read-only", s.path);
    if (s.failed)
        throw TXbaseError(TErrorKind::Usage,
                          "an earlier write to the table failed; close and reopen it", s.path);
}

void RequireExclusive(const TTable::TState& s, const char* what)
{
    RequireWritable(s);
    if (s.mode != TOpenMode::Exclusive)
        throw TXbaseError(TErrorKind::Usage,
                          std::string(what) + " needs the table opened exclusively", s.path);
}

// Records changed while the production index is not open leave it behind: its file is marked so
// that its next open reports it stale. A damaged index is reported when it is next opened anyway.
void MarkUnopenedIndexStale(TTable::TState& s)
{
    if (s.indexes || s.unopenedIndexMarked)
        return;
    s.unopenedIndexMarked = true;
    const std::string cdx = s.files->FindCompanion(s.path, ".CDX");
    if (cdx.empty())
        return;
    try {
        auto storage = std::make_unique<TFileIoIndexStorage>(
            s.files->Open(cdx, TFileAccess::ReadWrite, TFileLock::None));
        auto index = TCompoundIndex::Open(std::move(storage), false);
        index->SetSyncCount(kStaleSyncCount);
        index->Close();
    } catch (const TXbaseError& e) {
        if (e.Kind() == TErrorKind::Io)
            throw;
    }
}

// Runs a write; an I/O failure leaves the table refusing further writes.
template <typename F> void Guarded(TTable::TState& s, F&& work)
{
    try {
        work();
    } catch (const TXbaseError& e) {
        if (e.Kind() == TErrorKind::Io)
            s.failed = true;
        throw;
    } catch (...) {
        s.failed = true;
        throw;
    }
}

const TFieldInfo& FieldAt(const TTable::TState& s, int field)
{
    const TFieldList& fields = s.dbf->Header().fields;
    if (field < 0 || size_t(field) >= fields.size())
        throw TXbaseError(TErrorKind::Usage, "there is no field number " + std::to_string(field),
                          s.path);
    return fields[size_t(field)];
}

// Reads the current record's bytes when Go() left them unread.
void LoadCurrent(TTable::TState& s)
{
    if (!s.unread)
        return;
    const std::string_view bytes = s.dbf->Read(s.recNo);
    s.buffer.assign(bytes);
    s.original.assign(bytes);
    s.unread = false;
}

} // namespace

// --- current record --------------------------------------------------------------------------

void TTable::Go(uint32_t recNo)
{
    TState& s = *mState;
    RequireOpen(s);
    if (s.failed) {
        // Nothing more can be written: what was not posted is dropped, reading goes on.
        s.appendPending = false;
        s.changed = false;
    }
    Post();
    if (recNo > s.dbf->RecordCount() && s.mode != TOpenMode::Exclusive)
        s.dbf->Refresh();
    if (recNo == 0 || recNo > s.dbf->RecordCount()) {
        s.buffer = BlankRecord(s.dbf->Header());
        s.original = s.buffer;
        s.recNo = 0;
        s.unread = false;
        return;
    }
    s.recNo = recNo;
    s.unread = true;
}

uint32_t TTable::RecNo() const
{
    return mState->recNo;
}

TRecordView TTable::Record() const
{
    LoadCurrent(*mState);
    return TRecordView{mState->buffer, mState->recNo};
}

bool TTable::Changed() const
{
    return mState->changed;
}

bool TTable::RecordDeleted(uint32_t recNo)
{
    TState& s = *mState;
    RequireOpen(s);
    if (recNo != 0 && recNo == s.recNo && !s.unread)
        return s.buffer[0] == dbf::kRecordDeleted;
    if (recNo == 0 || recNo > s.dbf->RecordCount())
        return s.dbf->Read(recNo)[0] == dbf::kRecordDeleted; // the same error as ReadRecord
    return s.dbf->IsDeleted(recNo);
}

TTable::TChangePoint TTable::ChangePoint() const
{
    const TState& s = *mState;
    RequireOpen(s);
    return TChangePoint{s.dbf->Identity(), s.dbf->ChangeSerial()};
}

bool TTable::ChangedSince(const TChangePoint& point, std::vector<uint32_t>& records) const
{
    const TState& s = *mState;
    RequireOpen(s);
    return point.file == s.dbf->Identity() && s.dbf->ChangesSince(point.serial, records);
}

bool TTable::Exclusive() const
{
    return mState->mode == TOpenMode::Exclusive;
}

TRecordView TTable::ReadRecord(uint32_t recNo)
{
    TState& s = *mState;
    RequireOpen(s);
    if (recNo != 0 && recNo == s.recNo && !s.unread)
        return Record();
    return TRecordView{s.dbf->Read(recNo), recNo};
}

void TTable::SetTurboRead(bool on)
{
    RequireOpen(*mState);
    mState->dbf->SetReadAhead(on);
}

bool TTable::TurboRead() const
{
    return mState->dbf && mState->dbf->ReadAhead();
}

// --- field values ----------------------------------------------------------------------------

std::string_view TTable::GetRaw(int field) const
{
    const TFieldInfo& f = FieldAt(*mState, field);
    LoadCurrent(*mState);
    return std::string_view(mState->buffer).substr(f.offset, f.length);
}

std::string_view TTable::GetTrimmed(int field) const
{
    return TrimRight(GetRaw(field));
}

bool TTable::GetLogical(int field) const
{
    const std::string_view v = GetRaw(field);
    return !v.empty() && (v[0] == 'T' || v[0] == 't' || v[0] == 'Y' || v[0] == 'y');
}

std::string TTable::GetDate(int field) const
{
    const std::string_view v = TrimRight(GetRaw(field));
    return std::string(v);
}

double TTable::GetNumeric(int field) const
{
    const TFieldInfo& f = FieldAt(*mState, field);
    const std::string_view raw = GetRaw(field);
    switch (f.type) {
    case TFieldType::Integer:
        return double(int32_t(uint32_t(Le(raw, 4))));
    case TFieldType::Currency:
        return double(int64_t(Le(raw, 8))) / 10000.0;
    case TFieldType::Double: {
        const uint64_t bits = Le(raw, 8);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    default: {
        double value = 0;
        return ParseNumber(raw, value) ? value : 0.0;
    }
    }
}

bool TTable::IsEmpty(int field) const
{
    const TFieldInfo& f = FieldAt(*mState, field);
    switch (f.type) {
    case TFieldType::Numeric:
    case TFieldType::Float:
    case TFieldType::Integer:
    case TFieldType::Currency:
    case TFieldType::Double:
        return GetNumeric(field) == 0.0;
    case TFieldType::Logical:
        return !GetLogical(field);
    default:
        if (IsMemoType(f.type))
            return MemoBlockOf(GetRaw(field), mState->path, 0) == 0;
        if (IsBinaryType(f))
            return Le(GetRaw(field), 8) == 0;
        return GetTrimmed(field).empty();
    }
}

std::string TTable::GetText(int field) const
{
    const TFieldInfo& f = FieldAt(*mState, field);
    const std::string_view raw = GetRaw(field);
    char buf[64];
    switch (f.type) {
    case TFieldType::Numeric:
    case TFieldType::Float:
        return std::string(TrimLeft(TrimRight(raw)));
    case TFieldType::Logical:
        if (raw.empty() || raw[0] == ' ' || raw[0] == '?')
            return {};
        return GetLogical(field) ? "T" : "F";
    case TFieldType::Integer:
        return std::to_string(int32_t(uint32_t(Le(raw, 4))));
    case TFieldType::Currency: {
        const int64_t v = int64_t(Le(raw, 8));
        const uint64_t mag = v < 0 ? uint64_t(0) - uint64_t(v) : uint64_t(v);
        std::snprintf(buf, sizeof buf, "%s%llu.%04llu", v < 0 ? "-" : "",
                      static_cast<unsigned long long>(mag / 10000),
                      static_cast<unsigned long long>(mag % 10000));
        return buf;
    }
    case TFieldType::Double:
        std::snprintf(buf, sizeof buf, "%.15g", GetNumeric(field));
        return buf;
    case TFieldType::DateTime: {
        const int32_t day = int32_t(uint32_t(Le(raw, 4)));
        const uint32_t ms = uint32_t(Le(raw.substr(std::min<size_t>(4, raw.size())), 4));
        std::string date = DateFromJulian(day);
        if (date.empty())
            return {};
        std::snprintf(buf, sizeof buf, " %02u:%02u:%02u", (ms / 3600000) % 24, (ms / 60000) % 60,
                      (ms / 1000) % 60);
        return date + buf;
    }
    default:
        if (IsMemoType(f.type))
            return GetMemo(field);
        return std::string(TrimRight(raw));
    }
}

namespace {

void Store(TTable::TState& s, const TFieldInfo& f, std::string_view bytes)
{
    LoadCurrent(s);
    char* dst = s.buffer.data() + f.offset;
    const size_t n = std::min<size_t>(bytes.size(), f.length);
    if (n > 0)
        std::memcpy(dst, bytes.data(), n);
    std::memset(dst + n, ' ', f.length - n);
    s.changed =
        s.changed || s.buffer.compare(f.offset, f.length, s.original, f.offset, f.length) != 0;
}

std::string FormatNumber(double value, const TFieldInfo& f)
{
    char buf[400];
    int n = -1;
    if (std::isfinite(value) && std::fabs(value) < 1e300) {
        // Halves round away from zero, as xBase does (printf would round 42.25 to 42.2); the
        // nudge takes decimal halves that binary stores a hair below (1.005) along.
        const double scale = std::pow(10.0, f.decimals);
        const double scaled = value * scale;
        if (std::fabs(scaled) < 1e15) {
            const double nudge = std::fabs(scaled) * 1e-12 + 1e-9;
            value = std::round(scaled + (scaled < 0 ? -nudge : nudge)) / scale;
        }
        n = std::snprintf(buf, sizeof buf, "%*.*f", int(f.length), int(f.decimals), value);
    }
    if (n < 0 || size_t(n) > f.length)
        return std::string(f.length, '*'); // does not fit, as xBase shows it
    return std::string(buf, size_t(n));
}

} // namespace

void TTable::PutString(int field, std::string_view value)
{
    TState& s = *mState;
    RequireWritable(s);
    const TFieldInfo& f = FieldAt(s, field);
    switch (f.type) {
    case TFieldType::Character:
        Store(s, f, value);
        return;
    case TFieldType::Numeric:
    case TFieldType::Float: {
        if (TrimLeft(TrimRight(value)).empty()) {
            Store(s, f, {});
            return;
        }
        double v = 0;
        if (!ParseNumber(value, v))
            throw TXbaseError(TErrorKind::Usage,
                              "\"" + std::string(value) + "\" is not a number for field " + f.name,
                              s.path);
        PutNumeric(field, v);
        return;
    }
    case TFieldType::Date:
        PutDate(field, value);
        return;
    case TFieldType::Logical: {
        const std::string_view v = TrimLeft(value);
        if (v.empty() || v[0] == '?') {
            Store(s, f, " ");
            return;
        }
        const char c = v[0];
        if (c == 'T' || c == 't' || c == 'Y' || c == 'y')
            PutLogical(field, true);
        else if (c == 'F' || c == 'f' || c == 'N' || c == 'n')
            PutLogical(field, false);
        else
            throw TXbaseError(TErrorKind::Usage,
                              "\"" + std::string(value) + "\" is not a logical value for field " +
                                  f.name,
                              s.path);
        return;
    }
    case TFieldType::Memo:
        PutMemo(field, value);
        return;
    default:
        throw TXbaseError(TErrorKind::Usage,
                          "field " + f.name + " is of a type this program only reads", s.path);
    }
}

void TTable::PutNumeric(int field, double value)
{
    TState& s = *mState;
    RequireWritable(s);
    const TFieldInfo& f = FieldAt(s, field);
    if (f.type != TFieldType::Numeric && f.type != TFieldType::Float)
        throw TXbaseError(TErrorKind::Usage, "field " + f.name + " is not numeric", s.path);
    Store(s, f, FormatNumber(value, f));
}

void TTable::PutLogical(int field, bool value)
{
    TState& s = *mState;
    RequireWritable(s);
    const TFieldInfo& f = FieldAt(s, field);
    if (f.type != TFieldType::Logical)
        throw TXbaseError(TErrorKind::Usage, "field " + f.name + " is not logical", s.path);
    Store(s, f, value ? "T" : "F");
}

void TTable::PutDate(int field, std::string_view yyyymmdd)
{
    TState& s = *mState;
    RequireWritable(s);
    const TFieldInfo& f = FieldAt(s, field);
    if (f.type != TFieldType::Date)
        throw TXbaseError(TErrorKind::Usage, "field " + f.name + " is not a date", s.path);
    const std::string_view v = TrimLeft(TrimRight(yyyymmdd));
    if (v.empty()) {
        Store(s, f, {});
        return;
    }
    bool ok = v.size() == 8 &&
              std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (ok) {
        const int y = (v[0] - '0') * 1000 + (v[1] - '0') * 100 + (v[2] - '0') * 10 + (v[3] - '0');
        const int m = (v[4] - '0') * 10 + (v[5] - '0');
        const int d = (v[6] - '0') * 10 + (v[7] - '0');
        ok = TKeyEncoding::JulianDay(y, m, d) != 0;
    }
    if (!ok)
        throw TXbaseError(TErrorKind::Usage,
                          "\"" + std::string(yyyymmdd) + "\" is not a date (YYYYMMDD) for field " +
                              f.name,
                          s.path);
    Store(s, f, v);
}

std::string TTable::GetMemo(int field) const
{
    const TState& s = *mState;
    const TFieldInfo& f = FieldAt(s, field);
    if (!IsMemoType(f.type))
        throw TXbaseError(TErrorKind::Usage, "field " + f.name + " is not a memo", s.path);
    const int64_t at = s.recNo ? int64_t(s.dbf->Header().headerLength) +
                                     int64_t(s.recNo - 1) * s.dbf->RecordLength() + f.offset
                               : TXbaseError::kNoOffset;
    const uint32_t block = MemoBlockOf(GetRaw(field), s.path, at);
    if (block == 0)
        return {};
    if (!s.memo)
        throw TXbaseError(TErrorKind::NotFound, "the table has no memo file", s.path);
    return s.memo->Read(block);
}

void TTable::PutMemo(int field, std::string_view text)
{
    TState& s = *mState;
    RequireWritable(s);
    const TFieldInfo& f = FieldAt(s, field);
    if (f.type != TFieldType::Memo)
        throw TXbaseError(TErrorKind::Usage, "field " + f.name + " is not a memo", s.path);
    if (!s.memo)
        throw TXbaseError(TErrorKind::NotFound, "the table has no memo file", s.path);
    // The memo's blocks reach the file before any record points at them.
    uint32_t block = 0;
    Guarded(s, [&] {
        block = s.memo->Write(text);
        s.dirty = true;
    });
    // Other software's tables may give a memo field any width up to 255.
    std::string pointer(f.length, ' ');
    PutMemoBlock(block, pointer.data(), pointer.size());
    Store(s, f, pointer);
}

// --- records ---------------------------------------------------------------------------------

void TTable::AppendBlank()
{
    TState& s = *mState;
    RequireWritable(s);
    Post();
    if (s.indexes)
        s.indexes->CheckMaintainable();
    Guarded(s, [&] { MarkUnopenedIndexStale(s); });
    if (s.mode == TOpenMode::Shared)
        Guarded(s, [&] { s.dbf->Refresh(); }); // append after what other openers added
    if (s.dbf->RecordCount() == UINT32_MAX)
        throw TXbaseError(TErrorKind::Usage, "the table holds the most records it can", s.path);
    // The record reaches the file at the next Post (or movement), in one write with its values.
    s.buffer = BlankRecord(s.dbf->Header());
    s.original = s.buffer;
    s.recNo = s.dbf->RecordCount() + 1;
    s.unread = false;
    s.changed = false;
    s.appendPending = true;
}

void TTable::Post()
{
    TState& s = *mState;
    if (s.appendPending) {
        RequireWritable(s);
        Guarded(s, [&] {
            s.dirty = true;
            if (s.indexes)
                s.indexes->MarkChanging();
            s.dbf->Append(s.buffer);
            s.appendPending = false;
            s.changed = false;
            s.original = s.buffer;
            if (s.indexes)
                s.indexes->Insert(TRecordView{s.buffer, s.recNo});
        });
        return;
    }
    if (!s.changed)
        return;
    if (s.recNo == 0) {
        // Nothing to write to past the end; the changes are dropped as xBase drops them.
        s.buffer = s.original;
        s.changed = false;
        return;
    }
    RequireWritable(s);
    if (s.indexes)
        s.indexes->CheckMaintainable();
    Guarded(s, [&] {
        MarkUnopenedIndexStale(s);
        s.dirty = true;
        // When keys move, the index is marked out of date on the disk before the record
        // changes, so that a crash between the record and its keys is noticed on the next open.
        const bool keysMove = s.indexes && s.indexes->Plan(TRecordView{s.original, s.recNo},
                                                           TRecordView{s.buffer, s.recNo});
        if (keysMove)
            s.indexes->MarkChanging();
        s.dbf->Write(s.recNo, s.buffer);
        s.changed = false;
        if (keysMove)
            s.indexes->ApplyPlan(s.recNo);
        s.original = s.buffer;
    });
}

void TTable::Commit()
{
    TState& s = *mState;
    RequireOpen(s);
    Post();
    if (s.mode == TOpenMode::ReadOnly || !s.dirty)
        return;
    RequireWritable(s);
    Guarded(s, [&] {
        // The data is durable before the index claims to be in step with it.
        s.dbf->WriteCount();
        if (s.memo)
            s.memo->Sync();
        s.dbf->Sync();
        if (s.indexes)
            s.indexes->Flush(s.stale ? kStaleSyncCount : s.dbf->RecordCount());
        s.dirty = false;
    });
}

void TTable::SetDeleted(bool deleted)
{
    TState& s = *mState;
    RequireWritable(s);
    if (s.recNo == 0)
        throw TXbaseError(TErrorKind::Usage, "there is no current record to mark", s.path);
    LoadCurrent(s);
    s.buffer[0] = deleted ? dbf::kRecordDeleted : dbf::kRecordLive;
    s.changed = s.changed || s.buffer[0] != s.original[0];
    Post();
}

bool TTable::Deleted() const
{
    LoadCurrent(*mState);
    return mState->buffer[0] == dbf::kRecordDeleted;
}

// --- whole-table work ------------------------------------------------------------------------

namespace {

// A progress callback for part [from, to] of the whole job.
TProgress Part(const TProgress& progress, int from, int to)
{
    if (!progress)
        return {};
    return [progress, from, to](int p) { progress(from + (to - from) * p / 100); };
}

TTableIndexes::TRecordSource Source(TTable::TState& s)
{
    return [&s](uint32_t recNo) { return TRecordView{s.dbf->Read(recNo), recNo}; };
}

// Turns read-ahead on for a whole-file pass and back to what it was afterwards.
class TReadAheadScope {
public:
    explicit TReadAheadScope(TDbfFile& dbf) : mDbf(dbf), mOld(dbf.ReadAhead())
    {
        dbf.SetReadAhead(true);
    }
    ~TReadAheadScope() { mDbf.SetReadAhead(mOld); }

private:
    TDbfFile& mDbf;
    bool mOld;
};

} // namespace

void TTable::Pack(const TProgress& progress)
{
    TState& s = *mState;
    RequireExclusive(s, "packing");
    Post();
    if (s.memo && s.memo->Kind() != TMemoKind::Fpt)
        throw TXbaseError(TErrorKind::Usage, "tables with dBase memo files can only be read",
                          s.path);
    if (s.indexes)
        s.indexes->CheckMaintainable();
    const TDbfHeader header = s.dbf->Header();
    const uint32_t count = header.recordCount;
    const bool reindex = s.indexes != nullptr;
    const TProgress copyProgress = Part(progress, 0, reindex ? 50 : 100);
    const std::string builtDbf = CompanionPath(s.path, ".BD$");
    const std::string builtMemo = s.memo ? CompanionPath(s.path, ".BM$") : std::string();

    Guarded(s, [&] {
        MarkUnopenedIndexStale(s);
        // The packed table and memo are written beside the old ones and replace them as a pair
        // (TPairSwap), so a failure or a crash on the way leaves the old pair or the new one.
        std::optional<TPairSwap> swap;
        swap.emplace(*s.files, s.path, false);
        std::unique_ptr<TMemoFile> outMemo;
        const auto removeBuilt = [&] {
            try {
                for (const std::string& path : {builtDbf, builtMemo})
                    if (!path.empty() && s.files->Exists(path))
                        s.files->Remove(path);
            } catch (...) {
                // Left for the next pack, which replaces them.
            }
        };
        try {
            if (s.memo) {
                auto memoFile = s.files->Create(builtMemo, TFileLock::None, true);
                TMemoFile::WriteNewFpt(*memoFile, s.memo->BlockSize());
                outMemo = std::make_unique<TMemoFile>(std::move(memoFile), TMemoKind::Fpt, true);
            }
            std::unique_ptr<TFileIo> out = s.files->Create(builtDbf, TFileLock::Exclusive, true);
            std::string head(header.headerLength, '\0');
            s.dbf->Io().ReadExact(0, head.data(), head.size());
            out->WriteAt(0, head.data(), head.size());

            std::vector<int> memoFields;
            for (size_t i = 0; i < header.fields.size(); ++i)
                if (IsMemoType(header.fields[i].type))
                    memoFields.push_back(int(i));
            std::string chunk;
            uint64_t at = header.headerLength;
            uint32_t kept = 0;
            int lastPercent = -1;
            {
                TReadAheadScope readAhead(*s.dbf);
                for (uint32_t r = 1; r <= count; ++r) {
                    std::string_view rec = s.dbf->Read(r);
                    if (rec[0] != dbf::kRecordDeleted) {
                        const size_t start = chunk.size();
                        chunk.append(rec);
                        for (int fi : memoFields) {
                            const TFieldInfo& f = header.fields[size_t(fi)];
                            const int64_t fieldAt = int64_t(header.headerLength) +
                                                    int64_t(r - 1) * header.recordLength + f.offset;
                            const uint32_t block = MemoBlockOf(
                                std::string_view(chunk).substr(start + f.offset, f.length), s.path,
                                fieldAt);
                            if (block == 0)
                                continue;
                            const uint32_t moved = outMemo->Write(s.memo->Read(block));
                            PutMemoBlock(moved, chunk.data() + start + f.offset, f.length);
                        }
                        ++kept;
                    }
                    if (chunk.size() >= (1u << 20)) {
                        out->WriteAt(at, chunk.data(), chunk.size());
                        at += chunk.size();
                        chunk.clear();
                    }
                    const int percent = int(uint64_t(r) * 100 / count);
                    if (copyProgress && percent != lastPercent) {
                        lastPercent = percent;
                        copyProgress(percent);
                    }
                }
            }
            chunk.push_back(char(dbf::kEndOfFile));
            out->WriteAt(at, chunk.data(), chunk.size());
            char countBytes[4];
            for (int i = 0; i < 4; ++i)
                countBytes[i] = char((kept >> (8 * i)) & 0xFF);
            out->WriteAt(dbf::kOffRecordCount, countBytes, 4);
            out->Sync();
            if (outMemo)
                outMemo->Sync();
            outMemo.reset();
            out.reset();
            // The old index lists the old record numbers: marked out of date before the swap,
            // it stays so until the rebuild below is done.
            if (s.indexes) {
                s.indexes->Index().SetSyncCount(kStaleSyncCount);
                s.indexes->Close();
            }
        } catch (...) {
            outMemo.reset();
            removeBuilt();
            throw;
        }
        s.indexes.reset();
        s.memo.reset();
        s.dbf.reset();
        try {
            swap->Commit(builtDbf, builtMemo);
        } catch (...) {
            swap.reset(); // gives up the swap mark, so that the open below can look at it
            removeBuilt();
            // Whatever the swap reached, the table is opened again for what it now is.
            try {
                OpenFiles(s, reindex);
            } catch (...) {
                s.closed = true;
            }
            throw;
        }
        swap.reset();
        OpenFiles(s, reindex);
        s.dirty = true;
    });
    if (copyProgress)
        copyProgress(100);
    if (s.indexes) {
        s.stale = true;
        Reindex(Part(progress, 50, 100));
    } else {
        Commit();
    }
}

void TTable::Zap()
{
    TState& s = *mState;
    RequireExclusive(s, "emptying");
    Post();
    if (s.memo && s.memo->Kind() != TMemoKind::Fpt)
        throw TXbaseError(TErrorKind::Usage, "tables with dBase memo files can only be read",
                          s.path);
    Guarded(s, [&] {
        MarkUnopenedIndexStale(s);
        s.dirty = true;
        if (s.indexes)
            s.indexes->MarkChanging();
        s.dbf->Truncate(0);
        if (s.memo)
            s.memo->Clear();
        if (s.indexes)
            for (int order = 1; order <= s.indexes->TagCount(); ++order)
                s.indexes->Index().Tag(order).Clear();
        s.buffer = BlankRecord(s.dbf->Header());
        s.original = s.buffer;
        s.recNo = 0;
        s.unread = false;
        s.changed = false;
        s.stale = false;
    });
    Commit();
}

void TTable::CopyStructure(const std::string& path) const
{
    const TState& s = *mState;
    RequireOpen(s);
    std::vector<TFieldDef> defs;
    for (const TFieldInfo& f : Fields()) {
        TFieldDef def{f.name, f.type, f.length, f.decimals};
        if (IsMemoType(f.type))
            def.type = TFieldType::Memo;
        defs.push_back(def);
    }
    TTableOptions options;
    options.files = s.files;
    options.openIndex = false;
    Create(path, defs, options)->Close();
}

// --- production index ------------------------------------------------------------------------

TCompoundIndex* TTable::Index()
{
    return mState->indexes ? &mState->indexes->Index() : nullptr;
}

const TCompoundIndex* TTable::Index() const
{
    return mState->indexes ? &mState->indexes->Index() : nullptr;
}

int TTable::TagCount() const
{
    return mState->indexes ? mState->indexes->TagCount() : 0;
}

const TExpression& TTable::TagExpression(int order) const
{
    if (!mState->indexes)
        throw TXbaseError(TErrorKind::Usage, "the table has no index open", mState->path);
    return mState->indexes->KeyExpression(order);
}

int TTable::TagOrder(std::string_view name) const
{
    return mState->indexes ? mState->indexes->Index().FindTag(name) : 0;
}

bool TTable::IndexStale() const
{
    return mState->stale;
}

std::string TTable::IndexPath() const
{
    const TState& s = *mState;
    if (s.indexes)
        return s.indexes->Index().FileName();
    const std::string found = s.files->FindCompanion(s.path, ".CDX");
    return found.empty() ? CompanionPath(s.path, ".CDX") : found;
}

int TTable::AddTag(std::string_view name, std::string_view expression, const TProgress& progress)
{
    return AddTags({{std::string(name), std::string(expression)}}, progress).front();
}

std::vector<int> TTable::AddTags(const std::vector<TTagSpec>& tags, const TProgress& progress)
{
    TState& s = *mState;
    RequireExclusive(s, "indexing");
    Post();
    if (tags.empty())
        return {};
    // The expressions are checked before any file is made.
    for (const TTagSpec& tag : tags)
        (void)TExpression::Compile(tag.expression, Fields());
    std::vector<TTableIndexes::TNewTag> newTags;
    for (const TTagSpec& tag : tags)
        newTags.push_back({tag.name, tag.expression});
    std::vector<int> orders;
    Guarded(s, [&] {
        if (!s.indexes) {
            const std::string cdxPath = IndexPath();
            auto storage = std::make_unique<TFileIoIndexStorage>(
                s.files->Create(cdxPath, TFileLock::None, true));
            s.indexes = std::make_unique<TTableIndexes>(TCompoundIndex::Create(std::move(storage)),
                                                        Fields());
            s.dbf->SetTableFlags(uint8_t(s.dbf->Header().tableFlags | dbf::kFlagProductionIndex));
        }
        TReadAheadScope readAhead(*s.dbf);
        orders = s.indexes->AddTags(newTags, s.dbf->RecordCount(), Source(s), progress);
        s.dirty = true;
    });
    Commit();
    return orders;
}

namespace {

// Builds a new index in a file beside the table (fill adds its tags) and puts it in place of
// the production index by renaming: the file then holds only the new trees (a rebuild in place
// would leave the old ones' pages on the free list, and the file would grow by a whole index at
// every rebuild), and a failure on the way leaves the old index file as it was. The new index
// says "out of date" until the commit after this records the table's count in it. A build cut
// short leaves its file, which the next exclusive open or build removes.
void RemoveUnfinishedIndex(TTable::TState& s, const std::string& tmpPath)
{
    try {
        if (s.files->Exists(tmpPath))
            s.files->Remove(tmpPath);
    } catch (...) {
        // Removed by the next exclusive open.
    }
}

void BuildIndexBeside(TTable::TState& s, const std::string& cdxPath,
                      const std::function<void(TTableIndexes& fresh)>& fill)
{
    const std::string tmpPath = CompanionPath(s.path, ".CX$");
    try {
        TTableIndexes fresh(TCompoundIndex::Create(std::make_unique<TFileIoIndexStorage>(
                                s.files->Create(tmpPath, TFileLock::None, true))),
                            s.dbf->Header().fields);
        try {
            TReadAheadScope readAhead(*s.dbf);
            fill(fresh);
            fresh.Index().SetSyncCount(kStaleSyncCount);
            fresh.Close();
        } catch (...) {
            fresh.Discard();
            throw;
        }
        // The old index is not written again: it is replaced, or, should the rename fail, keeps
        // what its file says (a stale one stays marked so).
        if (s.indexes)
            s.indexes->Discard();
        s.indexes.reset();
        s.files->Rename(tmpPath, cdxPath);
    } catch (const TXbaseError& e) {
        RemoveUnfinishedIndex(s, tmpPath);
        // The user knows the index by its own name, not by the name it is built under.
        if (e.File() == tmpPath)
            throw TXbaseError(e.Kind(), e.Message(), cdxPath, e.Offset(), e.OsError());
        throw;
    } catch (...) {
        RemoveUnfinishedIndex(s, tmpPath);
        throw;
    }
    auto storage = std::make_unique<TFileIoIndexStorage>(
        s.files->Open(cdxPath, TFileAccess::ReadWrite, TFileLock::None));
    s.indexes = std::make_unique<TTableIndexes>(TCompoundIndex::Open(std::move(storage)),
                                                s.dbf->Header().fields);
    s.dbf->SetTableFlags(uint8_t(s.dbf->Header().tableFlags | dbf::kFlagProductionIndex));
    s.stale = false;
    s.dirty = true;
}

} // namespace

void TTable::Reindex(const TProgress& progress)
{
    TState& s = *mState;
    RequireExclusive(s, "reindexing");
    Post();
    if (!s.indexes)
        return;
    s.indexes->CheckMaintainable();
    const std::string cdxPath = s.indexes->Index().FileName();
    Guarded(s, [&] {
        BuildIndexBeside(s, cdxPath, [&](TTableIndexes& fresh) {
            s.indexes->RebuildInto(fresh.Index(), s.dbf->RecordCount(), Source(s), progress);
        });
    });
    Commit();
}

void TTable::ReplaceIndex(const std::vector<TTagSpec>& tags, const TProgress& progress)
{
    TState& s = *mState;
    RequireExclusive(s, "indexing");
    Post();
    if (tags.empty())
        throw TXbaseError(TErrorKind::Usage, "an index needs at least one tag", s.path);
    for (const TTagSpec& tag : tags)
        (void)TExpression::Compile(tag.expression, Fields());
    std::vector<TTableIndexes::TNewTag> newTags;
    for (const TTagSpec& tag : tags)
        newTags.push_back({tag.name, tag.expression});
    const std::string cdxPath = IndexPath();
    Guarded(s, [&] {
        BuildIndexBeside(s, cdxPath, [&](TTableIndexes& fresh) {
            fresh.AddTags(newTags, s.dbf->RecordCount(), Source(s), progress);
        });
    });
    Commit();
}

void TTable::CloseIndexes()
{
    TState& s = *mState;
    RequireOpen(s);
    Post();
    if (!s.indexes)
        return;
    if (s.mode != TOpenMode::ReadOnly && !s.failed)
        Commit();
    auto indexes = std::move(s.indexes);
    s.stale = false;
    if (s.failed)
        indexes->Discard();
    else
        indexes->Close();
}

void TTable::DeleteIndexFile()
{
    TState& s = *mState;
    RequireExclusive(s, "deleting the index");
    const std::string path = IndexPath();
    CloseIndexes();
    Guarded(s, [&] {
        s.files->Remove(path);
        s.dbf->SetTableFlags(uint8_t(s.dbf->Header().tableFlags & ~dbf::kFlagProductionIndex));
    });
}

// --- after a failure ---------------------------------------------------------------------------

void TTable::Reopen()
{
    TState& s = *mState;
    RequireOpen(s);
    if (!s.failed && s.mode != TOpenMode::ReadOnly)
        Commit();
    if (s.indexes) {
        if (s.failed)
            s.indexes->Discard();
        else
            s.indexes->Close();
    }
    s.indexes.reset();
    s.memo.reset();
    s.dbf.reset();
    s.closed = true;
    s.failed = false;
    s.dirty = false;
    s.stale = false;
    s.unopenedIndexMarked = false;
    OpenFiles(s, s.openIndex);
    s.closed = false;
}

bool TTable::WriteFailed() const
{
    return mState->failed;
}

void TTable::RecoverAfterFailure(const TProgress& progress)
{
    Reopen();
    if (mState->mode == TOpenMode::Exclusive && mState->indexes && mState->stale)
        Reindex(progress);
}

} // namespace qm::xbase
