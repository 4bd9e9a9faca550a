// The harsh suites: a workload of appends and edits fails at every single write in turn (also
// with torn writes), and afterwards the files must open, agree with their index and hold every
// record posted before the failure. Then single bytes of real files are poked: every damage must
// come back as a clear error, never a crash.

#include "xbase/TCompoundIndex.h"
#include "xbase/TExpression.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TIndexTag.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include "TTableTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>
#include <optional>

using namespace qm::xbase;
using namespace qm::xbase::test;

namespace {

std::vector<TFieldDef> Fields()
{
    return {{"LNAME", TFieldType::Character, 10, 0},
            {"FNAME", TFieldType::Character, 8, 0},
            {"NUM", TFieldType::Numeric, 6, 0},
            {"MEMO", TFieldType::Memo, 10, 0}};
}

struct TRec {
    std::string lname, fname, memo;
    bool deleted = false;
    bool operator==(const TRec&) const = default;
};

TRec Read(TTable& t)
{
    return {std::string(t.GetTrimmed(0)), std::string(t.GetTrimmed(1)), t.GetMemo(3), t.Deleted()};
}

// What the workload has posted so far, and the record it is posting now (which may land either
// way).
struct TModel {
    std::vector<TRec> records;
    std::optional<uint32_t> inFlight;
    TRec inFlightNew;
};

// Appends and edits, committing now and then. The model is updated after each step returns.
void Workload(TTable& t, TModel& m)
{
    for (int i = 0; i < 24; ++i) {
        TRec r{"L" + std::to_string(i * 7 % 24), "F" + std::to_string(i),
               i % 3 == 0 ? "memo " + std::to_string(i) : ""};
        m.inFlight = uint32_t(m.records.size() + 1);
        m.inFlightNew = r;
        t.AppendBlank();
        t.PutString(0, r.lname);
        t.PutString(1, r.fname);
        t.PutNumeric(2, i);
        if (!r.memo.empty())
            t.PutMemo(3, r.memo);
        t.Post();
        m.records.push_back(r);
        m.inFlight.reset();
        if (i % 7 == 6)
            t.Commit();
    }
    for (uint32_t recNo : {3u, 9u, 17u}) {
        TRec r = m.records[recNo - 1];
        r.fname = "edited";
        r.memo = "changed memo " + std::to_string(recNo);
        m.inFlight = recNo;
        m.inFlightNew = r;
        t.Go(recNo);
        t.PutString(1, r.fname);
        t.PutMemo(3, r.memo);
        t.Post();
        m.records[recNo - 1] = r;
        m.inFlight.reset();
    }
    for (uint32_t recNo : {5u, 11u}) {
        TRec r = m.records[recNo - 1];
        r.deleted = true;
        m.inFlight = recNo;
        m.inFlightNew = r;
        t.Go(recNo);
        t.SetDeleted(true);
        m.records[recNo - 1] = r;
        m.inFlight.reset();
    }
    t.Commit();
}

std::unique_ptr<TTable> MakeTable(const std::string& path, TFileIoSystem& files)
{
    TTableOptions o;
    o.files = &files;
    auto t = TTable::Create(path, Fields(), o);
    t->AddTag("LNAME", "UPPER(LNAME)+FNAME");
    t->AddTag("DEL", "DELETED()");
    t->AddTag("NUM", "NUM");
    return t;
}

// The table's own check: every tag holds exactly the keys of the records.
void CheckIndex(TTable& t)
{
    for (int order = 1; order <= t.TagCount(); ++order) {
        std::vector<std::pair<std::string, uint32_t>> want, got;
        std::string key;
        for (uint32_t r = 1; r <= t.RecordCount(); ++r) {
            t.TagExpression(order).EvalKey(t.ReadRecord(r), key);
            want.emplace_back(key, r);
        }
        std::sort(want.begin(), want.end());
        const TIndexCheck check = t.Index()->Tag(order).Verify(
            [&](std::string_view k, uint32_t r) { got.emplace_back(std::string(k), r); });
        ASSERT_TRUE(check.ok) << check.problem;
        ASSERT_EQ(got, want) << "tag " << order;
    }
}

void RunFailingAt(uint64_t n, bool torn, uint64_t& operationsSeen)
{
    SCOPED_TRACE("failing write " + std::to_string(n) + (torn ? " (torn)" : ""));
    TTempDir dir;
    const std::string path = dir.File("CRASH.DBF");
    TFileIoFaulty faulty(TFileIoSystem::Native());
    faulty.SetSyncs(false);
    TModel model;
    {
        auto t = MakeTable(path, faulty);
        faulty.SetTornWrites(torn);
        faulty.SetFailAt(faulty.Operations() + n);
        try {
            Workload(*t, model);
        } catch (const TXbaseError& e) {
            EXPECT_EQ(e.Kind(), TErrorKind::Io) << e.what();
            // The table refuses further writes until reopened.
            EXPECT_THROW(t->AppendBlank(), TXbaseError);
        }
        operationsSeen = faulty.Operations();
    } // destroyed as a killed process would leave it: nothing more reaches the files

    auto t = TTable::Open(path);
    if (t->IndexStale())
        t->Reindex();
    const uint32_t posted = uint32_t(model.records.size());
    const bool appending = model.inFlight && *model.inFlight == posted + 1;
    ASSERT_GE(t->RecordCount(), posted);
    ASSERT_LE(t->RecordCount(), posted + (appending ? 1 : 0));
    for (uint32_t r = 1; r <= t->RecordCount(); ++r) {
        t->Go(r);
        const TRec got = Read(*t);
        if (r > posted)
            continue; // the record being appended: blank or partly filled, but readable
        if (model.inFlight && *model.inFlight == r) {
            // A torn write may leave the record being posted half old, half new; it must
            // still read.
            if (!torn) {
                EXPECT_TRUE(got == model.records[r - 1] || got == model.inFlightNew)
                    << "record " << r;
            }
        } else {
            EXPECT_EQ(got, model.records[r - 1]) << "record " << r;
        }
    }
    CheckIndex(*t);
    // And the table takes new work.
    t->AppendBlank();
    t->PutString(0, "after");
    t->Post();
    CheckIndex(*t);
}

} // namespace

