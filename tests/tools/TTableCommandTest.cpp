#include "tools/TToolCommand.h"

#include "TTableTestFiles.h"

#include "xbase/TTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

using qm::xbase::TTable;
using qm::xbase::test::ReadBytes;
using qm::xbase::test::TTempDir;
using qm::xbase::test::WriteBytes;

namespace {

struct TRun {
    int code = -1;
    std::string out;
    std::string err;
};

TRun Tool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    TRun run;
    run.code = qm::tools::RunTableCommand(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class TTableCommandTest : public ::testing::Test {
protected:
    // PEOPLE.DBF: LNAME C 12, FNAME C 8, AMT N 8.2, PAID L, BORN D, NOTES M.
    void CreatePeople()
    {
        ASSERT_EQ(
            Tool({"create", mTable, "LNAME C 12,fname c 8, AMT N 8.2 ,PAID L,BORN D,NOTES M"}).code,
            0);
    }
    std::string Csv(const std::string& name, const std::string& bytes)
    {
        const std::string path = mDir.File(name);
        WriteBytes(path, bytes);
        return path;
    }
    // Loads three people; record 2 is Müller.
    void LoadPeople()
    {
        CreatePeople();
        const TRun run =
            Tool({"append-csv", mTable,
                  Csv("people.csv", "Smith,John,12.5,T,19700101,\"hello, world\"\r\n"
                                    "Müller,Jörg,,F,,\n"
                                    "Smythe,Ann,3,y,20001231,\"multi\nline \"\"memo\"\"\"\n")});
        ASSERT_EQ(run.code, 0) << run.err;
    }
    // Sets the deletion mark of the given records through the engine.
    void Mark(std::initializer_list<uint32_t> records)
    {
        auto table = TTable::Open(mTable);
        for (uint32_t r : records) {
            table->Go(r);
            table->SetDeleted(true);
        }
        table->Close();
    }
    std::string InfoLine(const std::string& name)
    {
        const TRun run = Tool({"info", mTable});
        std::istringstream lines(run.out);
        std::string line;
        while (std::getline(lines, line))
            if (line.compare(0, name.size() + 2, name + ": ") == 0)
                return line.substr(name.size() + 2);
        return "<missing>";
    }

    TTempDir mDir;
    std::string mTable = mDir.File("PEOPLE.DBF");
};

TEST_F(TTableCommandTest, AppendedCsvDumpsBackAsCsvWithEveryField)
{
    LoadPeople();
    TRun run = Tool({"dump", mTable});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "RECNO,DELETED,LNAME,FNAME,AMT,PAID,BORN,NOTES\r\n"
                       "1,F,Smith,John,12.50,T,19700101,\"hello, world\"\r\n"
                       "2,F,Müller,Jörg,,F,,\r\n"
                       "3,F,Smythe,Ann,3.00,T,20001231,\"multi\nline \"\"memo\"\"\"\r\n");

    // Marked records are listed and flagged; --query and --limit narrow the list.
    Mark({1});
    run = Tool({"dump", mTable, "--query", "UPPER(LNAME) = \"SM\"", "--limit=5"});
    EXPECT_EQ(run.out, "RECNO,DELETED,LNAME,FNAME,AMT,PAID,BORN,NOTES\r\n"
                       "1,T,Smith,John,12.50,T,19700101,\"hello, world\"\r\n"
                       "3,F,Smythe,Ann,3.00,T,20001231,\"multi\nline \"\"memo\"\"\"\r\n");
    run = Tool({"dump", mTable, "--limit", "1"});
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);

    // In a tag's order; the query is typed in UTF-8 like the output.
    ASSERT_EQ(Tool({"index", mTable, "LNAME", "UPPER(LNAME)"}).code, 0);
    run = Tool({"dump", mTable, "--tag", "lname", "--query", "LNAME <> \"Smy\""});
    EXPECT_TRUE(Contains(run.out, "\r\n2,F,Müller,Jörg,,F,,\r\n1,T,Smith,"));
    EXPECT_FALSE(Contains(run.out, "Smythe"));
    run = Tool({"dump", mTable, "--query", "LNAME = \"Mü\""});
    EXPECT_TRUE(Contains(run.out, "\r\n2,F,Müller"));
}

TEST_F(TTableCommandTest, Windows1252CsvIsRecognisedAndLongTextIsCutWithAWarning)
{
    CreatePeople();
    const TRun run = Tool({"append-csv", mTable,
                           Csv("latin.csv", "M\xFCller,J\xF6rg,1,F,,\x80 5\r\n"
                                            "Abcdefghijklmnop,B,2,T,,\r\n")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "warning: 1 values were longer than their field"));
    const std::string dump = Tool({"dump", mTable}).out;
    EXPECT_TRUE(Contains(dump, "1,F,Müller,Jörg,1.00,F,,€ 5\r\n"));
    EXPECT_TRUE(Contains(dump, "2,F,Abcdefghijkl,B,2.00,T,,\r\n"));
}

