#include "xbase/TCursor.h"

#include "xbase/TCompoundIndex.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TIndexCursor.h"
#include "xbase/TIndexTag.h"
#include "xbase/TKeyEncoding.h"
#include "xbase/TSingleIndex.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace qm::xbase {

namespace {

// Compares the first bytes of key with bound over bound's length (cut to the key's length).
int PrefixCompare(std::string_view key, std::string_view bound)
{
    const size_t n = std::min(key.size(), bound.size());
    return std::memcmp(key.data(), bound.data(), n);
}

TKeyType KeyTypeOf(TValueType type)
{
    switch (type) {
    case TValueType::Character:
        return TKeyType::Character;
    case TValueType::Numeric:
        return TKeyType::Numeric;
    case TValueType::Date:
        return TKeyType::Date;
    case TValueType::Logical:
        return TKeyType::Logical;
    }
    return TKeyType::Character;
}

// Restores the table's read-ahead setting when a pass ends, also after an error.
class TTurboScope {
public:
    TTurboScope(TTable& table, bool on) : mTable(table), mOld(table.TurboRead())
    {
        mTable.SetTurboRead(on);
    }
    ~TTurboScope()
    {
        try {
            mTable.SetTurboRead(mOld);
        } catch (...) {
        }
    }
    TTurboScope(const TTurboScope&) = delete;
    TTurboScope& operator=(const TTurboScope&) = delete;

private:
    TTable& mTable;
    bool mOld;
};

} // namespace

TCursor::TCursor(TTable& table) : mTable(table)
{
    mEof = mTable.RecNo() == 0;
}

TCursor::~TCursor() = default;

// --- order ---

void TCursor::SetOrder(int order)
{
    if (order < 0 || order > mTable.TagCount())
        throw TXbaseError(TErrorKind::Usage,
                          "order " + std::to_string(order) + " does not exist (the index has " +
                              std::to_string(mTable.TagCount()) + " tags)",
                          mTable.Path());
    mTable.Post();
    mIndexCursor.reset();
    mSingle = nullptr;
    mSingleExpression.reset();
    mScopeTop.reset();
    mScopeBottom.reset();
    mOrder = order;
    if (TIndexTag* tag = CurrentTag()) {
        mIndexCursor = std::make_unique<TIndexCursor>(*tag);
        mIndexRecNo = 0;
    }
}

int TCursor::SelectTag(std::string_view name)
{
    const int order = mTable.TagOrder(name);
    if (order == 0)
        throw TXbaseError(TErrorKind::NotFound, "the index has no tag " + std::string(name),
                          mTable.Path());
    SetOrder(order);
    return order;
}

void TCursor::SetOrder(TSingleIndex& index)
{
    TExpression expression =
        TExpression::Compile(index.Tag().Info().keyExpression, mTable.Fields());
    if (!index.HasEngineMark())
        index.Tag().SetKeyType(KeyTypeOf(expression.Type()));
    SetOrder(0);
    mSingle = &index;
    mSingleExpression.emplace(std::move(expression));
    mIndexCursor = std::make_unique<TIndexCursor>(index.Tag());
    mIndexRecNo = 0;
}

std::unique_ptr<TSingleIndex> TCursor::CreateSingleIndex(const TTable& table,
                                                         const std::string& path,
                                                         std::string_view expression)
{
    const TExpression compiled = TExpression::Compile(expression, table.Fields());
    TTagInfo info;
    info.keyExpression = std::string(expression);
    info.keyType = KeyTypeOf(compiled.Type());
    const int width = compiled.Width();
    if (width < 1 || width > 240)
        throw TXbaseError(TErrorKind::Usage,
                          "the key expression gives keys of " + std::to_string(width) +
                              " bytes; an index key holds 1 to 240",
                          path);
    info.keyLength = static_cast<uint16_t>(width);
    return TSingleIndex::Create(path, info);
}

