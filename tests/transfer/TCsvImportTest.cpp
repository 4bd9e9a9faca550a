// The text import run on a real address file: the closing messages, the checking pass that
// refuses bad input before anything changes, line breaks, cut values, stops, and the index rebuilt.

#include "data/TWin1252.h"
#include "transfer/TCsvImportSource.h"
#include "transfer/TCsvSample.h"
#include "transfer/TImportRun.h"
#include "transfer/TTransferError.h"

#include "TTransferTestSupport.h"

#include "data/TDataSet.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace qm::transfer;
using namespace qm::transfer::test;

namespace {

struct TResult {
    TImportOutcome outcome;
    QString message;
    QString rebuild;
};

// Imports csv into the address file with the given --map style matches.
TResult Import(const QString& address, const QString& csvPath, const QString& map,
               int stopAfter = -1)
{
    TResult result;
    const TCsvSample sample = TCsvSample::FromFile(csvPath);
    auto table = OpenTable(address);
    TFieldMatch match(TFieldMatch::StandardTargets(*table, false),
                      TFieldMatch::TextSources(std::max(sample.FieldCount(), 1)));
    EXPECT_TRUE(match.ApplyMap(map).isEmpty());
    try {
        TCsvImportSource source(csvPath, match, *table, sample.FieldCount());
        TImportRun run(*table, source);
        TImportRun::TCallbacks callbacks;
        callbacks.afterRecord = [&](int64_t n, int) { return stopAfter >= 0 && n >= stopAfter; };
        result.outcome = run.Import(callbacks);
        result.message = result.outcome.ClosingMessage(TImportKind::Ascii);
        if (result.outcome.changed)
            result.rebuild = run.Rebuild({});
    } catch (const TTransferError& error) {
        result.message = TImportRun::RefusalMessage(error.Message());
    }
    table->Close();
    return result;
}

class TCsvImport : public ::testing::Test {
protected:
    QString Csv(const QByteArray& bytes, const QString& name = QStringLiteral("in.csv"))
    {
        const QString path = QDir(mDir.path()).filePath(name);
        WriteFile(path, bytes);
        return path;
    }
    // The address file's own files (table, memo, index), by name.
    QStringList AddressFiles() const
    {
        return QDir(mDir.path()).entryList({QStringLiteral("ADD0001.*")}, QDir::Files, QDir::Name);
    }
    std::vector<QByteArray> Bytes(const QStringList& names) const
    {
        std::vector<QByteArray> bytes;
        for (const QString& name : names)
            bytes.push_back(ReadFile(QDir(mDir.path()).filePath(name)));
        return bytes;
    }
    // Each of the files still holds the bytes it held before.
    void ExpectUnchanged(const QStringList& names, const std::vector<QByteArray>& before,
                         const char* after) const
    {
        EXPECT_EQ(AddressFiles(), names) << after;
        const std::vector<QByteArray> now = Bytes(names);
        for (qsizetype i = 0; i < names.size(); ++i)
            EXPECT_TRUE(now[size_t(i)] == before[size_t(i)])
                << names[i].toStdString() << " changed " << after;
    }
    QTemporaryDir mDir;
    QString mAddress = MakeAddressFile(mDir);
};

} // namespace

TEST_F(TCsvImport, ImportsEveryLineAndRebuildsTheIndex)
{
    const QString csv = Csv("\"Smith, John\",Boston,02101\r\n"
                            "Doe,\"\",10001\r\n"
                            "\r\n"
                            "\"O\"\"Neil\",Cork\r\n"
                            "\"Two\r\nlines\",X,1\r\n");
    const TResult r = Import(mAddress, csv, QStringLiteral("1=Last Name,2=City,3=ZIP"));
    EXPECT_EQ(r.message, QStringLiteral("Import complete. Imported 5 records.\r\n"
                                        "6 lines read formed 5 records."));
    EXPECT_TRUE(r.rebuild.isEmpty());
    EXPECT_EQ(Column(mAddress, "LNAME"),
              (std::vector<std::string>{"Smith, John", "Doe", "", "O\"Neil", "Two lines"}));
    EXPECT_EQ(Column(mAddress, "CITY"), (std::vector<std::string>{"Boston", "", "", "Cork", "X"}));
    EXPECT_EQ(Column(mAddress, "ZIP"), (std::vector<std::string>{"02101", "10001", "", "", "1"}));

    qm::data::TDataSet dataSet;
    qm::data::TAddressFile::DeclareFieldObjects(dataSet);
    ASSERT_TRUE(qm::data::TAddressFile::Open(dataSet, mAddress).opened);
    EXPECT_TRUE(qm::data::TAddressFile::TagsValid(dataSet));
}

