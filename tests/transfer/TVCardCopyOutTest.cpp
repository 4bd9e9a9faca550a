// The vCard copy: every field it carries comes back the same through the vCard import (versions
// 3.0 and 4.0), another vCard reader (Python's vobject) reads the values we wrote, long lines are
// folded whole, a stop keeps the cards so far, a failure leaves an earlier file as it was.

#include "transfer/TVCardCopyOut.h"
#include "transfer/TCopyOutTarget.h"
#include "transfer/TImportRun.h"
#include "transfer/TStoredMemo.h"
#include "transfer/TVCardImportSource.h"

#include "TTransferTestSupport.h"

#include "xbase/TCursor.h"

#include <gtest/gtest.h>

using namespace qm::transfer;
using namespace qm::transfer::test;

namespace {

const char* const kFields[] = {"LNAME",   "FNAME", "MIDDLE", "PREFIX", "TITLE",   "ORG",   "STREET",
                               "STREET2", "CITY",  "STATE",  "ZIP",    "COUNTRY", "PHONE", "PHONE2",
                               "FAX",     "EMAIL", "CODES",  "USER1",  "USER2",   "DATE"};

class TVCardCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto t = OpenTable(mAddress);
        const auto put = [&](const char* field, const std::string& value) {
            t->PutString(t->FieldIndex(field), value);
        };
        t->AppendBlank();
        put("LNAME", "M\xFCller, Jr.");
        put("FNAME", "Anna");
        put("MIDDLE", "B");
        put("PREFIX", "Dr.");
        put("TITLE", "Head; Sales");
        put("ORG", "Smith, Jones & Co \\ Partners");
        put("STREET", "1 Main St, Apt 3");
        put("STREET2", "Building \x80");
        put("CITY", "K\xF6ln");
        put("STATE", "NRW");
        put("ZIP", "50667");
        put("COUNTRY", "Germany");
        put("PHONE", "+49 221 1234");
        put("PHONE2", "+49 221 5678");
        put("FAX", "+49 221 9999");
        put("EMAIL", "anna@example.org");
        put("CODES", "VIP,Clients");
        put("USER1", "Comment: one");
        put("USER2", "two");
        put("DATE", "20240131");
        // As the imports store memos.
        std::string memo =
            "Line one, with a comma; and a semicolon.\r\nLine two is long enough "
            "to be folded somewhere in the middle of the card \xE9\xE9\xE9\xE9\xE9.\r\n";
        TStoredMemo::Apply(memo);
        put("MEMO", memo);
        t->Post();
        t->AppendBlank(); // only a work number and an organisation
        put("ORG", "Acme Ltd");
        put("PHONE2", "555-0101");
        t->Post();
        t->AppendBlank(); // nothing at all
        t->Post();
        t->Close();
    }
    QString Path(const QString& name) const { return QDir(mDir.path()).filePath(name); }

    TCopyOutOutcome Copy(const QString& target, TVCardVersion version, int stopAfter = -1)
    {
        auto table = OpenTable(mAddress);
        qm::xbase::TCursor cursor(*table);
        const auto after = [&](int64_t n, int) { return stopAfter >= 0 && n >= stopAfter; };
        TCopyOutOutcome outcome =
            TVCardCopyOut::Copy(cursor, target, version, uint32_t(table->RecordCount()), after);
        table->Close();
        return outcome;
    }

    // Every field and the memo of every record, as stored.
    static std::vector<std::vector<std::string>> Records(const QString& path)
    {
        std::vector<std::vector<std::string>> records;
        auto table = OpenTable(path);
        for (uint32_t r = 1; r <= table->RecordCount(); ++r) {
            table->Go(r);
            std::vector<std::string> values;
            for (const char* field : kFields)
                values.push_back(std::string(table->GetTrimmed(table->FieldIndex(field))));
            values.push_back(table->GetMemo(table->FieldIndex("MEMO")));
            records.push_back(values);
        }
        table->Close();
        return records;
    }

    QTemporaryDir mDir;
    QString mAddress = MakeAddressFile(mDir);
};

} // namespace

