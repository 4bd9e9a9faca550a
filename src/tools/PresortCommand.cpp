// The "presort" command: the bulk-mail presort of an address file's records, as the label
// printing runs it, writing the presort list and reporting its counts.

#include "tools/TJobFiles.h"
#include "tools/TProgressLine.h"
#include "tools/TRecordScopeArgs.h"
#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "data/TWin1252.h"
#include "labels/TLabelRecords.h"
#include "labels/TPresort.h"
#include "labels/TPresortFile.h"
#include "labels/TPresortRun.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <ostream>

namespace qm::tools {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr int kExitFile = 3;
constexpr const char* kPrefix = "quillmark-tool presort: ";

std::string UsageText()
{
    return std::string(
               "usage: quillmark-tool presort --table ADDR.DBF\n"
               "           [--all | --query EXPR | --filter-file F.FLT | --record N] [--tagged]\n"
               "           [--out FILE]\n"
               "Presorts the chosen records for bulk mail: 5-digit groups (a ZIP with at least "
               "10 records),\n"
               "3-digit groups (a prefix whose remaining records add up to at least 10), ADC "
               "groups and the\n"
               "rest under \"** Unknown\". Writes the presort list, one marker or key a line, to "
               "standard\n"
               "output, or with --out to FILE as the program writes PRESORT.PSL (Windows-1252, "
               "CR LF,\n"
               "replaced whole). The counts go to standard error: records read, records left out "
               "(no valid\n"
               "ZIP code, so a presorted job does not print them), distinct keys and the groups of "
               "each kind.\n"
               "The records are read in record order; on a terminal the progress shows.\n"
               "\n"
               "  --table FILE     the address file (its ZIP field is read)\n") +
           TRecordScopeArgs::Usage({}) +
           "                   (the presort reads in record order: --order and --start-record "
           "are refused)\n"
           "  --out FILE       write the list to FILE instead of standard output\n"
           "\n"
           "Exit codes: 0 list written, 1 no such record, 2 bad usage, 3 the address file, the "
           "filter file\n"
           "or the list file could not be read or written.\n";
}

int Usage(std::ostream& err, const std::string& problem)
{
    err << kPrefix << problem << "\n" << UsageText();
    return kExitUsage;
}

// The records of the cursor's query in record order, or the one record given.
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

int Presort(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TRecordScopeArgs scope;
    std::string table;
    std::string outFile;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string problem;
        switch (scope.Take(args, i, problem)) {
        case TRecordScopeArgs::TTake::Taken:
            continue;
        case TRecordScopeArgs::TTake::Error:
            return Usage(err, problem);
        case TRecordScopeArgs::TTake::NotMine:
            break;
        }
        const std::string& a = args[i];
        std::string* value = a == "--table" ? &table : a == "--out" ? &outFile : nullptr;
        if (value == nullptr)
            return Usage(err, "unknown argument '" + a + "'");
        if (i + 1 >= args.size() || args[i + 1].empty())
            return Usage(err, a + " needs a value");
        *value = args[++i];
    }
    if (table.empty())
        return Usage(err, "--table ADDR.DBF is needed");
    if (const std::string problem = scope.Check(); !problem.empty())
        return Usage(err, problem);
    if (!scope.Order().empty() || scope.StartRecord() > 0)
        return Usage(err, "the presort reads the records in record order; --order and "
                          "--start-record do not apply");
    // The list is written over FILE: never over a file the presort reads.
    std::vector<std::string> inputs = scope.InputFiles();
    inputs.push_back(table);
    if (!TJobFiles::OutputOverAnInput({outFile}, inputs).empty())
        return Usage(err, outFile + " is a file the presort reads; choose another file");

    xbase::TTableOptions options;
    options.mode = xbase::TOpenMode::ReadOnly;
    auto opened = xbase::TTable::Open(table, options);
    const int zipField = opened->FieldIndex("ZIP");
    if (zipField < 0) {
        err << kPrefix << table << " has no ZIP field\n";
        return kExitFile;
    }

    if (opened->FieldIndex("ISDEL") < 0) {
        err << kPrefix << table << " is not an address file (it has no ISDEL field)\n";
        return kExitFile;
    }

    xbase::TSettingScope hideMarked(&xbase::TEngineSettings::deleted, !scope.SingleRecord());
    xbase::TCursor cursor(*opened);
    if (const int code =
            scope.Apply(cursor, {}, TToolEnvironment::StoredTagIdentifier(), kPrefix, err);
        code != 0)
        return code;

    TToolRecords records(cursor, zipField, scope.Record());
    labels::TPresort presort;
    cursor.SetTurboRead(true);
    {
        // The reading pass reports every 100 records; a terminal shows it as a percentage.
        const uint32_t total = scope.SingleRecord() ? 1 : opened->RecordCount();
        TProgressLine progress(err, "presort", total >= 10000);
        presort.Read(records, [&](uint32_t recNo) {
            progress(int(uint64_t(recNo) * 100 / std::max<uint32_t>(total, 1)));
        });
        progress.Finish();
    }
    cursor.SetTurboRead(false);
    const QStringList list = presort.List();

    if (!outFile.empty()) {
        QString error;
        if (!labels::TPresortFile::Write(QString::fromStdString(outFile), list, &error)) {
            err << kPrefix << error.toStdString() << "\n";
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
        err << labels::TPresortRun::LeftOutMessage(counts.recordsLeftOut).toStdString() << "\n";
    return kExitOk;
}

} // namespace

int RunPresortCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") {
            out << UsageText();
            return kExitOk;
        }
    try {
        return Presort(args, out, err);
    } catch (const xbase::TXbaseError& e) {
        err << kPrefix << e.what() << "\n";
        return kExitFile;
    }
}

} // namespace qm::tools
