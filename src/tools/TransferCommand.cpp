// The "import" and "export" command groups: the import and copy-out classes the windows use, run
// from the command line on an address file.

#include "tools/TTableArgs.h"
#include "tools/TToolCommand.h"

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TNewFileFieldLengths.h"
#include "transfer/TCopyOutRun.h"
#include "transfer/TCopyOutTarget.h"
#include "transfer/TCsvImportSource.h"
#include "transfer/TCsvRecordReader.h"
#include "transfer/TCsvSample.h"
#include "transfer/TDbfImportSource.h"
#include "transfer/TFileIdentity.h"
#include "transfer/TImportRun.h"
#include "transfer/TOlderImportSource.h"
#include "transfer/TTextFileSource.h"
#include "transfer/TTransferError.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <ostream>

namespace qm::tools {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFile = 3;

const char* const kImportHelp = R"(Usage:
  quillmark-tool import ADDRESS.DBF [--new] --csv FILE --map "1=Last Name,4=ZIP,..."
  quillmark-tool import ADDRESS.DBF [--new] --dbf FILE [--map "FIELD=TARGET,..."]
  quillmark-tool import ADDRESS.DBF [--new] --v1 FILE
  quillmark-tool import ADDRESS.DBF [--new] --v2 FILE
  quillmark-tool import --sample FILE

Appends records to an address file, as the program's import windows do, and rebuilds its 26
index tags afterwards.

  --csv FILE   a comma-separated text file: every line is a record (no header line); quoted
               values may hold commas, doubled quotes and line breaks (a line break becomes a
               blank). UTF-8 (with or without byte-order mark), UTF-16 with a byte-order mark, or
               else Windows-1252. --map is required: SOURCE=TARGET pairs, SOURCE a field position
               from 1, TARGET a field's display label ("Last Name", "Zip/Postal Code") or name
               (LNAME, ZIP) in any case.
  --dbf FILE   any xBase table (dBase III/IV, FoxPro, Visual FoxPro, Clipper), read in record
               order without its index; records with the deletion mark are skipped. Without --map
               each field goes to the target of its name or label, a memo to Memo, a date to Date
               (the record date). Targets are the character fields plus "Memo" and "Date".
  --v1 FILE    an address file of version 1.x; --v2 FILE of version 2.x (fields by name).
  --new        create ADDRESS.DBF first, with the default field lengths (it must not exist).
  --sample FILE  prints the first records of a text file split into fields, as CSV.

The whole source is checked before anything is appended: a quote never closed, a character the
address file's Windows-1252 text cannot hold (named with its line and field) or a source of the
wrong kind refuses the import and leaves the address file as it was. The closing message goes to
standard output.

Exit codes: 0 imported, 1 refused (nothing appended; also a file in use by the program), 2 bad
usage, 3 a file could not be read or written.
)";

const char* const kExportHelp = R"(Usage:
  quillmark-tool export ADDRESS.DBF (--csv OUT | --dbf OUT) [--filter EXPR] [--order TAG]
                 [--encoding utf-8|windows-1252] [--overwrite]

Copies the records of an address file that carry no deletion mark (and, with --filter, for which
the xBase expression EXPR is true) to a new file, in record order or in the order of the index
tag TAG (LNAME, ZIP, ...).

  --csv OUT    a text file: one line per record ended by CR LF, 20 fields each in double quotes
               (a quote inside a value doubled), no header: PREFIX, FNAME, MIDDLE, LNAME, TITLE,
               ORG, STREET, STREET2, CITY, STATE, ZIP, COUNTRY, PHONE, PHONE2, EMAIL, FAX, DATE,
               USER1, USER2, CODES. UTF-8 with a byte-order mark, or with --encoding
               windows-1252 the older single-byte form. OUT without extension gets .TXT.
  --dbf OUT    a new table with the address file's structure (no index), the same 20 fields and
               the memo. OUT must end in .DBF (added when there is no extension).
  --overwrite  replace an existing OUT (its old index file is removed).

The copy is written beside OUT and put in its place only when it is complete; a failed copy
leaves an earlier OUT as it was.

Exit codes: 0 copied, 1 refused (nothing written: nothing to copy, OUT exists, OUT is the address
file, its memo or index file or its name in another letter case, wrong extension, the address
file is in use), 2 bad usage, 3 a file could not be read or written.
)";

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}
std::string S(const QString& s)
{
    return s.toStdString();
}

