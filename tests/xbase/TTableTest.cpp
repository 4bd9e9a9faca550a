#include "xbase/TTable.h"
#include "xbase/TCompoundIndex.h"
#include "xbase/TDbfHeader.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TExpression.h"
#include "xbase/TIndexCursor.h"
#include "xbase/TIndexTag.h"
#include "xbase/TTableCheck.h"
#include "xbase/TXbaseError.h"

#include "TTableTestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace qm::xbase;
using namespace qm::xbase::test;

namespace {

std::vector<TFieldDef> PeopleFields()
{
    return {{"LNAME", TFieldType::Character, 12, 0}, {"FNAME", TFieldType::Character, 10, 0},
            {"AGE", TFieldType::Numeric, 5, 1},      {"MEMBER", TFieldType::Logical, 1, 0},
            {"BORN", TFieldType::Date, 8, 0},        {"MEMO", TFieldType::Memo, 10, 0}};
}

TErrorKind KindOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const TXbaseError& e) {
        return e.Kind();
    }
    ADD_FAILURE() << "no error";
    return TErrorKind::Usage;
}

void AddPerson(TTable& t, std::string_view lname, std::string_view fname, double age)
{
    t.AppendBlank();
    t.PutString(0, lname);
    t.PutString(1, fname);
    t.PutNumeric(2, age);
    t.Post();
}

// Every tag of the table against the records: for each tag the pairs (key, recNo) it holds must
// be exactly the keys of all records, in order.
void ExpectIndexMatchesRecords(TTable& t)
{
    ASSERT_NE(t.Index(), nullptr);
    for (int order = 1; order <= t.TagCount(); ++order) {
        TIndexTag& tag = t.Index()->Tag(order);
        std::multimap<std::string, uint32_t> want;
        std::string key;
        for (uint32_t r = 1; r <= t.RecordCount(); ++r) {
            t.TagExpression(order).EvalKey(t.ReadRecord(r), key);
            want.emplace(key, r);
        }
        std::vector<std::pair<std::string, uint32_t>> got;
        const TIndexCheck check = tag.Verify(
            [&](std::string_view k, uint32_t r) { got.emplace_back(std::string(k), r); });
        ASSERT_TRUE(check.ok) << tag.Name() << ": " << check.problem;
        ASSERT_EQ(got.size(), want.size()) << tag.Name();
        std::vector<std::pair<std::string, uint32_t>> wantSorted(want.begin(), want.end());
        std::sort(wantSorted.begin(), wantSorted.end());
        EXPECT_EQ(got, wantSorted) << tag.Name();
    }
}

// One person with a memo, and an LNAME tag: a table with all three files.
void MakeOneWithMemoAndTag(const std::string& path)
{
    auto t = TTable::Create(path, PeopleFields());
    AddPerson(*t, "A", "B", 1);
    t->PutMemo(5, "memo");
    t->Post();
    t->AddTag("LNAME", "LNAME");
}

} // namespace

TEST(TTable, CreatesWritesAndReadsBackEveryFieldType)
{
    TTempDir dir;
    const std::string path = dir.File("PEOPLE.DBF");
    {
        auto t = TTable::Create(path, PeopleFields());
        EXPECT_EQ(t->Version(), 0xF5);
        EXPECT_TRUE(t->HasMemo());
        EXPECT_EQ(t->RecordCount(), 0u);
        t->AppendBlank();
        EXPECT_EQ(t->RecNo(), 1u);
        t->PutString(0, "Smith");
        t->PutString(1, "a first name far too long");
        t->PutNumeric(2, 42.25);
        t->PutLogical(3, true);
        t->PutDate(4, "19801231");
        t->PutMemo(5, "likes\r\nwalks");
        t->Post();
        t->AppendBlank();
        t->PutString(t->FieldIndex("lname"), "Jones");
        t->PutString(2, " -3.14 ");
        t->Close();
    }
    auto t = TTable::Open(path);
    ASSERT_EQ(t->RecordCount(), 2u);
    t->Go(1);
    EXPECT_EQ(t->GetTrimmed(0), "Smith");
    EXPECT_EQ(t->GetRaw(0), "Smith       ");
    EXPECT_EQ(t->GetTrimmed(1), "a first na");
    EXPECT_EQ(t->GetRaw(2), " 42.3"); // formatted to width 5, one decimal
    EXPECT_DOUBLE_EQ(t->GetNumeric(2), 42.3);
    EXPECT_TRUE(t->GetLogical(3));
    EXPECT_EQ(t->GetDate(4), "19801231");
    EXPECT_EQ(t->GetMemo(5), "likes\r\nwalks");
    EXPECT_EQ(t->GetText(5), "likes\r\nwalks");
    EXPECT_FALSE(t->IsEmpty(5));
    t->Go(2); // the unposted second record was posted by Close
    EXPECT_EQ(t->GetTrimmed(0), "Jones");
    EXPECT_EQ(t->GetRaw(2), " -3.1");
    EXPECT_TRUE(t->IsEmpty(3));
    EXPECT_TRUE(t->IsEmpty(4));
    EXPECT_TRUE(t->IsEmpty(5));
    EXPECT_EQ(t->GetMemo(5), "");
    EXPECT_EQ(t->GetText(3), "");
    t->Go(3);
    EXPECT_EQ(t->RecNo(), 0u);
}

