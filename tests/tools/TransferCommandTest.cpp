// The "import" and "export" command groups run in-process: exit codes, messages, and files that
// are left alone when a command is refused.

#include "tools/TToolCommand.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

using namespace qm::tools;

namespace {

class TTransferCommand : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int code = RunTool(args, out, err);
        mOut = out.str();
        mErr = err.str();
        return code;
    }
    std::string Path(const std::string& name) const
    {
        return QDir(mDir.path()).filePath(QString::fromStdString(name)).toStdString();
    }
    void Write(const std::string& name, const QByteArray& bytes)
    {
        QFile file(QString::fromStdString(Path(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read(const std::string& name)
    {
        QFile file(QString::fromStdString(Path(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir mDir;
    std::string mOut, mErr;
};

} // namespace

TEST_F(TTransferCommand, ImportsACsvFileIntoANewAddressFile)
{
    Write("in.csv", "\"Smith, John\",Boston\r\n\"O\"\"Neil\",Cork\r\n\"A\r\nB\",\r\n");
    const std::string address = Path("ADD0001.DBF");
    ASSERT_EQ(
        Run({"import", address, "--new", "--csv", Path("in.csv"), "--map", "1=last name,2=CITY"}),
        0)
        << mErr;
    EXPECT_EQ(mOut, "Import complete. Imported 3 records.\n4 lines read formed 3 records.\n");
    ASSERT_EQ(Run({"table", "dump", address}), 0);
    EXPECT_NE(mOut.find("1,F,\"Smith, John\",,,,,,,,Boston,"), std::string::npos) << mOut;
    EXPECT_NE(mOut.find("2,F,\"O\"\"Neil\",,,,,,,,Cork,"), std::string::npos) << mOut;
    EXPECT_NE(mOut.find("3,F,A B,"), std::string::npos) << mOut;
    ASSERT_EQ(Run({"table", "check", address}), 0) << mOut;

    // The sample as CSV.
    ASSERT_EQ(Run({"import", "--sample", Path("in.csv")}), 0);
    EXPECT_EQ(mOut, "\"Smith, John\",\"Boston\"\r\n\"O\"\"Neil\",\"Cork\"\r\n\"A B\",\"\"\r\n");
}

TEST_F(TTransferCommand, RefusalsUsageAndMissingFiles)
{
    const std::string address = Path("ADD0001.DBF");
    Write("good.csv", "a,b\r\nc,d\r\n");
    ASSERT_EQ(Run({"import", address, "--new", "--csv", Path("good.csv"), "--map", "1=LNAME"}), 0);
    const QByteArray before = Read("ADD0001.DBF");

    Write("open.csv", "a\r\nb\r\n\"never closed\r\n");
    EXPECT_EQ(Run({"import", address, "--csv", Path("open.csv"), "--map", "1=LNAME"}), 1);
    EXPECT_NE(mErr.find("Line 3: a quoted value is never closed."), std::string::npos) << mErr;
    Write("one.csv", "only,one\r\n");
    EXPECT_EQ(Run({"import", address, "--csv", Path("one.csv"), "--map", "1=LNAME"}), 1);
    EXPECT_EQ(mErr, "Unable to import from this file\n");
    Write("bad.csv", QStringLiteral("x\r\n\u0141\r\n").toUtf8());
    EXPECT_EQ(Run({"import", address, "--csv", Path("bad.csv"), "--map", "1=LNAME"}), 1);
    EXPECT_NE(mErr.find("U+0141"), std::string::npos) << mErr;
    EXPECT_EQ(Read("ADD0001.DBF"), before);

    EXPECT_EQ(Run({"import", address, "--csv", Path("good.csv")}), 2); // no --map
    EXPECT_EQ(Run({"import", address, "--csv", Path("good.csv"), "--map", "1=Nowhere"}), 2);
    EXPECT_EQ(Run({"import", address, "--v2", Path("nothere.dbf")}), 3);
    EXPECT_EQ(Run({"import", address, "--v2", address}), 1);
    EXPECT_EQ(mErr, "Cannot import a file to itself\n");
    EXPECT_EQ(Run({"import", address, "--v1", Path("ADD0001.DBF")}), 1);
    EXPECT_EQ(Run({"import", Path("NEW.DBF"), "--new", "--v2", address}), 0)
        << mErr; // a 2.x-shaped file
    EXPECT_EQ(mOut, "Import complete. Imported 2 records.\n");
    Write("junk.dbf", QByteArray(700, '\x7f'));
    EXPECT_EQ(Run({"import", address, "--dbf", Path("junk.dbf")}), 3);
    EXPECT_NE(mErr.find("Unable to open the file"), std::string::npos) << mErr;
    EXPECT_EQ(Read("ADD0001.DBF"), before);
}

TEST_F(TTransferCommand, ExportsWithTheSaveRules)
{
    const std::string address = Path("ADD0001.DBF");
    Write("in.csv", "Zed,\"Q \"\"quoted\"\"\"\r\nAdam,Caf\xC3\xA9\r\n");
    ASSERT_EQ(Run({"import", address, "--new", "--csv", Path("in.csv"), "--map", "1=LNAME,2=ORG"}),
              0);

    ASSERT_EQ(Run({"export", address, "--csv", Path("out"), "--order", "lname"}), 0) << mErr;
    EXPECT_EQ(mOut, "Copied 2 records to " + Path("out.TXT") + ".\n");
    EXPECT_TRUE(
        Read("out.TXT").startsWith("\xEF\xBB\xBF\"\",\"\",\"\",\"Adam\",\"\",\"Caf\xC3\xA9\""));
    EXPECT_TRUE(Read("out.TXT").contains("\"Q \"\"quoted\"\"\""));
    EXPECT_EQ(Run({"export", address, "--csv", Path("out.TXT")}), 1); // exists
    ASSERT_EQ(Run({"export", address, "--csv", Path("out.TXT"), "--overwrite", "--encoding",
                   "windows-1252"}),
              0);
    EXPECT_TRUE(Read("out.TXT").startsWith("\"\",\"\",\"\",\"Zed\"")); // record order, no mark
    EXPECT_TRUE(Read("out.TXT").contains("Caf\xE9"));

    EXPECT_EQ(Run({"export", address, "--dbf", Path("copy.txt")}), 1);
    EXPECT_EQ(mErr, "Must have a .DBF extension\n");
    EXPECT_EQ(Run({"export", address, "--dbf", address, "--overwrite"}), 1);
    EXPECT_EQ(mErr, "Cannot copy a file to itself!\n");
    // Its memo file, and a table named like it in another case (which would take over its memo
    // and index files), are refused the same way, and the address file keeps its memo.
    const QByteArray memo = Read("ADD0001.FPT");
    ASSERT_FALSE(memo.isEmpty());
    EXPECT_EQ(Run({"export", address, "--csv", Path("add0001.fpt"), "--overwrite"}), 1);
    EXPECT_EQ(mErr, "Cannot copy a file to itself!\n");
    EXPECT_EQ(Run({"export", address, "--dbf", Path("add0001.dbf")}), 1);
    EXPECT_EQ(mErr, "Cannot copy a file to itself!\n");
    EXPECT_EQ(Read("ADD0001.FPT"), memo);
    ASSERT_EQ(Run({"export", address, "--dbf", Path("copy"), "--filter", "LNAME = \"Adam\""}), 0)
        << mErr;
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(Path("copy.DBF"))));
    ASSERT_EQ(Run({"table", "count", Path("copy.DBF"), "--query", ".T."}), 0);
    EXPECT_EQ(mOut, "1\n");
    EXPECT_EQ(Run({"export", address, "--dbf", Path("none.DBF"), "--filter", "LNAME = \"Nobody\""}),
              1);
    EXPECT_EQ(mErr, "No active records for current filter. Nothing to copy\n");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Path("none.DBF"))));
    EXPECT_EQ(Run({"export", address, "--dbf", Path("x.DBF"), "--order", "NOSUCHTAG"}), 2);
    EXPECT_EQ(Run({"export", address, "--csv", Path("x.TXT"), "--filter", "LNAME +"}), 2);
    EXPECT_EQ(Run({"export", address}), 2);
}

TEST_F(TTransferCommand, FailedWritesExitWith3AndKeepTheEarlierFiles)
{
    const std::string address = Path("ADD0001.DBF");
    Write("in.csv", "Smith,Boston\r\nJones,Cork\r\n");
    ASSERT_EQ(Run({"import", address, "--new", "--csv", Path("in.csv"), "--map", "1=LNAME,2=CITY"}),
              0);
    ASSERT_EQ(Run({"export", address, "--dbf", Path("OUT.DBF")}), 0);
    const QByteArray table = Read("OUT.DBF"), memo = Read("OUT.FPT");

    qm::xbase::TFileIoFaulty faulty(qm::xbase::TFileIoSystem::Native());
    faulty.SetMode(qm::xbase::TFileIoFaulty::TMode::Error);
    qm::xbase::TFileIoSystem::SetDefault(&faulty);
    // The second rename fails: the first gives the copy being built its name, the second would
    // start putting the finished copy in the earlier one's place.
    faulty.SetCounted(qm::xbase::kFaultRename);
    faulty.SetFailAt(2);
    const int exportCode = Run({"export", address, "--dbf", Path("OUT.DBF"), "--overwrite"});
    // The import's first appended record (after the index's out-of-date mark: two writes).
    faulty.SetCounted(qm::xbase::kFaultWrite);
    faulty.SetFailAt(faulty.Operations() + 3);
    const int importCode =
        Run({"import", address, "--csv", Path("in.csv"), "--map", "1=LNAME,2=CITY"});
    qm::xbase::TFileIoSystem::SetDefault(nullptr);

    EXPECT_EQ(exportCode, 3);
    EXPECT_EQ(Read("OUT.DBF"), table);
    EXPECT_EQ(Read("OUT.FPT"), memo);
    EXPECT_TRUE(QDir(mDir.path())
                    .entryList({".qm-copy-*", "OUT.*$"}, QDir::Files | QDir::Hidden)
                    .isEmpty());
    EXPECT_EQ(importCode, 3);
    EXPECT_NE(mOut.find("Unknown error writing to data file after importing 0 records."),
              std::string::npos)
        << mOut << mErr;
    // The index was rebuilt all the same: the file checks clean and holds its two records.
    ASSERT_EQ(Run({"table", "check", address}), 0) << mOut;
    ASSERT_EQ(Run({"table", "count", address, "--query", ".T."}), 0);
    EXPECT_EQ(mOut, "2\n");
}

TEST_F(TTransferCommand, ARefusedImportTakesBackTheAddressFileItsNewOptionMade)
{
    Write("in.csv", "Smith,Boston\r\nJones,Cork\r\n");
    const std::string address = Path("ADD0002.DBF");
    // A mapping the address file cannot take is refused after --new made the file.
    EXPECT_EQ(Run({"import", address, "--new", "--csv", Path("in.csv"), "--map", "1=DATE"}), 2);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(address)));
    EXPECT_TRUE(QDir(mDir.path()).entryList({"ADD0002.*"}, QDir::Files).isEmpty());
    // So the same command, mended, runs.
    ASSERT_EQ(Run({"import", address, "--new", "--csv", Path("in.csv"), "--map", "1=LNAME"}), 0)
        << mErr;
    EXPECT_EQ(QDir(mDir.path()).entryList({"ADD0002.*"}, QDir::Files).size(), 3);

    // A refusal without --new leaves the existing file and its neighbours alone.
    EXPECT_EQ(Run({"import", address, "--csv", Path("in.csv"), "--map", "1=DATE"}), 2);
    EXPECT_EQ(QDir(mDir.path()).entryList({"ADD0002.*"}, QDir::Files).size(), 3);
}