void PrintMessage(std::ostream& out, const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out << S(plain) << "\n";
}

bool IsAddressFile(const xbase::TTable& table)
{
    for (const xbase::TFieldDef& def : data::TAddressFileLayout::FieldDefs({}))
        if (table.FieldIndex(def.name) < 0)
            return false;
    return true;
}

int ImportSample(const std::string& path, std::ostream& out, std::ostream& err)
{
    const transfer::TCsvSample sample = transfer::TCsvSample::FromFile(Q(path));
    if (!sample.Error().isEmpty()) {
        PrintMessage(err, transfer::TImportRun::RefusalMessage(sample.Error()));
        return kExitRefused;
    }
    for (const QStringList& row : sample.Rows()) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i) {
            QString value = row[i];
            if (i > 0)
                line += QLatin1Char(',');
            value.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            line += QLatin1Char('"') + value + QLatin1Char('"');
        }
        out << line.toStdString() << "\r\n";
    }
    if (!sample.Usable()) {
        err << "Unable to import from this file\n";
        return kExitRefused;
    }
    return kExitOk;
}

// The files of an address file this command makes (table, index, memo), removed again when the
// command does not complete. Files that were there before are never touched.
class TNewFileGuard {
public:
    TNewFileGuard() = default;
    TNewFileGuard(const TNewFileGuard&) = delete;
    TNewFileGuard& operator=(const TNewFileGuard&) = delete;
    ~TNewFileGuard()
    {
        if (mKeep)
            return;
        for (const QString& path : mPaths)
            QFile::remove(path);
    }
    void Note(const QString& table)
    {
        const QFileInfo info(table);
        const QString stem = info.path() + QLatin1Char('/') + info.completeBaseName();
        const QStringList paths = {table, stem + QStringLiteral(".cdx"),
                                   stem + QStringLiteral(".CDX"), stem + QStringLiteral(".fpt"),
                                   stem + QStringLiteral(".FPT")};
        for (const QString& path : paths)
            if (!QFileInfo::exists(path))
                mPaths.append(path);
    }
    void Keep() { mKeep = true; }

private:
    QStringList mPaths;
    bool mKeep = false;
};