TEST_F(TCsvImport, FieldsBeyondTheFirstLineAreImportedAndCutValuesAreCounted)
{
    // The first line has two fields; the third comes only later and is still matched.
    const QString csv = Csv("a,b\r\nc,d,0123456789ABC\r\ne,f,12345\r\n");
    const TResult r = Import(mAddress, csv, QStringLiteral("1=Last Name,3=Zip/Postal Code"));
    EXPECT_EQ(r.message, QStringLiteral("Import complete. Imported 3 records.\r\n"
                                        "3 lines read formed 3 records.\r\n"
                                        "1 value was cut to fit its field."));
    EXPECT_EQ(Column(mAddress, "ZIP"), (std::vector<std::string>{"", "0123456789", "12345"}));
}

TEST_F(TCsvImport, AStopKeepsTheRecordsSoFarAndStillRebuilds)
{
    QByteArray bytes;
    for (int i = 1; i <= 100; ++i)
        bytes += "Name" + QByteArray::number(i) + ",x\r\n";
    const TResult r = Import(mAddress, Csv(bytes), QStringLiteral("1=Last Name"), 40);
    EXPECT_EQ(r.message, QStringLiteral("Import cancelled after importing 40 records.\r\n"
                                        "40 lines read formed 40 records."));
    EXPECT_TRUE(r.outcome.stopped);
    EXPECT_EQ(Column(mAddress, "LNAME").size(), 40u);
    EXPECT_EQ(Column(mAddress, "LNAME").back(), "Name40");
    EXPECT_TRUE(r.rebuild.isEmpty());
}

TEST_F(TCsvImport, RefusalsLeaveTheAddressFileByteForByte)
{
    // Records already in the file, with a memo, so that every file of it has content to keep.
    {
        auto table = OpenTable(mAddress);
        table->AppendBlank();
        table->PutString(table->FieldIndex("LNAME"), "Kept");
        table->PutMemo(table->FieldIndex("MEMO"), "a note that stays");
        table->Post();
        table->Close();
    }
    const QStringList files = AddressFiles();
    ASSERT_EQ(files.size(), 3) << files.join(' ').toStdString(); // table, memo and index
    const std::vector<QByteArray> before = Bytes(files);
    for (const QByteArray& bytes : before)
        ASSERT_FALSE(bytes.isEmpty());

    // A quote never closed, far after the sample.
    QByteArray unclosed;
    for (int i = 0; i < 50; ++i)
        unclosed += "ok,line\r\n";
    unclosed += "\"never closed,x\r\nmore\r\n";
    TResult r = Import(mAddress, Csv(unclosed), QStringLiteral("1=Last Name"));
    EXPECT_EQ(r.message, QStringLiteral("Unable to import from this file\r\n\r\n"
                                        "Line 51: a quoted value is never closed."));
    EXPECT_FALSE(r.outcome.changed);
    ExpectUnchanged(files, before, "after the unclosed quote");

    // A character Windows-1252 cannot hold, named with its line and field.
    r = Import(mAddress,
               Csv(QStringLiteral("Ok,x\r\nW\u0142odek,\u0141\u00F3d\u017A\r\n").toUtf8()),
               QStringLiteral("1=Last Name,2=City"));
    EXPECT_EQ(r.message,
              QStringLiteral("Unable to import from this file\r\n\r\n"
                             "The character U+0142 (\u0142) on line 2, field 1, cannot be "
                             "stored in the address file, which holds Windows-1252 text."));
    EXPECT_FALSE(r.outcome.changed);
    ExpectUnchanged(files, before, "after the character outside Windows-1252");

    // An emoji in an unmatched field does not matter.
    r = Import(mAddress, Csv(QStringLiteral("A,\U0001F600\r\nB,x\r\n").toUtf8()),
               QStringLiteral("1=Last Name"));
    EXPECT_EQ(r.message, QStringLiteral("Import complete. Imported 2 records.\r\n"
                                        "2 lines read formed 2 records."));
    EXPECT_EQ(Column(mAddress, "LNAME"), (std::vector<std::string>{"Kept", "A", "B"}));
}

