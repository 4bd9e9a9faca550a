#include "xbase/TDbfFile.h"
#include "xbase/TDbfFormat.h"
#include "xbase/TDbfHeader.h"
#include "xbase/TFieldDef.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TXbaseError.h"

#include "TTableTestFiles.h"

#include <gtest/gtest.h>

using namespace qm::xbase;
using namespace qm::xbase::test;

namespace {

// A table of the given version with fields NAME C(n) and AGE N(3), and the given records.
std::string MakeTable(uint8_t version, int nameLength, const std::vector<std::string>& records)
{
    TFieldList fields = MakeFieldList(
        {{"NAME", TFieldType::Character, nameLength, 0}, {"AGE", TFieldType::Numeric, 3, 0}});
    TDbfHeader h = TDbfHeader::ForNewTable(fields);
    h.version = version;
    h.recordCount = uint32_t(records.size());
    std::string bytes = h.Serialize();
    for (const std::string& r : records)
        bytes += r;
    bytes.push_back(char(dbf::kEndOfFile));
    return bytes;
}

std::unique_ptr<TDbfFile> OpenBytes(const TTempDir& dir, const std::string& bytes, bool writable)
{
    const std::string path = dir.File("T.DBF");
    WriteBytes(path, bytes);
    return std::make_unique<TDbfFile>(
        TFileIoSystem::Native().Open(
            path, writable ? TFileAccess::ReadWrite : TFileAccess::ReadOnly, TFileLock::None),
        writable);
}

TXbaseError ParseError(const std::string& bytes)
{
    try {
        TDbfHeader::Parse(bytes, bytes.size(), "T.DBF");
    } catch (const TXbaseError& e) {
        return e;
    }
    ADD_FAILURE() << "parsed";
    return TXbaseError(TErrorKind::Usage, "");
}

} // namespace

TEST(TDbfHeader, NewHeaderLayoutMatchesTheFoxProConventions)
{
    const TFieldList fields = MakeFieldList({{"lname", TFieldType::Character, 30, 0},
                                             {"PRICE", TFieldType::Numeric, 8, 2},
                                             {"MEMO", TFieldType::Memo, 0, 0}});
    const TDbfHeader h = TDbfHeader::ForNewTable(fields);
    EXPECT_EQ(h.version, 0xF5);
    EXPECT_EQ(h.codePage, 0x03);
    EXPECT_EQ(h.headerLength, 32 + 3 * 32 + 1);
    EXPECT_EQ(h.recordLength, 1 + 30 + 8 + 10);
    const std::string b = h.Serialize();
    EXPECT_EQ(b.substr(32, 6), std::string("LNAME\0", 6));
    EXPECT_EQ(b[32 + 11], 'C');
    EXPECT_EQ(Le32At(b, 64 + 12), 31u); // displacement of PRICE
    EXPECT_EQ(uint8_t(b[64 + 17]), 2);
    EXPECT_EQ(uint8_t(b.back()), 0x0D);

    const TDbfHeader back = TDbfHeader::Parse(b, b.size(), "x");
    ASSERT_EQ(back.fields.size(), 3u);
    EXPECT_EQ(back.fields[1].offset, 31u);
    EXPECT_EQ(back.MemoKind(), TMemoKind::Fpt);
    EXPECT_EQ(TDbfHeader::ForNewTable(MakeFieldList({{"A", TFieldType::Logical, 1, 0}})).version,
              0x03);
}

TEST(TDbfHeader, FieldDefsAreChecked)
{
    auto bad = [](std::vector<TFieldDef> defs) {
        EXPECT_THROW(MakeFieldList(defs), TXbaseError) << defs.front().name;
    };
    bad({{"", TFieldType::Character, 5, 0}});
    bad({{"ELEVENCHARS", TFieldType::Character, 5, 0}});
    bad({{"1ST", TFieldType::Character, 5, 0}});
    bad({{"A B", TFieldType::Character, 5, 0}});
    bad({{"A", TFieldType::Character, 255, 0}});
    bad({{"N", TFieldType::Numeric, 5, 4}});
    bad({{"N", TFieldType::Numeric, 21, 0}});
    bad({{"I", TFieldType::Integer, 4, 0}});
    bad({{"A", TFieldType::Character, 5, 0}, {"a", TFieldType::Character, 5, 0}});
    EXPECT_NO_THROW(MakeFieldList({{"N_1", TFieldType::Numeric, 6, 3}}));
}