TEST(TTableCrash, EveryFailedWriteLosesAtMostTheRecordBeingPosted)
{
    uint64_t total = 0;
    {
        TTempDir dir;
        TFileIoFaulty counting(TFileIoSystem::Native());
        counting.SetSyncs(false);
        TModel model;
        auto t = MakeTable(dir.File("COUNT.DBF"), counting);
        const uint64_t before = counting.Operations();
        Workload(*t, model);
        t->Close();
        total = counting.Operations() - before;
    }
    ASSERT_GT(total, 50u);
    for (bool torn : {false, true}) {
        for (uint64_t n = 1; n <= total; ++n) {
            uint64_t seen = 0;
            RunFailingAt(n, torn, seen);
            if (HasFatalFailure())
                return;
        }
    }
}

namespace {

// Opens and reads everything a user could reach; any problem must be a TXbaseError.
void ReadEverything(const std::string& path)
{
    auto t = TTable::Open(path, {TOpenMode::ReadOnly});
    for (uint32_t r = 1; r <= t->RecordCount(); ++r) {
        t->Go(r);
        for (int f = 0; f < int(t->Fields().size()); ++f)
            (void)t->GetText(f);
    }
    for (int order = 1; order <= t->TagCount(); ++order) {
        try {
            (void)t->TagExpression(order);
        } catch (const TXbaseError&) {
        }
        (void)t->Index()->Tag(order).Verify();
    }
}

} // namespace