TEST_F(TCsvImport, AQuoteLeftOpenThatSwallowsLinesIsRefusedNamingItsLine)
{
    const QByteArray before = ReadFile(mAddress);
    const QByteArray index = ReadFile(QDir(mDir.path()).filePath("ADD0001.CDX"));
    // The quote on line 2 is closed only by the one on line 5: three people would have become
    // one last name.
    const QString csv = Csv("Adams,John,Salem\r\n"
                            "\"Baker, Ann,Bend\r\n"
                            "Carter,Bob,Eugene\r\n"
                            "Davis,Cy,Portland\r\n"
                            "\"Evans, Di\",Medford,OR\r\n");
    TResult r = Import(mAddress, csv, QStringLiteral("1=Last Name,2=First Name,3=City"));
    EXPECT_EQ(r.message,
              QStringLiteral("Unable to import from this file\r\n\r\n"
                             "Line 2: a quoted value opened on this line runs on to line 5, and "
                             "the record it starts then has 4 fields instead of 3. A closing "
                             "quote is probably missing."));
    EXPECT_FALSE(r.outcome.changed);
    EXPECT_EQ(ReadFile(mAddress), before);
    EXPECT_EQ(ReadFile(QDir(mDir.path()).filePath("ADD0001.CDX")), index);

    // Beyond the sample too, and with fewer fields than the sample.
    QByteArray late;
    for (int i = 0; i < 30; ++i)
        late += "ok,line,here\r\n";
    late += "x,\"open\r\nnext\"\r\n";
    r = Import(mAddress, Csv(late), QStringLiteral("1=Last Name"));
    EXPECT_EQ(r.message,
              QStringLiteral("Unable to import from this file\r\n\r\n"
                             "Line 31: a quoted value opened on this line runs on to line 32, and "
                             "the record it starts then has 2 fields instead of 3. A closing "
                             "quote is probably missing."));

    // A quoted line break in a record of the sample's field count stays allowed.
    r = Import(mAddress, Csv("Adams,\"12 Elm St\r\nApt 4\",Salem\r\nBaker,Oak Rd,Bend\r\n"),
               QStringLiteral("1=Last Name,2=Address 1,3=City"));
    EXPECT_EQ(r.message, QStringLiteral("Import complete. Imported 2 records.\r\n"
                                        "3 lines read formed 2 records."));
    EXPECT_EQ(Column(mAddress, "STREET"), (std::vector<std::string>{"12 Elm St Apt 4", "Oak Rd"}));
}

TEST_F(TCsvImport, RefusedFilesChangeNothing)
{
    const QByteArray before = ReadFile(mAddress);
    const QByteArray index = ReadFile(QDir(mDir.path()).filePath("ADD0001.CDX"));
    Import(mAddress, Csv("a\r\n\"open\r\n"), QStringLiteral("1=Last Name"));
    Import(mAddress,
           Csv(QByteArray("\xEF\xBB\xBF"
                          "caf\xE9\r\nx\r\n")),
           QStringLiteral("1=Last Name"));
    Import(mAddress, Csv(QByteArray("a\r\nb\0c\r\n", 8)), QStringLiteral("1=Last Name"));
    EXPECT_EQ(ReadFile(mAddress), before);
    EXPECT_EQ(ReadFile(QDir(mDir.path()).filePath("ADD0001.CDX")), index);
}