bool TCursor::AddKey(TSingleIndex& index)
{
    if (mTable.RecNo() == 0)
        return false;
    mTable.Post();
    const TExpression* expression = nullptr;
    std::optional<TExpression> own;
    if (mSingle == &index) {
        expression = &*mSingleExpression;
    } else {
        own.emplace(TExpression::Compile(index.Tag().Info().keyExpression, mTable.Fields()));
        if (!index.HasEngineMark())
            index.Tag().SetKeyType(KeyTypeOf(own->Type()));
        expression = &*own;
    }
    std::string key;
    expression->EvalKey(mTable.Record(), key);
    key.resize(index.Tag().KeyLength(), index.Tag().TrailByte());
    return index.AddKey(key, mTable.RecNo());
}

// --- query ---

void TCursor::TestQuery(std::string_view text) const
{
    if (text.size() > kMaxQueryLength)
        throw TXbaseError(TErrorKind::Usage,
                          "a query may have at most " + std::to_string(kMaxQueryLength) +
                              " characters; this one has " + std::to_string(text.size()),
                          mTable.Path());
    TExpression::Check(text, mTable.Fields());
}

void TCursor::SetQuery(std::string_view text)
{
    if (text.find_first_not_of(' ') == std::string_view::npos) {
        mQuery.reset();
        DropMatches();
        return;
    }
    TestQuery(text);
    mQuery.emplace(TExpression::Compile(text, mTable.Fields()));
    DropMatches();
}

const std::string& TCursor::Query() const
{
    static const std::string none;
    return mQuery ? mQuery->Text() : none;
}

bool TCursor::NeedsRecord() const
{
    return mQuery.has_value() || EngineSettings().deleted;
}

bool TCursor::ShownRecord(uint32_t recNo)
{
    if (!NeedsRecord())
        return true;
    if (!mQuery)
        return !mTable.RecordDeleted(recNo);
    if (const std::optional<bool> match = KnownMatch(recNo))
        return *match && !(EngineSettings().deleted && mTable.RecordDeleted(recNo));
    ++mQueryReads;
    const TRecordView record = mTable.ReadRecord(recNo);
    if (EngineSettings().deleted && record.Deleted())
        return false;
    return mQuery->EvalLogical(record);
}

// --- kept matches ---
//
// A walk in index order that tests the query reads the records in scattered order, one read each;
// on a large file that costs many times a sequential pass. So once a walk has read many records
// for the query (or a count has passed over the whole file anyway), the query's result for every
// record is kept as a bit. The bits are kept up to date from the table's journal of writes: each
// record written since is tested again. When the journal cannot say (a pack, a zap, too many
// writes) they are dropped and built again when wanted. They are kept only while the table is
// open exclusively, as the table keeps its deletion marks: nobody else can change the records.
// The query's "=" follows the exact-matching setting, so the bits hold for the setting they were
// made under: while the other one is in force (a duplicate check seeks with exact matching on)
// they are neither used nor brought up to date, so that no bit made under one rule answers
// under the other.

void TCursor::DropMatches()
{
    mMatchesKept = false;
    mMatches = {};
    mMatchesCovered = 0;
    mQueryReads = 0;
}

bool TCursor::MatchesUsable() const
{
    return mMatchesKept && mMatchesExact == EngineSettings().exact;
}

bool TCursor::SyncMatches()
{
    const TTable::TChangePoint now = mTable.ChangePoint();
    if (now == mMatchesPoint)
        return true;
    mChanged.clear();
    if (!mTable.ChangedSince(mMatchesPoint, mChanged))
        return false;
    for (const uint32_t r : mChanged) {
        if (r == 0 || r > mMatchesCovered || r > mTable.RecordCount())
            continue; // records past the bits are tested as they are met
        const uint64_t bit = uint64_t{1} << ((r - 1) % 64);
        uint64_t& word = mMatches[(r - 1) / 64];
        word = mQuery->EvalLogical(mTable.ReadRecord(r)) ? (word | bit) : (word & ~bit);
    }
    mMatchesPoint = now;
    return true;
}

