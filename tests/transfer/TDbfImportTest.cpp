// Importing other tables and the address files of earlier versions: presets, memo and date rows,
// code pages, the stored-memo rule, 1.x dates, the deletion mark of 2.x records, refusals.

#include "transfer/TDbfImportSource.h"
#include "transfer/TFileIdentity.h"
#include "transfer/TImportRun.h"
#include "transfer/TOlderDate.h"
#include "transfer/TOlderImportSource.h"
#include "transfer/TStoredMemo.h"
#include "transfer/TTransferError.h"

#include "TTransferTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace qm::transfer;
using namespace qm::transfer::test;
using qm::xbase::TFieldDef;
using qm::xbase::TFieldType;

namespace {

std::vector<TFieldDef> CharFields(const std::vector<const char*>& names)
{
    std::vector<TFieldDef> defs;
    for (const char* name : names)
        defs.push_back({name, TFieldType::Character, 20, 0});
    return defs;
}

void SetCodePageMark(const QString& path, char mark)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(29);
    file.write(&mark, 1);
}

struct TResult {
    TImportOutcome outcome;
    QString refusal;
};

TResult RunImport(const QString& address, TImportSource& source)
{
    auto table = OpenTable(address);
    TImportRun run(*table, source);
    TResult r;
    r.outcome = run.Import({});
    if (r.outcome.changed) {
        EXPECT_TRUE(run.Rebuild({}).isEmpty());
    }
    table->Close();
    return r;
}

TResult ImportDbf(const QString& address, const QString& sourcePath, const QString& map = {})
{
    TDbfSourceTable source(sourcePath);
    auto table = OpenTable(address);
    TFieldMatch match(TFieldMatch::StandardTargets(*table, true),
                      TFieldMatch::TableSources(source.Table()));
    if (map.isEmpty()) {
        match.Preset();
    } else {
        EXPECT_TRUE(match.ApplyMap(map).isEmpty()) << match.ApplyMap(map).toStdString();
    }
    TDbfImportSource importSource(source, match, *table);
    table->Close();
    return RunImport(address, importSource);
}

TResult ImportOlder(const QString& address, const QString& sourcePath,
                    TOlderImportSource::TVersion version)
{
    TDbfSourceTable source(sourcePath);
    auto table = OpenTable(address);
    TOlderImportSource importSource(source, version, *table);
    table->Close();
    return RunImport(address, importSource);
}

class TDbfImport : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return QDir(mDir.path()).filePath(name); }
    QTemporaryDir mDir;
    QString mAddress = MakeAddressFile(mDir);
};

} // namespace

