// Importing other tables and the address files of earlier versions: presets, memo and date rows,
// code pages, the stored-memo rule, 1.x dates, the deletion mark of 2.x records, refusals.

#include "transfer/TDbfImportSource.h"
#include "transfer/TFileIdentity.h"
#include "transfer/TImportRun.h"
#include "transfer/TOlderDate.h"
#include "transfer/TOlderImportSource.h"
#include "transfer/TStoredMemo.h"
#include "transfer/TTransferError.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TXbaseError.h"

#include "TTransferTestSupport.h"

#include <QFile>
#include <QFileInfo>
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
    // Ten records, some with memos, so that appends write the table and the memo file.
    const QString src = Path("TEN.DBF");
    std::vector<std::string> names;
    {
        auto t =
            qm::xbase::TTable::Create(src.toStdString(), {{"LNAME", TFieldType::Character, 20, 0},
                                                          {"MEMO", TFieldType::Memo, 10, 0}});
        for (int i = 1; i <= 10; ++i) {
            names.push_back("R" + std::to_string(i));
            t->AppendBlank();
            t->PutString(0, names.back());
            if (i % 3 == 0)
                t->PutMemo(1, "memo of record " + std::to_string(i));
            t->Post();
        }
        t->Close();
    }
    TDbfSourceTable source(src);

    // An import whose n-th changing file operation fails, and every one after it, as on a full
    // disk (0: none fails); then the index rebuild the windows run after it.
    struct TFailedRun {
        TImportOutcome outcome;
        QString rebuild;
        uint64_t importOperations = 0; // the changing file operations the import made
    };
    // Each run gets a copy of the new, empty address file in a folder of its own.
    const QStringList emptyFiles =
        QDir(mDir.path()).entryList({QStringLiteral("ADD0001.*")}, QDir::Files);
    ASSERT_EQ(emptyFiles.size(), 3); // table, memo and index
    int made = 0;
    const auto run = [&](uint64_t failAt, QString& address) {
        const QString folder = Path(QStringLiteral("run%1").arg(++made));
        EXPECT_TRUE(QDir().mkpath(folder));
        for (const QString& name : emptyFiles)
            EXPECT_TRUE(QFile::copy(Path(name), QDir(folder).filePath(name)));
        address = QDir(folder).filePath(QStringLiteral("ADD0001.DBF"));
        qm::xbase::TFileIoFaulty faulty(qm::xbase::TFileIoSystem::Native());
        faulty.SetSyncs(false);
        TFailedRun result;
        auto table = qm::xbase::TTable::Open(address.toStdString(),
                                             {qm::xbase::TOpenMode::Exclusive, true, &faulty});
        TFieldMatch match(TFieldMatch::StandardTargets(*table, true),
                          TFieldMatch::TableSources(source.Table()));
        EXPECT_TRUE(match.ApplyMap(QStringLiteral("LNAME=Last Name,MEMO=Memo")).isEmpty());
        TDbfImportSource importSource(source, match, *table);
        const uint64_t before = faulty.Operations();
        if (failAt != 0)
            faulty.SetFailAt(before + failAt);
        TImportRun importRun(*table, importSource);
        result.outcome = importRun.Import({});
        result.importOperations = faulty.Operations() - before;
        result.rebuild = importRun.Rebuild({});
        try {
            table->Close();
        } catch (const qm::xbase::TXbaseError&) {
            // The failed files refuse the closing commit as well.
        }
        return result;
    };

    // The address file opens natively afterwards and holds the first `imported` records of the
    // source (and perhaps the one being appended); its index can be built again.
    const auto checkFiles = [&](const QString& address, int64_t imported) {
        auto table = OpenTable(address);
        const uint32_t count = table->RecordCount();
        EXPECT_GE(count, uint32_t(imported));
        EXPECT_LE(count, uint32_t(imported) + 1); // the record being appended
        for (uint32_t r = 1; r <= uint32_t(imported) && r <= count; ++r) {
            table->Go(r);
            EXPECT_EQ(table->GetText(table->FieldIndex("LNAME")), names[r - 1]) << r;
            // 16 characters: the stored-memo rule adds a blank.
            EXPECT_EQ(table->GetMemo(table->FieldIndex("MEMO")),
                      r % 3 == 0 ? "memo of record " + std::to_string(r) + " " : "")
                << r;
        }
        TDbfImportSource importSource(source,
                                      TFieldMatch(TFieldMatch::StandardTargets(*table, true),
                                                  TFieldMatch::TableSources(source.Table())),
                                      *table);
        EXPECT_EQ(TImportRun(*table, importSource).Rebuild({}), QString());
        EXPECT_FALSE(table->IndexStale());
        EXPECT_EQ(table->TagCount(), 26);
        table->Close();
    };

    QString address;
    const TFailedRun whole = run(0, address);
    ASSERT_EQ(whole.outcome.ClosingMessage(TImportKind::Dbf),
              QStringLiteral("Import complete. Imported 10 records."));
    EXPECT_EQ(whole.rebuild, QString());
    checkFiles(address, 10);
    ASSERT_GT(whole.importOperations, 10u);

    // Every write of the import fails in turn.
    for (uint64_t n = 1; n <= whole.importOperations; ++n) {
        SCOPED_TRACE("failing operation " + std::to_string(n));
        const TFailedRun failed = run(n, address);
        const TImportOutcome& outcome = failed.outcome;
        ASSERT_EQ(outcome.failure, TImportOutcome::TFailure::Write);
        EXPECT_LE(outcome.imported, 10);
        EXPECT_TRUE(outcome.failureText.endsWith(QStringLiteral(": injected write failure")))
            << outcome.failureText.toStdString();
        EXPECT_TRUE(outcome.failureText.contains(QFileInfo(address).path() + "/ADD0001."))
            << outcome.failureText.toStdString();
        EXPECT_EQ(outcome.ClosingMessage(TImportKind::Dbf).toStdString(),
                  (QStringLiteral("Import stopped after importing %1 records.\r\n\r\n")
                       .arg(outcome.imported) +
                   outcome.failureText)
                      .toStdString());
        // The index cannot be built on the failed files either, and the user is told why.
        EXPECT_TRUE(failed.rebuild.startsWith(QStringLiteral("Unable to create index files\r\n")))
            << failed.rebuild.toStdString();
        checkFiles(address, outcome.imported);
        if (HasFatalFailure())
            return;
    }

    // A failure in the rebuild after a whole import.
    const TFailedRun late = run(whole.importOperations + 1, address);
    EXPECT_EQ(late.outcome.ClosingMessage(TImportKind::Dbf),
              QStringLiteral("Import complete. Imported 10 records."));
    EXPECT_TRUE(late.rebuild.startsWith(QStringLiteral("Unable to create index files\r\n")))
        << late.rebuild.toStdString();
    checkFiles(address, 10);
}

TEST_F(TDbfImport, ClosingMessagesOfAFailureNameTheImportKindAndTheCutValues)
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