TEST_F(TTableCommandTest, AppendCsvChecksTheWholeFileBeforeAppending)
{
    CreatePeople();
    struct TCase {
        const char* csv;
        const char* message;
    };
    for (const TCase& c : {
             TCase{"A,B,1,T,,\nC,D,1x,T,,\n", "line 2, field AMT: \"1x\" is not a number"},
             TCase{"A,B,1,T,,\nC,D,1,maybe,,\n", "line 2, field PAID: \"maybe\" is not T or F"},
             TCase{"A,B,1234567.5,T,,\n", "line 1, field AMT: 1234567.5 does not fit"},
             TCase{"A,B,1,T,1999-01-01,\n", "line 1, field BORN"},
             TCase{"A,B,1,T,,\nA,B,1\n", "line 2: 3 values, the table has 6 fields"},
             TCase{"A,B,1,T,,\n\"A,B,1,T,,\n", "line 2: a quoted field is not closed"},
             TCase{"Zoë → Ann,B,1,T,,\n", "U+2192"},
         }) {
        SCOPED_TRACE(c.csv);
        const TRun run = Tool({"append-csv", mTable, Csv("bad.csv", c.csv)});
        EXPECT_EQ(run.code, 3);
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_EQ(InfoLine("records"), "0");
    }
    const TRun missing = Tool({"append-csv", mTable, mDir.File("none.csv")});
    EXPECT_EQ(missing.code, 3);
    EXPECT_TRUE(Contains(missing.err, "none.csv"));
}

