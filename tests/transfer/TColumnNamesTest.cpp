// Text files whose first line names the columns, as other programs export addresses: the header
// found (and data lines not taken for one), the columns matched by name, the first line left out
// of the import. The fixtures use the column names and quoting of each program's export.

#include "transfer/TColumnNames.h"
#include "transfer/TCsvImportSource.h"
#include "transfer/TCsvSample.h"
#include "transfer/TImportRun.h"

#include "TTransferTestSupport.h"
#include "data/TAddressFileLayout.h"

#include <QMap>
#include <gtest/gtest.h>

using namespace qm::transfer;
using namespace qm::transfer::test;

namespace {

// Each program's export, a header and one contact.
const char* const kGoogle =
    "First Name,Middle Name,Last Name,Phonetic First Name,Phonetic Middle Name,Phonetic Last "
    "Name,Name Prefix,Name Suffix,Nickname,File As,Organization Name,Organization Title,"
    "Organization Department,Birthday,Notes,Photo,Labels,E-mail 1 - Label,E-mail 1 - Value,"
    "Phone 1 - Label,Phone 1 - Value,Phone 2 - Label,Phone 2 - Value,Address 1 - Label,"
    "Address 1 - Formatted,Address 1 - Street,Address 1 - City,Address 1 - PO Box,"
    "Address 1 - Region,Address 1 - Postal Code,Address 1 - Country,Address 1 - Extended "
    "Address\r\n"
    "Anna,,Berg,,,,Dr.,,,,Acme Ltd,Buyer,,1980-04-01,,,* myContacts,* Home,anna@example.org,"
    "Mobile,+1 555 0100,Work,+1 555 0101,Home,\"12 Elm St\nSpringfield, IL 62701\",12 Elm St,"
    "Springfield,,IL,62701,USA,Flat 3\r\n";

const char* const kOutlook =
    "\"Title\",\"First Name\",\"Middle Name\",\"Last Name\",\"Suffix\",\"Company\",\"Department\","
    "\"Job Title\",\"Business Street\",\"Business City\",\"Business State\",\"Business Postal "
    "Code\",\"Business Country/Region\",\"Home Street\",\"Home City\",\"Home State\",\"Home "
    "Postal Code\",\"Home Country/Region\",\"Business Fax\",\"Business Phone\",\"Home Phone\","
    "\"Mobile Phone\",\"Categories\",\"E-mail Address\",\"E-mail Type\",\"Notes\"\r\n"
    "\"Mr.\",\"Carl\",\"J\",\"Dunn\",\"\",\"Dunn & Co\",\"\",\"Owner\",\"1 Main St\",\"Dover\","
    "\"DE\",\"19901\",\"United States of America\",\"9 Oak Rd\",\"Dover\",\"DE\",\"19904\","
    "\"United States of America\",\"302-555-0199\",\"302-555-0111\",\"302-555-0122\",\"\","
    "\"Friends;VIP\",\"carl@example.com\",\"SMTP\",\"\"\r\n";

const char* const kThunderbird =
    "First Name,Last Name,Display Name,Nickname,Primary Email,Secondary Email,Screen Name,Work "
    "Phone,Home Phone,Fax Number,Pager Number,Mobile Number,Home Address,Home Address 2,Home City,"
    "Home State,Home ZipCode,Home Country,Work Address,Work Address 2,Work City,Work State,Work "
    "ZipCode,Work Country,Job Title,Department,Organization,Web Page 1,Web Page 2,Birth Year,Birth "
    "Month,Birth Day,Custom 1,Custom 2,Custom 3,Custom 4,Notes,\r\n"
    "Eva,Fox,Eva Fox,,eva@example.net,,,555-2000,555-1000,,,,4 Pine Ave,,Salem,OR,97301,USA,,,,,"
    ",,,,Fox Labs,,,,,,,,,,,\r\n";

const char* const kApple =
    "\"Prefix\",\"First\",\"Middle\",\"Last\",\"Suffix\",\"Company\",\"Job Title\",\"Email\","
    "\"Phone\",\"Street\",\"City\",\"State\",\"ZIP\",\"Country\"\r\n"
    "\"Ms.\",\"Gail\",\"\",\"Hale\",\"\",\"\",\"Editor\",\"gail@example.com\",\"(555) 123-4567\","
    "\"5 Bay St\",\"Cupertino\",\"CA\",\"95014\",\"USA\"\r\n";

const char* const kLibreOffice =
    "Title,First Name,Last Name,Company Name,Address Line 1,Address Line 2,City,State,ZIP,Country,"
    "Telephone private,Telephone business,E-mail Address\r\n"
    "Mrs.,Ida,Irwin,,7 Lake Rd,Apt 2,Austin,TX,73301,USA,512-555-0100,,ida@example.com\r\n";

class TColumnNamesTest : public ::testing::Test {
protected:
    // The matches made for a file's first line: target field name -> column name.
    QMap<QString, QString> Matched(const char* csv)
    {
        const QString path = QDir(mDir.path()).filePath(QStringLiteral("in.csv"));
        WriteFile(path, csv);
        const TCsvSample sample = TCsvSample::FromFile(path);
        EXPECT_TRUE(sample.Usable()) << sample.Error().toStdString();
        TFieldMatch match(TFieldMatch::StandardTargets(*mTable, false),
                          TFieldMatch::TextSources(sample.FieldCount()));
        mHeader = TColumnNames::Shipped().IsHeader(sample.Rows().front(), match.Targets());
        TColumnNames::Shipped().MatchByName(match, sample.Rows().front());
        QMap<QString, QString> matched;
        for (size_t row = 0; row < match.Targets().size(); ++row)
            if (const int source = match.SourceOf(int(row)); source >= 0)
                matched[match.Targets()[row].field] = sample.Rows().front()[source];
        return matched;
    }

