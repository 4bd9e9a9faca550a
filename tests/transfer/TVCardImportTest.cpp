// The vCard import: cards of versions 2.1, 3.0 and 4.0 as address books write them (folded lines,
// grouped properties, parameters, quoted-printable in UTF-8 and ISO-8859-1, several addresses),
// the fields they fill and the memo that keeps the rest, and the refusals of the checking pass
// that leave the address file byte for byte as it was, bad input included.

#include "transfer/TImportRun.h"
#include "transfer/TTransferError.h"
#include "transfer/TVCardImportSource.h"
#include "transfer/TVCardReader.h"

#include "TTransferTestSupport.h"

#include <QElapsedTimer>
#include <QStringEncoder>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace qm::transfer;
using namespace qm::transfer::test;

namespace {

// The cards of one file, each as the fields it fills; the refusal when the file is refused.
std::vector<QMap<QString, QString>> Contacts(const std::string& bytes, QString* refusal = nullptr,
                                             bool utf8 = true)
{
    std::vector<QMap<QString, QString>> contacts;
    TMemoryByteSource source(bytes);
    TVCardReader reader(source, utf8);
    TVCard card;
    try {
        while (reader.Next(card)) {
            TVCardImportSource::CheckCharacters(card);
            contacts.push_back(TVCardImportSource::Contact(card));
        }
    } catch (const TTransferError& error) {
        if (refusal)
            *refusal = error.Message();
        else
            ADD_FAILURE() << error.Message().toStdString();
    }
    return contacts;
}

QString Refusal(const std::string& bytes)
{
    QString refusal;
    Contacts(bytes, &refusal);
    return refusal;
}

// Version 2.1 as older phones and Outlook write it: bare types, quoted-printable with soft line
// breaks, character sets.
const char* const kV21 =
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen;;Dr.;\r\n"
    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Dr. J=C3=BCrgen M=C3=BCller\r\n"
    "ORG:M=FCller GmbH\r\n"
    "ADR;WORK;PREF;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:;;Stra=DFe 1;K=F6ln;;50667;=\r\n"
    "Deutschland\r\n"
    "ADR;HOME:;;Weg 2;Bonn;;53111;Deutschland\r\n"
    "TEL;HOME;VOICE:0221 1234\r\n"
    "TEL;WORK;FAX:0221 9999\r\n"
    "TEL;CELL:0170 555\r\n"
    "NOTE;ENCODING=QUOTED-PRINTABLE:First line=0D=0ASecond line\r\n"
    "PHOTO;ENCODING=BASE64;TYPE=JPEG:/9j/4AAQSkZJRgABAQ\r\n"
    " AAAQABAAD/2wBDAAMCAgMCAgMDAwMEAwMEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQ\r\n"
    "\r\n"
    "END:VCARD\r\n";

// Version 3.0 as address books write it: folded lines, grouped properties, escaped commas and
// semicolons, TYPE lists, two addresses, three telephone numbers.
const char* const kV30 =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "PRODID:-//Example//Contacts 1.0//EN\r\n"
    "N:Berg;Anna;Maria;Ms.;PhD\r\n"
    "FN:Anna Berg\r\n"
    "ORG:Smith\\, Jones & Co;Sales\r\n"
    "TITLE:Buyer\r\n"
    "item1.ADR;type=WORK;type=pref:;Suite 5;1 Main St\\nFloor 2;Dover;DE;19901;USA\r\n"
    "item1.X-ABLabel:_$!<Work>!$_\r\n"
    "item2.ADR;TYPE=HOME:;;9 Oak Rd;Salem;OR;97301;USA\r\n"
    "TEL;TYPE=CELL,VOICE:+1 555 0100\r\n"
    "TEL;TYPE=WORK,VOICE:+1 555 0101\r\n"
    "TEL;TYPE=HOME,VOICE:+1 555 0102\r\n"
    "EMAIL;TYPE=INTERNET,HOME:anna@home.example\r\n"
    "EMAIL;TYPE=INTERNET,WORK,pref:anna@work.example\r\n"
    "NOTE:Met at the fair\\; likes tea\\, not coffee. This note is long enough to be fol\r\n"
    " ded over two lines.\r\n"
    "BDAY:1980-04-01\r\n"
    "CATEGORIES:Clients,VIP\r\n"
    "END:VCARD\r\n";

// Version 4.0: PREF parameters, quoted TYPE lists, tel: values, LF line ends.
const char* const kV40 = "BEGIN:VCARD\n"
                         "VERSION:4.0\n"
                         "FN:Lee Ng\n"
                         "N:Ng;Lee;;;\n"
                         "TEL;VALUE=uri;TYPE=\"voice,cell\";PREF=2:tel:+1-555-0200\n"
                         "TEL;VALUE=uri;TYPE=\"voice,work\";PREF=1:tel:+1-555-0201\n"
                         "EMAIL;PREF=2:lee@two.example\n"
                         "EMAIL;PREF=1:lee@one.example\n"
                         "ADR;TYPE=home;LABEL=\"1 A St\\nB\":;;1 A St;Bristol;;BS1;UK\n"
                         "PHOTO:data:image/png;base64,iVBORw0KGgo=\n"
                         "END:VCARD\n"
                         "BEGIN:VCARD\n"
                         "VERSION:4.0\n"
                         "FN:Acme Ltd\n"
                         "ORG:Acme Ltd\n"
                         "END:VCARD\n"
                         "BEGIN:VCARD\n"
                         "VERSION:4.0\n"
                         "FN:Just A Name\n"
                         "END:VCARD\n";

} // namespace