TEST_F(TVCardCopy, EveryFieldComesBackThroughTheImport)
{
    for (const TVCardVersion version : {TVCardVersion::V30, TVCardVersion::V40}) {
        const QString vcf = Path(version == TVCardVersion::V30 ? "out30.vcf" : "out40.vcf");
        const TCopyOutOutcome outcome = Copy(vcf, version);
        ASSERT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
        EXPECT_EQ(outcome.copied, 3);
        // Lines of at most 75 bytes, CR LF, UTF-8.
        const QByteArray bytes = ReadFile(vcf);
        for (const QByteArray& line : bytes.split('\n'))
            EXPECT_LE(line.size(), 76) << line.toStdString();
        EXPECT_TRUE(bytes.contains("K\xC3\xB6ln"));
        EXPECT_TRUE(
            bytes.contains(version == TVCardVersion::V30 ? "VERSION:3.0\r\n" : "VERSION:4.0\r\n"));

        const QString back =
            MakeAddressFile(mDir, version == TVCardVersion::V30 ? "BACK30.DBF" : "BACK40.DBF");
        auto table = OpenTable(back);
        TVCardImportSource source(vcf, *table);
        TImportRun run(*table, source);
        const TImportOutcome imported = run.Import({});
        EXPECT_EQ(imported.imported, 3);
        EXPECT_EQ(imported.cut, 0);
        table->Close();
        EXPECT_EQ(Records(back), Records(mAddress));
    }
}

TEST_F(TVCardCopy, AnotherReaderReadsTheValuesWritten)
{
    ASSERT_TRUE(Copy(Path("out.vcf"), TVCardVersion::V30).error.isEmpty());
    const std::string out = RunPython(mDir, R"(
import vobject
with open('out.vcf', encoding='utf-8', newline='') as f:
    cards = list(vobject.readComponents(f.read()))
print(len(cards))
c = cards[0]
n = c.n.value
print(repr((n.family, n.given, n.additional, n.prefix)))
print(repr(c.fn.value))
print(repr(c.org.value))
print(repr(c.title.value))
a = c.adr.value
print(repr((a.street, a.city, a.region, a.code, a.country)))
print(repr(sorted((t.params.get('TYPE'), t.value) for t in c.contents['tel'])))
print(repr(c.email.value))
print(repr(c.categories.value))
print(repr(c.note.value))
print(repr(c.contents['x-quillmark-comment1'][0].value))
print(repr(cards[1].org.value), repr(cards[1].tel.value))
)");
    EXPECT_EQ(out,
              "3\n"
              "('Müller, Jr.', 'Anna', 'B', 'Dr.')\n"
              "'Dr. Anna B Müller, Jr.'\n"
              "['Smith, Jones & Co \\\\ Partners']\n"
              "'Head; Sales'\n"
              "('1 Main St, Apt 3\\nBuilding €', 'Köln', 'NRW', '50667', 'Germany')\n"
              "[(['fax'], '+49 221 9999'), (['home', 'voice', 'pref'], '+49 221 1234'), "
              "(['work', 'voice'], '+49 221 5678')]\n"
              "'anna@example.org'\n"
              "['VIP', 'Clients']\n"
              "'Line one, with a comma; and a semicolon.\\nLine two is long enough to be folded "
              "somewhere in the middle of the card ééééé.\\n'\n"
              "'Comment: one'\n"
              "['Acme Ltd'] '555-0101'\n");
}

TEST_F(TVCardCopy, AStopKeepsTheCardsSoFarAndAFailureKeepsTheOldFile)
{
    const QString vcf = Path("stop.vcf");
    const TCopyOutOutcome stopped = Copy(vcf, TVCardVersion::V30, 2);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(ReadFile(vcf).count("BEGIN:VCARD"), 2);

    // A folder that is not there: refused, and an earlier file of that name elsewhere untouched.
    WriteFile(Path("old.vcf"), "old");
    const TCopyOutOutcome failed = Copy(Path("missing/old.vcf"), TVCardVersion::V30);
    EXPECT_TRUE(failed.error.startsWith("There was an error copying"))
        << failed.error.toStdString();
    EXPECT_EQ(ReadFile(Path("old.vcf")), "old");
    EXPECT_EQ(TCopyOutTarget::WithDefaultExtension("CARDS", TCopyTargetKind::VCard), "CARDS.vcf");
}
