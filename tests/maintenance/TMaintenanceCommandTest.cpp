// The "check" and "edit" command groups of quillmark-tool, run in-process on real address files.

#include "TMaintenanceFixture.h"
#include "data/TProgramHome.h"
#include "tools/TToolCommand.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"

#include <QFile>
#include <sstream>

using qm::test::TRecordValues;

namespace {

class MaintenanceCommandTest : public qm::test::MaintenanceFixture {
protected:
    int Tool(std::vector<std::string> args)
    {
        std::ostringstream out, err;
        const int code = qm::tools::RunTool(args, out, err);
        mOut = out.str();
        mErr = err.str();
        return code;
    }
    // The RECNO column of the CSV lines after the header.
    std::vector<std::string> RecNos() const
    {
        std::vector<std::string> out;
        std::istringstream lines(mOut);
        std::string line;
        std::getline(lines, line);
        while (std::getline(lines, line))
            out.push_back(line.substr(0, line.find(',')));
        return out;
    }
    std::string File() const { return mPath.toStdString(); }
    QString Stored(uint32_t recNo, const QString& field)
    {
        qm::data::TDataSet ds;
        ds.Open(mPath);
        ds.GoTo(recNo);
        return ds.AsString(field);
    }

    std::string mOut, mErr;
};

TRecordValues Rec(const char* last, const char* first, const char* street = "",
                  const char* state = "", const char* zip = "")
{
    return {{"LNAME", last}, {"FNAME", first}, {"STREET", street}, {"STATE", state}, {"ZIP", zip}};
}

} // namespace

TEST_F(MaintenanceCommandTest, DuplicatesInTheGridsOrder)
{
    mPath = MakeFile({Rec("Smith", "Al", "12 Oak Street"), Rec("Brown", "Ann"), Rec("BROWN", "ann"),
                      Rec("Brown", "Andrew", "12 Oak Str.")});
    ASSERT_EQ(Tool({"check", "duplicates", File(), "--by", "name"}), 0) << mErr;
    EXPECT_EQ(mErr, "Found 1 possible duplicates\n");
    EXPECT_EQ(mOut.substr(0, 21), "RECNO,DELETED,LNAME,F");
    EXPECT_EQ(RecNos(), (std::vector<std::string>{"2", "3"}));
    ASSERT_EQ(Tool({"check", "duplicates", File(), "--by", "initial"}), 0);
    EXPECT_EQ(mErr, "Found 2 possible duplicates\n");
    EXPECT_EQ(RecNos().size(), 3u);
    ASSERT_EQ(Tool({"check", "duplicates", File(), "--by", "street", "--chars", "10"}), 0);
    EXPECT_EQ(RecNos(), (std::vector<std::string>{"4", "1"})); // 12 OAK STR. sorts first
    EXPECT_EQ(Tool({"check", "duplicates", File(), "--by", "street", "--chars", "31"}), 2);
    EXPECT_EQ(Tool({"check", "duplicates", File(), "--by", "zip"}), 2);
    EXPECT_EQ(Tool({"check", "duplicates", "/no/such/file.dbf", "--by", "name"}), 3);
    // No result file is left behind.
    EXPECT_FALSE(QFile::exists(mHome.Path("_chkdup.idx")));
}