TEST(TVCardImport, Version21QuotedPrintableAndCharacterSets)
{
    const auto contacts = Contacts(kV21);
    ASSERT_EQ(contacts.size(), 1u);
    const auto& c = contacts[0];
    EXPECT_EQ(c["LNAME"], QString::fromUtf8("Müller"));
    EXPECT_EQ(c["FNAME"], QString::fromUtf8("Jürgen"));
    EXPECT_EQ(c["PREFIX"], "Dr.");
    EXPECT_EQ(c["ORG"], "M=FCller GmbH"); // not quoted-printable: as it stands
    // The preferred (work) address fills the fields; ISO-8859-1 with a soft line break.
    EXPECT_EQ(c["STREET"], QString::fromUtf8("Straße 1"));
    EXPECT_EQ(c["CITY"], QString::fromUtf8("Köln"));
    EXPECT_EQ(c["ZIP"], "50667");
    EXPECT_EQ(c["COUNTRY"], "Deutschland");
    EXPECT_EQ(c["PHONE"], "0221 1234");
    EXPECT_EQ(c["PHONE2"], "0170 555");
    EXPECT_EQ(c["FAX"], "0221 9999");
    EXPECT_EQ(c["MEMO"], "First line\r\nSecond line\n"
                         "Address (home): Weg 2, Bonn 53111, Deutschland");
}

TEST(TVCardImport, Version30FoldedGroupedWithSeveralAddresses)
{
    const auto contacts = Contacts(kV30);
    ASSERT_EQ(contacts.size(), 1u);
    const auto& c = contacts[0];
    EXPECT_EQ(c["LNAME"], "Berg");
    EXPECT_EQ(c["FNAME"], "Anna");
    EXPECT_EQ(c["MIDDLE"], "Maria");
    EXPECT_EQ(c["PREFIX"], "Ms.");
    EXPECT_EQ(c["ORG"], "Smith, Jones & Co, Sales");
    EXPECT_EQ(c["TITLE"], "Buyer");
    EXPECT_EQ(c["STREET"], "1 Main St");
    EXPECT_EQ(c["STREET2"], "Floor 2, Suite 5");
    EXPECT_EQ(c["CITY"], "Dover");
    EXPECT_EQ(c["STATE"], "DE");
    EXPECT_EQ(c["PHONE"], "+1 555 0102");       // home
    EXPECT_EQ(c["PHONE2"], "+1 555 0101");      // work
    EXPECT_EQ(c["EMAIL"], "anna@work.example"); // preferred
    EXPECT_EQ(c["CODES"], "Clients,VIP");
    EXPECT_EQ(c["MEMO"],
              "Met at the fair; likes tea, not coffee. This note is long enough to be folded over "
              "two lines.\n"
              "Name suffix: PhD\n"
              "Birthday: 1980-04-01\n"
              "Address (home): 9 Oak Rd, Salem OR 97301, USA\n"
              "Phone (cell, voice): +1 555 0100\n"
              "Email (home): anna@home.example");
}

