#pragma once

// One open table: the DBF file, its memo file (FPT, or DBT for older tables) and its production
// compound index (the CDX of the same name), composed side by side.
//
// The table keeps one current record in a buffer. Field writes change the buffer; Post() writes
// it back (and updates every tag of the open index); moving to another record (Go, AppendBlank,
// Close) posts a changed buffer first. Commit() posts, writes the header and flushes every file
// to the disk.
//
// Crash safety (a process killed at any moment loses at most the record being posted):
// - a new record's bytes are written before the header's record count (written at commit and
//   every 1,024 appends while exclusive; records past it are taken in on the next open);
// - memo blocks are written (always to fresh blocks) before the record that points to them;
// - on open, a record count that disagrees with the file length is reconciled, and a memo
//   free-block pointer below the memo file's end is raised before anything is allocated;
// - while the table has changes not yet committed, the index carries a dirty mark; an index
//   found dirty on open is reported by IndexStale() so that the caller can offer a rebuild; so
//   is an index that was not open while records changed (its file is marked at the change). The
//   mark reaches the disk before the first record write that the index has to follow, and is
//   cleared only by a commit that leaves the index in step;
// - files replaced whole (an index rebuild, a pack's table and memo) are written beside and
//   renamed into place once complete and flushed; a table and memo are swapped as a pair
//   (TPairSwap), and a swap cut short is finished or undone by the next open.
// After any I/O failure the table refuses further writes (TErrorKind::Usage) until reopened, and
// writes nothing more on its own: the index keeps its out-of-date mark.
//
// Field numbers are 0-based indexes into Fields(); record numbers are 1-based.
// Everything here throws TXbaseError; destructors never throw.

#include "xbase/TFieldDef.h"
#include "xbase/TRecordLayout.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

class TCompoundIndex;
class TDbfFile;
class TExpression;
class TFileIoSystem;
class TMemoFile;
class TTableIndexes;

enum class TOpenMode {
    Exclusive, // read and write; the OS lock keeps every other opener out
    Shared,    // read and write; other shared openers allowed (no record locking between them)
    ReadOnly,  // read only; a shared OS lock, so an exclusive holder keeps it out
};

// Percent done, 0..100, called now and then during long work (indexing, packing).
using TProgress = std::function<void(int percent)>;

struct TTableOptions {
    TOpenMode mode = TOpenMode::Exclusive;
    bool openIndex = true;          // open the production CDX when it exists
    TFileIoSystem* files = nullptr; // nullptr: the operating system's files; tests pass a double
};

class TTable {
public:
    // Opens an existing table. The memo and production index files are found next to it without
    // regard to letter case. A table held exclusively by another opener gives TErrorKind::InUse.
    static std::unique_ptr<TTable> Open(const std::string& path, const TTableOptions& options = {});

    // Creates a table with these fields (replacing no file: an existing file gives Usage) and
    // opens it with the options' mode. Tables with a memo field get version byte 0xF5 and a FPT
    // file, others 0x03; the code-page mark is Windows-1252.
    static std::unique_ptr<TTable> Create(const std::string& path,
                                          const std::vector<TFieldDef>& fields,
                                          const TTableOptions& options = {});

    ~TTable(); // commits what is pending; errors are swallowed here, call Close() to see them
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    // Posts, commits and closes every file. The object can only be destroyed afterwards.
    void Close();
    // Closes every file and opens them again as Open did (with its recovery). After a failed
    // write nothing more is written first (what was not posted is dropped); otherwise pending
    // work is committed first. The current record is cleared; cursors must choose their order
    // again.
    void Reopen();
    // Whether a write failed since the table was opened (it then refuses writes until Reopen).
    bool WriteFailed() const;
    // After a failed write: Reopen(), and when that finds the index out of date, rebuild it
    // (exclusive opens only; beside the table, then renamed in), so that the files are in step
    // again. Throws when that fails too: the index then stays marked out of date.
    void RecoverAfterFailure(const TProgress& progress = {});

    const std::string& Path() const;
    const TFieldList& Fields() const;
    int FieldIndex(std::string_view name) const; // any letter case; -1 when missing
    bool HasMemo() const;
    bool ReadOnly() const;
    uint32_t RecordCount() const;
    uint8_t Version() const; // the DBF's first byte

    // --- current record ---
    // Makes record recNo (1..RecordCount()) current. recNo 0 or past the end clears the buffer to
    // a blank record with RecNo() 0 (the cursor's "past the end" position). Posts pending changes.
    void Go(uint32_t recNo);
    uint32_t RecNo() const;     // 0 when there is no current record
    TRecordView Record() const; // the current buffer, valid until the next movement
    bool Changed() const;       // the buffer differs from the file

    // Reads record recNo without disturbing the current record, for whole-file passes (queries,
    // counts, index building). The view is valid until the next ReadRecord or movement.
    TRecordView ReadRecord(uint32_t recNo);

    // Whether record recNo carries the deletion mark, without reading the whole record or making
    // it current (for the current record: its buffer's mark). Walks and seeks that hide marked
    // records ask this for every record they pass.
    bool RecordDeleted(uint32_t recNo);

