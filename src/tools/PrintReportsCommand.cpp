// "quillmark-tool print report|zipcount|record": the built-in list reports, the ZIP code count
// and the current-record sheet without their windows. The jobs draw through the same routines
// as the windows, into a page stream or straight into a PDF on the "PDF file" printer's
// geometry.

#include "tools/TJobFiles.h"
#include "tools/TRecordScopeArgs.h"
#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "data/TAddressFile.h"
#include "data/TApollo.h"
#include "data/TCalculatedFields.h"
#include "data/TDataSet.h"
#include "data/TOutputFile.h"
#include "data/TProgramHome.h"
#include "design/core/TFieldPickList.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGOwner.h"
#include "design/objects/TGPDLabel.h"
#include "design/stream/TLayoutError.h"
#include "design/text/TDesignUnits.h"
#include "print/TPdfReport.h"
#include "print/TPrintError.h"
#include "print/TRPDevice.h"
#include "print/TReportFiler.h"
#include "reports/TBuiltInLayouts.h"
#include "reports/TBuiltInReport.h"
#include "reports/TRecordSheet.h"
#include "reports/TReportFile.h"
#include "reports/TReportRunScope.h"
#include "reports/TReportStore.h"
#include "reports/TUserDefinedReport.h"
#include "reports/TZipCount.h"
#include "reports/TZipReport.h"
#include "reports/TZipTally.h"
#include "xbase/TCursor.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <optional>
#include <ostream>

namespace qm::tools {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitNothing = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFile = 3;

// The main window's sort order, which a user-designed report prints in.
constexpr const char* kDefaultOrder = "LNAME";

const char* const kReportUsage =
    "usage: quillmark-tool print report --table ADDR.DBF --builtin 1..4 [--title T] [--memo]\n"
    "           [--codes] [--paper letter|a4] [--landscape]\n"
    "           [--all | --query EXPR | --filter-file F.FLT | --record N] [--tagged]\n"
    "           [--start-record N] (--pdf OUT.pdf | --stream OUT)\n"
    "       quillmark-tool print report --table ADDR.DBF (--design DESCRIPTION | --layout FILE.R)\n"
    "           [--one-per-page] [--order TAG]\n"
    "           [--all | --query EXPR | --filter-file F.FLT | --record N] [--tagged]\n"
    "           [--start-record N] (--pdf OUT.pdf | --stream OUT)\n"
    "Prints one of the four built-in list reports of the \"Print Report\" window:\n"
    "  1  Name,Address,City,State,Zip,Phone      3  Organization,Name,Phone,Fax\n"
    "  2  Name,Organization,Phone,Fax            4  All major fields (takes several lines)\n"
    "Reports 1 to 3 start at the first record whose sort key is \"0\" or above (the whole\n"
    "run, also with --record or --start-record, is in the report's own sort order).\n"
    "Or prints a user-designed report on the paper of its layout, the records in the main\n"
    "window's sort order.\n"
    "\n"
    "  --title T        the report title (default \"Report N\"; may be empty)\n"
    "  --memo, --codes  print each record's memo and codes below it\n"
    "  --paper, --landscape   the sheet (default letter, portrait)\n"
    "  --design DESCRIPTION   a report of the program home (sysdata/REPORT.DBF) by its\n"
    "                   description\n"
    "  --layout FILE.R  a report layout file\n"
    "  --one-per-page   each record starts a page (\"One Record Per Page\")\n"
    "  --order TAG      the sort order the main window shows (default LNAME)\n";

const char* const kZipUsage =
    "usage: quillmark-tool print zipcount --table ADDR.DBF\n"
    "           [--all | --query EXPR | --filter-file F.FLT | --record N] [--tagged]\n"
    "           (--text | --pdf OUT.pdf | --stream OUT) [--paper letter|a4] [--landscape]\n"
    "Counts the records of each five-character ZIP code as \"Count Zip Codes\" does and prints\n"
    "the ZIP code count report. --text writes the report lines instead, one a line, as the\n"
    "report prints them (the two empty lines before the other keys included).\n";

const char* const kRecordUsage =
    "usage: quillmark-tool print record --table ADDR.DBF --record N [--fields LIST]\n"
    "           [--paper letter|a4] [--landscape] (--pdf OUT.pdf | --stream OUT)\n"
    "Prints record N as \"Print Current Record\" does. LIST names the fields to print by their\n"
    "check box captions, comma-separated (default all): Prefix, Last, First, Middle, Title,\n"
    "Organization, Address 1, Address 2, City, State/Province, Zip/Postal Code, Country,\n"
    "Phone 1, Phone 2, Fax, E-mail, Comment 1, Comment 2, Codes, Date, Memo.\n";

const char* const kCommonUsage =
    "\n"
    "  --all            every record not marked deleted (default)\n"
    "  --query EXPR     the records an xBase expression selects (\".and. !ISDEL\" is appended)\n"
    "  --filter-file F  the records a saved filter (.FLT) selects\n"
    "  --tagged         tagged records only; goes with --all, --query and --filter-file\n"
    "  --record N       record N only (\"Only current record\")\n"
    "  --start-record N (report) start from record N (\"Start from current record\"); a record\n"
    "                   the report does not take starts it from its first record\n"
    "  --pdf OUT.pdf    a PDF, written page by page; it appears only when complete\n"
    "  --stream OUT     a page stream (see 'quillmark-tool pages')\n"
    "\n"
    "Exit codes: 0 printed, 1 no record to print, 2 bad usage (a --query the engine refuses\n"
    "included), 3 a file could not be read or written, or the address file is damaged.\n";

struct TVerbOptions {
    std::string verb;
    std::string table, title, paper = "letter", pdf, stream, fields, design, layout;
    int builtin = 0;
    bool titleGiven = false, memo = false, codes = false, landscape = false, text = false;
    bool paperGiven = false, onePerPage = false;

