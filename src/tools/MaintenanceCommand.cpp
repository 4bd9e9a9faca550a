// The "check" and "edit" command groups: the duplicate check, the state/ZIP check and the bulk
// edits of the Utilities menu run on an address file from the command line, through the same
// classes as the windows.

#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TProgramHome.h"
#include "data/TWin1252.h"
#include "maintenance/TCaseConversionRun.h"
#include "maintenance/TDeleteRecordsRun.h"
#include "maintenance/TDuplicateCheckRun.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TMaintenanceFields.h"
#include "maintenance/TResultIndex.h"
#include "maintenance/TSearchReplaceRun.h"
#include "maintenance/TStateZipCheckRun.h"
#include "maintenance/TStateZipRanges.h"
#include "tools/TCsvWriter.h"
#include "tools/TTableArgs.h"
#include "tools/TTextEncoding.h"
#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TExpression.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <ostream>

namespace qm::tools {
namespace {

using maintenance::TMaintenanceError;

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr int kExitFile = 3;

const char* const kCheckHelp = R"(Usage: quillmark-tool check COMMAND ADDRESS.DBF [OPTIONS]

Runs the checks of the Utilities menu on an address file and prints the records they list, in the
order the check's window lists them, as CSV in the format of "quillmark-tool table dump": a line
RECNO,DELETED and the field names, then one line per record (UTF-8, lines ended by CR LF). The
count line the window shows ("Found ...") goes to standard error. The address file is opened
exclusively: a file that Quillmark (or another program) holds is refused as in use.

Commands:
  duplicates ADDRESS.DBF --by name|initial|street [--chars N]
      Records that may describe the same person or address: each record is compared with the one
      before it in Last Name order (name: last and first name; initial: last name and the first
      letter of the first name) or in street order (street: the first N characters of Address 1,
      N from 1 to 30, default 30), ignoring case. Records with an empty last name or street are
      never listed. Listed by the key of the check.

  state-zip ADDRESS.DBF [--blanks] [--csz CSZ.DBF]
      Records whose state is not in the state/ZIP range table, or whose ZIP lies outside every
      range of its state. Records with an empty state or ZIP are left out, unless --blanks is
      given (then they are always listed). The range table is CSZ.DBF of the program's sysdata
      folder, or the table --csz names. Listed by last and first name.

Records carrying the deletion mark, or whose ISDEL is true, are never checked.

Exit codes: 0 success (whether or not records were listed), 2 bad usage, 3 a file could not be
read (missing, damaged, in use, an index tag missing: "quillmark-tool table reindex" rebuilds it).
)";

const char* const kEditHelp = R"(Usage: quillmark-tool edit COMMAND ADDRESS.DBF [OPTIONS]

Runs the bulk edits of the Utilities menu on an address file and prints their closing message.
They cannot be undone. The address file is opened exclusively: a file that Quillmark (or another
program) holds is refused as in use. Fields are given by name (LNAME) or by the label the window
shows ("Last Name"); EXPR is an xBase expression as in Quillmark's filters. Records carrying the
deletion mark are never changed. Each record is written whole or not at all, and the file is
committed at least every half second. A write that fails stops the command with exit code 3 and
"Stopped by an error after ... N records." and the reason on standard error: the N records
counted were changed and stay so.

Commands:
  case ADDRESS.DBF --to upper|lower|proper [--fields F,...] [--filter EXPR]
      Converts the case of the fields (default: every field Convert Case offers) of every record
      not deleted, or of the records EXPR selects. proper lower-cases the value and capitalises
      each letter at its start or after a blank. No value changes its length (Windows-1252 has no
      capital for ß and µ; they stay). Prints "Converted N records".

  delete ADDRESS.DBF --all | --matching EXPR | --not-matching EXPR
      --all removes every record for good at once; the others mark the records EXPR selects (or
      does not select) as deleted, ISDEL included. Prints "Deleted N records" (records that were
      deleted already are not counted).

