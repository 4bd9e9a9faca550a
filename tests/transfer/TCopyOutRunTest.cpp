// Copying records out: the text file reads back (in Python's csv module and in the import), the
// DBF copy opens in other DBF software with its memos, stops keep what was copied, a failure
// leaves an earlier file untouched, and the Save As rules.

#include "transfer/TCopyOutRun.h"
#include "transfer/TCopyOutTarget.h"
#include "transfer/TCsvImportSource.h"
#include "transfer/TCsvSample.h"
#include "transfer/TImportRun.h"

#include "TTransferTestSupport.h"

#include "xbase/TCursor.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace qm::transfer;
using namespace qm::transfer::test;

namespace {

class TCopyOut : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto t = OpenTable(mAddress);
        const auto put = [&](const char* field, const char* value) {
            t->PutString(t->FieldIndex(field), value);
        };
        t->AppendBlank();
        put("LNAME", "M\xFCller");
        put("FNAME", "Anna");
        put("ORG", "Smith, Jones & Co");
        put("USER1", "She said \"hello\"");
        put("DATE", "20240131");
        put("MEMO", "8 chars!");
        t->Post();
        t->AppendBlank();
        put("LNAME", "Deleted");
        put("ISDEL", "T");
        t->SetDeleted(true);
        t->AppendBlank();
        put("LNAME", "Brown");
        put("STREET", "1 Main St");
        put("TAG", "ABC");
        put("MEMO", "line one\r\nline two");
        t->Post();
        t->Close();
    }
    QString Path(const QString& name) const { return QDir(mDir.path()).filePath(name); }

    TCopyOutOutcome Copy(const QString& target, TCopyTargetKind kind, bool utf8 = true,
                         const char* order = "LNAME", int stopAfter = -1)
    {
        auto table = OpenTable(mAddress);
        qm::xbase::TCursor cursor(*table);
        cursor.SelectTag(order);
        cursor.SetQuery("!ISDEL");
        const uint32_t total = cursor.Count();
        const auto after = [&](int64_t n, int) { return stopAfter >= 0 && n >= stopAfter; };
        TCopyOutOutcome outcome = kind == TCopyTargetKind::Dbf
                                      ? TCopyOutRun::CopyDbf(cursor, target, total, after)
                                      : TCopyOutRun::CopyText(cursor, target, utf8, total, after);
        table->Close();
        return outcome;
    }

    QTemporaryDir mDir;
    QString mAddress = MakeAddressFile(mDir);
};

} // namespace

TEST_F(TCopyOut, TheTextFileQuotesEveryFieldAndDoublesQuotes)
{
    const QString out = Path("OUT.TXT");
    const TCopyOutOutcome outcome = Copy(out, TCopyTargetKind::Text);
    EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
    EXPECT_EQ(outcome.copied, 2);
    const QByteArray bytes = ReadFile(out);
    EXPECT_EQ(bytes,
              QByteArray("\xEF\xBB\xBF"
                         "\"\",\"\",\"\",\"Brown\",\"\",\"\",\"1 Main "
                         "St\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
                         "\"\",\"Anna\",\"\",\"M\xC3\xBCller\",\"\",\"Smith, Jones & "
                         "Co\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"20240131\","
                         "\"She said \"\"hello\"\"\",\"\",\"\"\r\n"));

    // The older form for old software: Windows-1252, no mark.
    Copy(out, TCopyTargetKind::Text, false);
    EXPECT_TRUE(ReadFile(out).startsWith("\"\",\"\",\"\",\"Brown\""));
    EXPECT_TRUE(ReadFile(out).contains("M\xFCller"));

    // Python's csv module reads the UTF-8 copy with the exact values.
    Copy(out, TCopyTargetKind::Text);
    const std::string py = RunPython(mDir, R"PY(
import csv
with open('OUT.TXT', newline='', encoding='utf-8-sig') as f:
    rows = list(csv.reader(f))
print(len(rows), [len(r) for r in rows])
print(rows[1][3], '|', rows[1][5], '|', rows[1][16], '|', rows[1][17])
)PY");
    EXPECT_EQ(py, "2 [20, 20]\nMüller | Smith, Jones & Co | 20240131 | She said \"hello\"\n");
}