TEST(TVCardImport, Version40PreferencesAndNamesFromFn)
{
    const auto contacts = Contacts(kV40);
    ASSERT_EQ(contacts.size(), 3u);
    EXPECT_EQ(contacts[0]["PHONE2"], "+1-555-0201"); // work
    EXPECT_EQ(contacts[0]["PHONE"], "+1-555-0200");  // the cell fills what is free
    EXPECT_EQ(contacts[0]["EMAIL"], "lee@one.example");
    EXPECT_EQ(contacts[0]["STREET"], "1 A St");
    EXPECT_EQ(contacts[0]["ZIP"], "BS1");
    EXPECT_EQ(contacts[0]["MEMO"], "Email: lee@two.example");
    // An organisation's card has no person's name; a card with only FN takes it as last name.
    EXPECT_EQ(contacts[1]["LNAME"], "");
    EXPECT_EQ(contacts[1]["ORG"], "Acme Ltd");
    EXPECT_EQ(contacts[2]["LNAME"], "Just A Name");
}

class TVCardImportRun : public ::testing::Test {
protected:
    QString Vcf(const QByteArray& bytes)
    {
        const QString path = QDir(mDir.path()).filePath(QStringLiteral("in.vcf"));
        WriteFile(path, bytes);
        return path;
    }
    TImportOutcome Import(const QString& path)
    {
        auto table = OpenTable(mAddress);
        TImportOutcome outcome;
        try {
            TVCardImportSource source(path, *table);
            TImportRun run(*table, source);
            outcome = run.Import({});
            if (outcome.changed) {
                EXPECT_EQ(run.Rebuild({}), QString());
            }
        } catch (const TTransferError& error) {
            outcome.refusal = error.Message();
        }
        table->Close();
        return outcome;
    }
    // The address file's own files, table, memo and index, as bytes.
    std::vector<QByteArray> Files() const
    {
        std::vector<QByteArray> bytes;
        for (const char* name : {"ADD0001.DBF", "ADD0001.FPT", "ADD0001.CDX"})
            bytes.push_back(ReadFile(QDir(mDir.path()).filePath(QLatin1String(name))));
        return bytes;
    }

    QTemporaryDir mDir;
    QString mAddress = MakeAddressFile(mDir);
};

TEST_F(TVCardImportRun, AppendsOneRecordPerCardWithTheMemo)
{
    const TImportOutcome outcome =
        Import(Vcf(QByteArray(kV30) + QByteArray(kV21) + QByteArray(kV40).replace("\n", "\r\n")));
    EXPECT_EQ(outcome.ClosingMessage(TImportKind::Ascii).toStdString(),
              "Import complete. Imported 5 records.\r\n"
              "56 lines read formed 5 records.\r\n"
              "1 value was cut to fit its field.");
    EXPECT_EQ(Column(mAddress, "LNAME"),
              (std::vector<std::string>{"Berg", "M\xFCller", "Ng", "", "Just A Name"}));
    EXPECT_EQ(Column(mAddress, "MIDDLE"), (std::vector<std::string>{"M", "", "", "", ""}));
    EXPECT_EQ(Column(mAddress, "STREET"), (std::vector<std::string>{"1 Main St",
                                                                    "Stra\xDF"
                                                                    "e 1",
                                                                    "1 A St", "", ""}));
    auto table = OpenTable(mAddress);
    table->Go(2);
    EXPECT_EQ(table->GetMemo(table->FieldIndex("MEMO")),
              "First line\r\nSecond line\r\nAddress (home): Weg 2, Bonn 53111, Deutschland");
    table->Close();
}