  replace ADDRESS.DBF --field F (--exactly V | --contains V) [--ignore-case]
                      (--whole R | --partial R) [--filter EXPR]
      Finds the records whose field F is exactly V (the whole value; an empty V: the field is
      empty) or contains V, and replaces the whole field with R or only each matching text with
      R. A record whose new value would be longer than the field is left unchanged and counted
      apart. Prints "Replaced N records", then "Replacement done" and the count of records left
      unchanged when there are any.

Exit codes: 0 success, 2 bad usage (unknown option or field, bad expression, a value too long or
holding a character an address file cannot store), 3 a file could not be read or written
(missing, damaged, in use).
)";

class TUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// Opens the address file exclusively with its field objects; throws TMaintenanceError with the
// reason.
void OpenAddressFile(data::TDataSet& dataSet, const std::string& path)
{
    const QString file = FromUtf8(path);
    if (!QFileInfo::exists(file))
        throw TMaintenanceError(QStringLiteral("File ") + file + QStringLiteral(" not found"));
    data::TAddressFile::DeclareFieldObjects(dataSet);
    try {
        dataSet.Open(file, xbase::TOpenMode::Exclusive);
    } catch (const xbase::TXbaseError& error) {
        if (error.Kind() == xbase::TErrorKind::InUse)
            throw TMaintenanceError(file + QStringLiteral(" is in use by another program"));
        throw TMaintenanceError(QStringLiteral("Unable to open ") + file + QStringLiteral(": ") +
                                FromUtf8(error.Message()));
    } catch (const data::TDataSetError& error) {
        throw TMaintenanceError(QStringLiteral("Unable to open ") + file + QStringLiteral(": ") +
                                error.Message());
    }
}

// The shown records in the data set's order, as "table dump" prints them.
void DumpShown(data::TDataSet& dataSet, std::ostream& out)
{
    xbase::TTable& table = dataSet.Table();
    xbase::TCursor& cursor = dataSet.Cursor();
    TCsvWriter csv(out);
    csv.Field("RECNO");
    csv.Field("DELETED");
    const auto& fields = table.Fields();
    for (const auto& field : fields)
        csv.Field(TTextEncoding::Win1252ToUtf8(field.name));
    csv.EndRecord();
    for (cursor.GoTop(); !cursor.Eof(); cursor.Skip()) {
        csv.Field(std::to_string(cursor.RecNo()));
        csv.Field(table.Deleted() ? "T" : "F");
        for (size_t i = 0; i < fields.size(); ++i)
            csv.Field(TTextEncoding::Win1252ToUtf8(table.GetText(static_cast<int>(i))));
        csv.EndRecord();
    }
    out.flush();
}

// A result index in a folder of its own, so that two runs never share one.
QString ResultPath(const QTemporaryDir& dir, const char* name)
{
    if (!dir.isValid())
        throw TMaintenanceError(QStringLiteral("Unable to make a temporary folder for the result"));
    return QDir(dir.path()).filePath(QString::fromLatin1(name));
}

int CheckDuplicates(const TTableArgs& args, std::ostream& out, std::ostream& err)
{
    if (!args.Has("by"))
        throw TUsage("duplicates needs --by name|initial|street");
    const std::string by = args.Value("by");
    maintenance::TDuplicateOptions options;
    if (by == "name")
        options.kind = maintenance::TDuplicateKind::Name;
    else if (by == "initial")
        options.kind = maintenance::TDuplicateKind::Initial;
    else if (by == "street")
        options.kind = maintenance::TDuplicateKind::Street;
    else
        throw TUsage("--by takes name, initial or street, not '" + by + "'");
    if (args.Has("chars")) {
        if (options.kind != maintenance::TDuplicateKind::Street)
            throw TUsage("--chars belongs to --by street");
        const int64_t chars = args.Number("chars");
        if (chars < 1 || chars > maintenance::TDuplicateCheckRun::kMaxStreetChars)
            throw TUsage("--chars takes 1 to 30");
        options.streetChars = int(chars);
    }
    data::TDataSet dataSet;
    OpenAddressFile(dataSet, args.Positional(0));
    xbase::TSettingScope hide(&xbase::TEngineSettings::deleted, true);
    dataSet.Cursor().SetQuery("!ISDEL");
    const QTemporaryDir dir;
    maintenance::TResultIndex index(dataSet,
                                    ResultPath(dir, maintenance::TResultIndex::kDuplicatesFile),
                                    maintenance::TDuplicateCheckRun::KeyExpression(options.kind));
    const auto outcome = maintenance::TDuplicateCheckRun(dataSet, options).Run(index);
    err << "Found " << outcome.duplicates << " possible duplicates\n";
    if (outcome.listed > 0) {
        index.MakeOrder();
        DumpShown(dataSet, out);
    } else {
        TCsvWriter csv(out);
        csv.Field("RECNO");
        csv.Field("DELETED");
        for (const auto& field : dataSet.Table().Fields())
            csv.Field(TTextEncoding::Win1252ToUtf8(field.name));
        csv.EndRecord();
    }
    return kExitOk;
}