TEST(TTableCrash, PokedBytesGiveClearErrorsNeverCrashes)
{
    TTempDir dir;
    const std::string path = dir.File("POKE.DBF");
    {
        auto t = TTable::Create(path, Fields());
        for (int i = 0; i < 12; ++i) {
            t->AppendBlank();
            t->PutString(0, "NAME" + std::to_string(i));
            t->PutNumeric(2, i * 11);
            t->PutMemo(3, std::string(size_t(i * 9), char('a' + i)));
            t->Post();
        }
        t->AddTag("LNAME", "UPPER(LNAME)");
        t->AddTag("NUM", "NUM");
        t->Close();
    }
    const std::map<std::string, std::string> originals = {
        {path, ReadBytes(path)},
        {dir.File("POKE.FPT"), ReadBytes(dir.File("POKE.FPT"))},
        {dir.File("POKE.CDX"), ReadBytes(dir.File("POKE.CDX"))}};
    int errors = 0, opened = 0;
    for (const auto& [file, bytes] : originals) {
        const bool isIndex = file.ends_with(".CDX");
        const size_t step = isIndex ? 29 : 1;
        const size_t limit = std::min<size_t>(bytes.size(), isIndex ? bytes.size() : 1400);
        for (size_t at = 0; at < limit; at += step) {
            for (uint8_t value : {uint8_t(0xFF), uint8_t(uint8_t(bytes[at]) ^ 0x41)}) {
                if (uint8_t(bytes[at]) == value)
                    continue;
                std::string poked = bytes;
                poked[at] = char(value);
                WriteBytes(file, poked);
                try {
                    ReadEverything(path);
                    ++opened;
                } catch (const TXbaseError& e) {
                    ++errors;
                    EXPECT_FALSE(e.File().empty()) << e.what();
                }
            }
        }
        WriteBytes(file, bytes);
        // Truncation anywhere.
        for (size_t cut = 0; cut < bytes.size(); cut += std::max<size_t>(1, bytes.size() / 97)) {
            WriteBytes(file, bytes.substr(0, cut));
            try {
                ReadEverything(path);
                ++opened;
            } catch (const TXbaseError& e) {
                ++errors;
                EXPECT_FALSE(e.File().empty()) << e.what();
            }
        }
        WriteBytes(file, bytes);
    }
    EXPECT_GT(errors, 0);
    EXPECT_GT(opened, 0);
}

TEST(TTableCrash, AFailedCreateLeavesNothingThatBlocksTheNextOne)
{
    for (const auto mode : {TFileIoFaulty::TMode::Kill, TFileIoFaulty::TMode::Error}) {
        for (uint64_t n = 1; n <= 9; ++n) {
            SCOPED_TRACE("failing step " + std::to_string(n));
            TTempDir dir;
            const std::string path = dir.File("NEW.DBF");
            TFileIoFaulty faulty(TFileIoSystem::Native());
            faulty.SetMode(mode);
            faulty.SetFailAt(n);
            TTableOptions o;
            o.files = &faulty;
            try {
                TTable::Create(path, Fields(), o);
            } catch (const TXbaseError&) {
            }
            if (std::filesystem::exists(path)) {
                EXPECT_NO_THROW(TTable::Open(path)); // whatever appeared is whole
            } else {
                if (mode == TFileIoFaulty::TMode::Error) {
                    // A failure removes what it made.
                    EXPECT_FALSE(std::filesystem::exists(dir.File("NEW.CR$")));
                    EXPECT_FALSE(std::filesystem::exists(dir.File("NEW.FPT")));
                }
                EXPECT_NO_THROW(TTable::Create(path, Fields()));
            }
        }
    }
}