std::optional<bool> TCursor::KnownMatch(uint32_t recNo)
{
    if (MatchesUsable() && !SyncMatches())
        DropMatches();
    if (MatchesUsable() && recNo != 0 && recNo <= mMatchesCovered)
        return (mMatches[(recNo - 1) / 64] >> ((recNo - 1) % 64)) & 1;
    // Not known: read the record, unless there have been so many such reads (records appended
    // since the bits were made count too) that one sequential pass answers the rest sooner.
    const uint32_t total = mTable.RecordCount();
    if (!mTable.Exclusive() || mQueryReads < std::max<uint32_t>(1024, total / 64))
        return std::nullopt;
    TTurboScope turbo(mTable, true);
    std::vector<uint64_t> matches(size_t(total) / 64 + 1, 0);
    for (uint32_t r = 1; r <= total; ++r)
        if (mQuery->EvalLogical(mTable.ReadRecord(r)))
            matches[(r - 1) / 64] |= uint64_t{1} << ((r - 1) % 64);
    KeepMatches(std::move(matches), total);
    if (recNo == 0 || recNo > mMatchesCovered)
        return std::nullopt;
    return (mMatches[(recNo - 1) / 64] >> ((recNo - 1) % 64)) & 1;
}

void TCursor::KeepMatches(std::vector<uint64_t> matches, uint32_t covered)
{
    mMatches = std::move(matches);
    mMatchesCovered = covered;
    mMatchesPoint = mTable.ChangePoint();
    mMatchesKept = true;
    mMatchesExact = EngineSettings().exact;
    mQueryReads = 0;
}

uint32_t TCursor::Count()
{
    RefreshOrder();
    mTable.Post();
    TIndexTag* tag = CurrentTag();
    // Every order but a partial one shows each record once, so the count can be taken in one
    // sequential pass over the file.
    const bool wholeFile =
        tag == nullptr || (!HasScope() && mSingle == nullptr && !tag->Info().unique &&
                           tag->Info().forExpression.empty());
    if (wholeFile) {
        const uint32_t total = mTable.RecordCount();
        if (!NeedsRecord())
            return total;
        const bool hideDeleted = EngineSettings().deleted;
        const TExpression* query = mQuery ? &*mQuery : nullptr;
        if (query && MatchesUsable()) {
            if (SyncMatches()) {
                uint32_t count = 0;
                for (size_t w = 0; w < mMatches.size(); ++w)
                    for (uint64_t bits = mMatches[w]; bits != 0; bits &= bits - 1) {
                        const uint32_t r = uint32_t(w * 64 + size_t(std::countr_zero(bits)) + 1);
                        count += !(hideDeleted && mTable.RecordDeleted(r));
                    }
                for (uint32_t r = mMatchesCovered + 1; r <= total; ++r)
                    count += ShownRecord(r);
                return count;
            }
            DropMatches();
        }
        // The pass reads every record, so it keeps the query's matches on the way.
        const bool keep = query && mTable.Exclusive();
        std::vector<uint64_t> matches(keep ? size_t(total) / 64 + 1 : 0, 0);
        TTurboScope turbo(mTable, true);
        uint32_t count = 0;
        for (uint32_t r = 1; r <= total; ++r) {
            const TRecordView record = mTable.ReadRecord(r);
            if (query) {
                if (!query->EvalLogical(record))
                    continue;
                if (keep)
                    matches[(r - 1) / 64] |= uint64_t{1} << ((r - 1) % 64);
            }
            if (hideDeleted && record.Deleted())
                continue;
            ++count;
        }
        if (keep)
            KeepMatches(std::move(matches), total);
        return count;
    }
    TIndexCursor walk(*tag);
    uint32_t count = 0;
    bool on = StartIndex(walk, true) && SettleIndex(walk, true);
    while (on) {
        ++count;
        on = StepIndex(walk, true) && SettleIndex(walk, true);
    }
    return count;
}

// --- scope ---