TEST_F(MaintenanceCommandTest, StateZipWithTheShippedOrAGivenTable)
{
    mHome.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
    mPath = MakeFile({Rec("Good", "", "", "NY", "00501"), Rec("Bad", "", "", "NY", "99999"),
                      Rec("Blank", "", "", "", "")});
    ASSERT_EQ(Tool({"check", "state-zip", File()}), 0) << mErr;
    EXPECT_EQ(mErr, "Found 1 records with questionable state or zipcodes\n");
    EXPECT_EQ(RecNos(), (std::vector<std::string>{"2"}));
    ASSERT_EQ(Tool({"check", "state-zip", File(), "--blanks"}), 0);
    EXPECT_EQ(RecNos(), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(Tool({"check", "state-zip", File(), "--csz", "/no/such/CSZ.DBF"}), 3);
    EXPECT_NE(mErr.find("Unable to open /no/such/CSZ.DBF"), std::string::npos);
}

TEST_F(MaintenanceCommandTest, EditCaseDeleteAndReplace)
{
    mPath = MakeFile({Rec("o'NEILL", "mcDONALD", "1 main st"), Rec("Brown", "Ann", "2 Oak st"),
                      Rec("Browning", "Bo", "3 Elm St")});
    ASSERT_EQ(Tool({"edit", "case", File(), "--to", "proper", "--fields", "Last,FNAME", "--filter",
                    "LNAME = 'o'"}),
              0)
        << mErr;
    EXPECT_EQ(mOut, "Converted 1 records\n");
    EXPECT_EQ(Stored(1, "LNAME"), "O'neill");
    EXPECT_EQ(Stored(1, "STREET"), "1 main st");

    ASSERT_EQ(Tool({"edit", "replace", File(), "--field", "Address 1", "--contains", "st",
                    "--ignore-case", "--partial", "Street"}),
              0);
    EXPECT_EQ(mOut, "Replaced 3 records\nReplacement done\n");
    EXPECT_EQ(Stored(1, "STREET"), "1 main Street");
    ASSERT_EQ(Tool({"edit", "replace", File(), "--field", "LNAME", "--exactly", "Brown", "--whole",
                    "Green"}),
              0);
    EXPECT_EQ(mOut, "Replaced 1 records\nReplacement done\n");
    EXPECT_EQ(Stored(3, "LNAME"), "Browning");
    EXPECT_EQ(
        Tool({"edit", "replace", File(), "--field", "NOSUCH", "--exactly", "a", "--whole", "b"}),
        2);
    EXPECT_EQ(
        Tool({"edit", "replace", File(), "--field", "LNAME", "--exactly", "a", "--partial", "✓"}),
        2);

    ASSERT_EQ(Tool({"edit", "delete", File(), "--matching", "LNAME = 'Brow'"}), 0);
    EXPECT_EQ(mOut, "Deleted 1 records\n");
    ASSERT_EQ(Tool({"edit", "delete", File(), "--matching", "LNAME = 'Brow'"}), 0);
    EXPECT_EQ(mOut, "Deleted 0 records\n");
    ASSERT_EQ(Tool({"edit", "delete", File(), "--not-matching", "LNAME = 'Brow'"}), 0);
    EXPECT_EQ(mOut, "Deleted 2 records\n");
    EXPECT_EQ(Tool({"edit", "delete", File(), "--matching", "LNAME = "}), 2);
    EXPECT_EQ(Tool({"edit", "delete", File()}), 2);
    ASSERT_EQ(Tool({"edit", "delete", File(), "--all"}), 0);
    EXPECT_EQ(mOut, "Deleted 0 records\n");
}

TEST_F(MaintenanceCommandTest, AFailedEditSaysHowManyRecordsItChangedAndExitsWith3)
{
    mPath = MakeFile(
        {Rec("Brown", "Ann"), Rec("Green", "Bo"), Rec("Brown", "Cy"), Rec("Browne", "Di")});
    // The third record write fails (the disk full for a moment): two records were deleted.
    qm::xbase::TFileIoFaulty faulty(qm::xbase::TFileIoSystem::Native());
    faulty.SetMode(qm::xbase::TFileIoFaulty::TMode::Error);
    faulty.SetCounted(qm::xbase::kFaultWrite);
    qm::xbase::TFileIoSystem::SetDefault(&faulty);
    // Writes: the index's out-of-date mark, then one per record.
    faulty.SetFailAt(4);
    const int code = Tool({"edit", "delete", File(), "--matching", "LNAME = 'Brown'"});
    qm::xbase::TFileIoSystem::SetDefault(nullptr);
    EXPECT_EQ(code, 3);
    EXPECT_EQ(mOut, "");
    EXPECT_TRUE(mErr.find("Stopped by an error after deleting 2 records.") != std::string::npos)
        << mErr;
    EXPECT_EQ(Stored(1, "ISDEL"), "T");
    EXPECT_EQ(Stored(3, "ISDEL"), "T");
    EXPECT_EQ(Stored(4, "ISDEL"), "F");
    // The files are in step: the run brought the index back after the failure.
    ASSERT_EQ(Tool({"table", "check", File()}), 0) << mOut;
}

TEST_F(MaintenanceCommandTest, AFileHeldElsewhereIsRefusedAsInUse)
{
    Open({Rec("Lee", "Al")});
    EXPECT_EQ(Tool({"edit", "delete", File(), "--all"}), 3);
    EXPECT_NE(mErr.find("in use"), std::string::npos) << mErr;
    EXPECT_EQ(mDataSet.Table().RecordCount(), 1u);
}

TEST_F(MaintenanceCommandTest, HelpDocumentsTheCommands)
{
    ASSERT_EQ(Tool({"check", "--help"}), 0);
    EXPECT_NE(mOut.find("state-zip ADDRESS.DBF [--blanks] [--csz CSZ.DBF]"), std::string::npos);
    ASSERT_EQ(Tool({"edit", "--help"}), 0);
    EXPECT_NE(mOut.find("--not-matching EXPR"), std::string::npos);
    ASSERT_EQ(Tool({"--help"}), 0);
    EXPECT_NE(mOut.find("check"), std::string::npos);
}