TEST_F(TCopyOut, ATextCopyImportsBackToTheSameRecords)
{
    const QString out = Path("ROUND.TXT");
    Copy(out, TCopyTargetKind::Text);
    const QString second = MakeAddressFile(mDir, "ADD0002.DBF");
    auto table = OpenTable(second);
    const TCsvSample sample = TCsvSample::FromFile(out);
    ASSERT_EQ(sample.FieldCount(), 20);
    TFieldMatch match(TFieldMatch::StandardTargets(*table, false), TFieldMatch::TextSources(20));
    ASSERT_TRUE(
        match
            .ApplyMap("1=PREFIX,2=FNAME,3=MIDDLE,4=LNAME,5=TITLE,6=ORG,7=STREET,8=STREET2,9=CITY,"
                      "10=STATE,11=ZIP,12=COUNTRY,13=PHONE,14=PHONE2,15=EMAIL,16=FAX,18=USER1,"
                      "19=USER2,20=CODES")
            .isEmpty());
    TCsvImportSource source(out, match, *table, sample.FieldCount());
    TImportRun run(*table, source);
    EXPECT_EQ(run.Import({}).imported, 2);
    table->Close();
    for (const char* field : {"LNAME", "FNAME", "ORG", "USER1", "STREET"}) {
        std::vector<std::string> expected = Column(mAddress, field);
        expected.erase(expected.begin() + 1);           // the deleted record was not copied
        std::reverse(expected.begin(), expected.end()); // copied in LNAME order
        EXPECT_EQ(Column(second, field), expected) << field;
    }
}

TEST_F(TCopyOut, TheDbfCopyOpensInOtherSoftwareWithItsMemos)
{
    const QString out = Path("COPY.DBF");
    const TCopyOutOutcome outcome = Copy(out, TCopyTargetKind::Dbf);
    EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
    EXPECT_EQ(Column(out, "LNAME"), (std::vector<std::string>{"Brown", "M\xFCller"}));
    EXPECT_EQ(Column(out, "TAG"), (std::vector<std::string>{"", ""}));
    EXPECT_FALSE(QFileInfo::exists(Path("COPY.CDX")));
    const std::string py = RunPython(mDir, R"PY(
import dbf, dbfread
t = dbfread.DBF('COPY.DBF', encoding='cp1252', ignore_missing_memofile=False)
for r in t:
    print(repr(r['LNAME']), repr(r['ORG']), repr(r['MEMO']), r['ISDEL'])
d = dbf.Table('COPY.DBF', codepage='cp1252')
d.open(dbf.READ_ONLY)
for r in d:
    print(repr(r.lname.rstrip()), repr(r.memo))
d.close()
)PY");
    EXPECT_EQ(py, "'Brown' '' 'line one\\r\\nline two' None\n"
                  "'Müller' 'Smith, Jones & Co' '8 chars! ' None\n"
                  "'Brown' 'line one\\r\\nline two'\n"
                  "'Müller' '8 chars! '\n");
}

TEST_F(TCopyOut, StoppingKeepsTheRecordsCopiedSoFar)
{
    {
        auto t = OpenTable(mAddress);
        for (int i = 0; i < 997; ++i) {
            t->AppendBlank();
            t->PutString(0, "Name" + std::to_string(i));
        }
        t->Close();
    }
    // 999 shown records plus... the table has 1000 records, one of them deleted: record order.
    const QString out = Path("PART.DBF");
    TCopyOutOutcome outcome = Copy(out, TCopyTargetKind::Dbf, true, "LNAME", 250);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.copied, 250);
    EXPECT_EQ(Column(out, "LNAME").size(), 250u);
    outcome = Copy(Path("PART.TXT"), TCopyTargetKind::Text, true, "LNAME", 250);
    EXPECT_EQ(ReadFile(Path("PART.TXT")).count("\r\n"), 250);
}