TEST(TDbfHeader, DamagedHeadersAreRefusedWithTheirOffset)
{
    const std::string good = MakeTable(0x03, 10, {});
    EXPECT_EQ(ParseError(good.substr(0, 20)).Kind(), TErrorKind::Damaged);

    std::string b = good;
    b[0] = char(0x77);
    EXPECT_EQ(ParseError(b).Offset(), 0);

    b = good; // header length beyond the file
    b[8] = char(0xFF);
    b[9] = char(0x7F);
    EXPECT_EQ(ParseError(b).Offset(), 8);

    b = good; // record length shorter than the fields
    b[10] = 5;
    b[11] = 0;
    EXPECT_EQ(ParseError(b).Offset(), 10);

    b = good; // no terminator
    b[32 + 64] = 'X';
    EXPECT_EQ(ParseError(b).Kind(), TErrorKind::Damaged);

    b = good; // a field of length 0
    b[32 + 16] = 0;
    EXPECT_EQ(ParseError(b).Offset(), 32 + 16);

    b = good; // a field without a name
    b[32] = 0;
    EXPECT_EQ(ParseError(b).Offset(), 32);
}

TEST(TDbfHeader, ReadsForeignVariants)
{
    // Clipper: a character field longer than 255 keeps its high byte in the decimals byte.
    std::string b = MakeTable(0x03, 10, {});
    b[32 + 16] = char(300 & 0xFF);
    b[32 + 17] = char(300 >> 8);
    const uint16_t rl = 1 + 300 + 3;
    b[10] = char(rl & 0xFF);
    b[11] = char(rl >> 8);
    TDbfHeader h = TDbfHeader::Parse(b, b.size(), "x");
    EXPECT_EQ(h.fields[0].length, 300);
    EXPECT_EQ(h.fields[1].offset, 301u);

    // Visual FoxPro: system columns are left out but keep their bytes.
    b = MakeTable(0x30, 10, {});
    b[32 + 32 + 18] = 0x01; // AGE becomes a system column
    h = TDbfHeader::Parse(b, b.size(), "x");
    ASSERT_EQ(h.fields.size(), 1u);
    EXPECT_TRUE(h.IsVisualFoxPro());
    EXPECT_EQ(h.recordLength, 14);

    // dBase III with memo: a DBT file.
    TDbfHeader d3 = TDbfHeader::ForNewTable(MakeFieldList({{"M", TFieldType::Memo, 10, 0}}));
    d3.version = 0x83;
    EXPECT_EQ(d3.MemoKind(), TMemoKind::Dbt);
}

TEST(TDbfFile, ReadsWritesAndAppendsRecordsWithTheEndMark)
{
    TTempDir dir;
    auto f = OpenBytes(dir, MakeTable(0x03, 4, {" ANNA 30", "*BOB  41"}), true);
    EXPECT_EQ(f->RecordCount(), 2u);
    EXPECT_EQ(f->Read(2), "*BOB  41");
    f->Write(1, " ANN  31");
    f->Append(" CARL 52");
    EXPECT_THROW(f->Read(4), TXbaseError);
    EXPECT_THROW(f->Read(0), TXbaseError);
    f->SetReadAhead(true);
    EXPECT_EQ(f->Read(1), " ANN  31");
    EXPECT_EQ(f->Read(3), " CARL 52");
    f->CheckInvariants();
    f.reset();
    const std::string bytes = ReadBytes(dir.File("T.DBF"));
    EXPECT_EQ(Le32At(bytes, 4), 3u);
    EXPECT_EQ(bytes.substr(bytes.size() - 9), std::string(" CARL 52\x1A"));
}

TEST(TDbfFile, ReadOnlyRefusesWrites)
{
    TTempDir dir;
    auto f = OpenBytes(dir, MakeTable(0x03, 4, {" ANNA 30"}), false);
    EXPECT_THROW(f->Write(1, " ANN  31"), TXbaseError);
    EXPECT_THROW(f->Append(" ANN  31"), TXbaseError);
}