TEST(TTable, ValuesThatDoNotFitAreRefusedOrMarked)
{
    TTempDir dir;
    auto t = TTable::Create(dir.File("P.DBF"), PeopleFields());
    t->AppendBlank();
    t->PutNumeric(2, 123456.0);
    EXPECT_EQ(t->GetRaw(2), "*****");
    EXPECT_EQ(KindOf([&] { t->PutString(2, "12abc"); }), TErrorKind::Usage);
    EXPECT_EQ(KindOf([&] { t->PutDate(4, "19800231"); }), TErrorKind::Usage);
    EXPECT_EQ(KindOf([&] { t->PutDate(4, "1980-1-1"); }), TErrorKind::Usage);
    EXPECT_EQ(KindOf([&] { t->PutString(3, "maybe"); }), TErrorKind::Usage);
    EXPECT_EQ(KindOf([&] { t->PutLogical(0, true); }), TErrorKind::Usage);
    EXPECT_EQ(KindOf([&] { t->PutMemo(0, "x"); }), TErrorKind::Usage);
    EXPECT_EQ(KindOf([&] { t->GetRaw(99); }), TErrorKind::Usage);
    t->PutString(2, "");
    EXPECT_EQ(t->GetRaw(2), "     ");
}

TEST(TTable, ChangesAtThePastTheEndPositionAreDropped)
{
    TTempDir dir;
    auto t = TTable::Create(dir.File("P.DBF"), PeopleFields());
    AddPerson(*t, "A", "B", 1);
    t->Go(0);
    t->PutString(0, "ghost");
    t->Go(1);
    EXPECT_EQ(t->RecordCount(), 1u);
    EXPECT_EQ(t->GetTrimmed(0), "A");
    EXPECT_EQ(KindOf([&] {
                  t->Go(0);
                  t->SetDeleted(true);
              }),
              TErrorKind::Usage);
}

TEST(TTable, OpenModesAndLocks)
{
    TTempDir dir;
    const std::string path = dir.File("P.DBF");
    TTable::Create(path, PeopleFields())->Close();
    {
        auto held = TTable::Open(path);
        try {
            TTable::Open(path, {TOpenMode::ReadOnly});
            FAIL();
        } catch (const TXbaseError& e) {
            EXPECT_EQ(e.Kind(), TErrorKind::InUse);
            EXPECT_NE(std::string(e.what()).find("in use"), std::string::npos);
            EXPECT_EQ(e.File(), path);
        }
    }
    auto a = TTable::Open(path, {TOpenMode::Shared});
    auto b = TTable::Open(path, {TOpenMode::ReadOnly});
    EXPECT_EQ(KindOf([&] { TTable::Open(path); }), TErrorKind::InUse);
    EXPECT_EQ(KindOf([&] { b->AppendBlank(); }), TErrorKind::Usage);
    EXPECT_EQ(KindOf([&] { a->Pack(); }), TErrorKind::Usage); // needs exclusive
    EXPECT_EQ(KindOf([&] { TTable::Create(path, PeopleFields()); }), TErrorKind::Usage);
    EXPECT_EQ(KindOf([&] { TTable::Open(dir.File("NONE.DBF")); }), TErrorKind::NotFound);
}

TEST(TTable, MissingMemoFileIsNamed)
{
    TTempDir dir;
    TTable::Create(dir.File("P.DBF"), PeopleFields())->Close();
    std::filesystem::remove(dir.File("P.FPT"));
    try {
        TTable::Open(dir.File("P.DBF"));
        FAIL();
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::NotFound);
        EXPECT_NE(e.Message().find("P.FPT"), std::string::npos);
    }
}