int CheckStateZip(const TTableArgs& args, std::ostream& out, std::ostream& err)
{
    maintenance::TStateZipRanges ranges;
    const QString message = args.Has("csz")
                                ? ranges.LoadFile(FromUtf8(args.Value("csz")))
                                : ranges.Load(TToolEnvironment::ProgramHome().SysDataDir());
    if (!message.isEmpty())
        throw TMaintenanceError(message);
    data::TDataSet dataSet;
    OpenAddressFile(dataSet, args.Positional(0));
    xbase::TSettingScope hide(&xbase::TEngineSettings::deleted, true);
    dataSet.Cursor().SetQuery("!ISDEL");
    const QTemporaryDir dir;
    maintenance::TResultIndex index(dataSet,
                                    ResultPath(dir, maintenance::TResultIndex::kStateZipFile),
                                    maintenance::TStateZipCheckRun::KeyExpression());
    const auto outcome =
        maintenance::TStateZipCheckRun(dataSet, ranges, args.Has("blanks")).Run(index);
    err << "Found " << outcome.questionable << " records with questionable state or zipcodes\n";
    index.MakeOrder();
    DumpShown(dataSet, out);
    return kExitOk;
}

QString ResolveField(const std::vector<maintenance::TFieldChoice>& list, const std::string& given)
{
    const QString field = maintenance::TMaintenanceFields::Resolve(list, FromUtf8(given));
    if (field.isEmpty())
        throw TUsage("no field '" + given + "' here; give one of " + [&] {
            std::string names;
            for (const auto& choice : list)
                names += (names.empty() ? "" : ", ") + Utf8(choice.field);
            return names;
        }());
    return field;
}

QString FilterQuery(const TTableArgs& args, const char* option, data::TDataSet& dataSet)
{
    if (!args.Has(option))
        return {};
    const QString expression = FromUtf8(args.Value(option)).trimmed();
    if (expression.isEmpty())
        throw TUsage(std::string("--") + option + " needs an expression");
    QChar bad;
    const auto bytes = data::TWin1252::Encode(expression, &bad);
    if (!bytes)
        throw TUsage(std::string("--") + option + " holds the character " + Utf8(QString(bad)) +
                     ", which an address file cannot store");
    // Compiled once here so a bad expression is a usage error before anything changes.
    xbase::TExpression::Check(bytes->toStdString(), dataSet.Table().Fields());
    return expression;
}