TEST_F(TTransferCommand, CsvColumnNamesAreFoundOrGivenAndMatchByName)
{
    Write("people.csv", "Given Name,Family Name,Home City\r\nAnn,Bell,Oslo\r\nBob,Crane,Rome\r\n");
    const std::string address = Path("ADD0001.DBF");
    ASSERT_EQ(Run({"import", address, "--new", "--csv", Path("people.csv")}), 0) << mErr;
    EXPECT_EQ(mOut, "The first line holds column names; it is not imported.\n"
                    "  Field 2 (Family Name) -> Last Name\n"
                    "  Field 1 (Given Name) -> First Name\n"
                    "  Field 3 (Home City) -> City\n"
                    "Import complete. Imported 2 records.\n"
                    "3 lines read formed 2 records after the line of column names.\n");
    // --map by column names; --no-header imports the first line as data.
    ASSERT_EQ(Run({"import", address, "--csv", Path("people.csv"), "--map", "home city=LNAME"}), 0)
        << mErr;
    ASSERT_EQ(
        Run({"import", address, "--csv", Path("people.csv"), "--no-header", "--map", "2=LNAME"}), 0)
        << mErr;
    EXPECT_EQ(mOut, "Import complete. Imported 3 records.\n3 lines read formed 3 records.\n");
    ASSERT_EQ(Run({"table", "dump", address}), 0) << mErr;
    for (const char* name : {"Bell", "Crane", "Oslo", "Rome", "Family Name"})
        EXPECT_NE(mOut.find(name), std::string::npos) << name << "\n" << mOut;

    // A first line of data is not taken for names: --map is needed, or --header to say so.
    Write("plain.csv", "Bell,Oslo\r\nCrane,Rome\r\n");
    EXPECT_EQ(Run({"import", address, "--csv", Path("plain.csv")}), 2);
    EXPECT_NE(mErr.find("does not name columns"), std::string::npos) << mErr;
    ASSERT_EQ(
        Run({"import", address, "--csv", Path("plain.csv"), "--header", "--map", "Bell=LNAME"}), 0)
        << mErr;
    EXPECT_NE(mOut.find("(--header)"), std::string::npos) << mOut;
    EXPECT_NE(mOut.find("Imported 1 records."), std::string::npos) << mOut;
    EXPECT_EQ(Run({"import", address, "--csv", Path("plain.csv"), "--header", "--no-header"}), 2);
    EXPECT_EQ(Run({"import", address, "--dbf", Path("plain.csv"), "--header"}), 2);
}