TEST_F(TVCardImportRun, RefusalsNameTheLineAndChangeNothing)
{
    {
        auto table = OpenTable(mAddress);
        table->AppendBlank();
        table->PutString(0, "Kept");
        table->Post();
        table->Close();
    }
    const std::vector<QByteArray> before = Files();
    const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;B;;;\r\nEND:VCARD\r\n";
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {QByteArray::fromStdString(card + card) +
             "BEGIN:VCARD\r\nN:Broken\r\nthis is no property\r\nEND:VCARD\r\n",
         "Line 11: this line of the card that begins on line 9 is not a vCard property (it has "
         "no colon)."},
        {QByteArray::fromStdString(card) + "BEGIN:VCARD\r\nN:No;End\r\n",
         "Line 5: the card that begins on this line has no END:VCARD."},
        {"BEGIN:VCARD\r\nN:A;B\r\nBEGIN:VCARD\r\nN:C;D\r\nEND:VCARD\r\n",
         "Line 3: a card begins inside the card that begins on line 1, which has no END:VCARD."},
        {QByteArray::fromStdString(card) + "junk\x01\x02\xFF\r\n",
         "Line 5: this line stands outside a card; a vCard file holds cards from BEGIN:VCARD to "
         "END:VCARD."},
        {"\r\n\r\n", "The file holds no vCard (no line BEGIN:VCARD)."},
        {QByteArray::fromStdString(card) + "BEGIN:VCARD\r\nN:Nowak;Łucja;;;\r\nEND:VCARD\r\n",
         "The character U+0141 (Ł) in the card on line 5, property N (line 6), cannot be stored in "
         "the address file, which holds Windows-1252 text."},
        {"BEGIN:VCARD\r\nN;CHARSET=X-NOBODY;ENCODING=QUOTED-PRINTABLE:A=41\r\nEND:VCARD\r\n",
         "Line 2: the character set X-NOBODY is not known."},
    };
    for (const auto& [bytes, refusal] : cases) {
        const TImportOutcome outcome = Import(Vcf(bytes));
        EXPECT_EQ(outcome.refusal, refusal) << bytes.toStdString();
        EXPECT_FALSE(outcome.changed);
        EXPECT_TRUE(Files() == before) << bytes.toStdString();
    }
    // UTF-16 without a byte-order mark is refused as the text import refuses it.
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    const QByteArray wide = utf16(QString::fromStdString(card + card));
    const TImportOutcome outcome = Import(Vcf(wide));
    EXPECT_TRUE(outcome.refusal.contains(QStringLiteral("UTF-16")))
        << outcome.refusal.toStdString();
    EXPECT_TRUE(Files() == before);
}

TEST_F(TVCardImportRun, HugeLinesAndManyCardsStayWithinBounds)
{
    // A 10 MB photo is skipped unread; a 10 MB note is refused naming its line.
    const std::string big(10 << 20, 'A');
    const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;B;;;\r\nEND:VCARD\r\n";
    std::string photo =
        card + "BEGIN:VCARD\r\nN:Pic;Ture;;;\r\nPHOTO;ENCODING=b:" + big + "\r\nEND:VCARD\r\n";
    EXPECT_EQ(Contacts(photo).size(), 2u);
    std::string unknown = "BEGIN:VCARD\r\nX-HUGE:" + big + "\r\nN:X;Y;;;\r\nEND:VCARD\r\n";
    EXPECT_EQ(Contacts(unknown).size(), 1u);
    EXPECT_EQ(Refusal(card + "BEGIN:VCARD\r\nNOTE:" + big + "\r\nEND:VCARD\r\n"),
              "Line 6: the NOTE of the card that begins on line 5 is longer than 1 MB.");

    // 100,000 cards import in linear time and bounded memory.
    std::string many;
    many.reserve(100000 * 120);
    for (int i = 0; i < 100000; ++i)
        many += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Name" + std::to_string(i) +
                ";First;;;\r\nTEL;TYPE=home:555\r\nADR:;;1 Main St;Town;;12345;\r\nEND:VCARD\r\n";
    QElapsedTimer timer;
    timer.start();
    const TImportOutcome outcome = Import(Vcf(QByteArray::fromStdString(many)));
    EXPECT_EQ(outcome.imported, 100000);
    EXPECT_LT(timer.elapsed(), 60000);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 256 * 1024) << "KiB";
    EXPECT_EQ(Column(mAddress, "LNAME").back(), "Name99999");
}