int EditCase(const TTableArgs& args, std::ostream& out)
{
    if (!args.Has("to"))
        throw TUsage("case needs --to upper|lower|proper");
    maintenance::TCaseOptions options;
    const std::string to = args.Value("to");
    if (to == "upper")
        options.kind = maintenance::TCaseKind::Upper;
    else if (to == "lower")
        options.kind = maintenance::TCaseKind::Lower;
    else if (to == "proper")
        options.kind = maintenance::TCaseKind::Proper;
    else
        throw TUsage("--to takes upper, lower or proper, not '" + to + "'");
    const auto& list = maintenance::TMaintenanceFields::CaseFields();
    if (args.Has("fields")) {
        for (const QString& name :
             FromUtf8(args.Value("fields")).split(QLatin1Char(','), Qt::SkipEmptyParts))
            options.fields << ResolveField(list, Utf8(name));
    } else {
        for (const auto& choice : list)
            options.fields << choice.field;
    }
    if (options.fields.isEmpty())
        throw TUsage("--fields names no field");
    data::TDataSet dataSet;
    OpenAddressFile(dataSet, args.Positional(0));
    xbase::TSettingScope hide(&xbase::TEngineSettings::deleted, true);
    const QString filter = FilterQuery(args, "filter", dataSet);
    if (filter.isEmpty()) {
        options.scope = maintenance::TCaseScope::AllRecords;
    } else {
        options.scope = maintenance::TCaseScope::FilterMatches;
        const QString query = QStringLiteral("(") + filter + QStringLiteral(") .and. !ISDEL");
        dataSet.Cursor().SetQuery(data::TWin1252::Encode(query)->toStdString());
    }
    const auto outcome = maintenance::TCaseConversionRun(dataSet, options).Run();
    // Closing commits: its failure is the command's, reported before any count.
    dataSet.Close();
    out << "Converted " << outcome.records << " records\n";
    return kExitOk;
}

int EditDelete(const TTableArgs& args, std::ostream& out)
{
    const int given =
        int(args.Has("all")) + int(args.Has("matching")) + int(args.Has("not-matching"));
    if (given != 1)
        throw TUsage("delete needs one of --all, --matching EXPR and --not-matching EXPR");
    data::TDataSet dataSet;
    OpenAddressFile(dataSet, args.Positional(0));
    maintenance::TDeleteScope scope = maintenance::TDeleteScope::All;
    QString filter;
    if (args.Has("matching")) {
        scope = maintenance::TDeleteScope::Matching;
        filter = FilterQuery(args, "matching", dataSet);
    } else if (args.Has("not-matching")) {
        scope = maintenance::TDeleteScope::NotMatching;
        filter = FilterQuery(args, "not-matching", dataSet);
    }
    const auto outcome = maintenance::TDeleteRecordsRun(dataSet, scope, filter).Run();
    dataSet.Close();
    out << Utf8(maintenance::TDeleteRecordsRun::CountText(outcome.deleted)) << "\n";
    return kExitOk;
}

int EditReplace(const TTableArgs& args, std::ostream& out)
{
    if (!args.Has("field"))
        throw TUsage("replace needs --field F");
    if (args.Has("exactly") == args.Has("contains"))
        throw TUsage("replace needs one of --exactly V and --contains V");
    if (args.Has("whole") == args.Has("partial"))
        throw TUsage("replace needs one of --whole R and --partial R");
    maintenance::TReplaceOptions options;
    options.field =
        ResolveField(maintenance::TMaintenanceFields::ReplaceFields(), args.Value("field"));
    options.exactly = args.Has("exactly");
    options.find = FromUtf8(args.Value(options.exactly ? "exactly" : "contains"));
    options.caseSensitive = !args.Has("ignore-case");
    options.wholeField = args.Has("whole");
    options.replacement = FromUtf8(args.Value(options.wholeField ? "whole" : "partial"));
    data::TDataSet dataSet;
    OpenAddressFile(dataSet, args.Positional(0));
    options.scopeExpression = FilterQuery(args, "filter", dataSet);
    const int width =
        int(dataSet.Table()
                .Fields()[size_t(dataSet.Table().FieldIndex(options.field.toStdString()))]
                .length);
    for (const QString* value : {&options.find, &options.replacement})
        if (value->size() > width)
            throw TUsage("'" + Utf8(*value) + "' is longer than the field " + Utf8(options.field) +
                         " (" + std::to_string(width) + " characters)");
    for (const QString* value : {&options.find, &options.replacement}) {
        QChar bad;
        if (!data::TWin1252::CanEncode(*value, &bad))
            throw TUsage("'" + Utf8(*value) + "' holds the character " + Utf8(QString(bad)) +
                         ", which an address file cannot store");
    }
    const auto outcome = maintenance::TSearchReplaceRun(dataSet, options).Run();
    dataSet.Close();
    out << Utf8(maintenance::TSearchReplaceRun::CountText(outcome.replaced)) << "\n";
    QString done = maintenance::TSearchReplaceRun::DoneText(outcome);
    done.replace(QStringLiteral("\r\n\r\n"), QStringLiteral("\n"));
    out << Utf8(done) << "\n";
    return kExitOk;
}