void TCursor::SetScope(std::string_view top, std::string_view bottom)
{
    if (top.empty() && bottom.empty()) {
        mScopeTop.reset();
        mScopeBottom.reset();
        return;
    }
    RefreshOrder();
    if (CurrentTag() == nullptr)
        throw TXbaseError(TErrorKind::Usage, "a scope needs an index order", mTable.Path());
    std::optional<std::string> newTop, newBottom;
    if (!top.empty())
        newTop = EncodeKey(top);
    if (!bottom.empty())
        newBottom = EncodeKey(bottom);
    mScopeTop = std::move(newTop);
    mScopeBottom = std::move(newBottom);
}

bool TCursor::BeforeTop(std::string_view key) const
{
    if (!mScopeTop)
        return false;
    const int c = PrefixCompare(key, *mScopeTop);
    return Descending() ? c > 0 : c < 0;
}

bool TCursor::AfterBottom(std::string_view key) const
{
    if (!mScopeBottom)
        return false;
    const int c = PrefixCompare(key, *mScopeBottom);
    return Descending() ? c < 0 : c > 0;
}

// --- movement ---

uint32_t TCursor::RecNo() const
{
    return mEof ? mTable.RecordCount() + 1 : mTable.RecNo();
}

void TCursor::Land(uint32_t recNo)
{
    mTable.Go(recNo);
    mEof = false;
    mBof = false;
    if (mIndexCursor) {
        mIndexRecNo = recNo;
        mIndexGeneration = mIndexCursor->Tag().Generation();
    }
}

void TCursor::LandEof()
{
    mTable.Go(0);
    mEof = true;
    mBof = false;
    mIndexRecNo = 0;
}

void TCursor::GoTop()
{
    RefreshOrder();
    mTable.Post();
    mFound = false;
    if (mIndexCursor) {
        if (StartIndex(*mIndexCursor, true) && SettleIndex(*mIndexCursor, true))
            Land(mIndexCursor->RecNo());
        else
            LandEof();
    } else {
        const uint32_t r = NextShownRecord(0, true);
        if (r != 0)
            Land(r);
        else
            LandEof();
    }
    if (mEof)
        mBof = true;
}

void TCursor::GoBottom()
{
    RefreshOrder();
    mTable.Post();
    mFound = false;
    if (mIndexCursor) {
        if (StartIndex(*mIndexCursor, false) && SettleIndex(*mIndexCursor, false))
            Land(mIndexCursor->RecNo());
        else
            LandEof();
    } else {
        const uint32_t r = NextShownRecord(mTable.RecordCount() + 1, false);
        if (r != 0)
            Land(r);
        else
            LandEof();
    }
    if (mEof)
        mBof = true;
}

void TCursor::Go(uint32_t recNo)
{
    RefreshOrder();
    mTable.Post();
    mFound = false;
    if (recNo >= 1 && recNo <= mTable.RecordCount()) {
        Land(recNo);
        mIndexRecNo = 0; // the index cursor is found again on the next skip
    } else {
        LandEof();
    }
}