int Import(const TTableArgs& args, std::ostream& out, std::ostream& err)
{
    if (args.Has("sample")) {
        if (args.PositionalCount() != 0)
            throw TArgsError("--sample takes no address file");
        return ImportSample(args.Value("sample"), out, err);
    }
    if (args.PositionalCount() != 1)
        throw TArgsError("give one address file");
    int sources = 0;
    for (const char* option : {"csv", "dbf", "v1", "v2"})
        sources += args.Has(option) ? 1 : 0;
    if (sources != 1)
        throw TArgsError("give exactly one of --csv, --dbf, --v1 and --v2");
    if (args.Has("csv") && !args.Has("map"))
        throw TArgsError("--csv needs --map");
    if ((args.Has("v1") || args.Has("v2")) && args.Has("map"))
        throw TArgsError("--v1 and --v2 copy fields by name and take no --map");

    const QString address = Q(args.Positional(0));
    const QString sourcePath = Q(args.Has("csv")   ? args.Value("csv")
                                 : args.Has("dbf") ? args.Value("dbf")
                                 : args.Has("v1")  ? args.Value("v1")
                                                   : args.Value("v2"));
    if (!QFileInfo(sourcePath).isFile()) {
        err << "quillmark-tool import: " << S(sourcePath) << " not found\n";
        return kExitFile;
    }
    // An address file made by --new goes again when the import does not complete, so the same
    // command can be run again once its mistake is mended.
    TNewFileGuard made;
    if (args.Has("new")) {
        if (QFileInfo::exists(address)) {
            err << "quillmark-tool import: " << S(address)
                << " already exists (--new makes a new file)\n";
            return kExitRefused;
        }
        made.Note(address);
        const QString error = data::TAddressFile::Create(address, data::TNewFileFieldLengths());
        if (!error.isEmpty()) {
            err << "quillmark-tool import: " << S(error) << "\n";
            return kExitFile;
        }
    }
    if (transfer::TFileIdentity::Same(address, sourcePath)) {
        PrintMessage(err, QStringLiteral("Cannot import a file to itself"));
        return kExitRefused;
    }

    auto table = xbase::TTable::Open(S(address));
    if (!IsAddressFile(*table)) {
        err << "quillmark-tool import: " << S(address) << " is not a Quillmark address file\n";
        return kExitRefused;
    }

    std::unique_ptr<transfer::TDbfSourceTable> sourceTable;
    std::unique_ptr<transfer::TImportSource> source;
    transfer::TImportKind kind = transfer::TImportKind::Dbf;
    if (args.Has("csv")) {
        kind = transfer::TImportKind::Ascii;
        const transfer::TCsvSample sample = transfer::TCsvSample::FromFile(sourcePath);
        if (!sample.Usable()) {
            PrintMessage(err, sample.Error().isEmpty()
                                  ? QStringLiteral("Unable to import from this file")
                                  : transfer::TImportRun::RefusalMessage(sample.Error()));
            return kExitRefused;
        }
        transfer::TFieldMatch match(transfer::TFieldMatch::StandardTargets(*table, false),
                                    transfer::TFieldMatch::TextSources(sample.FieldCount()));
        if (const QString error = match.ApplyMap(Q(args.Value("map"))); !error.isEmpty())
            throw TArgsError("--map: " + S(error));
        source = std::make_unique<transfer::TCsvImportSource>(sourcePath, match, *table,
                                                              sample.FieldCount());
    } else {
        try {
            sourceTable = std::make_unique<transfer::TDbfSourceTable>(sourcePath);
        } catch (const transfer::TTransferError& error) {
            PrintMessage(err, error.Message());
            return kExitFile;
        }
        if (sourceTable->RecordCount() == 0) {
            PrintMessage(err, QStringLiteral("There are no records in ") + sourcePath);
            return kExitRefused;
        }
        if (args.Has("dbf")) {
            transfer::TFieldMatch match(transfer::TFieldMatch::StandardTargets(*table, true),
                                        transfer::TFieldMatch::TableSources(sourceTable->Table()));
            if (args.Has("map")) {
                if (const QString error = match.ApplyMap(Q(args.Value("map"))); !error.isEmpty())
                    throw TArgsError("--map: " + S(error));
            } else {
                match.Preset();
            }
            if (!match.AnyMatched()) {
                err << "quillmark-tool import: no field of " << S(sourcePath)
                    << " matches a field of the address file (give --map)\n";
                return kExitRefused;
            }
            source = std::make_unique<transfer::TDbfImportSource>(*sourceTable, match, *table);
        } else {
            kind = transfer::TImportKind::Older;
            const auto version = args.Has("v1") ? transfer::TOlderImportSource::TVersion::V1
                                                : transfer::TOlderImportSource::TVersion::V2;
            const QString error = transfer::TOlderImportSource::VersionError(*sourceTable, version);
            if (!error.isEmpty()) {
                PrintMessage(err, error);
                return kExitRefused;
            }
            source = std::make_unique<transfer::TOlderImportSource>(*sourceTable, version, *table);
        }
    }

    transfer::TImportRun run(*table, *source);
    const transfer::TImportOutcome outcome = run.Import({});
    PrintMessage(outcome.refusal.isEmpty() ? out : err, outcome.ClosingMessage(kind));
    if (!outcome.refusal.isEmpty() ||
        (!outcome.changed && outcome.failure == transfer::TImportOutcome::TFailure::None)) {
        table->Close();
        return kExitRefused;
    }
    const QString rebuilt = run.Rebuild({});
    if (!rebuilt.isEmpty())
        PrintMessage(err, rebuilt);
    table->Close();
    if (outcome.failure != transfer::TImportOutcome::TFailure::None || !rebuilt.isEmpty())
        return kExitFile;
    made.Keep();
    return kExitOk;
}