TEST_F(TDbfImport, PresetsMemoAndDateRowsAndDeletedRecordsSkipped)
{
    const QString src = Path("OTHER.DBF");
    {
        auto t =
            qm::xbase::TTable::Create(src.toStdString(), {{"CITY", TFieldType::Character, 20, 0},
                                                          {"SURNAME", TFieldType::Character, 20, 0},
                                                          {"AMOUNT", TFieldType::Numeric, 8, 2},
                                                          {"ACTIVE", TFieldType::Logical, 1, 0},
                                                          {"DATE", TFieldType::Date, 8, 0},
                                                          {"NOTES", TFieldType::Memo, 10, 0}});
        t->AppendBlank();
        t->PutString(0, "Boston");
        t->PutString(1, "Smith");
        t->PutNumeric(2, 12.5);
        t->PutLogical(3, true);
        t->PutDate(4, "19990301");
        t->PutMemo(5, "8 chars!");
        t->Post();
        t->AppendBlank();
        t->PutString(0, "Gone");
        t->SetDeleted(true);
        t->AppendBlank();
        t->PutString(0, "Cork");
        t->PutMemo(5, "ends\r\nwith\r\n"); // 12 characters: a blank before the final break
        t->Post();
        t->Close();
    }
    // A damaged or foreign index beside the table never stops the import: it is not opened.
    WriteFile(Path("OTHER.CDX"), QByteArray(1024, '\x5A'));
    WriteFile(Path("OTHER.MDX"), QByteArray(512, '\x01'));
    {
        QFile table(src);
        ASSERT_TRUE(table.open(QIODevice::ReadWrite));
        table.seek(28);
        table.write("\x01", 1); // the header says a production index belongs to it
    }

    // Presets: CITY by name, the memo to Memo, DATE to the record date.
    TResult r = ImportDbf(mAddress, src);
    EXPECT_EQ(r.outcome.ClosingMessage(TImportKind::Dbf),
              QStringLiteral("Import complete. Imported 2 records."));
    EXPECT_EQ(Column(mAddress, "CITY"), (std::vector<std::string>{"Boston", "Cork"}));
    EXPECT_EQ(Column(mAddress, "LNAME"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Column(mAddress, "DATE"), (std::vector<std::string>{"19990301", ""}));
    EXPECT_EQ(Column(mAddress, "MEMO"),
              (std::vector<std::string>{"8 chars! ", "ends\r\nwith \r\n"}));

    // Numbers without padding, logicals as T or F, by the tool's map.
    const QString second = MakeAddressFile(mDir, "ADD0002.DBF");
    r = ImportDbf(second, src, QStringLiteral("SURNAME=Last Name,AMOUNT=Codes,ACTIVE=Comment 1"));
    EXPECT_EQ(Column(second, "LNAME"), (std::vector<std::string>{"Smith", ""}));
    EXPECT_EQ(Column(second, "CODES"), (std::vector<std::string>{"12.50", ""}));
    EXPECT_EQ(Column(second, "USER1"), (std::vector<std::string>{"T", ""}));
}

TEST_F(TDbfImport, DosCodePagesAreConvertedAndCharactersWithoutAPlaceRefused)
{
    const QString src = Path("DOS850.DBF");
    {
        auto t = qm::xbase::TTable::Create(src.toStdString(), CharFields({"CITY"}));
        t->AppendBlank();
        t->PutString(0, "K\x9B"
                        "benhavn \x82"); // ø and é in page 850
        t->Close();
    }
    SetCodePageMark(src, 0x02);
    ImportDbf(mAddress, src);
    EXPECT_EQ(Column(mAddress, "CITY"), (std::vector<std::string>{"K\xF8"
                                                                  "benhavn \xE9"}));

    const QString boxes = Path("DOS437.DBF");
    {
        auto t = qm::xbase::TTable::Create(boxes.toStdString(), CharFields({"CITY"}));
        t->AppendBlank();
        t->PutString(0, "ok");
        t->AppendBlank();
        t->PutString(0, "\xB0"); // a shade block in page 437
        t->Close();
    }
    SetCodePageMark(boxes, 0x01);
    const QByteArray before = ReadFile(mAddress);
    const TResult r = ImportDbf(mAddress, boxes);
    EXPECT_EQ(r.outcome.refusal,
              QStringLiteral("The character U+2591 (\u2591) in record 2, field CITY of "
                             "DOS437.DBF cannot be stored in the address file."));
    EXPECT_EQ(ReadFile(mAddress), before);
}

TEST_F(TDbfImport, AFailureSaysTheImportStoppedAndGivesItsReason)
{
    TImportOutcome outcome;
    outcome.imported = 12;
    outcome.failure = TImportOutcome::TFailure::Write;
    outcome.failureText = QStringLiteral("ADD0001.DBF: the disk is full");
    outcome.cut = 3;
    EXPECT_EQ(
        outcome.ClosingMessage(TImportKind::Dbf),
        QStringLiteral("Import stopped after importing 12 records.\r\n\r\nADD0001.DBF: the disk "
                       "is full\r\n3 values were cut to fit their fields."));
    EXPECT_EQ(
        outcome.ClosingMessage(TImportKind::Ascii),
        QStringLiteral("Unknown error writing to data file after importing 12 records.\r\n\r\n"
                       "ADD0001.DBF: the disk is full\r\n3 values were cut to fit their fields."));
}

TEST_F(TDbfImport, Version1DatesNotesAndMemos)
{
    const QString src = Path("OLD1.DBF");
    {
        std::vector<TFieldDef> defs = CharFields(
            {"LNAME", "FNAME", "MIDDLE", "TITLE", "ORG", "STREET", "CITY", "STATE", "ZIP",
             "COUNTRY", "PHONE", "EMAIL", "FAX", "NOTES", "PREFIX", "CARRIER", "DATE"});
        defs.push_back({"MEMO", TFieldType::Memo, 10, 0});
        auto t = qm::xbase::TTable::Create(src.toStdString(), defs);
        const auto add = [&](const char* name, const char* date, const char* notes,
                             const char* memo) {
            t->AppendBlank();
            t->PutString(0, name);
            t->PutString(16, date);
            t->PutString(13, notes);
            t->PutString(15, "C001");
            t->PutMemo(17, memo);
            t->Post();
        };
        add("Short", "03/01/1995", "vip", "12345678");
        add("Stored", "19950301", "", "");
        add("Bad", "32/13/1995", "x", "seven c");
        add("Empty", "", "", "");
        t->Close();
    }
    const TResult r = ImportOlder(mAddress, src, TOlderImportSource::TVersion::V1);
    EXPECT_EQ(r.outcome.ClosingMessage(TImportKind::Older),
              QStringLiteral("Import complete. Imported 4 records."));
    EXPECT_EQ(Column(mAddress, "DATE"), (std::vector<std::string>{"19950301", "19950301", "", ""}));
    EXPECT_EQ(Column(mAddress, "CODES"), (std::vector<std::string>{"vip", "", "x", ""}));
    EXPECT_EQ(Column(mAddress, "MEMO"), (std::vector<std::string>{"12345678 ", "", "seven c", ""}));
    EXPECT_EQ(TOlderDate::Convert("3/1/95"), "19950301");
    EXPECT_EQ(TOlderDate::Convert("02/30/1995"), "");
}

TEST_F(TDbfImport, Version2NeedsEveryFieldAndKeepsDeletedRecordsHidden)
{
    std::vector<TFieldDef> defs =
        CharFields({"LNAME", "FNAME", "MIDDLE", "TITLE",   "ORG",   "STREET", "STREET2",
                    "CITY",  "STATE", "ZIP",    "COUNTRY", "PHONE", "PHONE2", "EMAIL",
                    "FAX",   "CODES", "PREFIX", "DATE",    "USER1", "USER2"});
    defs.push_back({"ISDEL", TFieldType::Logical, 1, 0});
    defs.push_back({"MEMO", TFieldType::Memo, 10, 0});
    const QString noTag = Path("NOTAG.DBF");
    qm::xbase::TTable::Create(noTag.toStdString(), defs)->Close();
    {
        TDbfSourceTable source(noTag);
        EXPECT_EQ(TOlderImportSource::VersionError(source, TOlderImportSource::TVersion::V2),
                  noTag + QStringLiteral(" does not appear to be a Quillmark 2.x DBF"));
    }

    defs.push_back({"TAG", TFieldType::Character, 8, 0});
    const QString src = Path("OLD2.DBF");
    {
        auto t = qm::xbase::TTable::Create(src.toStdString(), defs);
        t->AppendBlank();
        t->PutString(0, "Kept");
        t->PutString(17, "20010203");
        t->PutString(22, "OLDTAG");
        t->Post();
        t->AppendBlank();
        t->PutString(0, "Deleted");
        t->PutLogical(20, true);
        t->Post();
        t->Close();
    }
    ImportOlder(mAddress, src, TOlderImportSource::TVersion::V2);
    auto table = OpenTable(mAddress);
    ASSERT_EQ(table->RecordCount(), 2u);
    table->Go(1);
    EXPECT_FALSE(table->Deleted());
    EXPECT_EQ(table->GetText(table->FieldIndex("DATE")), "20010203");
    EXPECT_EQ(table->GetText(table->FieldIndex("TAG")), "");
    table->Go(2);
    EXPECT_TRUE(table->Deleted());
    EXPECT_TRUE(table->GetLogical(table->FieldIndex("ISDEL")));
    table->Close();
}

TEST(TStoredMemo, AppendsABlankToTextsWhoseStoredLengthIsAMultipleOfFour)
{
    const auto stored = [](std::string text) {
        TStoredMemo::Apply(text);
        return text;
    };
    EXPECT_EQ(stored("12345678"), "12345678 ");
    EXPECT_EQ(stored("123"), "123");
    EXPECT_EQ(stored(""), "");
    EXPECT_EQ(stored("ab\ncd"), "ab\ncd");  // 6: a bare LF counts as CR LF
    EXPECT_EQ(stored("a\nb"), "a\nb ");     // 4
    EXPECT_EQ(stored("a\r\nb"), "a\r\nb "); // 4
    EXPECT_EQ(stored("ab\r\n"), "ab \r\n"); // in front of the final break
}

TEST(TFileIdentity, DecidesByTheFileNotTheName)
{
    QTemporaryDir dir;
    const QString a = QDir(dir.path()).filePath("ADD0001.DBF");
    const QString lower = QDir(dir.path()).filePath("add0001.dbf");
    WriteFile(a, "x");
    WriteFile(lower, "y");
    EXPECT_FALSE(TFileIdentity::Same(a, lower)); // two files on a system that keeps case
    const QString link = QDir(dir.path()).filePath("link.dbf");
    ASSERT_TRUE(QFile::link(a, link));
    EXPECT_TRUE(TFileIdentity::Same(a, link));
    EXPECT_TRUE(TFileIdentity::Same(a, QDir(dir.path()).filePath("./ADD0001.DBF")));
}