TEST(TTableCrash, APackStoppedAtAnyStepLeavesTheOldOrTheNewTable)
{
    // Before and after: 8 records with memos, every third one marked.
    auto fill = [](TTable& t) {
        for (int i = 0; i < 8; ++i) {
            t.AppendBlank();
            t.PutString(0, "N" + std::to_string(i));
            t.PutMemo(3, "memo " + std::to_string(i));
            t.Post();
            if (i % 3 == 0)
                t.SetDeleted(true);
        }
    };
    uint64_t total = 0;
    {
        TTempDir dir;
        TFileIoFaulty counting(TFileIoSystem::Native());
        counting.SetSyncs(false);
        TTableOptions o;
        o.files = &counting;
        auto t = TTable::Create(dir.File("P.DBF"), Fields(), o);
        fill(*t);
        t->AddTag("LNAME", "LNAME");
        const uint64_t before = counting.Operations();
        t->Pack();
        total = counting.Operations() - before;
    }
    for (const auto mode : {TFileIoFaulty::TMode::Kill, TFileIoFaulty::TMode::Error}) {
        int stoppedIndexRewrites = 0;
        for (uint64_t n = 1; n <= total; ++n) {
            SCOPED_TRACE(std::string(mode == TFileIoFaulty::TMode::Kill ? "crash" : "error") +
                         " at step " + std::to_string(n));
            TTempDir dir;
            const std::string path = dir.File("P.DBF");
            TFileIoFaulty faulty(TFileIoSystem::Native());
            faulty.SetSyncs(false);
            TTableOptions o;
            o.files = &faulty;
            {
                auto t = TTable::Create(path, Fields(), o);
                fill(*t);
                t->AddTag("LNAME", "LNAME");
                faulty.SetMode(mode);
                faulty.SetFailAt(faulty.Operations() + n);
                // A failure only while clearing up after the swap is not the pack's failure.
                if (mode == TFileIoFaulty::TMode::Kill) {
                    EXPECT_THROW(t->Pack(), TXbaseError);
                } else {
                    try {
                        t->Pack();
                    } catch (const TXbaseError&) {
                    }
                }
            }
            stoppedIndexRewrites += std::filesystem::exists(dir.File("P.CX$")) ? 1 : 0;
            if (mode == TFileIoFaulty::TMode::Error) {
                // A failure removes the files it was building at once.
                for (const char* ext : {".CX$", ".BD$", ".BM$"})
                    EXPECT_FALSE(std::filesystem::exists(dir.File(std::string("P") + ext)))
                        << ext << " after " << faulty.FailedOperation();
            }
            auto t = TTable::Open(path);
            // What a stopped index rewrite left is removed on opening.
            EXPECT_FALSE(std::filesystem::exists(dir.File("P.CX$")));
            if (t->IndexStale())
                t->Reindex();
            ASSERT_TRUE(t->RecordCount() == 8 || t->RecordCount() == 5) << t->RecordCount();
            for (uint32_t r = 1; r <= t->RecordCount(); ++r) {
                t->Go(r);
                const std::string name(t->GetTrimmed(0));
                EXPECT_EQ(t->GetMemo(3), "memo " + name.substr(1)); // memos stay with records
            }
            CheckIndex(*t);
            for (const char* ext : {".BD$", ".BM$", ".SW$", ".ND$", ".NM$", ".OD$", ".OM$"})
                EXPECT_FALSE(std::filesystem::exists(dir.File(std::string("P") + ext))) << ext;
        }
        if (mode == TFileIoFaulty::TMode::Kill) {
            EXPECT_GT(stoppedIndexRewrites, 0);
        }
    }
}

namespace {

// Ten committed records with the three tags; the table stays open.
std::unique_ptr<TTable> CommittedTable(const std::string& path, TFileIoSystem& files)
{
    auto t = MakeTable(path, files);
    for (int i = 0; i < 10; ++i) {
        t->AppendBlank();
        t->PutString(0, "L" + std::to_string(i));
        t->PutString(1, "F" + std::to_string(i));
        t->PutNumeric(2, i);
        t->Post();
    }
    t->Commit();
    return t;
}

// Edits of committed records that move their keys in every tag, then a commit.
void EditKeys(TTable& t)
{
    t.Go(3);
    t.PutString(1, "moved");
    t.Post();
    t.Go(7);
    t.PutString(0, "AAA");
    t.PutNumeric(2, 99);
    t.Post();
    t.Go(5);
    t.SetDeleted(true);
    t.Commit();
}

uint64_t OperationsOf(const std::function<void(TTable&)>& work)
{
    TTempDir dir;
    TFileIoFaulty counting(TFileIoSystem::Native());
    auto t = CommittedTable(dir.File("C.DBF"), counting);
    const uint64_t before = counting.Operations();
    work(*t);
    t->Close();
    return counting.Operations() - before;
}

} // namespace