TEST(TTable, MemoFieldsOfAnyStoredWidthTakeTheirBlockNumbers)
{
    // Other software may store a memo field of any width up to 255; the block number is written
    // right-aligned into the whole width.
    for (const int width : {40, 255}) {
        SCOPED_TRACE(width);
        TTempDir dir;
        TTable::Create(dir.File("W.DBF"),
                       {{"NAME", TFieldType::Character, 10, 0}, {"NOTES", TFieldType::Memo, 0, 0}})
            ->Close();
        TDbfHeader h = TDbfHeader::ForNewTable(MakeFieldList(
            {{"NAME", TFieldType::Character, 10, 0}, {"NOTES", TFieldType::Memo, 0, 0}}));
        h.fields[1].length = uint16_t(width);
        h.recordLength = uint16_t(1 + 10 + width);
        WriteBytes(dir.File("W.DBF"), h.Serialize() + "\x1A");
        {
            auto t = TTable::Open(dir.File("W.DBF"));
            t->AppendBlank();
            t->PutString(0, "Ann");
            t->PutMemo(1, "a note");
            t->Close();
        }
        auto t = TTable::Open(dir.File("W.DBF"));
        t->Go(1);
        EXPECT_EQ(t->GetMemo(1), "a note");
        const std::string_view raw = t->GetRaw(1);
        ASSERT_EQ(raw.size(), size_t(width));
        EXPECT_EQ(raw.find_first_not_of(' '), size_t(width) - 1); // block 1, as "        1"
    }
}

TEST(TTable, DeletionMarkPackAndZap)
{
    TTempDir dir;
    const std::string path = dir.File("P.DBF");
    auto t = TTable::Create(path, PeopleFields());
    for (int i = 1; i <= 10; ++i) {
        AddPerson(*t, "N" + std::to_string(i), "F", i);
        t->PutMemo(5, "memo " + std::to_string(i));
        t->Post();
    }
    for (uint32_t r : {2u, 5u, 10u}) {
        t->Go(r);
        t->SetDeleted(true);
        EXPECT_TRUE(t->Deleted());
    }
    t->Go(5);
    t->SetDeleted(false);
    t->SetDeleted(true);
    t->Go(1);
    t->PutMemo(5, "memo 1 changed"); // leaves an orphan block for pack to drop
    t->Post();
    const auto memoBefore = std::filesystem::file_size(dir.File("P.FPT"));

    std::vector<int> progress;
    t->Pack([&](int p) { progress.push_back(p); });
    EXPECT_EQ(t->RecordCount(), 7u);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);
    std::vector<std::string> names;
    for (uint32_t r = 1; r <= t->RecordCount(); ++r) {
        t->Go(r);
        EXPECT_FALSE(t->Deleted());
        names.emplace_back(t->GetTrimmed(0));
        const std::string n = names.back().substr(1);
        EXPECT_EQ(t->GetMemo(5), n == "1" ? "memo 1 changed" : "memo " + n);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"N1", "N3", "N4", "N6", "N7", "N8", "N9"}));
    EXPECT_LT(std::filesystem::file_size(dir.File("P.FPT")), memoBefore);
    EXPECT_FALSE(std::filesystem::exists(dir.File("P.PK$")));

    // The lock is held again after the files were replaced.
    EXPECT_EQ(KindOf([&] { TTable::Open(path, {TOpenMode::ReadOnly}); }), TErrorKind::InUse);

    t->Zap();
    EXPECT_EQ(t->RecordCount(), 0u);
    t->Close();
    EXPECT_EQ(std::filesystem::file_size(path), 32u + 6 * 32 + 1 + 1);
    EXPECT_EQ(std::filesystem::file_size(dir.File("P.FPT")), 512u);
}

TEST(TTable, CopyStructureMakesAnEmptyTableWithTheSameFields)
{
    TTempDir dir;
    auto t = TTable::Create(dir.File("P.DBF"), PeopleFields());
    AddPerson(*t, "A", "B", 1);
    t->AddTag("LNAME", "UPPER(LNAME)");
    t->CopyStructure(dir.File("COPY.DBF"));
    auto c = TTable::Open(dir.File("COPY.DBF"));
    EXPECT_EQ(c->RecordCount(), 0u);
    ASSERT_EQ(c->Fields().size(), t->Fields().size());
    for (size_t i = 0; i < c->Fields().size(); ++i) {
        EXPECT_EQ(c->Fields()[i].name, t->Fields()[i].name);
        EXPECT_EQ(c->Fields()[i].type, t->Fields()[i].type);
        EXPECT_EQ(c->Fields()[i].length, t->Fields()[i].length);
        EXPECT_EQ(c->Fields()[i].decimals, t->Fields()[i].decimals);
    }
    EXPECT_TRUE(c->HasMemo());
    EXPECT_EQ(c->Index(), nullptr);
}

