#include "xbase/TPairSwap.h"

#include "xbase/TDbfHeader.h"
#include "xbase/TFileIo.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TXbaseError.h"

namespace qm::xbase {

namespace {

struct TNames {
    std::string table, memo, index;          // where the pair lives
    std::string mark;                        // the swap mark
    std::string newTable, newMemo;           // the new pair, complete
    std::string oldTable, oldMemo, oldIndex; // the old files set aside
};

TNames NamesOf(const std::string& table)
{
    TNames n;
    n.table = table;
    n.memo = CompanionPath(table, ".FPT");
    n.index = CompanionPath(table, ".CDX");
    n.mark = CompanionPath(table, ".SW$");
    n.newTable = CompanionPath(table, ".ND$");
    n.newMemo = CompanionPath(table, ".NM$");
    n.oldTable = CompanionPath(table, ".OD$");
    n.oldMemo = CompanionPath(table, ".OM$");
    n.oldIndex = CompanionPath(table, ".OX$");
    return n;
}

// Whether the new table has memo fields (and so a new memo that may already be in place). The
// new table was complete before it got its name, so its header reads.
bool NewTableHasMemo(TFileIoSystem& files, const std::string& path)
{
    auto file = files.Open(path, TFileAccess::ReadOnly, TFileLock::None);
    return TDbfHeader::Read(*file, file->Size()).HasMemoFields();
}

void RemoveIfThere(TFileIoSystem& files, const std::string& path)
{
    if (files.Exists(path))
        files.Remove(path);
}

} // namespace

void TPairSwap::Settle(TFileIoSystem& files, const std::string& table)
{
    const TNames n = NamesOf(table);
    if (files.Exists(n.newTable)) {
        // The new table is not in place: undo, newest step first.
        if (NewTableHasMemo(files, n.newTable) && !files.Exists(n.newMemo) && files.Exists(n.memo))
            files.Rename(n.memo, n.newMemo);
        if (files.Exists(n.oldMemo))
            files.Rename(n.oldMemo, n.memo);
        if (files.Exists(n.oldIndex))
            files.Rename(n.oldIndex, n.index);
        if (files.Exists(n.oldTable))
            files.Rename(n.oldTable, n.table);
        // The new table goes first: without it, a leftover new memo is known to be one.
        files.Remove(n.newTable);
    }
    RemoveIfThere(files, n.newMemo);
    RemoveIfThere(files, n.oldTable);
    RemoveIfThere(files, n.oldMemo);
    RemoveIfThere(files, n.oldIndex);
}

bool TPairSwap::Recover(TFileIoSystem& files, const std::string& table)
{
    const TNames n = NamesOf(table);
    if (!files.Exists(n.mark))
        return false;
    std::unique_ptr<TFileIo> mark;
    try {
        mark = files.Open(n.mark, TFileAccess::ReadOnly, TFileLock::Exclusive);
    } catch (const TXbaseError& e) {
        if (e.Kind() == TErrorKind::NotFound)
            return false; // the swap ended meanwhile
        if (e.Kind() == TErrorKind::InUse)
            throw TXbaseError(TErrorKind::InUse, "the table is being replaced by another program",
                              table, TXbaseError::kNoOffset, e.OsError());
        throw;
    }
    Settle(files, table);
    files.Remove(n.mark);
    return true;
}

TPairSwap::TPairSwap(TFileIoSystem& files, std::string table, bool dropIndex)
    : mFiles(files), mTable(std::move(table)), mDropIndex(dropIndex)
{
    Recover(mFiles, mTable);
    const std::string mark = NamesOf(mTable).mark;
    try {
        mMark = mFiles.Create(mark, TFileLock::Exclusive, false);
    } catch (const TXbaseError& e) {
        if (e.Kind() == TErrorKind::Usage) // made by another opener since
            throw TXbaseError(TErrorKind::InUse, "the table is being replaced by another program",
                              mTable, TXbaseError::kNoOffset, e.OsError());
        throw;
    }
}

TPairSwap::~TPairSwap()
{
    if (!mMark)
        return;
    try {
        Settle(mFiles, mTable);
    } catch (...) {
        // The mark stays; the next open finishes the undoing.
        mMark.reset();
        return;
    }
    Release();
}

void TPairSwap::Release() noexcept
{
    try {
        mFiles.Remove(NamesOf(mTable).mark);
    } catch (...) {
        // A mark left behind with nothing to recover is removed by the next open.
    }
    mMark.reset();
}

void TPairSwap::Commit(const std::string& builtTable, const std::string& builtMemo)
{
    const TNames n = NamesOf(mTable);
    bool tableGoingIn = false;
    try {
        if (!builtMemo.empty())
            mFiles.Rename(builtMemo, n.newMemo);
        mFiles.Rename(builtTable, n.newTable);
        // Aside: table first, so that from here on a reader finds no table rather than a table
        // beside a memo file that is not its own.
        if (mFiles.Exists(n.table))
            mFiles.Rename(n.table, n.oldTable);
        if (const std::string memo = mFiles.FindCompanion(mTable, ".FPT"); !memo.empty())
            mFiles.Rename(memo, n.oldMemo);
        if (mDropIndex)
            if (const std::string index = mFiles.FindCompanion(mTable, ".CDX"); !index.empty())
                mFiles.Rename(index, n.oldIndex);
        // In: the memo first; the table's arrival completes the swap.
        if (!builtMemo.empty())
            mFiles.Rename(n.newMemo, n.memo);
        tableGoingIn = true;
        mFiles.Rename(n.newTable, n.table);
    } catch (...) {
        try {
            // The new table's rename happened when only the folder could not be flushed after
            // it: it goes out again, so that the swap is undone as a whole.
            if (tableGoingIn && !mFiles.Exists(n.newTable) && mFiles.Exists(n.table))
                mFiles.Rename(n.table, n.newTable);
            Settle(mFiles, mTable);
        } catch (...) {
            mMark.reset(); // the next open finishes the undoing
            throw;
        }
        throw;
    }
    // The new pair is in place. What is left is clearing up; a failure there loses nothing and
    // the next open or swap finishes it, so it is not reported as a failed replacement.
    try {
        Settle(mFiles, mTable);
    } catch (...) {
        mMark.reset();
        return;
    }
    Release();
}

} // namespace qm::xbase
