// A table and its memo replaced as a pair: after a failure at any step the old pair is back, and
// after a crash at any step (also one during the recovery) the next open finds the whole old pair
// or the whole new one, never a table beside a memo that is not its own.

#include "xbase/TPairSwap.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include "TTableTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qm::xbase;
using qm::xbase::test::ReadBytes;
using qm::xbase::test::TTempDir;

namespace {

std::vector<TFieldDef> Fields(bool memo)
{
    std::vector<TFieldDef> fields = {{"NAME", TFieldType::Character, 12, 0}};
    if (memo)
        fields.push_back({"NOTE", TFieldType::Memo, 10, 0});
    return fields;
}

// A table of n records "prefix0".. with memos "prefix memo 0".. (when it has a memo field).
void MakeTable(const std::string& path, const std::string& prefix, int n, bool memo, bool index)
{
    auto t = TTable::Create(path, Fields(memo));
    for (int i = 0; i < n; ++i) {
        t->AppendBlank();
        t->PutString(0, prefix + std::to_string(i));
        if (memo)
            t->PutMemo(1, prefix + " memo " + std::to_string(i));
        t->Post();
    }
    if (index)
        t->AddTag("NAME", "NAME");
    t->Close();
}

// The table's records as read through the engine: name and memo, one string each.
std::vector<std::string> Contents(const std::string& path)
{
    auto t = TTable::Open(path);
    std::vector<std::string> rows;
    for (uint32_t r = 1; r <= t->RecordCount(); ++r) {
        t->Go(r);
        std::string row(t->GetTrimmed(0));
        if (t->Fields().size() > 1)
            row += "|" + t->GetMemo(1);
        rows.push_back(row);
    }
    t->Close();
    return rows;
}

const char* const kSwapExtensions[] = {".SW$", ".ND$", ".NM$", ".OD$", ".OM$", ".OX$"};

// The names a swap uses beside OUT.DBF that are still there.
std::vector<std::string> SwapLeftovers(const TTempDir& dir)
{
    std::vector<std::string> left;
    for (const char* ext : kSwapExtensions)
        if (std::filesystem::exists(dir.File(std::string("OUT") + ext)))
            left.push_back(std::string("OUT") + ext);
    return left;
}

struct TPairFiles {
    std::string dbf, fpt, cdx;
    bool operator==(const TPairFiles&) const = default;
};

TPairFiles Snapshot(const TTempDir& dir)
{
    const auto read = [&](const char* name) {
        const std::string path = dir.File(name);
        return std::filesystem::exists(path) ? ReadBytes(path) : std::string("(none)");
    };
    return {read("OUT.DBF"), read("OUT.FPT"), read("OUT.CDX")};
}

// The old pair OUT (3 records, memo, index) and a new table NEW (5 records) built beside it.
void Prepare(const TTempDir& dir, bool newHasMemo)
{
    MakeTable(dir.File("OUT.DBF"), "old", 3, true, true);
    MakeTable(dir.File("NEW.DBF"), "new", 5, newHasMemo, false);
}

void Swap(TFileIoSystem& files, const TTempDir& dir, bool newHasMemo)
{
    TPairSwap swap(files, dir.File("OUT.DBF"), true);
    swap.Commit(dir.File("NEW.DBF"), newHasMemo ? dir.File("NEW.FPT") : std::string());
}

uint64_t CountOperations(bool newHasMemo)
{
    TTempDir dir;
    Prepare(dir, newHasMemo);
    TFileIoFaulty counting(TFileIoSystem::Native());
    Swap(counting, dir, newHasMemo);
    return counting.Operations();
}

} // namespace

TEST(TPairSwap, PutsTheNewPairInPlaceAndDropsTheOldIndex)
{
    TTempDir dir;
    Prepare(dir, true);
    Swap(TFileIoSystem::Native(), dir, true);
    EXPECT_EQ(Contents(dir.File("OUT.DBF")),
              (std::vector<std::string>{"new0|new memo 0", "new1|new memo 1", "new2|new memo 2",
                                        "new3|new memo 3", "new4|new memo 4"}));
    EXPECT_FALSE(std::filesystem::exists(dir.File("OUT.CDX")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("NEW.DBF")));
    EXPECT_TRUE(SwapLeftovers(dir).empty());
}