TEST(TTable, ReadRecordServesPassesWithoutMovingAndSeesThePendingBuffer)
{
    TTempDir dir;
    auto t = TTable::Create(dir.File("P.DBF"), PeopleFields());
    for (int i = 0; i < 5000; ++i)
        AddPerson(*t, "N" + std::to_string(i), "F", i % 100);
    t->Go(7);
    t->PutString(0, "CHANGED");
    t->SetTurboRead(true);
    uint32_t seen = 0;
    for (uint32_t r = 1; r <= t->RecordCount(); ++r) {
        const TRecordView v = t->ReadRecord(r);
        EXPECT_EQ(v.recNo, r);
        if (r == 7)
            EXPECT_EQ(v.bytes.substr(1, 7), "CHANGED");
        else if (v.bytes.substr(1, 1) == "N")
            ++seen;
    }
    t->SetTurboRead(false);
    EXPECT_EQ(seen, 4999u);
    EXPECT_EQ(t->RecNo(), 7u);
    EXPECT_TRUE(t->Changed());
}

TEST(TTable, TagsFollowEveryAppendPostAndDeletion)
{
    TTempDir dir;
    const std::string path = dir.File("P.DBF");
    auto t = TTable::Create(path, PeopleFields());
    AddPerson(*t, "Smith", "Ann", 30);
    AddPerson(*t, "jones", "Bob", 41);
    std::vector<int> progress;
    EXPECT_EQ(t->AddTag("NAME", "UPPER(LNAME-FNAME)", [&](int p) { progress.push_back(p); }), 1);
    EXPECT_FALSE(progress.empty());
    EXPECT_EQ(t->AddTag("AGE", "AGE"), 2);
    EXPECT_EQ(t->AddTag("DELETED", "DELETED()"), 3);
    EXPECT_EQ(t->AddTag("MEMBER", "!MEMBER"), 4);
    EXPECT_EQ(t->TagOrder("name"), 1);
    EXPECT_EQ(t->TagOrder("nope"), 0);
    ExpectIndexMatchesRecords(*t);

    AddPerson(*t, "Adams", "Cy", 7);
    t->Go(1);
    t->PutString(0, "Zeta");
    t->PutLogical(3, true);
    t->Post();
    t->Go(2);
    t->SetDeleted(true);
    t->AppendBlank(); // a blank record has keys too, once it reaches the file
    EXPECT_EQ(t->RecordCount(), 4u);
    t->Post();
    ExpectIndexMatchesRecords(*t);

    TIndexCursor cursor(t->Index()->Tag(1));
    ASSERT_TRUE(cursor.First());
    EXPECT_EQ(cursor.RecNo(), 4u); // blank sorts first
    ASSERT_TRUE(cursor.Next());
    EXPECT_EQ(cursor.RecNo(), 3u); // ADAMS
    t->Close();

    t = TTable::Open(path);
    EXPECT_FALSE(t->IndexStale());
    EXPECT_EQ(t->TagCount(), 4);
    ExpectIndexMatchesRecords(*t);
    t->Go(3);
    t->SetDeleted(true);
    t->Pack();
    EXPECT_EQ(t->RecordCount(), 2u);
    ExpectIndexMatchesRecords(*t);

    // Replacing a tag keeps its order number.
    EXPECT_EQ(t->AddTag("AGE", "STR(AGE,5,1)+LNAME"), 2);
    EXPECT_EQ(t->TagExpression(2).Text(), "STR(AGE,5,1)+LNAME");
    ExpectIndexMatchesRecords(*t);

    t->Zap();
    ExpectIndexMatchesRecords(*t);
    AddPerson(*t, "After", "Zap", 1);
    ExpectIndexMatchesRecords(*t);
}

TEST(TTable, BadTagExpressionsAreRefusedBeforeAnyFileIsMade)
{
    TTempDir dir;
    auto t = TTable::Create(dir.File("P.DBF"), PeopleFields());
    EXPECT_EQ(KindOf([&] { t->AddTag("X", "UPPER(NOFIELD)"); }), TErrorKind::Syntax);
    EXPECT_FALSE(std::filesystem::exists(dir.File("P.CDX")));
    EXPECT_EQ(t->Index(), nullptr);
}

