#pragma once

// Replaces a table and its memo file (and, on request, drops its index) as one: a reader finds
// either the whole old pair or the whole new pair, also after a crash half way. Used by packing
// and by copies out over an earlier table.
//
// For the table T.DBF the files beside it are named by extension (in the letter case of T's own):
//   T.SW$  the swap mark: made and locked before anything else, removed last;
//   T.NM$, T.ND$  the new memo and table, complete and flushed (renamed from where they were
//   built); T.OM$, T.OD$, T.OX$  the old memo, table and index, set aside.
// Commit: NM$ and ND$ are made (memo first); the old table, memo and index go aside; the new memo
// and then the new table go in; the old files and the mark are removed.
// Recovery (at the next open of T, or the next swap): a mark nobody holds means a swap was cut
// short. While ND$ is there the new table is not in place and the swap is undone (a new memo
// already in place goes back to NM$ first, then the old files come back); once ND$ is gone it is
// finished (only the set-aside files and the mark are left to remove). Every step of both is
// safe to repeat, so a crash during recovery is recovered the same way.

#include <memory>
#include <string>

namespace qm::xbase {

class TFileIo;
class TFileIoSystem;

class TPairSwap {
public:
    // Takes the swap mark of table (after recovering an interrupted swap). Throws
    // TXbaseError(InUse) when another opener is replacing it now.
    TPairSwap(TFileIoSystem& files, std::string table, bool dropIndex);
    // Without a successful Commit: removes what was made of the new pair and the mark. Never
    // throws.
    ~TPairSwap();
    TPairSwap(const TPairSwap&) = delete;
    TPairSwap& operator=(const TPairSwap&) = delete;

    // Puts the built table (and memo; "" when the new table has none), complete and flushed, in
    // place of the table and its memo (and index). On a failure whatever was moved is put back
    // and the error is thrown.
    void Commit(const std::string& builtTable, const std::string& builtMemo);

    // Finishes or undoes a swap a crash cut short; true when there was one. Throws InUse while
    // another opener swaps.
    static bool Recover(TFileIoSystem& files, const std::string& table);

private:
    static void Settle(TFileIoSystem& files, const std::string& table);
    void Release() noexcept;

    TFileIoSystem& mFiles;
    std::string mTable;
    bool mDropIndex;
    std::unique_ptr<TFileIo> mMark;
};

} // namespace qm::xbase