TEST(TDbfFile, CountAboveTheFileDropsToTheWholeRecords)
{
    TTempDir dir;
    std::string b = MakeTable(0x03, 4, {" ANNA 30", " BOB  41"});
    b.pop_back();
    b += " CA"; // torn third record, no end mark
    PutLe32At(b, 4, 1000);
    auto ro = OpenBytes(dir, b, false);
    EXPECT_EQ(ro->RecordCount(), 2u);
    EXPECT_EQ(ro->CountOnOpen(), 1000u);
    ro.reset();
    EXPECT_EQ(Le32At(ReadBytes(dir.File("T.DBF")), 4), 1000u); // read-only leaves the file alone

    auto rw = OpenBytes(dir, b, true);
    EXPECT_EQ(rw->RecordCount(), 2u);
    rw.reset();
    const std::string fixed = ReadBytes(dir.File("T.DBF"));
    EXPECT_EQ(Le32At(fixed, 4), 2u);
    EXPECT_EQ(fixed.back(), '\x1A');
}

TEST(TDbfFile, CountBelowTheFileTakesInWholeRecordsThatLookLikeRecords)
{
    TTempDir dir;
    // A crash after the record was written but before the header count.
    std::string b = MakeTable(0x03, 4, {" ANNA 30", " BOB  41", "*CARL 52"});
    PutLe32At(b, 4, 1);
    auto f = OpenBytes(dir, b, true);
    EXPECT_EQ(f->RecordCount(), 3u);
    EXPECT_TRUE(f->Reconciled());
    EXPECT_EQ(f->Read(3), "*CARL 52");

    // Bytes that do not start like a record are not served as one.
    b = MakeTable(0x03, 4, {" ANNA 30", "XXXXXXXX"});
    PutLe32At(b, 4, 1);
    f = OpenBytes(dir, b, false);
    EXPECT_EQ(f->RecordCount(), 1u);
}

namespace {

// Records of MakeTable(0x03, 10, ...): every seventh one carries the deletion mark.
std::vector<std::string> MarkedRecords(uint32_t count)
{
    std::vector<std::string> records;
    for (uint32_t r = 1; r <= count; ++r) {
        std::string name = "N" + std::to_string(r);
        name.resize(10, ' ');
        records.push_back(std::string(1, r % 7 == 0 ? '*' : ' ') + name + " 42");
    }
    return records;
}

std::string WithMark(std::string record, bool deleted)
{
    record[0] = deleted ? '*' : ' ';
    return record;
}

} // namespace

TEST(TDbfFile, DeletionMarksAnsweredFromMemoryFollowEveryWrite)
{
    TTempDir dir;
    const std::vector<std::string> records = MarkedRecords(3000);
    auto f = OpenBytes(dir, MakeTable(0x03, 10, records), true);
    f->SetKeepMarks(true);
    // Enough single questions, in no particular order, for the marks of the whole file to be
    // read in one pass; every answer before and after that pass agrees with the records.
    for (uint32_t i = 0; i < 3000; ++i) {
        const uint32_t r = (i * 1237) % 3000 + 1;
        ASSERT_EQ(f->IsDeleted(r), r % 7 == 0) << r;
    }
    f->Write(7, WithMark(records[6], false));
    f->Write(8, WithMark(records[7], true));
    f->Append(WithMark(records[0], true));
    f->Append(WithMark(records[6], false));
    EXPECT_FALSE(f->IsDeleted(7));
    EXPECT_TRUE(f->IsDeleted(8));
    EXPECT_TRUE(f->IsDeleted(3001));
    EXPECT_FALSE(f->IsDeleted(3002));
    EXPECT_TRUE(f->IsDeleted(14));
    f->CheckInvariants();
    f->Truncate(10);
    f->Append(WithMark(records[0], true));
    EXPECT_TRUE(f->IsDeleted(11));
    EXPECT_FALSE(f->IsDeleted(7));
    EXPECT_THROW(f->IsDeleted(12), TXbaseError);
    f.reset();

    // The file agrees with what was answered.
    auto again = std::make_unique<TDbfFile>(
        TFileIoSystem::Native().Open(dir.File("T.DBF"), TFileAccess::ReadOnly, TFileLock::None),
        false);
    ASSERT_EQ(again->RecordCount(), 11u);
    for (uint32_t r = 1; r <= 11; ++r)
        EXPECT_EQ(again->IsDeleted(r), r == 8 || r == 11) << r;
}