TEST_F(TCsvImport, EveryEncodingImportsTheSameRecords)
{
    const QString text =
        QStringLiteral("M\u00FCller,\u20AC uro\r\n\"Fran\u00E7ois\",Caf\u00E9\r\n");
    QStringEncoder le(QStringConverter::Utf16LE);
    const std::vector<QByteArray> files = {
        text.toUtf8(), QByteArray("\xEF\xBB\xBF") + text.toUtf8(),
        *qm::data::TWin1252::Encode(text), QByteArray("\xFF\xFE", 2) + QByteArray(le(text))};
    for (size_t i = 0; i < files.size(); ++i) {
        const QString address = MakeAddressFile(mDir, QStringLiteral("ENC%1.DBF").arg(i));
        Import(address, Csv(files[i], QStringLiteral("e%1.csv").arg(i)),
               QStringLiteral("1=Last Name,2=City"));
        EXPECT_EQ(Column(address, "LNAME"), (std::vector<std::string>{"M\xFCller", "Fran\xE7ois"}))
            << i;
        EXPECT_EQ(Column(address, "CITY"), (std::vector<std::string>{"\x80 uro", "Caf\xE9"})) << i;
    }
}

TEST_F(TCsvImport, FilesWrittenByPythonsCsvWriterImportExactly)
{
    const QString csv = QDir(mDir.path()).filePath("py.csv");
    RunPython(mDir, R"PY(
import csv
rows = [['Smith, John', 'He said "hi"', '02101'], ['Line\nbreak', '', 'x'],
        ['Caf\u00e9', '"', ','], ['', 'trailing ', ' leading']]
with open('py.csv', 'w', newline='', encoding='utf-8') as f:
    csv.writer(f).writerows(rows)
)PY");
    const TResult r = Import(mAddress, csv, QStringLiteral("1=Last Name,2=Organization,3=City"));
    EXPECT_EQ(r.message, QStringLiteral("Import complete. Imported 4 records.\r\n"
                                        "5 lines read formed 4 records."));
    EXPECT_EQ(Column(mAddress, "LNAME"),
              (std::vector<std::string>{"Smith, John", "Line break", "Caf\xE9", ""}));
    EXPECT_EQ(Column(mAddress, "ORG"),
              (std::vector<std::string>{"He said \"hi\"", "", "\"", "trailing"}));
    EXPECT_EQ(Column(mAddress, "CITY"), (std::vector<std::string>{"02101", "x", ",", " leading"}));
}

TEST_F(TCsvImport, AnImportCutShortLeavesAFileThatAsksForTheRebuild)
{
    // As if the program ended between appending and rebuilding: the records are there and the
    // next open finds the index missing, so the rebuild is offered.
    const QString csv = Csv("a\r\nb\r\nc\r\n");
    {
        const TCsvSample sample = TCsvSample::FromFile(csv);
        auto table = OpenTable(mAddress);
        ASSERT_EQ(sample.FieldCount(), 1);
        TFieldMatch match(TFieldMatch::StandardTargets(*table, false), TFieldMatch::TextSources(1));
        ASSERT_TRUE(match.ApplyMap(QStringLiteral("1=LNAME")).isEmpty());
        TCsvImportSource source(csv, match, *table, sample.FieldCount());
        TImportRun run(*table, source);
        EXPECT_EQ(run.Import({}).imported, 3);
        table->Close();
    }
    qm::data::TDataSet dataSet;
    qm::data::TAddressFile::DeclareFieldObjects(dataSet);
    ASSERT_TRUE(qm::data::TAddressFile::Open(dataSet, mAddress).opened);
    EXPECT_FALSE(qm::data::TAddressFile::TagsValid(dataSet));
    EXPECT_EQ(dataSet.Table().RecordCount(), 3u);
}