    // A user-designed report: the paper is the layout's.
    bool UserReport() const { return !design.empty() || !layout.empty(); }
};

const char* Usage(const std::string& verb)
{
    return verb == "report" ? kReportUsage : verb == "zipcount" ? kZipUsage : kRecordUsage;
}

int Fail(std::ostream& err, const TVerbOptions& o, const std::string& problem)
{
    err << "quillmark-tool print " << o.verb << ": " << problem << "\n"
        << Usage(o.verb) << kCommonUsage;
    return kExitUsage;
}

// The verb's own options; the record options were taken out before.
int ParseVerb(const std::vector<std::string>& args, TVerbOptions& o, std::ostream& err)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--memo" && o.verb == "report") {
            o.memo = true;
        } else if (a == "--codes" && o.verb == "report") {
            o.codes = true;
        } else if (a == "--landscape") {
            o.landscape = true;
            o.paperGiven = true;
        } else if (a == "--one-per-page" && o.verb == "report") {
            o.onePerPage = true;
        } else if (a == "--text" && o.verb == "zipcount") {
            o.text = true;
        } else {
            std::string* value = nullptr;
            if (a == "--table")
                value = &o.table;
            else if (a == "--pdf")
                value = &o.pdf;
            else if (a == "--stream")
                value = &o.stream;
            else if (a == "--paper")
                value = &o.paper;
            else if (a == "--title" && o.verb == "report")
                value = &o.title;
            else if (a == "--fields" && o.verb == "record")
                value = &o.fields;
            else if (a == "--design" && o.verb == "report")
                value = &o.design;
            else if (a == "--layout" && o.verb == "report")
                value = &o.layout;
            std::string builtin;
            if (a == "--builtin" && o.verb == "report")
                value = &builtin;
            if (value == nullptr)
                return Fail(err, o, "unknown argument '" + a + "'");
            if (i + 1 >= args.size())
                return Fail(err, o, a + " needs a value");
            *value = args[++i];
            if (a == "--title")
                o.titleGiven = true;
            if (a == "--paper")
                o.paperGiven = true;
            if (a == "--builtin") {
                if (builtin.size() != 1 || builtin[0] < '1' || builtin[0] > '4')
                    return Fail(err, o, "--builtin takes 1, 2, 3 or 4, not '" + builtin + "'");
                o.builtin = builtin[0] - '0';
            }
        }
    }
    if (o.table.empty())
        return Fail(err, o, "--table is needed");
    if (o.verb == "report") {
        const int reports = int(o.builtin != 0) + int(!o.design.empty()) + int(!o.layout.empty());
        if (reports != 1)
            return Fail(err, o, "choose one report: --builtin, --design or --layout");
        if (o.UserReport() && (o.titleGiven || o.memo || o.codes || o.paperGiven))
            return Fail(err, o,
                        "--title, --memo, --codes, --paper and --landscape go with a built-in "
                        "report; a user-designed report has them in its layout");
        if (!o.UserReport() && o.onePerPage)
            return Fail(err, o, "--one-per-page goes with a user-designed report");
    }
    if (o.paper != "letter" && o.paper != "a4")
        return Fail(err, o, "--paper takes letter or a4, not '" + o.paper + "'");
    const int outputs = int(!o.pdf.empty()) + int(!o.stream.empty()) + int(o.text);
    if (outputs != 1)
        return Fail(err, o,
                    o.verb == "zipcount" ? "choose one output: --text, --pdf or --stream"
                                         : "choose one output: --pdf or --stream");
    return kExitOk;
}