TEST(TTableCrash, AnIndexThatIsNotMarkedOutOfDateIsInStep)
{
    // A crash between a record and its keys must leave the index marked: the mark reaches the
    // disk before the record does.
    const uint64_t total = OperationsOf(EditKeys);
    ASSERT_GT(total, 5u);
    int marked = 0;
    for (const bool torn : {false, true}) {
        for (uint64_t n = 1; n <= total; ++n) {
            SCOPED_TRACE("crash at " + std::to_string(n) + (torn ? " (torn)" : ""));
            TTempDir dir;
            const std::string path = dir.File("C.DBF");
            {
                TFileIoFaulty faulty(TFileIoSystem::Native());
                faulty.SetSyncs(false);
                auto t = CommittedTable(path, faulty);
                faulty.SetTornWrites(torn);
                faulty.SetFailAt(faulty.Operations() + n);
                EXPECT_THROW(EditKeys(*t), TXbaseError);
            }
            auto t = TTable::Open(path);
            if (t->IndexStale()) {
                ++marked;
                t->Reindex();
            }
            CheckIndex(*t);
        }
    }
    EXPECT_GT(marked, 0);
}

TEST(TTableCrash, AFailedWriteLeavesTheIndexMarkedOrInStepAndRecoveryRepairsIt)
{
    // One write fails and later ones go through (a disk full for a moment): nothing the table
    // writes afterwards on its own (closing, destructors) may mark the index clean over keys that
    // do not match. Then the same failures once more, repaired in place by RecoverAfterFailure.
    const uint64_t total = OperationsOf(EditKeys);
    for (const bool recover : {false, true}) {
        for (uint64_t n = 1; n <= total; ++n) {
            SCOPED_TRACE("failing write " + std::to_string(n) + (recover ? ", recovered" : ""));
            TTempDir dir;
            const std::string path = dir.File("C.DBF");
            TFileIoFaulty faulty(TFileIoSystem::Native());
            {
                auto t = CommittedTable(path, faulty);
                faulty.SetMode(TFileIoFaulty::TMode::Error);
                faulty.SetError(n % 2 ? ENOSPC : EIO);
                faulty.SetFailAt(faulty.Operations() + n);
                try {
                    EditKeys(*t);
                } catch (const TXbaseError& e) {
                    EXPECT_EQ(e.Kind(), TErrorKind::Io);
                }
                ASSERT_TRUE(faulty.Failed());
                if (recover) {
                    t->RecoverAfterFailure();
                    EXPECT_FALSE(t->IndexStale());
                    CheckIndex(*t);
                }
                try {
                    t->Close();
                } catch (const TXbaseError&) {
                }
            }
            auto t = TTable::Open(path);
            if (!t->IndexStale())
                CheckIndex(*t);
            else
                EXPECT_FALSE(recover) << "recovered, yet out of date";
            EXPECT_FALSE(std::filesystem::exists(dir.File("C.CX$")));
        }
    }
}

TEST(TTableCrash, AFailedIndexRebuildLeavesTheOldIndexAndNoTemporaryFile)
{
    const std::vector<TTable::TTagSpec> tags = {{"LNAME", "UPPER(LNAME)+FNAME"}, {"NUM", "NUM"}};
    const std::vector<std::function<void(TTable&)>> rebuilds = {
        [](TTable& t) { t.Reindex(); }, [&](TTable& t) { t.ReplaceIndex(tags); }};
    for (size_t which = 0; which < rebuilds.size(); ++which) {
        const uint64_t total = OperationsOf(rebuilds[which]);
        for (uint64_t n = 1; n <= total; ++n) {
            SCOPED_TRACE((which == 0 ? "reindex" : "replace") + std::string(", failing write ") +
                         std::to_string(n));
            TTempDir dir;
            const std::string path = dir.File("C.DBF");
            TFileIoFaulty faulty(TFileIoSystem::Native());
            {
                auto t = CommittedTable(path, faulty);
                faulty.SetMode(TFileIoFaulty::TMode::Error);
                faulty.SetFailAt(faulty.Operations() + n);
                try {
                    rebuilds[which](*t);
                } catch (const TXbaseError&) {
                }
                try {
                    t->Close();
                } catch (const TXbaseError&) {
                }
            }
            EXPECT_TRUE(faulty.Failed());
            EXPECT_FALSE(std::filesystem::exists(dir.File("C.CX$"))) << faulty.FailedOperation();
            auto t = TTable::Open(path);
            if (t->IndexStale())
                t->Reindex();
            ASSERT_NE(t->Index(), nullptr);
            CheckIndex(*t);
            ASSERT_EQ(t->RecordCount(), 10u);
        }
    }
}
