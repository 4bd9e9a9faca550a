#pragma once

// Navigation over one open table: the order records are shown in (record order, a tag of the
// table's compound index, or a single-key index file), the query that hides records, the scope
// that limits a tag's order to a range of keys, and seeks.
//
// Contract:
// - The cursor refers to the table (and to a single-key index used as its order); both must
//   outlive it. Several cursors may share a table; the table's current record is the position of
//   whichever cursor moved last.
// - The current record is the table's: after a movement, read and write fields through the
//   TTable (GetTrimmed, PutString, Post ...). Every movement posts pending changes first.
// - Hidden records: those failing the query and, while EngineSettings().deleted is on, those
//   carrying the deletion mark. Hidden records are skipped by every movement and seek and not
//   counted. Go(recNo) alone goes to a record whether hidden or not, as xBase's GOTO does.
// - Past the end: Eof() is true, RecNo() is RecordCount() + 1 and the table's buffer is a blank
//   record. Skipping back before the first shown record stays on it with Bof() true. With nothing
//   shown, GoTop and GoBottom give Eof() and Bof() both true.
// - Scopes belong to the current order: setting another order clears them.
// - Everything here throws TXbaseError: Syntax or Type for a bad query, Usage for a request the
//   state does not allow (a seek in record order, an order number that does not exist, a query
//   longer than kMaxQueryLength), and whatever the table and index layers throw.

#include "xbase/TExpression.h"
#include "xbase/TTable.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

class TIndexCursor;
class TIndexTag;
class TSingleIndex;

class TCursor {
public:
    static constexpr size_t kMaxQueryLength = 255;

    // Starts in record order, without query or scope, on the table's current record (or past the
    // end when the table has none).
    explicit TCursor(TTable& table);
    ~TCursor();
    TCursor(const TCursor&) = delete;
    TCursor& operator=(const TCursor&) = delete;

    TTable& Table() const { return mTable; }

    // --- order ---
    // 0: record order; 1..Table().TagCount(): that tag of the compound index. The current record
    // stays current. Clears the scope.
    void SetOrder(int order);
    // The tag's order by name (any letter case), made current; TXbaseError(NotFound) when the
    // compound index has no such tag.
    int SelectTag(std::string_view name);
    // A single-key index file as the order: only the records whose keys were added to it show.
    // The index must stay open while it is the order. Clears the scope.
    void SetOrder(TSingleIndex& index);
    // The current tag's order number; 0 in record order and while a single-key index is the order.
    // When the table's index is closed under the cursor, the next movement returns to record order.
    int Order() const { return mOrder; }
    TSingleIndex* SingleIndexOrder() const { return mSingle; }

    // Creates an empty single-key index file at path for the key expression (sized by the
    // expression's type and width). Replaces an existing file.
    static std::unique_ptr<TSingleIndex>
    CreateSingleIndex(const TTable& table, const std::string& path, std::string_view expression);
    // Adds the current record's key to the index (nothing when the table has no current record).
    // Returns false when the pair was there already or a unique index holds the key.
    bool AddKey(TSingleIndex& index);

    // --- query ---
    // Sets the query (an empty text clears it). Throws as TestQuery does; the old query stays on
    // error. The position is not changed: call GoTop to land on a shown record.
    void SetQuery(std::string_view text);
    void ClearQuery() { SetQuery({}); }
    // The current query's text, empty when there is none.
    const std::string& Query() const;
    // The check made before a query is set: at most kMaxQueryLength characters, compiles against
    // the table's fields, gives a logical value.
    void TestQuery(std::string_view text) const;
    // How many records are shown in the current order, query, scope and deletion setting. The
    // position is not changed.
    uint32_t Count();

    // --- scope ---
    // Limits the current tag's order to keys from top to bottom, each compared over its own
    // length (top "B", bottom "D" shows BAKER to DYER). An empty text leaves that end open; both
    // empty clears the scope. Keys are given as for Seek. Needs a tag or single-key index order.
    // The position is not changed.
    void SetScope(std::string_view top, std::string_view bottom);
    bool HasScope() const { return mScopeTop.has_value() || mScopeBottom.has_value(); }

    // --- movement ---
    void GoTop();
    void GoBottom();
    void Go(uint32_t recNo); // 1..RecordCount(); anything else goes past the end
    // Moves n shown records forward (n > 0) or back (n < 0); 0 re-reads the current record.
    void Skip(int64_t n = 1);
    bool Eof() const { return mEof; }
    bool Bof() const { return mBof; }
    uint32_t RecNo() const;

    // Seeks key on the current order. Character keys: while EngineSettings().exact is off a key
    // that starts with key matches ("SM" finds SMITH), with it on the key must equal key padded
    // with blanks. Numeric keys are given as text ("12.5"), date keys as "YYYYMMDD", logical as
    // "T" or "F". Lands on the first shown match and returns true. Without a match: with
    // EngineSettings().softSeek on, lands on the first shown record after where the key would be
    // (or past the end); else goes past the end. Throws Usage in record order.
    bool Seek(std::string_view key);
    bool Found() const { return mFound; }

    // Sequential read-ahead of the table for whole-file passes (see TTable::SetTurboRead).
    void SetTurboRead(bool on);

private:
    void RefreshOrder();
    bool NeedsRecord() const;
    bool ShownRecord(uint32_t recNo);
    // The query's matches kept as one bit per record (see the .cpp): whether recNo passes the
    // query, when known without reading the record.
    std::optional<bool> KnownMatch(uint32_t recNo);
    // Kept bits made under the exact-matching setting in force now.
    bool MatchesUsable() const;
    bool SyncMatches();
    void KeepMatches(std::vector<uint64_t> matches, uint32_t covered);
    void DropMatches();
    void Land(uint32_t recNo);
    void LandEof();
    // Tag orders.
    TIndexTag* CurrentTag() const;
    const TExpression& CurrentKeyExpression() const;
    bool Descending() const;
    std::string EncodeKey(std::string_view text) const;
    bool StepIndex(TIndexCursor& cursor, bool forward) const;
    bool StartIndex(TIndexCursor& cursor, bool atTop) const;
    bool SettleIndex(TIndexCursor& cursor, bool forward);
    bool BeforeTop(std::string_view key) const;
    bool AfterBottom(std::string_view key) const;
    enum class TSync { OnEntry, BeforeEntry, PastLast };
    TSync SyncIndexCursor();
    // Record order.
    uint32_t NextShownRecord(uint32_t from, bool forward);

    TTable& mTable;
    int mOrder = 0;
    TSingleIndex* mSingle = nullptr;
    std::optional<TExpression> mSingleExpression;
    std::unique_ptr<TIndexCursor> mIndexCursor;
    uint64_t mIndexGeneration = 0; // tag generation when mIndexCursor last matched the record
    uint32_t mIndexRecNo = 0;      // record the index cursor stood on then
    std::optional<TExpression> mQuery;
    std::vector<uint64_t> mMatches;     // bit recNo - 1: the record passes the query
    uint32_t mMatchesCovered = 0;       // records 1..this are in mMatches
    TTable::TChangePoint mMatchesPoint; // the table's writes mMatches has taken in
    bool mMatchesKept = false;
    bool mMatchesExact = false; // EngineSettings().exact when mMatches were made
    uint32_t mQueryReads = 0;   // records read for the query since the matches were made or dropped
    std::vector<uint32_t> mChanged; // scratch for SyncMatches
    std::optional<std::string> mScopeTop;
    std::optional<std::string> mScopeBottom;
    bool mEof = false;
    bool mBof = false;
    bool mFound = false;
};

} // namespace qm::xbase