TEST_F(TTransferCommand, VCardsGoInAndOut)
{
    Write("in.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Anna;;;\r\nFN:Anna Berg\r\n"
                    "ADR;TYPE=home:;;1 Main St;Dover;DE;19901;USA\r\nTEL;TYPE=home:555\r\n"
                    "NOTE:Likes tea\r\nEND:VCARD\r\n"
                    "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Cole;Dan\r\nEMAIL;INTERNET:dan@example.org\r\n"
                    "END:VCARD\r\n");
    const std::string address = Path("ADD0001.DBF");
    ASSERT_EQ(Run({"import", address, "--new", "--vcard", Path("in.vcf")}), 0) << mErr;
    EXPECT_EQ(mOut, "Import complete. Imported 2 records.\n13 lines read formed 2 records.\n");
    EXPECT_EQ(Run({"import", address, "--vcard", Path("in.vcf"), "--map", "1=LNAME"}), 2);

    ASSERT_EQ(Run({"export", address, "--vcard", Path("OUT"), "--vcard-version", "4.0"}), 0)
        << mErr;
    EXPECT_EQ(mOut, "Copied 2 records to " + Path("OUT.vcf") + ".\n");
    const QByteArray out = Read("OUT.vcf");
    EXPECT_TRUE(out.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\nN:Berg;Anna;;;\r\n")) << out.data();
    EXPECT_TRUE(out.contains("NOTE:Likes tea\r\n"));
    EXPECT_TRUE(out.contains("EMAIL:dan@example.org\r\n"));
    EXPECT_EQ(Run({"export", address, "--vcard", Path("OUT.vcf")}), 1); // exists
    EXPECT_EQ(Run({"export", address, "--csv", Path("x.txt"), "--vcard-version", "3.0"}), 2);
    EXPECT_EQ(Run({"export", address, "--vcard", Path("y.vcf"), "--vcard-version", "2.1"}), 2);

    // A damaged card: refused naming its line, the address file as it was.
    Write("bad.vcf", "BEGIN:VCARD\r\nN:Ok;Fine\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:Not;Ended\r\n");
    const QByteArray before = Read("ADD0001.DBF");
    EXPECT_EQ(Run({"import", address, "--vcard", Path("bad.vcf")}), 1);
    EXPECT_NE(mErr.find("Line 4: the card that begins on this line has no END:VCARD."),
              std::string::npos)
        << mErr;
    EXPECT_EQ(Read("ADD0001.DBF"), before);
}