QSizeF PaperInches(const std::string& paper)
{
    return paper == "a4" ? QSizeF(210 / 25.4, 297 / 25.4) : QSizeF(8.5, 11.0);
}

// True when a data object of the band may show a calculated field: a field object bound to one,
// or any other data-bound kind.
bool ShowsCalculatedFields(const design::TGBasePanel& band, const data::TDataSet& dataSet)
{
    for (const auto& object : band.Objects()) {
        if (const auto* field = dynamic_cast<const design::TGPDLabel*>(object.get())) {
            const data::TDataField* bound =
                design::TFieldPickList::Find(dataSet, field->DataFieldDescript());
            if (bound != nullptr && bound->Calculated())
                return true;
        } else if (object->ClassName().startsWith("TGD")) {
            return true;
        }
    }
    return false;
}

// The file of the --design row of the program home's REPORT.DBF. The table is never created here.
int FindDesign(const TVerbOptions& o, QString& layoutPath, std::ostream& err)
{
    const std::string prefix = "quillmark-tool print report: --design \"" + o.design + "\": ";
    data::TProgramHome home = TToolEnvironment::ProgramHome();
    const QString sysdata = home.SysDataDir();
    if (sysdata.isEmpty() || !QFileInfo(QDir(sysdata).filePath("REPORT.DBF")).isFile()) {
        err << prefix << "the program home has no reports (sysdata/REPORT.DBF)\n";
        return kExitFile;
    }
    reports::TReportStore store;
    try {
        if (const QString failure = store.Open(sysdata); !failure.isEmpty()) {
            err << prefix << failure.toStdString() << "\n";
            return kExitFile;
        }
    } catch (const std::exception& e) {
        err << prefix << "REPORT.DBF: " << e.what() << "\n";
        return kExitFile;
    }
    const int row = store.Find(QString::fromStdString(o.design));
    if (row < 0) {
        err << prefix << "no such report in REPORT.DBF\n";
        return kExitUsage;
    }
    try {
        layoutPath = store.LayoutPath(store.Rows()[size_t(row)]);
    } catch (const design::TLayoutError& e) {
        err << prefix << e.Message().toStdString() << "\n";
        return kExitFile;
    }
    if (!QFileInfo(layoutPath).isFile()) {
        err << prefix << "its layout file " << QDir::toNativeSeparators(layoutPath).toStdString()
            << " does not exist\n";
        return kExitFile;
    }
    return kExitOk;
}