struct TSub {
    const char* name;
    std::vector<std::string> flags;
    std::vector<std::string> valued;
    int (*run)(const TTableArgs&, std::ostream&, std::ostream&);
};

int RunGroup(const char* group, const char* help, const std::vector<TSub>& subs,
             const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::string prefix = std::string("quillmark-tool ") + group;
    if (args.empty()) {
        err << help;
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help" ||
        std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << help;
        return kExitOk;
    }
    const auto sub =
        std::find_if(subs.begin(), subs.end(), [&](const TSub& s) { return args[0] == s.name; });
    if (sub == subs.end()) {
        err << prefix << ": unknown command '" << args[0] << "' (try " << prefix << " --help)\n";
        return kExitUsage;
    }
    const std::string name = prefix + " " + sub->name;
    try {
        const TTableArgs parsed = TTableArgs::Parse(
            std::vector<std::string>(args.begin() + 1, args.end()), sub->flags, sub->valued);
        if (parsed.PositionalCount() != 1)
            throw TUsage(std::string(sub->name) + " takes one address file, not " +
                         std::to_string(parsed.PositionalCount()) + " arguments");
        return sub->run(parsed, out, err);
    } catch (const TArgsError& e) {
        err << name << ": " << e.what() << " (try " << prefix << " --help)\n";
        return kExitUsage;
    } catch (const TUsage& e) {
        err << name << ": " << e.what() << "\n";
        return kExitUsage;
    } catch (const TMaintenanceError& e) {
        err << name << ": " << Utf8(e.Message()) << "\n";
        if (!e.MissingTag().isEmpty())
            err << "Rebuild the indexes with: quillmark-tool table reindex " << args[1] << "\n";
        return e.Message().contains(QStringLiteral("cannot store")) ||
                       e.Message().contains(QStringLiteral("longer than"))
                   ? kExitUsage
                   : kExitFile;
    } catch (const xbase::TXbaseError& e) {
        err << name << ": " << e.what() << "\n";
        switch (e.Kind()) {
        case xbase::TErrorKind::Syntax:
        case xbase::TErrorKind::Type:
        case xbase::TErrorKind::Usage:
            return kExitUsage;
        default:
            return kExitFile;
        }
    } catch (const data::TDataSetError& e) {
        err << name << ": " << Utf8(e.Message()) << "\n";
        return kExitUsage;
    }
}

} // namespace

int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    static const std::vector<TSub> subs = {
        {"duplicates", {}, {"by", "chars"}, &CheckDuplicates},
        {"state-zip", {"blanks"}, {"csz"}, &CheckStateZip},
    };
    return RunGroup("check", kCheckHelp, subs, args, out, err);
}

int RunEditCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    static const std::vector<TSub> subs = {
        {"case",
         {},
         {"to", "fields", "filter"},
         [](const TTableArgs& a, std::ostream& o, std::ostream&) { return EditCase(a, o); }},
        {"delete",
         {"all"},
         {"matching", "not-matching"},
         [](const TTableArgs& a, std::ostream& o, std::ostream&) { return EditDelete(a, o); }},
        {"replace",
         {"ignore-case"},
         {"field", "exactly", "contains", "whole", "partial", "filter"},
         [](const TTableArgs& a, std::ostream& o, std::ostream&) { return EditReplace(a, o); }},
    };
    return RunGroup("edit", kEditHelp, subs, args, out, err);
}

} // namespace qm::tools