TEST(TPairSwap, EveryFailedStepPutsTheOldPairBack)
{
    for (const bool newHasMemo : {true, false}) {
        const uint64_t total = CountOperations(newHasMemo);
        ASSERT_GE(total, 7u);
        for (uint64_t k = 1; k <= total; ++k) {
            SCOPED_TRACE("memo " + std::to_string(newHasMemo) + ", failing step " +
                         std::to_string(k));
            TTempDir dir;
            Prepare(dir, newHasMemo);
            const TPairFiles before = Snapshot(dir);
            TFileIoFaulty faulty(TFileIoSystem::Native());
            faulty.SetSyncs(false);
            faulty.SetMode(TFileIoFaulty::TMode::Error);
            faulty.SetFailAt(k);
            bool failed = false;
            try {
                Swap(faulty, dir, newHasMemo);
            } catch (const TXbaseError& e) {
                failed = true;
                EXPECT_EQ(e.Kind(), TErrorKind::Io);
            }
            if (failed) {
                EXPECT_EQ(Snapshot(dir), before) << faulty.FailedOperation();
            } else {
                // Only the clearing up after the swap failed: the new pair is in place, and
                // what was left goes with the next open.
                EXPECT_EQ(Contents(dir.File("OUT.DBF")).size(), 5u);
            }
            TTable::Open(dir.File("OUT.DBF"))->Close();
            EXPECT_TRUE(SwapLeftovers(dir).empty()) << faulty.FailedOperation();
        }
    }
}

TEST(TPairSwap, ACrashAtAnyStepEvenDuringRecoveryLeavesTheOldPairOrTheNew)
{
    const std::vector<std::string> oldRows = {"old0|old memo 0", "old1|old memo 1",
                                              "old2|old memo 2"};
    for (const bool newHasMemo : {true, false}) {
        const uint64_t total = CountOperations(newHasMemo);
        int oldSeen = 0, newSeen = 0;
        for (uint64_t k = 1; k <= total; ++k) {
            // After the crash at k, the recovery itself is crashed at every step j (0: not).
            for (uint64_t j = 0;; ++j) {
                SCOPED_TRACE("memo " + std::to_string(newHasMemo) + ", crash at " +
                             std::to_string(k) + ", recovery crash at " + std::to_string(j));
                TTempDir dir;
                Prepare(dir, newHasMemo);
                const TPairFiles before = Snapshot(dir);
                {
                    TFileIoFaulty faulty(TFileIoSystem::Native());
                    faulty.SetSyncs(false);
                    faulty.SetFailAt(k);
                    try {
                        Swap(faulty, dir, newHasMemo); // a crash while clearing up is not seen
                    } catch (const TXbaseError&) {
                    }
                }
                bool recoveryDone = true;
                if (j > 0) {
                    TFileIoFaulty faulty(TFileIoSystem::Native());
                    faulty.SetSyncs(false);
                    faulty.SetFailAt(j);
                    try {
                        TPairSwap::Recover(faulty, dir.File("OUT.DBF"));
                    } catch (const TXbaseError&) {
                    }
                    recoveryDone = !faulty.Failed();
                }
                const std::vector<std::string> rows = Contents(dir.File("OUT.DBF"));
                if (rows == oldRows) {
                    ++oldSeen;
                    EXPECT_EQ(Snapshot(dir), before);
                } else {
                    ++newSeen;
                    ASSERT_EQ(rows.size(), 5u);
                    EXPECT_EQ(rows[4], newHasMemo ? "new4|new memo 4" : "new4");
                    EXPECT_FALSE(std::filesystem::exists(dir.File("OUT.CDX")));
                }
                EXPECT_TRUE(SwapLeftovers(dir).empty());
                if (recoveryDone)
                    break;
            }
        }
        EXPECT_GT(oldSeen, 0);
        EXPECT_GT(newSeen, 0);
    }
}

TEST(TPairSwap, AnOpenWhileAnotherSwapsIsRefusedAsInUse)
{
    TTempDir dir;
    Prepare(dir, true);
    TPairSwap swap(TFileIoSystem::Native(), dir.File("OUT.DBF"), true);
    try {
        TTable::Open(dir.File("OUT.DBF"));
        ADD_FAILURE() << "opened during a swap";
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::InUse);
    }
    EXPECT_THROW(TPairSwap(TFileIoSystem::Native(), dir.File("OUT.DBF"), true), TXbaseError);
}