void TCursor::Skip(int64_t n)
{
    RefreshOrder();
    mTable.Post();
    if (n == 0) {
        if (!mEof)
            mTable.Go(mTable.RecNo());
        return;
    }
    const bool forward = n > 0;
    uint64_t steps = forward ? static_cast<uint64_t>(n) : static_cast<uint64_t>(-(n + 1)) + 1;
    if (mEof) {
        if (forward)
            return;
        // Back from past the end: the last shown record is the first step.
        GoBottom();
        if (mEof)
            return;
        --steps;
    }
    const uint32_t start = mTable.RecNo();
    if (mIndexCursor) {
        TIndexCursor& cursor = *mIndexCursor;
        // When the record has no entry of its own the cursor stands just after where it would
        // be; one direction then reaches its neighbour without a step.
        const bool keyOrderForward = forward != Descending();
        bool freeStep = false;
        bool blocked = false;
        switch (SyncIndexCursor()) {
        case TSync::OnEntry:
            break;
        case TSync::BeforeEntry:
            freeStep = keyOrderForward;
            break;
        case TSync::PastLast:
            if (keyOrderForward)
                blocked = true;
            else
                freeStep = cursor.Last();
            break;
        }
        while (steps > 0 && !blocked) {
            const bool moved = freeStep || StepIndex(cursor, forward);
            freeStep = false;
            if (!moved || !SettleIndex(cursor, forward))
                break;
            --steps;
            mIndexRecNo = cursor.RecNo();
        }
    } else {
        uint32_t r = start;
        while (steps > 0) {
            const uint32_t next = NextShownRecord(r, forward);
            if (next == 0)
                break;
            r = next;
            --steps;
        }
        mIndexRecNo = r;
    }
    if (steps == 0) {
        Land(mIndexRecNo);
        return;
    }
    if (forward) {
        LandEof();
        return;
    }
    // Ran off the top: stay on the first shown record with Bof set.
    GoTop();
    mBof = true;
}

uint32_t TCursor::NextShownRecord(uint32_t from, bool forward)
{
    const uint32_t total = mTable.RecordCount();
    if (forward) {
        for (uint32_t r = from + 1; r <= total && r > from; ++r)
            if (ShownRecord(r))
                return r;
    } else {
        for (uint32_t r = std::min(from, total + 1) - 1; r >= 1; --r)
            if (ShownRecord(r))
                return r;
    }
    return 0;
}

bool TCursor::Seek(std::string_view key)
{
    RefreshOrder();
    TIndexTag* tag = CurrentTag();
    if (tag == nullptr)
        throw TXbaseError(TErrorKind::Usage, "a seek needs an index order", mTable.Path());
    mTable.Post();
    const std::string encoded = EncodeKey(key);
    const bool prefix = tag->Info().keyType == TKeyType::Character && !EngineSettings().exact;
    TIndexCursor& cursor = *mIndexCursor;
    if (Descending())
        cursor.SeekLast(encoded, prefix);
    else
        cursor.Seek(encoded, prefix);
    // The record found is read whole: the caller reads its fields next, and its deletion mark
    // then comes with it. (The kept marks of the whole file are for walks that pass over many.)
    if (cursor.Valid() && NeedsRecord())
        mTable.ReadRecord(cursor.RecNo());
    const bool positioned = SettleIndex(cursor, true);
    bool match = false;
    if (positioned) {
        const std::string_view found = cursor.Key();
        if (prefix) {
            match = found.substr(0, std::min(found.size(), encoded.size())) ==
                    std::string_view(encoded).substr(0, std::min(found.size(), encoded.size()));
        } else {
            std::string padded = encoded.substr(0, tag->KeyLength());
            padded.resize(tag->KeyLength(), tag->TrailByte());
            match = found == padded;
        }
    }
    if (match || (positioned && EngineSettings().softSeek))
        Land(cursor.RecNo());
    else
        LandEof();
    mFound = match;
    return match;
}

void TCursor::SetTurboRead(bool on)
{
    mTable.SetTurboRead(on);
}

// --- tag orders ---

void TCursor::RefreshOrder()
{
    if (mSingle || mOrder == 0)
        return;
    TCompoundIndex* index = mTable.Index();
    if (index == nullptr || mOrder > index->TagCount()) {
        // The index was closed (or lost tags) under the cursor: record order, as xBase leaves a
        // work area after its indexes are closed.
        mOrder = 0;
        mIndexCursor.reset();
        mScopeTop.reset();
        mScopeBottom.reset();
        return;
    }
    // Reindexing or replacing tags may give the index new tag objects.
    TIndexTag& tag = index->Tag(mOrder);
    if (!mIndexCursor || &mIndexCursor->Tag() != &tag) {
        mIndexCursor = std::make_unique<TIndexCursor>(tag);
        mIndexRecNo = 0;
    }
}