    // Record writes made through this table, for callers that keep results derived from the
    // records between movements (a query's matches). Such results are only sound while nobody
    // else writes the file: see Exclusive().
    struct TChangePoint {
        uint64_t file = 0; // 0: no point yet
        uint64_t serial = 0;
        bool operator==(const TChangePoint&) const = default;
    };
    TChangePoint ChangePoint() const;
    // Appends the numbers of the records written or appended since point and returns true; false
    // when that is no longer known (too many writes since, a pack, a zap, a reopen).
    bool ChangedSince(const TChangePoint& point, std::vector<uint32_t>& records) const;
    bool Exclusive() const;

    // Sequential read-ahead: while on, reads fetch many records at a time.
    void SetTurboRead(bool on);
    bool TurboRead() const;

    // --- field values of the current record ---
    std::string_view GetRaw(int field) const;     // the stored bytes
    std::string_view GetTrimmed(int field) const; // without trailing blanks (any field type)
    bool GetLogical(int field) const;             // T, t, Y, y are true
    std::string GetDate(int field) const;         // "YYYYMMDD", or "" when blank
    double GetNumeric(int field) const;           // 0 when blank or not a number
    bool IsEmpty(int field) const; // blank text, zero number, blank date, F logical, empty memo
    // Any field as text, for imports and dumps: character and numeric without trailing blanks,
    // dates "YYYYMMDD", logicals "T"/"F"/"", memos their text; the binary types of other
    // software (I, Y, B, T) as numbers and "YYYYMMDD HH:MM:SS"; anything else its bytes.
    std::string GetText(int field) const;

    // Character: padded with blanks or cut to the width. Numeric: the text is stored right
    // aligned when it is a number, else Usage. Date: "YYYYMMDD" or "". Logical: T/F/Y/N/?.
    // Memo: the memo text (as PutMemo).
    void PutString(int field, std::string_view value);
    // Formats to the field's width and decimals; a value too wide stores asterisks, as xBase does.
    void PutNumeric(int field, double value);
    void PutLogical(int field, bool value);
    void PutDate(int field, std::string_view yyyymmdd);

    std::string GetMemo(int field) const; // "" when the record has no memo
    // Writes the text to fresh memo blocks at once and points the buffer at them; an empty text
    // clears the pointer. The record itself is written by the next Post().
    void PutMemo(int field, std::string_view text);

    // --- records ---
    // Appends a blank record and makes it current. It counts at once (RecordCount, RecNo) and
    // reaches the file, with its keys in every tag, at the next Post or movement.
    void AppendBlank();
    // Writes the buffer to the file when it changed, and updates every tag whose key changed.
    void Post();
    // Posts, writes the header and flushes all files to the disk; clears the index's dirty mark.
    void Commit();

    // Sets or clears the deletion mark of the current record and posts it.
    void SetDeleted(bool deleted);
    bool Deleted() const;

    // Removes every record carrying the deletion mark, compacts the memo file and rebuilds every
    // tag. Needs Exclusive. The current record is cleared.
    void Pack(const TProgress& progress = {});
    // Removes every record and memo, empties every tag. Needs Exclusive.
    void Zap();
    // Creates an empty table at path with the same fields (and an empty memo file when this table
    // has memo fields); no index.
    void CopyStructure(const std::string& path) const;

    // --- production index ---
    // The open CDX, or nullptr when the table has none open. Tags are numbered from 1 in creation
    // order; the cursor layer reads them through this object.
    TCompoundIndex* Index();
    const TCompoundIndex* Index() const;
    int TagCount() const;
    // The compiled key expression of tag order (1-based).
    const TExpression& TagExpression(int order) const;
    // 1-based order of a tag by name (any case); 0 when missing.
    int TagOrder(std::string_view name) const;
    // True when the index was found dirty or out of step with the table on open.
    bool IndexStale() const;

    // Adds a tag over every record (creating the CDX when the table has none); returns its
    // order. An existing tag of that name is replaced. Needs Exclusive.
    int AddTag(std::string_view name, std::string_view expression, const TProgress& progress = {});
    // Adds several tags in this order, extracting their keys in as few passes over the records
    // as memory allows (much faster than one AddTag each for many tags). All expressions are
    // checked before anything is written. Returns their orders.
    struct TTagSpec {
        std::string name;
        std::string expression;
    };
    std::vector<int> AddTags(const std::vector<TTagSpec>& tags, const TProgress& progress = {});
    // Rebuilds every tag from the records (also clears a stale index).
    void Reindex(const TProgress& progress = {});
    // Builds a new production index holding exactly these tags beside the table and puts it in
    // place of the old one, which need not be open (a damaged index opened with
    // openIndex = false) or exist. A failure leaves the old index file as it was. Needs
    // Exclusive.
    void ReplaceIndex(const std::vector<TTagSpec>& tags, const TProgress& progress = {});
    // Closes the index file (the table stays open).
    void CloseIndexes();
    // Closes and removes the production index file, clearing the table's index flag.
    void DeleteIndexFile();
    // Path the production index has (or would have): the table's name with .CDX.
    std::string IndexPath() const;

    struct TState; // the implementation's; opaque to callers

private:
    TTable();
    std::unique_ptr<TState> mState;
};

} // namespace qm::xbase
