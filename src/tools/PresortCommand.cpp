// The "presort" command: the bulk-mail presort of an address file's records, as the label
// printing runs it, writing the presort list and reporting its counts.

#include "tools/TProgressLine.h"
#include "tools/TTableArgs.h"
#include "tools/TTextEncoding.h"
#include "tools/TToolCommand.h"

#include "data/TWin1252.h"
#include "labels/TLabelRecords.h"
#include "labels/TPresort.h"
#include "labels/TPresortFile.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QString>
#include <algorithm>
#include <ostream>

namespace qm::tools {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr int kExitFile = 3;

const char* const kUsage =
    "usage: quillmark-tool presort --table ADDR.DBF [--all | --query EXPR | --record N]\n"
    "                              [--out FILE]\n"
    "Presorts the chosen records for bulk mail: 5-digit groups (a ZIP with at least 10 records),\n"
    "3-digit groups (a prefix whose remaining records add up to at least 10), ADC groups and the\n"
    "rest under \"** Unknown\". Writes the presort list, one marker or key a line, to standard\n"
    "output, or with --out to FILE as the program writes PRESORT.PSL (UTF-8 with a byte-order\n"
    "mark, CR LF, replaced whole). The counts go to standard error: records read, records left\n"
    "out (no valid ZIP code, so not printed in presort order), distinct keys and the groups of\n"
    "each kind.\n"
    "\n"
    "  --table FILE   the address file (its ZIP field is read)\n"
    "  --all          every record not marked for deletion (the default)\n"
    "  --query EXPR   the records not marked for deletion for which the xBase expression is true\n"
    "  --record N     record N only\n"
    "  --out FILE     write the list to FILE instead of standard output\n"
    "\n"
    "Exit codes: 0 list written, 2 bad usage, 3 the address file or the list file could not be\n"
    "read or written.\n";

int Usage(std::ostream& err, const std::string& problem)
{
    err << "quillmark-tool presort: " << problem << "\n" << kUsage;
    return kExitUsage;
}

// The records of the cursor's order and query, or the one record given.
class TToolRecords : public labels::TLabelRecords {
public:
    TToolRecords(xbase::TCursor& cursor, int zipField, uint32_t only)
        : mCursor(cursor), mZipField(zipField), mOnly(only)
    {
    }
    bool AtEnd() const override { return mPastEnd || mCursor.Eof(); }
    uint32_t RecNo() const override { return mCursor.RecNo(); }
    QString Zip() const override
    {
        const std::string_view zip = mCursor.Table().GetTrimmed(mZipField);
        return data::TWin1252::Decode(zip.data(), qsizetype(zip.size()));
    }
    void First() override
    {
        mPastEnd = false;
        if (mOnly != 0)
            mCursor.Go(mOnly);
        else
            mCursor.GoTop();
    }
    void Next() override
    {
        if (mOnly != 0)
            mPastEnd = true;
        else
            mCursor.Skip();
    }
    void GoPastEnd() override { mPastEnd = true; }
    bool SeekZip(const QString&) override { return false; }

private:
    xbase::TCursor& mCursor;
    int mZipField;
    uint32_t mOnly;
    bool mPastEnd = false;
};

int Presort(const TTableArgs& args, std::ostream& out, std::ostream& err)
{
    if (!args.Has("table"))
        return Usage(err, "--table ADDR.DBF is needed");
    if (args.PositionalCount() != 0)
        return Usage(err, "unexpected argument '" + args.Positional(0) + "'");
    const int scopes = int(args.Has("all")) + int(args.Has("query")) + int(args.Has("record"));
    if (scopes > 1)
        return Usage(err, "give only one of --all, --query and --record");
    uint32_t only = 0;
    if (args.Has("record")) {
        const int64_t number = args.Number("record");
        if (number < 1 || number > int64_t(UINT32_MAX))
            return Usage(err, "--record needs a record number, 1 or more");
        only = uint32_t(number);
    }

    const std::string& path = args.Value("table");
    xbase::TTableOptions options;
    options.mode = xbase::TOpenMode::ReadOnly;
    auto table = xbase::TTable::Open(path, options);
    const int zipField = table->FieldIndex("ZIP");
    if (zipField < 0) {
        err << "quillmark-tool presort: " << path << " has no ZIP field\n";
        return kExitFile;
    }
    if (only > table->RecordCount()) {
        err << "quillmark-tool presort: " << path << " has no record " << only << "\n";
        return kExitFile;
    }

    xbase::TSettingScope hideMarked(&xbase::TEngineSettings::deleted, only == 0);
    xbase::TCursor cursor(*table);
    if (args.Has("query")) {
        std::string query;
        char32_t bad = 0;
        if (!TTextEncoding::Utf8ToWin1252(args.Value("query"), query, &bad))
            return Usage(err, "the query holds the character " + TTextEncoding::CodePointName(bad) +
                                  ", which tables (Windows-1252) cannot hold");
        cursor.SetQuery(query);
    }
    cursor.SetTurboRead(true);
    TToolRecords records(cursor, zipField, only);
    labels::TPresort presort;
    {
        // The reading pass reports every 100 records; a terminal shows it as a percentage.
        const uint32_t total = only != 0 ? 1 : table->RecordCount();
        TProgressLine progress(err, "presort", total >= 10000);
        presort.Read(records, [&](uint32_t recNo) {
            progress(int(uint64_t(recNo) * 100 / std::max<uint32_t>(total, 1)));
        });
        progress.Finish();
    }
    cursor.SetTurboRead(false);
    const QStringList list = presort.List();

    if (args.Has("out")) {
        QString error;
        if (!labels::TPresortFile::Write(QString::fromStdString(args.Value("out")), list, &error)) {
            err << "quillmark-tool presort: " << error.toStdString() << "\n";
            return kExitFile;
        }
    } else {
        for (const QString& line : list)
            out << line.toStdString() << "\n";
        out.flush();
    }

    const labels::TPresortCounts& counts = presort.Counts();
    err << "records read: " << counts.recordsRead << "\n"
        << "distinct keys: " << counts.distinctKeys << "\n"
        << "5-digit groups: " << counts.fiveDigitGroups << "\n"
        << "3-digit groups: " << counts.threeDigitGroups << "\n"
        << "ADC groups: " << counts.adcGroups << "\n"
        << "unknown keys: " << counts.unknownKeys << "\n"
        << "records left out: " << counts.recordsLeftOut << "\n";
    if (counts.recordsLeftOut > 0)
        err << counts.recordsLeftOut
            << " record(s) have no valid ZIP code and are not printed in presort order.\n";
    return kExitOk;
}

} // namespace

int RunPresortCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return kExitOk;
        }
    try {
        const TTableArgs parsed =
            TTableArgs::Parse(args, {"all"}, {"table", "query", "record", "out"});
        return Presort(parsed, out, err);
    } catch (const TArgsError& e) {
        return Usage(err, e.what());
    } catch (const xbase::TXbaseError& e) {
        err << "quillmark-tool presort: " << e.what() << "\n";
        return kExitFile;
    }
}

} // namespace qm::tools