// The layout file of a user-designed report: --layout as given (a report layout that exists), or
// the file of the --design row of the home's REPORT.DBF.
int FindUserReport(const TVerbOptions& o, QString& layoutPath, std::ostream& err)
{
    const std::string prefix = "quillmark-tool print report: ";
    if (!o.layout.empty()) {
        layoutPath = QString::fromStdString(o.layout);
        if (QFileInfo(layoutPath).suffix().toUpper() != QLatin1String("R")) {
            Fail(err, o, o.layout + ": --layout takes a report (.R) layout");
            return kExitUsage;
        }
        if (!QFileInfo(layoutPath).isFile()) {
            err << prefix << o.layout << ": no such layout file\n";
            return kExitFile;
        }
        return kExitOk;
    }
    return FindDesign(o, layoutPath, err);
}

// Runs the attached job into the chosen output; returns the exit code. The output appears only
// when the job ended complete.
int RunJob(const TVerbOptions& o, const std::function<void(print::TBaseReport&)>& attach,
           std::ostream& err, int* pages)
{
    const std::string output = o.pdf.empty() ? o.stream : o.pdf;
    try {
        if (!o.pdf.empty()) {
            // The file appears only when the job ends complete; a write failure is thrown.
            print::TPdfReport job;
            job.SetFileName(QString::fromStdString(o.pdf));
            if (!o.UserReport()) {
                const QSizeF paper = PaperInches(o.paper);
                job.SetPage(o.landscape ? paper.transposed() : paper);
            }
            attach(job);
            job.RunJob();
            *pages = job.CurrentPage();
            return kExitOk;
        }
        print::TRPDevice& device = print::TRPDevice::Instance();
        device.SetPaperSize(o.paper == "a4" ? 9 : 1);
        device.SetOrientation(o.landscape ? print::TOrientation::poLandScape
                                          : print::TOrientation::poPortrait);
        data::TOutputFile file(QString::fromStdString(o.stream));
        if (!file.open(QIODevice::WriteOnly)) {
            err << o.stream << ": " << file.errorString().toStdString() << "\n";
            return kExitFile;
        }
        print::TReportFiler job;
        job.SetStreamMode(print::TStreamMode::smUser);
        job.SetStream(&file);
        attach(job);
        job.RunJob();
        if (!file.commit()) {
            err << o.stream << ": " << file.errorString().toStdString() << "\n";
            return kExitFile;
        }
        *pages = job.PagesRecorded();
        return kExitOk;
    } catch (const print::TPrintError& e) {
        err << output << ": " << e.Message().toStdString() << "\n";
    } catch (const xbase::TXbaseError& e) {
        err << o.table << ": " << e.what() << "\n";
    } catch (const data::TDataSetError& e) {
        err << o.table << ": " << e.Message().toStdString() << "\n";
    }
    return kExitFile;
}

} // namespace