TEST(TTable, IndexClosingAndDeletingFile)
{
    TTempDir dir;
    const std::string path = dir.File("P.DBF");
    auto t = TTable::Create(path, PeopleFields());
    AddPerson(*t, "A", "B", 1);
    t->AddTag("LNAME", "LNAME");
    EXPECT_EQ(ReadBytes(path)[28] & 1, 1); // the table says it has a production index
    t->CloseIndexes();
    EXPECT_EQ(t->Index(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(dir.File("P.CDX")));
    t->DeleteIndexFile();
    EXPECT_FALSE(std::filesystem::exists(dir.File("P.CDX")));
    t->Close();
    EXPECT_EQ(ReadBytes(path)[28] & 1, 0);
}

TEST(TTable, StaleIndexIsDetectedUntilRebuilt)
{
    TTempDir dir;
    const std::string path = dir.File("P.DBF");
    {
        auto t = TTable::Create(path, PeopleFields());
        AddPerson(*t, "A", "B", 1);
        t->AddTag("LNAME", "LNAME");
        t->Close();
    }
    // Records appended while the index was not open.
    {
        TTableOptions o;
        o.openIndex = false;
        auto t = TTable::Open(path, o);
        AddPerson(*t, "C", "D", 2);
        t->Close();
    }
    {
        auto t = TTable::Open(path);
        EXPECT_TRUE(t->IndexStale());
        t->Close(); // closing must not make it look healthy
    }
    auto t = TTable::Open(path);
    ASSERT_TRUE(t->IndexStale());
    t->Reindex();
    t->Close();
    // An edit (no change of the record count) while the index was not open.
    {
        TTableOptions o;
        o.openIndex = false;
        auto u = TTable::Open(path, o);
        u->Go(1);
        u->PutString(0, "Changed");
        u->Close();
    }
    t = TTable::Open(path);
    ASSERT_TRUE(t->IndexStale());
    std::vector<int> progress;
    t->Reindex([&](int p) { progress.push_back(p); });
    EXPECT_FALSE(t->IndexStale());
    EXPECT_EQ(progress.back(), 100);
    ExpectIndexMatchesRecords(*t);
    t->Close();
    EXPECT_FALSE(TTable::Open(path)->IndexStale());
}

TEST(TTable, ReplaceIndexBuildsTagsWhereThereWasNoIndexOrADamagedOne)
{
    TTempDir dir;
    const std::string path = dir.File("P.DBF");
    const std::vector<TTable::TTagSpec> tags = {{"LNAME", "UPPER(LNAME)"}, {"AGE", "AGE"}};
    {
        auto t = TTable::Create(path, PeopleFields());
        AddPerson(*t, "Smith", "Ann", 30);
        AddPerson(*t, "Jones", "Bob", 20);
        t->ReplaceIndex(tags);
        EXPECT_EQ(t->TagCount(), 2);
        ExpectIndexMatchesRecords(*t);
        t->Close();
    }
    EXPECT_EQ(ReadBytes(path)[28] & 1, 1);
    EXPECT_TRUE(TTableCheck::Run(path).ok);
    // A damaged index file: the table opens without it and gets a new one.
    WriteBytes(dir.File("P.CDX"), std::string(700, 'x'));
    EXPECT_EQ(KindOf([&] { TTable::Open(path); }), TErrorKind::Damaged);
    {
        TTableOptions o;
        o.openIndex = false;
        auto t = TTable::Open(path, o);
        t->ReplaceIndex(tags);
        t->Close();
    }
    auto t = TTable::Open(path);
    EXPECT_FALSE(t->IndexStale());
    EXPECT_EQ(t->TagOrder("AGE"), 2);
    ExpectIndexMatchesRecords(*t);
    EXPECT_FALSE(std::filesystem::exists(dir.File("P.CX$")));
}

TEST(TTable, TheCheckReportsAnIndexFileThatTheHeaderPromisesButIsMissing)
{
    TTempDir dir;
    const std::string path = dir.File("P.DBF");
    MakeOneWithMemoAndTag(path);
    std::filesystem::remove(dir.File("P.CDX"));
    const TTableCheckResult result = TTableCheck::Run(path);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.problem.find("P.CDX is missing"), std::string::npos) << result.problem;
    // A table that deleted its index on purpose says so in its header.
    auto t = TTable::Open(path);
    t->AddTag("LNAME", "LNAME");
    t->DeleteIndexFile();
    t->Close();
    EXPECT_TRUE(TTableCheck::Run(path).ok);
}