    QTemporaryDir mDir;
    std::unique_ptr<qm::xbase::TTable> mTable = OpenTable(MakeAddressFile(mDir));
    bool mHeader = false;
};

} // namespace

TEST_F(TColumnNamesTest, TheShippedTableReadsWholeAndNamesAddressFields)
{
    const TColumnNames& names = TColumnNames::Shipped();
    EXPECT_EQ(names.Skipped(), 0);
    ASSERT_GT(names.Entries().size(), 50u);
    for (const TColumnNames::TEntry& entry : names.Entries())
        EXPECT_GE(mTable->FieldIndex(entry.field.toStdString()), 0) << entry.field.toStdString();

    const TColumnNames parsed =
        TColumnNames::Parse("# comment\ncolumn,field,when\n\n Given   NAME ,fname\nbad line\n");
    ASSERT_EQ(parsed.Entries().size(), 1u);
    EXPECT_EQ(parsed.Entries()[0].name, QStringLiteral("given name"));
    EXPECT_EQ(parsed.Entries()[0].field, QStringLiteral("FNAME"));
    EXPECT_EQ(parsed.Skipped(), 1);
}

TEST_F(TColumnNamesTest, EachProgramsExportIsFoundAndMatchedByName)
{
    QMap<QString, QString> m = Matched(kGoogle);
    EXPECT_TRUE(mHeader);
    EXPECT_EQ(m.value("FNAME"), "First Name");
    EXPECT_EQ(m.value("LNAME"), "Last Name");
    EXPECT_EQ(m.value("MIDDLE"), "Middle Name");
    EXPECT_EQ(m.value("PREFIX"), "Name Prefix");
    EXPECT_EQ(m.value("ORG"), "Organization Name");
    EXPECT_EQ(m.value("TITLE"), "Organization Title");
    EXPECT_EQ(m.value("STREET"), "Address 1 - Street");
    EXPECT_EQ(m.value("STREET2"), "Address 1 - Extended Address");
    EXPECT_EQ(m.value("ZIP"), "Address 1 - Postal Code");
    EXPECT_EQ(m.value("PHONE"), "Phone 1 - Value");
    EXPECT_EQ(m.value("PHONE2"), "Phone 2 - Value");
    EXPECT_EQ(m.value("EMAIL"), "E-mail 1 - Value");
    EXPECT_EQ(m.value("CODES"), "Labels");
    EXPECT_FALSE(m.contains("USER1")); // nothing there to fill them
    EXPECT_FALSE(m.contains("FAX"));

    // Outlook's "Title" is the salutation; its home address comes before the business one.
    m = Matched(kOutlook);
    EXPECT_TRUE(mHeader);
    EXPECT_EQ(m.value("PREFIX"), "Title");
    EXPECT_EQ(m.value("TITLE"), "Job Title");
    EXPECT_EQ(m.value("ORG"), "Company");
    EXPECT_EQ(m.value("STREET"), "Home Street");
    EXPECT_EQ(m.value("CITY"), "Home City");
    EXPECT_EQ(m.value("ZIP"), "Home Postal Code");
    EXPECT_EQ(m.value("COUNTRY"), "Home Country/Region");
    EXPECT_EQ(m.value("PHONE"), "Home Phone");
    EXPECT_EQ(m.value("PHONE2"), "Business Phone");
    EXPECT_EQ(m.value("FAX"), "Business Fax");
    EXPECT_EQ(m.value("EMAIL"), "E-mail Address");
    EXPECT_EQ(m.value("CODES"), "Categories");

    m = Matched(kThunderbird);
    EXPECT_TRUE(mHeader);
    EXPECT_EQ(m.value("EMAIL"), "Primary Email");
    EXPECT_EQ(m.value("PHONE"), "Home Phone");
    EXPECT_EQ(m.value("PHONE2"), "Work Phone");
    EXPECT_EQ(m.value("FAX"), "Fax Number");
    EXPECT_EQ(m.value("STREET"), "Home Address");
    EXPECT_EQ(m.value("ZIP"), "Home ZipCode");
    EXPECT_EQ(m.value("ORG"), "Organization");

    m = Matched(kApple);
    EXPECT_TRUE(mHeader);
    EXPECT_EQ(m.value("PREFIX"), "Prefix");
    EXPECT_EQ(m.value("FNAME"), "First");
    EXPECT_EQ(m.value("LNAME"), "Last");
    EXPECT_EQ(m.value("TITLE"), "Job Title");
    EXPECT_EQ(m.value("PHONE"), "Phone");
    EXPECT_EQ(m.value("STREET"), "Street");

    // LibreOffice's address list calls the salutation "Title" too.
    m = Matched(kLibreOffice);
    EXPECT_TRUE(mHeader);
    EXPECT_EQ(m.value("PREFIX"), "Title");
    EXPECT_FALSE(m.contains("TITLE"));
    EXPECT_EQ(m.value("STREET"), "Address Line 1");
    EXPECT_EQ(m.value("STREET2"), "Address Line 2");
    EXPECT_EQ(m.value("PHONE"), "Telephone private");
    EXPECT_EQ(m.value("PHONE2"), "Telephone business");
}