TEST_F(TTableCommandTest, CountAndSeekSeeRecordsAsTheAddressFileDoes)
{
    LoadPeople();
    ASSERT_EQ(Tool({"index", mTable, "LNAME", "UPPER(LNAME)"}).code, 0);
    ASSERT_EQ(Tool({"index", mTable, "AMT", "AMT"}).code, 0);
    Mark({1});

    EXPECT_EQ(Tool({"count", mTable, "--query", "UPPER(LNAME) = \"SM\""}).out, "1\n");
    EXPECT_EQ(Tool({"count", mTable, "--query", ".T.", "--tag", "LNAME"}).out, "2\n");

    TRun run = Tool({"seek", mTable, "--tag", "LNAME", "SM"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "3\n"); // Smith (1) carries the deletion mark
    run = Tool({"seek", mTable, "--tag", "LNAME", "MÜ"});
    EXPECT_EQ(run.out, "2\n");
    run = Tool({"seek", mTable, "--tag", "LNAME", "--exact", "SMY"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "not found\n");
    run = Tool({"seek", mTable, "--tag", "LNAME", "--exact", "SMYTHE"});
    EXPECT_EQ(run.out, "3\n");
    run = Tool({"seek", mTable, "--tag", "LNAME", "--soft", "N"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "not found\nnext: 3\n");
    run = Tool({"seek", mTable, "--tag", "LNAME", "--soft", "ZZ"});
    EXPECT_EQ(run.out, "not found\nnext: eof\n");
    run = Tool({"seek", mTable, "--tag", "AMT", "--", "3"});
    EXPECT_EQ(run.out, "3\n");
}

TEST_F(TTableCommandTest, InfoShowsHeaderFieldsAndTags)
{
    LoadPeople();
    ASSERT_EQ(Tool({"index", mTable, "NAME", "UPPER(LNAME+FNAME)"}).code, 0);
    const TRun run = Tool({"info", mTable});
    ASSERT_EQ(run.code, 0) << run.err;
    for (const char* line :
         {"version: 0xF5\n", "code page mark: 0x03\n", "records: 3\n", "record length: 48\n",
          "memo: yes\n", "fields: 6\n", "field 1: LNAME C 12 0\n", "field 3: AMT N 8 2\n",
          "field 6: NOTES M 10 0\n", "index state: current\n", "tags: 1\n",
          "tag 1: NAME C 20 UPPER(LNAME+FNAME)\n"})
        EXPECT_TRUE(Contains(run.out, line)) << line << "\n" << run.out;
    EXPECT_TRUE(Contains(run.out, "\nindex: ")) << run.out;

    ASSERT_EQ(Tool({"create", mDir.File("PLAIN.DBF"), "CODE C 4"}).code, 0);
    const TRun plain = Tool({"info", mDir.File("PLAIN.DBF")});
    EXPECT_TRUE(Contains(plain.out, "version: 0x03\n"));
    EXPECT_TRUE(Contains(plain.out, "index: none\n"));
}

TEST_F(TTableCommandTest, MistakesGiveUsageOrFileExitCodes)
{
    EXPECT_EQ(Tool({}).code, 2);
    TRun help = Tool({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* command :
         {"info FILE", "dump FILE", "count FILE", "seek FILE", "create FILE", "index FILE",
          "append-csv FILE", "reindex FILE", "pack FILE", "zap FILE", "check FILE", "Exit codes"})
        EXPECT_TRUE(Contains(help.out, command)) << command;
    EXPECT_EQ(Tool({"dump", "--help"}).out, help.out);

    LoadPeople();
    struct TCase {
        std::vector<std::string> args;
        int code;
        const char* message;
    };
    for (const TCase& c : {
             TCase{{"frobnicate", mTable}, 2, "unknown command"},
             TCase{{"dump", mTable, "--sort", "x"}, 2, "unknown option --sort"},
             TCase{{"dump", mTable, "--tag"}, 2, "--tag needs a value"},
             TCase{{"dump", mTable, "--limit", "ten"}, 2, "whole number"},
             TCase{{"info"}, 2, "takes 1 argument"},
             TCase{{"count", mTable}, 2, "needs --query"},
             TCase{{"count", mTable, "--query", "UPPER(LNAME = 1"}, 2, ""},
             TCase{{"count", mTable, "--query", "LNAME"}, 2, ""},
             TCase{{"seek", mTable, "SM"}, 2, "needs --tag"},
             TCase{{"seek", mTable, "--tag", "NOPE", "SM"}, 2, "no index"},
             TCase{{"create", mDir.File("X.DBF"), "NAME Q 5"}, 2, "not one of"},
             TCase{{"create", mDir.File("X.DBF"), "NAME C"}, 2, "needs a width"},
             TCase{{"create", mDir.File("X.DBF"), "1NAME C 5"}, 2, ""},
             TCase{{"create", mTable, "NAME C 5"}, 2, ""}, // exists already
             TCase{{"info", mDir.File("MISSING.DBF")}, 3, "MISSING.DBF"},
             TCase{{"check", mDir.File("MISSING.DBF")}, 3, "MISSING.DBF"},
         }) {
        SCOPED_TRACE(c.args.front() + (c.args.size() > 2 ? " " + c.args[2] : ""));
        const TRun run = Tool(c.args);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_FALSE(run.err.empty());
    }
    // A syntax error names the position.
    EXPECT_TRUE(Contains(Tool({"count", mTable, "--query", "UPPER(LNAME = 1"}).err, "position"));
}

TEST_F(TTableCommandTest, PackZapAndReindexKeepTheTableConsistent)
{
    LoadPeople();
    ASSERT_EQ(Tool({"index", mTable, "LNAME", "UPPER(LNAME)"}).code, 0);
    Mark({1, 2});
    TRun run = Tool({"pack", mTable});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(InfoLine("records"), "1");
    EXPECT_EQ(Tool({"check", mTable}).out, "ok\n");
    EXPECT_EQ(Tool({"seek", mTable, "--tag", "LNAME", "SMY"}).out, "1\n");
    EXPECT_TRUE(Contains(Tool({"dump", mTable}).out, "1,F,Smythe,Ann,3.00,T,20001231,\"multi\n"));

    ASSERT_EQ(Tool({"reindex", mTable}).code, 0);
    EXPECT_EQ(Tool({"check", mTable}).out, "ok\n");

    ASSERT_EQ(Tool({"zap", mTable}).code, 0);
    EXPECT_EQ(InfoLine("records"), "0");
    EXPECT_EQ(Tool({"check", mTable}).out, "ok\n");
    EXPECT_EQ(Tool({"seek", mTable, "--tag", "LNAME", "S"}).code, 1);
}

TEST_F(TTableCommandTest, ReindexBuildsAnAddressFilesTagsWhenItsIndexIsMissingOrDamaged)
{
    // An address file's fields (only their names matter here) with one record.
    const std::string address = mDir.File("ADD0001.DBF");
    ASSERT_EQ(Tool({"create", address,
                    "LNAME C 30,FNAME C 20,MIDDLE C 1,PREFIX C 10,TITLE C 30,ORG C 40,"
                    "STREET C 40,STREET2 C 40,CITY C 25,STATE C 4,ZIP C 10,COUNTRY C 20,"
                    "DATE C 8,PHONE C 20,PHONE2 C 20,FAX C 20,EMAIL C 50,CODES C 20,"
                    "USER1 C 40,USER2 C 40,ISDEL L,TAG C 10,MEMO M"})
                  .code,
              0);
    ASSERT_EQ(Tool({"append-csv", address,
                    Csv("one.csv", "Smith,Ann,,,,,,,Boston,MA,02101,,,,,,,,,,F,,\n")})
                  .code,
              0);
    for (const char* damage : {"none", "garbage"}) {
        SCOPED_TRACE(damage);
        if (std::string(damage) == "garbage")
            WriteBytes(mDir.File("ADD0001.CDX"), std::string(900, 'z'));
        else
            std::filesystem::remove(mDir.File("ADD0001.CDX"));
        const TRun run = Tool({"reindex", address});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Tool({"check", address}).out, "ok\n");
        EXPECT_TRUE(Contains(Tool({"info", address}).out, "tags: 26\n"));
        EXPECT_EQ(Tool({"seek", address, "--tag", "LNAME", "SMITH"}).out, "1\n");
    }
    // A table that is no address file: its damaged index cannot be rebuilt (the tags are
    // unknown), and the command says so.
    LoadPeople();
    ASSERT_EQ(Tool({"index", mTable, "LNAME", "UPPER(LNAME)"}).code, 0);
    WriteBytes(mDir.File("PEOPLE.CDX"), std::string(900, 'z'));
    const TRun run = Tool({"reindex", mTable});
    EXPECT_EQ(run.code, 3);
    EXPECT_TRUE(Contains(run.err, "cannot be rebuilt")) << run.err;
}

TEST_F(TTableCommandTest, LongWorkWritesNoProgressWhereStandardErrorIsNoTerminal)
{
    // Big enough for progress (10,000 records, a CSV of 4 MB); the test's streams are no terminal.
    std::string csv;
    for (int i = 0; i < 60000; ++i)
        csv += "Name" + std::to_string(i) + ",F" + std::to_string(i % 97) + ",1.50,y,20000101," +
               std::string(40, 'm') + "\n";
    ASSERT_GE(csv.size(), size_t(4) << 20);
    CreatePeople();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"append-csv", mTable, Csv("big.csv", csv)},
          {"index", mTable, "LNAME", "UPPER(LNAME)"},
          {"reindex", mTable},
          {"pack", mTable}}) {
        SCOPED_TRACE(args.front());
        const TRun run = Tool(args);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(InfoLine("records"), "60000");
}

class TTableCheckTest : public TTableCommandTest {
protected:
    void SetUp() override
    {
        LoadPeople();
        ASSERT_EQ(Tool({"index", mTable, "LNAME", "UPPER(LNAME)"}).code, 0);
        ASSERT_EQ(Tool({"check", mTable}).out, "ok\n");
        mBytes = ReadBytes(mTable);
        mHeaderLength = static_cast<uint8_t>(mBytes[8]) | static_cast<uint8_t>(mBytes[9]) << 8;
        mRecordLength = static_cast<uint8_t>(mBytes[10]) | static_cast<uint8_t>(mBytes[11]) << 8;
    }
    // Byte offset of a field (0-based offset inside the record) of record r.
    size_t At(uint32_t r, size_t fieldOffset) const
    {
        return mHeaderLength + (r - 1) * mRecordLength + fieldOffset;
    }
    TRun CheckWith(const std::string& bytes)
    {
        WriteBytes(mTable, bytes);
        return Tool({"check", mTable});
    }

    std::string mBytes;
    size_t mHeaderLength = 0;
    size_t mRecordLength = 0;
};

TEST_F(TTableCheckTest, FindsARecordCountThatDisagreesWithTheFile)
{
    std::string bytes = mBytes;
    bytes[4] = 5; // the header claims five records
    TRun run = CheckWith(bytes);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.out, "the header counts 5 records, the file holds 3")) << run.out;

    run = CheckWith(mBytes.substr(0, At(3, 7)));
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.out, "incomplete record")) << run.out;
}

TEST_F(TTableCheckTest, FindsAKeyThatNoLongerMatchesItsRecord)
{
    std::string bytes = mBytes;
    bytes.replace(At(2, 1), 6, "Zimmer"); // LNAME of record 2 changed behind the index's back
    const TRun run = CheckWith(bytes);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.out, "tag LNAME")) << run.out;
    EXPECT_TRUE(Contains(run.out, "record 2")) << run.out;
}

TEST_F(TTableCheckTest, FindsAMemoPointerOutsideTheMemoFile)
{
    // NOTES is the last field (10 bytes): point record 1's memo far past the memo file's end.
    std::string bytes = mBytes;
    const size_t notes = mRecordLength - 10;
    const std::string pointer = bytes.substr(At(1, notes), 10);
    if (pointer.find_first_not_of(' ') != std::string::npos &&
        pointer.find('\0') == std::string::npos)
        bytes.replace(At(1, notes), 10, "   9999999"); // stored as digits
    else
        bytes.replace(At(1, notes), 4, std::string("\x7F\x96\x98\x00", 4)); // stored as binary
    const TRun run = CheckWith(bytes);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.out, "record 1, field NOTES")) << run.out;
}

} // namespace
