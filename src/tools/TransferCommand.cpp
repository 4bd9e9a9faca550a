// The "import" and "export" command groups: the import and copy-out classes the windows use, run
// from the command line on an address file.

#include "tools/TTableArgs.h"
#include "tools/TToolCommand.h"

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TNewFileFieldLengths.h"
#include "transfer/TColumnNames.h"
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
#include "transfer/TVCardCopyOut.h"
#include "transfer/TVCardImportSource.h"
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
  quillmark-tool import ADDRESS.DBF [--new] --csv FILE [--header | --no-header]
                 [--map "1=Last Name,4=ZIP,..."]
  quillmark-tool import ADDRESS.DBF [--new] --dbf FILE [--map "FIELD=TARGET,..."]
  quillmark-tool import ADDRESS.DBF [--new] --vcard FILE
  quillmark-tool import ADDRESS.DBF [--new] --v1 FILE
  quillmark-tool import ADDRESS.DBF [--new] --v2 FILE
  quillmark-tool import --sample FILE

Appends records to an address file, as the program's import windows do, and rebuilds its 26
index tags afterwards.

  --csv FILE   a comma-separated text file: every line is a record, except a first line that
               names the columns; quoted values may hold commas, doubled quotes and line breaks
               (a line break becomes a blank). UTF-8 (with or without byte-order mark), UTF-16
               with a byte-order mark, or else Windows-1252.
               A first line of column names is found by itself (every value text, not a number,
               and two or more known names: this program's field names and labels, or the column
               names of the usual address exports); --header says it is one, --no-header that it
               is data. The summary says which it was.
               --map: SOURCE=TARGET pairs, SOURCE a field position from 1 or a column name of the
               first line, TARGET a field's display label ("Last Name", "Zip/Postal Code") or
               name (LNAME, ZIP) in any case. Without --map the columns are matched by name
               (a file without column names needs --map).
  --dbf FILE   any xBase table (dBase III/IV, FoxPro, Visual FoxPro, Clipper), read in record
               order without its index; records with the deletion mark are skipped. Without --map
               each field goes to the target of its name or label, a memo to Memo, a date to Date
               (the record date). Targets are the character fields plus "Memo" and "Date".
  --vcard FILE  a vCard file (versions 2.1, 3.0, 4.0), one record per card. N, FN, ORG,
               TITLE, ADR, TEL, EMAIL and CATEGORIES fill the fields by themselves (no --map);
               NOTE, BDAY and further addresses, numbers and e-mail addresses go to the memo.
               Of several ADR, TEL or EMAIL the preferred one comes first, else home, else work.
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
  quillmark-tool export ADDRESS.DBF (--csv OUT | --dbf OUT | --vcard OUT) [--filter EXPR]
                 [--order TAG] [--encoding utf-8|windows-1252] [--vcard-version 3.0|4.0]
                 [--overwrite]

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
  --vcard OUT  a vCard file, one card per record, UTF-8 (version 3.0, or 4.0 with
               --vcard-version 4.0): N, FN, ORG, TITLE, ADR, TEL (Phone 1 as home, Phone 2 as
               work, Fax), EMAIL, CATEGORIES (Codes), NOTE (the memo), and X-QUILLMARK-DATE,
               -COMMENT1 and -COMMENT2. OUT without extension gets .vcf. Read back by
               "import --vcard" into the same values.
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
    for (const char* option : {"csv", "dbf", "vcard", "v1", "v2"})
        sources += args.Has(option) ? 1 : 0;
    if (sources != 1)
        throw TArgsError("give exactly one of --csv, --dbf, --vcard, --v1 and --v2");
    if (args.Has("vcard") && args.Has("map"))
        throw TArgsError("--vcard fills the fields by property and takes no --map");
    if (!args.Has("csv") && (args.Has("header") || args.Has("no-header")))
        throw TArgsError("--header and --no-header are for --csv");
    if (args.Has("header") && args.Has("no-header"))
        throw TArgsError("give one of --header and --no-header");
    if ((args.Has("v1") || args.Has("v2")) && args.Has("map"))
        throw TArgsError("--v1 and --v2 copy fields by name and take no --map");

    const QString address = Q(args.Positional(0));
    const QString sourcePath = Q(args.Has("csv")     ? args.Value("csv")
                                 : args.Has("dbf")   ? args.Value("dbf")
                                 : args.Has("vcard") ? args.Value("vcard")
                                 : args.Has("v1")    ? args.Value("v1")
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
    if (args.Has("vcard")) {
        kind = transfer::TImportKind::Ascii;
        try {
            source = std::make_unique<transfer::TVCardImportSource>(sourcePath, *table);
        } catch (const transfer::TTransferError& error) {
            PrintMessage(err, transfer::TImportRun::RefusalMessage(error.Message()));
            return kExitRefused;
        }
    } else if (args.Has("csv")) {
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
        const QStringList& first = sample.Rows().front();
        const transfer::TColumnNames& names = transfer::TColumnNames::Shipped();
        const bool found = names.IsHeader(first, match.Targets());
        const bool header = args.Has("header") || (found && !args.Has("no-header"));
        if (header)
            match.SetColumnNames(first);
        if (args.Has("map")) {
            if (const QString error = match.ApplyMap(Q(args.Value("map"))); !error.isEmpty())
                throw TArgsError("--map: " + S(error));
        } else if (!header) {
            throw TArgsError("the first line of " + S(sourcePath) +
                             " does not name columns: give --map (or --header)");
        } else {
            names.MatchByName(match, first);
        }
        if (!match.AnyMatched()) {
            err << "quillmark-tool import: no column of " << S(sourcePath)
                << " matches a field of the address file (give --map)\n";
            return kExitRefused;
        }
        if (header) {
            out << (args.Has("header") ? "The first line holds column names (--header); it is "
                                         "not imported.\n"
                                       : "The first line holds column names; it is not "
                                         "imported.\n");
            for (size_t row = 0; row < match.Targets().size(); ++row)
                if (const int from = match.SourceOf(int(row)); from >= 0)
                    out << "  " << S(match.Sources()[size_t(from)].Shown()) << " -> "
                        << S(match.Targets()[row].label) << "\n";
        }
        auto csvSource = std::make_unique<transfer::TCsvImportSource>(sourcePath, match, *table,
                                                                      sample.FieldCount());
        csvSource->SetHeaderLine(header);
        source = std::move(csvSource);
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
    if (int(args.Has("csv")) + int(args.Has("dbf")) + int(args.Has("vcard")) != 1)
        throw TArgsError("give one of --csv, --dbf and --vcard");
    transfer::TVCardVersion version = transfer::TVCardVersion::V30;
    if (args.Has("vcard-version")) {
        if (!args.Has("vcard"))
            throw TArgsError("--vcard-version is for --vcard");
        const std::string v = args.Value("vcard-version");
        if (v == "4.0" || v == "4")
            version = transfer::TVCardVersion::V40;
        else if (v != "3.0" && v != "3")
            throw TArgsError("--vcard-version is 3.0 or 4.0");
    }
    bool utf8 = true;
    if (args.Has("encoding")) {
        const QString encoding = Q(args.Value("encoding")).toLower();
        if (encoding == QLatin1String("windows-1252") || encoding == QLatin1String("cp1252"))
            utf8 = false;
        else if (encoding != QLatin1String("utf-8") && encoding != QLatin1String("utf8"))
            throw TArgsError("--encoding is utf-8 or windows-1252");
        if (!args.Has("csv"))
            throw TArgsError("--encoding is for --csv (tables hold Windows-1252, vCards UTF-8)");
    }
    const transfer::TCopyTargetKind kind = args.Has("dbf")     ? transfer::TCopyTargetKind::Dbf
                                           : args.Has("vcard") ? transfer::TCopyTargetKind::VCard
                                                               : transfer::TCopyTargetKind::Text;
    const QString address = Q(args.Positional(0));
    const QString target =
        transfer::TCopyOutTarget::WithDefaultExtension(Q(args.Value(args.Has("dbf")     ? "dbf"
                                                                    : args.Has("vcard") ? "vcard"
                                                                                        : "csv")),
                                                       kind);
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
        : kind == transfer::TCopyTargetKind::VCard
            ? transfer::TVCardCopyOut::Copy(cursor, target, version, total, {})
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
    return RunGuarded(args, out, err, "import", kImportHelp, {"new", "header", "no-header"},
                      {"csv", "dbf", "vcard", "v1", "v2", "map", "sample"}, &Import);
}

int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunGuarded(args, out, err, "export", kExportHelp, {"overwrite"},
                      {"csv", "dbf", "vcard", "vcard-version", "filter", "order", "encoding"},
                      &Export);
}

} // namespace qm::tools