TEST(TDbfFile, MarksOfALargeFileCollectedInPartsAgreeWithEveryRecord)
{
    // Large enough for the marks to be collected by several threads; the count is not a
    // multiple of 64, so the last part ends inside a word of marks.
    TTempDir dir;
    const uint32_t count = 300001;
    auto f = OpenBytes(dir, MakeTable(0x03, 10, MarkedRecords(count)), true);
    f->SetKeepMarks(true);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t r = uint32_t((uint64_t(i) * 7919) % count) + 1;
        ASSERT_EQ(f->IsDeleted(r), r % 7 == 0) << r;
    }
}

TEST(TDbfFile, ChangeJournalNamesTheRecordsWrittenUntilItMustForget)
{
    TTempDir dir;
    const std::vector<std::string> records = MarkedRecords(100);
    auto f = OpenBytes(dir, MakeTable(0x03, 10, records), true);
    auto other = OpenBytes(TTempDir(), MakeTable(0x03, 10, records), false);
    EXPECT_NE(f->Identity(), other->Identity());

    const uint64_t start = f->ChangeSerial();
    std::vector<uint32_t> changed;
    EXPECT_TRUE(f->ChangesSince(start, changed));
    EXPECT_TRUE(changed.empty());
    f->Write(5, records[4]);
    f->Append(records[0]);
    f->Write(5, records[4]);
    const uint64_t middle = f->ChangeSerial();
    f->Write(9, records[8]);
    EXPECT_TRUE(f->ChangesSince(start, changed));
    EXPECT_EQ(changed, (std::vector<uint32_t>{5, 101, 5, 9}));
    changed.clear();
    EXPECT_TRUE(f->ChangesSince(middle, changed));
    EXPECT_EQ(changed, (std::vector<uint32_t>{9}));
    EXPECT_FALSE(f->ChangesSince(f->ChangeSerial() + 1, changed)); // a serial from elsewhere

    // Thousands of writes: the oldest are forgotten, so nothing is answered for before them.
    const uint64_t beforeMany = f->ChangeSerial();
    for (int i = 0; i < 5000; ++i)
        f->Write(uint32_t(i % 100) + 1, records[size_t(i % 100)]);
    changed.clear();
    EXPECT_FALSE(f->ChangesSince(beforeMany, changed));
    const uint64_t recent = f->ChangeSerial() - 3;
    EXPECT_TRUE(f->ChangesSince(recent, changed));
    EXPECT_EQ(changed, (std::vector<uint32_t>{98, 99, 100}));

    // Dropping records renumbers what follows: nothing before it is answered.
    const uint64_t beforeTruncate = f->ChangeSerial();
    f->Truncate(10);
    changed.clear();
    EXPECT_FALSE(f->ChangesSince(beforeTruncate, changed));
    EXPECT_TRUE(f->ChangesSince(f->ChangeSerial(), changed));
    EXPECT_TRUE(changed.empty());
}

TEST(TDbfFile, AFailedWriteLeavesTheMarksToTheFile)
{
    // A write cut short may or may not have reached the mark; the answer must be the file's.
    for (const bool torn : {false, true}) {
        TTempDir dir;
        const std::vector<std::string> records = MarkedRecords(2000);
        const std::string path = dir.File("T.DBF");
        WriteBytes(path, MakeTable(0x03, 10, records));
        TFileIoFaulty faulty(TFileIoSystem::Native());
        faulty.SetTornWrites(torn);
        TDbfFile f(faulty.Open(path, TFileAccess::ReadWrite, TFileLock::None), true);
        f.SetKeepMarks(true);
        for (uint32_t r = 1; r <= 2000; ++r)
            ASSERT_EQ(f.IsDeleted(r), r % 7 == 0);
        faulty.SetFailAt(faulty.Operations() + 1);
        EXPECT_THROW(f.Write(5, WithMark(records[4], true)), TXbaseError);
        const bool onDisk =
            ReadBytes(path)[f.Header().headerLength + 4 * size_t(f.RecordLength())] == '*';
        EXPECT_EQ(onDisk, torn);
        EXPECT_EQ(f.IsDeleted(5), onDisk) << (torn ? "torn" : "whole");
        EXPECT_TRUE(f.IsDeleted(7));
    }
}