TEST_F(TColumnNamesTest, DataLinesAndUnknownNamesAreNoHeader)
{
    const auto targets = TFieldMatch::StandardTargets(*mTable, false);
    const TColumnNames& names = TColumnNames::Shipped();
    EXPECT_FALSE(names.IsHeader({"Smith", "John", "Boston"}, targets));
    EXPECT_FALSE(names.IsHeader({"Last Name", "First Name", "02134"}, targets)); // a number
    EXPECT_FALSE(names.IsHeader({"Last Name", "First Name", "555-0100"}, targets));
    EXPECT_FALSE(names.IsHeader({"Last Name", "Shoe size"}, targets)); // one known name
    EXPECT_TRUE(names.IsHeader({"last  name", "", "CITY", "Shoe size"}, targets));

    // This program's own labels, also as the main window shows them after a change, and field
    // names; a column naming nothing stays unmatched.
    auto relabelled = TFieldMatch::AddressTargets(
        *mTable,
        [](const QString& field) {
            return TFieldMatch::TLabel{field == "USER1" ? "Birthday" : field, true};
        },
        false);
    TFieldMatch match(relabelled, TFieldMatch::TextSources(4));
    const QStringList header = {"Birthday", "lname", "Shoe size", "zip"};
    EXPECT_TRUE(names.IsHeader(header, relabelled));
    EXPECT_EQ(names.MatchByName(match, header), 3);
    EXPECT_EQ(match.Targets()[size_t(match.RowOf(0))].field, QStringLiteral("USER1"));
    EXPECT_EQ(match.Targets()[size_t(match.RowOf(1))].field, QStringLiteral("LNAME"));
    EXPECT_EQ(match.RowOf(2), -1);

    // Matches made before stay: the name match fills only what is free.
    TFieldMatch kept(TFieldMatch::StandardTargets(*mTable, false), TFieldMatch::TextSources(2));
    kept.Assign(8, 0); // City takes the first column
    EXPECT_EQ(names.MatchByName(kept, {"Last Name", "First Name"}), 1);
    EXPECT_EQ(kept.RowOf(0), 8);
    EXPECT_EQ(kept.Targets()[size_t(kept.RowOf(1))].field, QStringLiteral("FNAME"));
}

TEST_F(TColumnNamesTest, TheHeaderIsLeftOutAndMapsNameColumns)
{
    const QString address = MakeAddressFile(mDir, QStringLiteral("ADD0002.DBF"));
    const QString path = QDir(mDir.path()).filePath(QStringLiteral("outlook.csv"));
    // A column name the address file cannot hold does not matter: the line is not imported.
    WriteFile(path, QByteArray(kOutlook).replace("\"Notes\"", "\"Заметки\"") +
                        "\"\",\"Dora\",\"\",\"Eck\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
                        "\"\",\"Kent\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
    const TCsvSample sample = TCsvSample::FromFile(path);
    auto table = OpenTable(address);
    TFieldMatch match(TFieldMatch::StandardTargets(*table, false),
                      TFieldMatch::TextSources(sample.FieldCount()));
    match.SetColumnNames(sample.Rows().front());
    ASSERT_EQ(match.ApplyMap("last name=LNAME,First Name=First Name,home city=City,3=MIDDLE"),
              QString());
    EXPECT_EQ(match.Sources()[1].Shown(), QStringLiteral("Field 2 (First Name)"));
    TCsvImportSource source(path, match, *table, sample.FieldCount());
    source.SetHeaderLine(true);
    TImportRun run(*table, source);
    const TImportOutcome outcome = run.Import({});
    EXPECT_EQ(outcome.ClosingMessage(TImportKind::Ascii),
              QStringLiteral("Import complete. Imported 2 records.\r\n3 lines read formed 2 "
                             "records after the line of column names."));
    EXPECT_EQ(run.Rebuild({}), QString());
    table->Close();
    EXPECT_EQ(Column(address, "LNAME"), (std::vector<std::string>{"Dunn", "Eck"}));
    EXPECT_EQ(Column(address, "FNAME"), (std::vector<std::string>{"Carl", "Dora"}));
    EXPECT_EQ(Column(address, "CITY"), (std::vector<std::string>{"Dover", "Kent"}));
    EXPECT_EQ(Column(address, "MIDDLE"), (std::vector<std::string>{"J", ""}));
}