int RunPrintReports(const std::string& verb, const std::vector<std::string>& args,
                    std::ostream& out, std::ostream& err)
{
    TVerbOptions o;
    o.verb = verb;
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") {
            out << Usage(verb) << kCommonUsage;
            return kExitOk;
        }
    // The shared record options first; the verb parses the rest.
    TRecordScopeArgs scope;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string problem;
        switch (scope.Take(args, i, problem)) {
        case TRecordScopeArgs::TTake::NotMine:
            rest.push_back(args[i]);
            break;
        case TRecordScopeArgs::TTake::Error:
            return Fail(err, o, problem);
        case TRecordScopeArgs::TTake::Taken:
            break;
        }
    }
    if (const int code = ParseVerb(rest, o, err); code != kExitOk)
        return code;
    if (const std::string problem = scope.Check(); !problem.empty())
        return Fail(err, o, problem);
    if (!scope.Order().empty() && !o.UserReport())
        return Fail(err, o,
                    verb == "report" ? "--order does not go with a built-in report: each one has "
                                       "its own sort order"
                                     : "--order does not go with print " + verb);
    if (verb != "report" && scope.StartRecord() > 0)
        return Fail(err, o, "--start-record goes with print report only");
    if (verb == "record" && (!scope.SingleRecord() || !scope.Query().empty() ||
                             !scope.FilterFile().empty() || scope.Tagged()))
        return Fail(err, o, "print record takes one --record N and no other record option");
    std::vector<std::string> inputs = scope.InputFiles();
    inputs.push_back(o.table);
    if (!o.layout.empty())
        inputs.push_back(o.layout);
    if (const std::string over = TJobFiles::OutputOverAnInput({o.pdf, o.stream}, inputs);
        !over.empty())
        return Fail(err, o, over + " is a file the job reads; choose another output file");

    TToolEnvironment::EnsureGuiApplication();
    // Band lengths are design pixels at 96 per inch on every machine, as the designer stores them.
    if (o.UserReport())
        design::TDesignUnits::SetPpiOverride(design::TDesignUnits::kDefaultPpi);
    const QString tagIdentifier = TToolEnvironment::StoredTagIdentifier();
    std::string query = "!ISDEL";
    if (verb != "record") {
        std::string problem;
        int code = 0;
        query = scope.JobQuery(tagIdentifier, problem, &code);
        if (query.empty()) {
            err << "quillmark-tool print " << verb << ": " << problem << "\n";
            return code != 0 ? code : kExitUsage;
        }
    }

    // A user-designed report's layout file, checked before anything is opened.
    QString layoutPath;
    if (o.UserReport())
        if (const int failure = FindUserReport(o, layoutPath, err); failure != kExitOk)
            return failure;

    // The built-in reports read stored fields only (the sheet's date is made from DATE), so the
    // data set computes no calculated fields for each record; a user-designed report's fields may
    // be any the designer offers.
    data::TDataSet dataSet;
    data::TAddressFile::DeclareFieldObjects(dataSet);
    // A user-designed report's bands, loaded before the address file opens; a damaged layout ends
    // the command before the first page.
    design::TGOwner owner;
    design::TGBasePanel header(&owner);
    design::TGDataPanel detail(&owner);
    design::TGBasePanel footer(&owner);
    reports::TReportSettings settings;
    if (o.UserReport()) {
        detail.SetDataSet(&dataSet);
        try {
            settings = reports::TReportFile::Load(owner, {&header, &detail, &footer}, layoutPath);
        } catch (const design::TLayoutError& e) {
            TJobFiles::ReportLayoutError(err, "quillmark-tool print report: ", layoutPath, e);
            return kExitFile;
        }
    }

    // The calculated fields cost every record they are computed for: only a report whose detail
    // band may show one gets them.
    const bool withNames = true;
    if (o.UserReport() && ShowsCalculatedFields(detail, dataSet))
        data::TCalculatedFields::Install(dataSet, &tagIdentifier, &withNames);
    if (TJobFiles::OpenAddressFile(dataSet, o.table, err) != 0)
        return kExitFile;
    const uint32_t recordCount = dataSet.Table().RecordCount();
    if (scope.SingleRecord() && scope.Record() > recordCount) {
        err << o.table << ": there is no record " << scope.Record() << " (the file has "
            << recordCount << ")\n";
        return kExitNothing;
    }
    // The job's records as the main window would show them: its order (user-designed reports
    // keep it), the query, then the record.
    data::TApollo apollo(dataSet);
    if (o.UserReport()) {
        const QString tag =
            QString::fromStdString(scope.Order().empty() ? kDefaultOrder : scope.Order());
        const int order = apollo.TagArea(tag);
        if (order == 0) {
            err << "quillmark-tool print report: --order " << tag.toStdString() << ": " << o.table
                << " has no such index tag\n";
            return kExitUsage;
        }
        apollo.SetOrder(order);
    }
    try {
        const std::string shown = verb == "zipcount" && scope.SingleRecord()
                                      ? "RECNO()=" + std::to_string(scope.Record())
                                      : query;
        dataSet.Cursor().SetQuery(shown);
        dataSet.First();
    } catch (const xbase::TXbaseError& e) {
        if (!scope.Query().empty()) {
            err << "quillmark-tool print " << verb << ": --query \"" << scope.Query()
                << "\": " << e.what() << "\n";
            return kExitUsage;
        }
        err << o.table << ": " << e.what() << "\n";
        return kExitFile;
    }
    int pages = 0;
    int code = kExitOk;
    const uint32_t current = scope.SingleRecord() ? scope.Record() : scope.StartRecord();
    bool startFromCurrent = false;
    if (current > 0 && current <= recordCount) {
        dataSet.GoTo(current);
        startFromCurrent = !scope.SingleRecord();
    } else if (current > 0) {
        err << reports::TReportRunScope::kOutOfRange << "\n";
    }

    if (verb == "report") {
        // A built-in report sorts on its own tag; a user report prints in the view's order.
        const reports::TBuiltInLayout* layout =
            o.UserReport() ? nullptr : &reports::TBuiltInLayouts::Get(o.builtin);
        reports::TReportRunScope runScope(dataSet, apollo);
        try {
            runScope.Apply({layout ? QString::fromLatin1(layout->sortTag) : QString(),
                            scope.SingleRecord() ? reports::TRecordChoice::CurrentOnly
                                                 : reports::TRecordChoice::MatchingFilter,
                            startFromCurrent, layout && layout->skipLowKeys},
                           [&err](const QString& text) { err << text.toStdString() << "\n"; });
        } catch (const xbase::TXbaseError& e) {
            err << o.table << ": " << e.what() << "\n";
            return kExitFile;
        } catch (const data::TDataSetError& e) {
            err << o.table << ": " << e.Message().toStdString() << "\n";
            return kExitFile;
        }
        if (runScope.AtEnd()) {
            err << "quillmark-tool print report: no record to print\n";
            return kExitNothing;
        }
        if (!layout) {
            reports::TUserDefinedReport routine(dataSet, settings, {&header, &detail, &footer},
                                                o.onePerPage);
            code = RunJob(
                o, [&](print::TBaseReport& job) { routine.Attach(job); }, err, &pages);
            if (code == kExitOk)
                out << routine.Records() << " record(s), " << pages << " page(s)\n";
        } else {
            reports::TBuiltInReportOptions options;
            options.report = o.builtin;
            options.title = o.titleGiven ? QString::fromStdString(o.title)
                                         : reports::TBuiltInLayouts::DefaultTitle(o.builtin);
            options.printMemo = o.memo;
            options.printCodes = o.codes;
            reports::TBuiltInReport routine(dataSet, options);
            routine.SetStartAtEnd(runScope.AtEnd());
            code = RunJob(
                o, [&](print::TBaseReport& job) { routine.Attach(job); }, err, &pages);
            if (code == kExitOk)
                out << routine.Records() << " record(s), " << pages << " page(s)\n";
        }
    } else if (verb == "zipcount") {
        reports::TZipTally tally;
        try {
            reports::TZipCount(dataSet).Run(tally);
        } catch (const xbase::TXbaseError& e) {
            err << o.table << ": " << e.what() << "\n";
            return kExitFile;
        }
        const QStringList lines = tally.Lines();
        if (o.text) {
            for (const QString& line : lines)
                out << line.toStdString() << "\n";
            return kExitOk;
        }
        reports::TZipReport report(lines);
        code = RunJob(
            o, [&](print::TBaseReport& job) { report.Attach(job); }, err, &pages);
        if (code == kExitOk)
            out << tally.Records() << " record(s), " << tally.Keys() << " key(s), " << pages
                << " page(s)\n";
    } else {
        std::array<bool, reports::TRecordSheet::kFieldCount> chosen;
        chosen.fill(o.fields.empty());
        if (!o.fields.empty())
            for (const QString& caption :
                 QString::fromStdString(o.fields).split(QLatin1Char(','))) {
                const int index = reports::TRecordSheet::FieldIndex(caption.trimmed());
                if (index < 0)
                    return Fail(err, o, "--fields: no check box \"" + caption.toStdString() + "\"");
                chosen[size_t(index)] = true;
            }
        reports::TRecordSheet sheet(dataSet, chosen);
        code = RunJob(
            o, [&](print::TBaseReport& job) { sheet.Attach(job); }, err, &pages);
        if (code == kExitOk)
            out << "1 record(s), " << pages << " page(s)\n";
    }
    return code;
}

} // namespace qm::tools