TEST_F(TCopyOut, OverwritingRemovesTheOldIndexAndAFailureLeavesTheOldFile)
{
    const QString out = Path("OLD.DBF");
    // An older copy with an index of its own.
    ASSERT_TRUE(Copy(out, TCopyTargetKind::Dbf).error.isEmpty());
    {
        auto t = OpenTable(out);
        t->AddTag("LNAME", "UPPER(LNAME)");
        t->Close();
    }
    ASSERT_TRUE(QFileInfo::exists(Path("OLD.CDX")));
    ASSERT_TRUE(Copy(out, TCopyTargetKind::Dbf).error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("OLD.CDX")));
    EXPECT_EQ(Column(out, "LNAME").size(), 2u);

    // Damage the address file's memo file: the copy fails on the last memo it reads.
    const QByteArray before = ReadFile(out);
    const QString memo = Path("ADD0001.FPT");
    QFile fpt(memo);
    ASSERT_TRUE(fpt.open(QIODevice::ReadWrite));
    fpt.resize(fpt.size() - 64);
    fpt.close();
    const TCopyOutOutcome failed = Copy(out, TCopyTargetKind::Dbf, true, "LNAME");
    EXPECT_TRUE(failed.error.startsWith("There was an error copying\r\n\r\n"))
        << failed.error.toStdString();
    EXPECT_EQ(ReadFile(out), before);
    EXPECT_EQ(QDir(mDir.path()).entryList({".qm-copy-*"}, QDir::Files | QDir::Hidden).size(), 0);

    // A folder that does not exist: the text copy reports it.
    const TCopyOutOutcome nowhere = Copy(Path("missing/OUT.TXT"), TCopyTargetKind::Text);
    EXPECT_TRUE(nowhere.error.startsWith("There was an error copying"))
        << nowhere.error.toStdString();
}

TEST(TCopyOutTarget, SaveAsRules)
{
    QTemporaryDir dir;
    const QString address = MakeAddressFile(dir);
    const QString other = QDir(dir.path()).filePath("OTHER.DBF");
    using V = TCopyOutTarget::TVerdict;
    EXPECT_EQ(
        TCopyOutTarget::Check(QDir(dir.path()).filePath("OUT.TXT"), TCopyTargetKind::Dbf, address)
            .message,
        QStringLiteral("Must have a .DBF extension"));
    EXPECT_EQ(TCopyOutTarget::Check(other, TCopyTargetKind::Dbf, address).verdict, V::Copy);
    EXPECT_EQ(
        TCopyOutTarget::Check(QDir(dir.path()).filePath("out.dbf"), TCopyTargetKind::Dbf, address)
            .verdict,
        V::Copy);
    EXPECT_EQ(TCopyOutTarget::Check(address, TCopyTargetKind::Dbf, address).message,
              QStringLiteral("Cannot copy a file to itself!"));
    // Another spelling of the same file is still itself.
    EXPECT_EQ(
        TCopyOutTarget::Check(dir.path() + "/./ADD0001.DBF", TCopyTargetKind::Dbf, address).verdict,
        V::Refused);
    // Its memo and index files are part of it, and a table named like it in another case would
    // take them over: a copy into any of these would destroy the address file's memos or index.
    for (const char* part : {"add0001.dbf", "ADD0001.FPT", "add0001.cdx", "Add0001.Dbt"})
        for (const TCopyTargetKind kind : {TCopyTargetKind::Dbf, TCopyTargetKind::Text})
            if (kind == TCopyTargetKind::Text || QString(part).endsWith(".dbf")) {
                EXPECT_EQ(
                    TCopyOutTarget::Check(QDir(dir.path()).filePath(part), kind, address).message,
                    QStringLiteral("Cannot copy a file to itself!"))
                    << part;
            }
    // The same base name with another extension, or in another folder, is another file.
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    EXPECT_EQ(TCopyOutTarget::Check(QDir(dir.path()).filePath("ADD0001.TXT"), TCopyTargetKind::Text,
                                    address)
                  .verdict,
              V::Copy);
    EXPECT_EQ(TCopyOutTarget::Check(QDir(dir.path()).filePath("sub/add0001.dbf"),
                                    TCopyTargetKind::Dbf, address)
                  .verdict,
              V::Copy);
    WriteFile(other, "x");
    const auto exists = TCopyOutTarget::Check(other, TCopyTargetKind::Dbf, address);
    EXPECT_EQ(exists.verdict, V::AskOverwrite);
    EXPECT_EQ(exists.message,
              other + QStringLiteral(" already exists.\r\nDo you want to overwrite it?"));
    EXPECT_EQ(TCopyOutTarget::WithDefaultExtension("OUT", TCopyTargetKind::Dbf),
              QStringLiteral("OUT.DBF"));
    EXPECT_EQ(TCopyOutTarget::WithDefaultExtension("OUT", TCopyTargetKind::Text),
              QStringLiteral("OUT.TXT"));
    EXPECT_EQ(TCopyOutTarget::WithDefaultExtension("OUT.csv", TCopyTargetKind::Text),
              QStringLiteral("OUT.csv"));
}