TIndexTag* TCursor::CurrentTag() const
{
    if (mSingle)
        return &mSingle->Tag();
    if (mOrder == 0)
        return nullptr;
    TCompoundIndex* index = mTable.Index();
    if (index == nullptr || mOrder > index->TagCount())
        throw TXbaseError(TErrorKind::Usage, "the table's index was closed", mTable.Path());
    return &index->Tag(mOrder);
}

const TExpression& TCursor::CurrentKeyExpression() const
{
    return mSingle ? *mSingleExpression : mTable.TagExpression(mOrder);
}

bool TCursor::Descending() const
{
    return mIndexCursor && mIndexCursor->Tag().Info().descending;
}

std::string TCursor::EncodeKey(std::string_view text) const
{
    TIndexTag* tag = CurrentTag();
    std::string key;
    switch (tag->Info().keyType) {
    case TKeyType::Character:
        key.assign(text.substr(0, tag->KeyLength()));
        break;
    case TKeyType::Numeric: {
        const std::string copy(text);
        char* end = nullptr;
        const double value = std::strtod(copy.c_str(), &end);
        if (end == copy.c_str() ||
            copy.find_first_not_of(' ', end - copy.c_str()) != std::string::npos)
            throw TXbaseError(TErrorKind::Usage,
                              "'" + copy + "' is not a number (the order has numeric keys)",
                              mTable.Path());
        TKeyEncoding::Numeric(value, key);
        break;
    }
    case TKeyType::Date:
        TKeyEncoding::Date(text, key);
        break;
    case TKeyType::Logical: {
        const char c = text.empty() ? 'F' : text[0];
        TKeyEncoding::Logical(c == 'T' || c == 't' || c == 'Y' || c == 'y', key);
        break;
    }
    }
    return key;
}

bool TCursor::StepIndex(TIndexCursor& cursor, bool forward) const
{
    return forward != Descending() ? cursor.Next() : cursor.Prev();
}

bool TCursor::StartIndex(TIndexCursor& cursor, bool atTop) const
{
    // In a descending tag the top of the order is the end of the key order.
    const bool atFirstKey = atTop != Descending();
    const std::optional<std::string>& bound = atTop ? mScopeTop : mScopeBottom;
    if (!bound)
        return atFirstKey ? cursor.First() : cursor.Last();
    if (atFirstKey)
        cursor.Seek(*bound, true);
    else
        cursor.SeekLast(*bound, true);
    return cursor.Valid();
}

bool TCursor::SettleIndex(TIndexCursor& cursor, bool forward)
{
    // Moves in the direction of travel until the cursor stands on a shown record inside the
    // scope; entries before the scope's start are passed over on the way in.
    while (cursor.Valid()) {
        const std::string_view key = cursor.Key();
        if (forward ? AfterBottom(key) : BeforeTop(key))
            return false;
        if (!(forward ? BeforeTop(key) : AfterBottom(key)) && ShownRecord(cursor.RecNo()))
            return true;
        if (!StepIndex(cursor, forward))
            return false;
    }
    return false;
}

TCursor::TSync TCursor::SyncIndexCursor()
{
    TIndexCursor& cursor = *mIndexCursor;
    const uint32_t recNo = mTable.RecNo();
    if (recNo != 0 && cursor.Valid() && mIndexRecNo == recNo &&
        cursor.Tag().Generation() == mIndexGeneration && cursor.RecNo() == recNo)
        return TSync::OnEntry;
    // Find the current record's entry from its key (the record may have been edited, reached by
    // Go, or be missing from a partial index).
    std::string key;
    CurrentKeyExpression().EvalKey(mTable.Record(), key);
    key.resize(cursor.Tag().KeyLength(), cursor.Tag().TrailByte());
    const bool there = cursor.SeekExact(key, recNo);
    mIndexRecNo = recNo;
    mIndexGeneration = cursor.Tag().Generation();
    if (there)
        return TSync::OnEntry;
    return cursor.Valid() ? TSync::BeforeEntry : TSync::PastLast;
}

} // namespace qm::xbase