int Export(const TTableArgs& args, std::ostream& out, std::ostream& err)
{
    if (args.PositionalCount() != 1)
        throw TArgsError("give one address file");
    if (args.Has("csv") == args.Has("dbf"))
        throw TArgsError("give one of --csv and --dbf");
    bool utf8 = true;
    if (args.Has("encoding")) {
        const QString encoding = Q(args.Value("encoding")).toLower();
        if (encoding == QLatin1String("windows-1252") || encoding == QLatin1String("cp1252"))
            utf8 = false;
        else if (encoding != QLatin1String("utf-8") && encoding != QLatin1String("utf8"))
            throw TArgsError("--encoding is utf-8 or windows-1252");
        if (args.Has("dbf"))
            throw TArgsError("--encoding is for --csv (tables hold Windows-1252)");
    }
    const transfer::TCopyTargetKind kind =
        args.Has("dbf") ? transfer::TCopyTargetKind::Dbf : transfer::TCopyTargetKind::Text;
    const QString address = Q(args.Positional(0));
    const QString target = transfer::TCopyOutTarget::WithDefaultExtension(
        Q(args.Value(args.Has("dbf") ? "dbf" : "csv")), kind);
    const auto check = transfer::TCopyOutTarget::Check(target, kind, address);
    if (check.verdict == transfer::TCopyOutTarget::TVerdict::Refused) {
        PrintMessage(err, check.message);
        return kExitRefused;
    }
    if (check.verdict == transfer::TCopyOutTarget::TVerdict::AskOverwrite &&
        !args.Has("overwrite")) {
        err << S(target) << " already exists (give --overwrite to replace it)\n";
        return kExitRefused;
    }

    xbase::TTableOptions options;
    options.mode = xbase::TOpenMode::ReadOnly;
    auto table = xbase::TTable::Open(S(address), options);
    if (!IsAddressFile(*table)) {
        err << "quillmark-tool export: " << S(address) << " is not a Quillmark address file\n";
        return kExitRefused;
    }
    xbase::TSettingScope hideDeleted(&xbase::TEngineSettings::deleted, true);
    xbase::TCursor cursor(*table);
    if (args.Has("order")) {
        try {
            cursor.SelectTag(args.Value("order"));
        } catch (const xbase::TXbaseError&) {
            throw TArgsError("the address file has no tag " + args.Value("order"));
        }
    }
    const std::string query =
        args.Has("filter") ? "(" + args.Value("filter") + ") .and. !ISDEL" : std::string("!ISDEL");
    try {
        cursor.SetQuery(query);
    } catch (const xbase::TXbaseError& error) {
        throw TArgsError("--filter: " + error.Message());
    }
    // Nothing shown: refused before any file is made. The count for a percentage is not needed.
    cursor.GoTop();
    const uint32_t total = 0;
    if (cursor.Eof()) {
        PrintMessage(err, QStringLiteral("No active records for current filter. Nothing to copy"));
        return kExitRefused;
    }
    const transfer::TCopyOutOutcome outcome =
        kind == transfer::TCopyTargetKind::Dbf
            ? transfer::TCopyOutRun::CopyDbf(cursor, target, total, {})
            : transfer::TCopyOutRun::CopyText(cursor, target, utf8, total, {});
    table->Close();
    if (!outcome.error.isEmpty()) {
        PrintMessage(err, outcome.error);
        return kExitFile;
    }
    out << "Copied " << outcome.copied << " records to " << S(target) << ".\n";
    return kExitOk;
}

int RunGuarded(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const char* name, const char* help, const std::vector<std::string>& flags,
               const std::vector<std::string>& valued,
               int (*run)(const TTableArgs&, std::ostream&, std::ostream&))
{
    if (args.empty()) {
        err << help;
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        out << help;
        return kExitOk;
    }
    try {
        return run(TTableArgs::Parse(args, flags, valued), out, err);
    } catch (const TArgsError& e) {
        err << "quillmark-tool " << name << ": " << e.what() << " (try --help)\n";
        return kExitUsage;
    } catch (const transfer::TTransferError& e) {
        PrintMessage(err, e.Message());
        return kExitFile;
    } catch (const xbase::TXbaseError& e) {
        err << "quillmark-tool " << name << ": " << e.what() << "\n";
        return e.Kind() == xbase::TErrorKind::InUse ? kExitRefused : kExitFile;
    }
}

} // namespace

int RunImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunGuarded(args, out, err, "import", kImportHelp, {"new"},
                      {"csv", "dbf", "v1", "v2", "map", "sample"}, &Import);
}

int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunGuarded(args, out, err, "export", kExportHelp, {"overwrite"},
                      {"csv", "dbf", "filter", "order", "encoding"}, &Export);
}

} // namespace qm::tools