TEST(TTable, RebuildingTheIndexAgainAndAgainKeepsItsFileSizeAndDefinitions)
{
    // Every rebuild used to leave the old trees' pages behind, so that the index file grew by a
    // whole index each time the table was packed or reindexed.
    TTempDir dir;
    const std::string path = dir.File("P.DBF");
    auto t = TTable::Create(path, PeopleFields());
    for (int i = 0; i < 3000; ++i)
        AddPerson(*t, "Name" + std::to_string((i * 37) % 1000), "F" + std::to_string(i), i % 90);
    t->AddTag("NAME", "UPPER(LNAME+FNAME)");
    t->AddTag("AGE", "AGE");
    t->Commit();
    const auto size = [&] { return std::filesystem::file_size(dir.File("P.CDX")); };
    const uintmax_t built = size();
    for (int round = 0; round < 3; ++round) {
        t->Reindex();
        EXPECT_LE(size(), built + 2048) << round;
    }
    t->Go(5);
    t->SetDeleted(true);
    t->Pack();
    EXPECT_LE(size(), built + 2048);
    EXPECT_FALSE(std::filesystem::exists(dir.File("P.CX$")));
    ASSERT_EQ(t->TagCount(), 2);
    EXPECT_EQ(t->TagExpression(1).Text(), "UPPER(LNAME+FNAME)");
    EXPECT_EQ(t->TagOrder("AGE"), 2);
    ExpectIndexMatchesRecords(*t);
    AddPerson(*t, "Later", "One", 3);
    ExpectIndexMatchesRecords(*t);
    t->Close();
    t = TTable::Open(path);
    EXPECT_FALSE(t->IndexStale());
    ExpectIndexMatchesRecords(*t);
}

TEST(TTable, CompanionFilesAreFoundInAnyLetterCase)
{
    TTempDir dir;
    MakeOneWithMemoAndTag(dir.File("people.dbf"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("people.fpt")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("people.cdx")));
    std::filesystem::rename(dir.File("people.dbf"), dir.File("PEOPLE.DBF"));
    std::filesystem::rename(dir.File("people.fpt"), dir.File("People.Fpt"));
    auto t = TTable::Open(dir.File("PEOPLE.DBF"));
    t->Go(1);
    EXPECT_EQ(t->GetMemo(5), "memo");
    EXPECT_EQ(t->TagCount(), 1);
}

TEST(TTable, ANewTableNeverTakesOverTheFilesOfItsNameInAnotherCase)
{
    TTempDir dir;
    MakeOneWithMemoAndTag(dir.File("PEOPLE.DBF"));
    // On a file system where case matters "people.dbf" is another name, but its memo and index
    // files would be PEOPLE.FPT and PEOPLE.CDX.
    try {
        TTable::Create(dir.File("people.dbf"), PeopleFields());
        FAIL() << "made a table beside its name in other letters";
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::Usage);
        EXPECT_NE(std::string(e.what()).find("PEOPLE.DBF"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("people.dbf")));
    auto t = TTable::Open(dir.File("PEOPLE.DBF"));
    t->Go(1);
    EXPECT_EQ(t->GetMemo(5), "memo");
    EXPECT_EQ(t->TagCount(), 1);

    // Files left by a table that is gone are still replaced, not adopted.
    t->Close();
    std::filesystem::remove(dir.File("PEOPLE.DBF"));
    auto fresh = TTable::Create(dir.File("people.dbf"), PeopleFields());
    EXPECT_EQ(fresh->TagCount(), 0);
    EXPECT_EQ(fresh->RecordCount(), 0u);
}

TEST(TTable, SharedOpenersSeeAndKeepEachOthersAppends)
{
    TTempDir dir;
    const std::string path = dir.File("P.DBF");
    TTable::Create(path, PeopleFields())->Close();
    auto a = TTable::Open(path, {TOpenMode::Shared});
    auto b = TTable::Open(path, {TOpenMode::Shared});
    AddPerson(*a, "FromA", "x", 1);
    a->PutMemo(5, "memo of A");
    a->Commit();
    AddPerson(*b, "FromB", "y", 2); // must not land on A's record
    b->PutMemo(5, "memo of B");
    b->Commit();
    EXPECT_EQ(b->RecordCount(), 2u);
    a->Go(2);
    EXPECT_EQ(a->GetTrimmed(0), "FromB");
    EXPECT_EQ(a->GetMemo(5), "memo of B");
    a->Go(1);
    EXPECT_EQ(a->GetMemo(5), "memo of A");
}
