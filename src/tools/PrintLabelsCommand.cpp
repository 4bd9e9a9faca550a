// "quillmark-tool print labels": the label print loop without its windows. The page stream (the
// recording canvas), the PDF (the page canvas on a PDF file) and the --list lines all come from
// the same placement; both files are written page by page as the loop fills the sheets.

#include "tools/TImbJobEnd.h"
#include "tools/TJobFiles.h"
#include "tools/TProgressLine.h"
#include "tools/TRecordScopeArgs.h"
#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "data/TAddressFile.h"
#include "data/TCalculatedFields.h"
#include "data/TDataSet.h"
#include "data/TOutputFile.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/TTagIdentifier.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TImbJob.h"
#include "design/objects/TImbSettings.h"
#include "design/stream/TLayoutError.h"
#include "design/text/TDesignUnits.h"
#include "labels/TCursorLabelRecords.h"
#include "labels/TLabelLayoutStore.h"
#include "labels/TLabelPrintLoop.h"
#include "labels/TLabelSelection.h"
#include "labels/TLabelSheet.h"
#include "labels/TLabelTemplates.h"
#include "labels/TMarkerLabel.h"
#include "labels/TNewLabelDesign.h"
#include "labels/TPresort.h"
#include "labels/TPresortRun.h"
#include "print/TPdfReport.h"
#include "print/TPrintError.h"
#include "print/TReportFiler.h"
#include "xbase/TCursor.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

namespace qm::tools {
namespace {

using labels::TLabelGeometry;
using labels::TLabelPrintLoop;
using labels::TLabelSelection;
using labels::TLabelSheet;
using labels::TLabelSlot;

constexpr const char* kDefaultOrder = "LNAME";

std::string UsageText()
{
    return std::string(
               "usage: quillmark-tool print labels --table ADDR.DBF (--template NAME [--layout "
               "FILE.L] |\n"
               "                                                     --label NAME)\n"
               "           [--all | --query EXPR | --filter-file F.FLT | --record N] [--tagged]\n"
               "           [--order TAG] [--start-record N] [--presort | --presort-list FILE]\n"
               "           [--positions LIST] [--copies N] (--list | --pdf OUT.pdf | --stream "
               "OUT)\n"
               "Prints address labels on a sheet of the template table (sysdata/LBLTPL.DBF) as "
               "the\n"
               "\"Print Labels\" window does, without a printer.\n"
               "\n"
               "  --template NAME  the sheet: a template's description, exactly (blanks "
               "included)\n"
               "  --label NAME     a label layout of the program home (sysdata/LABEL.DBF) by its\n"
               "                   description: its sheet and its layout file\n"
               "  --layout FILE.L  the label layout printed on each label; without it, the design "
               "a new\n"
               "                   label starts with (one address block)\n") +
           TRecordScopeArgs::Usage(kDefaultOrder) +
           "  --presort        presort the records for bulk mail first, then print them in "
           "presort\n"
           "                   order (ZIP), each group after a marker label; records without a\n"
           "                   valid ZIP code are left out (their count goes to standard error)\n"
           "  --presort-list FILE  print in the order of a presort list already written (as\n"
           "                   'quillmark-tool presort --out FILE' writes it); lines naming no\n"
           "                   record are skipped\n"
           "  --positions LIST the positions filled on every sheet, numbered from 1 row by row, "
           "as\n"
           "                   \"6-30,32\" (default all)\n"
           "  --copies N       labels per record, 1 to 99 (default 1)\n"
           "  --list           one line per label: sheet, position, x and y in inches, record "
           "number\n"
           "                   or marker text\n"
           "  --pdf OUT.pdf    a PDF whose pages have the sheet's size\n"
           "  --stream OUT     a page stream (see 'quillmark-tool pages')\n"
           "\n"
           "Ends with a summary line: records, labels and pages. With no label to print nothing "
           "is\n"
           "written. Output files are written page by page and appear only when complete.\n"
           "Exit codes: 0 printed, 1 nothing to print or a damaged layout, 2 bad usage, 3 a file "
           "could\n"
           "not be read or written.\n";
}

constexpr const char* kPrefix = "quillmark-tool print labels: ";

int Usage(std::ostream& err, const std::string& problem)
{
    err << kPrefix << problem << "\n" << UsageText();
    return 2;
}

// One record only (--record N).
class TSingleRecord : public labels::TLabelRecords {
public:
    explicit TSingleRecord(uint32_t recNo) : mRecNo(recNo) {}
    bool AtEnd() const override { return mDone; }
    uint32_t RecNo() const override { return mRecNo; }
    QString Zip() const override { return {}; }
    void First() override { mDone = false; }
    void Next() override { mDone = true; }
    void GoPastEnd() override { mDone = true; }
    bool SeekZip(const QString&) override { return false; }

private:
    uint32_t mRecNo;
    bool mDone = false;
};

struct TOptions {
    std::string table, templateName, label, layout, positions, pdf, stream, presortList;
    TRecordScopeArgs scope;
    bool presort = false;
    int copies = 1;
    bool list = false;

    bool Presorted() const { return presort || !presortList.empty(); }
};

// Parses the arguments; returns the exit code of a usage error, or 0.
int ParseOptions(const std::vector<std::string>& args, TOptions& o, std::ostream& out,
                 std::ostream& err, bool& helped)
{
    for (size_t i = 0; i < args.size(); ++i) {
        std::string problem;
        switch (o.scope.Take(args, i, problem)) {
        case TRecordScopeArgs::TTake::Taken:
            continue;
        case TRecordScopeArgs::TTake::Error:
            return Usage(err, problem);
        case TRecordScopeArgs::TTake::NotMine:
            break;
        }
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << UsageText();
            helped = true;
            return 0;
        }
        if (a == "--list") {
            o.list = true;
            continue;
        }
        if (a == "--presort") {
            o.presort = true;
            continue;
        }
        std::string* text = nullptr;
        if (a == "--table")
            text = &o.table;
        else if (a == "--template")
            text = &o.templateName;
        else if (a == "--label")
            text = &o.label;
        else if (a == "--layout")
            text = &o.layout;
        else if (a == "--presort-list")
            text = &o.presortList;
        else if (a == "--positions")
            text = &o.positions;
        else if (a == "--pdf")
            text = &o.pdf;
        else if (a == "--stream")
            text = &o.stream;
        else if (a != "--copies")
            return Usage(err, "unknown argument '" + a + "'");
        if (i + 1 >= args.size())
            return Usage(err, a + " needs a value");
        const std::string& value = args[++i];
        if (text != nullptr) {
            *text = value;
            continue;
        }
        const bool digits = !value.empty() && value.size() <= 2 &&
                            value.find_first_not_of("0123456789") == std::string::npos;
        const int copies = digits ? std::stoi(value) : 0;
        if (copies < 1 || copies > TLabelPrintLoop::kMaxLabelsPerRecord)
            return Usage(err, "--copies takes a number from 1 to 99, not '" + value + "'");
        o.copies = copies;
    }
    if (o.table.empty())
        return Usage(err, "--table is needed");
    if (o.templateName.empty() == o.label.empty())
        return Usage(err, "one of --template and --label is needed");
    if (!o.label.empty() && !o.layout.empty())
        return Usage(err, "--layout goes with --template; a --label row names its own layout");
    if (const std::string problem = o.scope.Check(); !problem.empty())
        return Usage(err, problem);
    if (o.presort && !o.presortList.empty())
        return Usage(err, "choose one of --presort and --presort-list");
    if (o.Presorted() && o.scope.SingleRecord())
        return Usage(err,
                     "a presorted job does not go with --record (one record is not presorted)");
    if (o.Presorted() && o.scope.StartRecord() > 0)
        return Usage(err, "--start-record has no effect on a presorted job, which follows the "
                          "presort list");
    if (o.Presorted() && !o.scope.Order().empty())
        return Usage(err,
                     "--order does not go with a presorted job, which is printed in ZIP order");
    if (int(o.list) + int(!o.pdf.empty()) + int(!o.stream.empty()) != 1)
        return Usage(err, "choose one output: --list, --pdf or --stream");
    return 0;
}

// The --template row of the template table.
int FindTemplate(const TOptions& o, std::optional<TLabelGeometry>& geometry, std::ostream& err)
{
    labels::TLabelTemplates templates;
    const QString folder = labels::TLabelTemplates::DefaultFolder();
    // The user's own templates are the home's, wherever the shipped ones are read from.
    if (const QString failure =
            templates.Open(folder, labels::TLabelTemplates::DefaultUserFolder());
        !failure.isEmpty()) {
        err << kPrefix << failure.toStdString() << " (in "
            << QDir::toNativeSeparators(folder).toStdString() << ")\n";
        return 3;
    }
    QString problem;
    geometry = templates.Find(QString::fromStdString(o.templateName), &problem);
    if (!geometry) {
        err << kPrefix << "--template \"" << o.templateName << "\": "
            << (problem.isEmpty() ? std::string("no such template in LBLTPL.DBF or LBLUSER.DBF")
                                  : problem.toStdString())
            << "\n";
        return 2;
    }
    return 0;
}

// The --label row of the home's LABEL.DBF, and its layout file. The table is never created here.
int FindLabelRow(const TOptions& o, std::optional<TLabelGeometry>& geometry, QString& layoutPath,
                 std::ostream& err)
{
    data::TProgramHome home = TToolEnvironment::ProgramHome();
    const QString sysdata = home.SysDataDir();
    if (sysdata.isEmpty() || !QFileInfo(QDir(sysdata).filePath("LABEL.DBF")).isFile()) {
        err << kPrefix << "--label \"" << o.label
            << "\": the program home has no label layouts (sysdata/LABEL.DBF)\n";
        return 3;
    }
    labels::TLabelLayoutStore store;
    try {
        if (const QString failure = store.Open(sysdata); !failure.isEmpty()) {
            err << kPrefix << failure.toStdString() << "\n";
            return 3;
        }
    } catch (const std::exception& e) {
        err << kPrefix << "LABEL.DBF: " << e.what() << "\n";
        return 3;
    }
    const int row = store.Find(QString::fromStdString(o.label));
    if (row < 0) {
        err << kPrefix << "--label \"" << o.label << "\": no such label layout in LABEL.DBF\n";
        return 2;
    }
    const labels::TLabelListRow& listed = store.Rows()[size_t(row)];
    if (!listed.problem.isEmpty()) {
        err << kPrefix << listed.problem.toStdString() << "\n";
        return 1;
    }
    QString why;
    layoutPath = store.LayoutPath(row, &why);
    if (layoutPath.isEmpty()) {
        err << kPrefix << "--label \"" << o.label << "\": " << why.toStdString() << "\n";
        return 3;
    }
    geometry = listed.geometry;
    return 0;
}

// The presort of the job's records: one pass in record order with turbo read, the progress on a
// terminal, the records left out reported. The cursor is put back in the ZIP order.
std::optional<QStringList> RunPresort(xbase::TCursor& cursor, labels::TCursorLabelRecords& records,
                                      std::ostream& err)
{
    const int zipOrder = cursor.Order();
    const uint32_t total = cursor.Table().RecordCount();
    labels::TPresort presort;
    try {
        cursor.SetOrder(0);
        cursor.SetTurboRead(true);
        TProgressLine progress(err, "presort", total >= 10000);
        presort.Read(records, [&](uint32_t recNo) {
            progress(int(uint64_t(recNo) * 100 / std::max<uint32_t>(total, 1)));
        });
        progress.Finish();
        cursor.SetTurboRead(false);
        cursor.SetOrder(zipOrder);
    } catch (const xbase::TXbaseError& e) {
        cursor.SetTurboRead(false);
        err << kPrefix << e.what() << "\n";
        return std::nullopt;
    }
    QStringList list = presort.List();
    if (const uint64_t leftOut = presort.Counts().recordsLeftOut; leftOut > 0)
        err << labels::TPresortRun::LeftOutMessage(leftOut).toStdString() << "\n";
    return list;
}

} // namespace

int RunPrintLabels(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TOptions o;
    bool helped = false;
    if (const int code = ParseOptions(args, o, out, err, helped); code != 0 || helped)
        return code;

    // The output is written over OUT: never over a file the job reads.
    const std::string output = o.pdf.empty() ? o.stream : o.pdf;
    std::vector<std::string> inputs = o.scope.InputFiles();
    inputs.insert(inputs.end(), {o.table, o.layout, o.presortList});
    if (!TJobFiles::OutputOverAnInput({output}, inputs).empty())
        return Usage(err, output + " is a file the job reads; choose another output file");

    // The templates folder is found beside the program, which needs the application object.
    TToolEnvironment::EnsureGuiApplication();

    // The sheet, and with --label the layout file.
    std::optional<TLabelGeometry> geometry;
    QString layoutPath;
    const int found = o.label.empty() ? FindTemplate(o, geometry, err)
                                      : FindLabelRow(o, geometry, layoutPath, err);
    if (found != 0)
        return found;
    const std::string sheetName =
        o.label.empty() ? "--template \"" + o.templateName + "\"" : "--label \"" + o.label + "\"";
    if (const QString bad = TLabelSheet::Problem(*geometry); !bad.isEmpty()) {
        err << kPrefix << sheetName << ": " << bad.toStdString() << "\n";
        return 1;
    }
    const TLabelSheet sheet(*geometry);

    TLabelSelection selection(sheet.PositionsPerSheet());
    if (!o.positions.empty()) {
        QString error;
        const std::optional<TLabelSelection> parsed = TLabelSelection::Parse(
            QString::fromStdString(o.positions), sheet.PositionsPerSheet(), &error);
        if (!parsed)
            return Usage(err, "--positions \"" + o.positions + "\": " + error.toStdString());
        selection = *parsed;
    }

    // A presort list given is read whole before anything else is opened.
    std::optional<QStringList> presortList;
    if (!o.presortList.empty()) {
        QString error;
        presortList =
            TLabelPrintLoop::ReadPresortList(QString::fromStdString(o.presortList), &error);
        if (!presortList) {
            err << kPrefix << error.toStdString() << "\n";
            return 3;
        }
    }

    if (!o.layout.empty()) {
        layoutPath = QString::fromStdString(o.layout);
        if (QFileInfo(layoutPath).suffix().toUpper() != QLatin1String("L"))
            return Usage(err, o.layout + ": --layout takes a label (.L) layout");
        if (!QFileInfo(layoutPath).isFile()) {
            err << kPrefix << o.layout << ": no such layout file\n";
            return 3;
        }
    }

    design::TDesignUnits::SetPpiOverride(design::TDesignUnits::kDefaultPpi);
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Label);

    data::TDataSet dataSet;
    data::TAddressFile::DeclareFieldObjects(dataSet);
    const QString tagIdentifier = TToolEnvironment::StoredTagIdentifier();
    const bool withNames = true;
    data::TCalculatedFields::Install(dataSet, &tagIdentifier, &withNames);
    if (const int failure = TJobFiles::OpenAddressFile(dataSet, o.table, err); failure != 0)
        return failure;
    // The layout is loaded (and filled once) before the job sets its order and query.
    design::TGDataPanel panel;
    panel.SetDataSet(&dataSet);
    if (layoutPath.isEmpty()) {
        labels::TNewLabelDesign::AddTo(panel, *geometry);
    } else {
        try {
            design::TGLabelObjectFiler::LoadFromFile(panel, layoutPath);
        } catch (const design::TLayoutError& e) {
            TJobFiles::ReportLayoutError(err, kPrefix, layoutPath, e);
            return 1;
        }
        // The panel is the label face: an address block prints down to its bottom edge.
        const int ppi = design::TDesignUnits::Ppi();
        panel.SetSize(design::TDesignUnits::Round(double(geometry->labelWidth) * ppi),
                      design::TDesignUnits::Round(double(geometry->labelHeight) * ppi));
    }

    xbase::TCursor& cursor = dataSet.Cursor();
    const int zipField = dataSet.Table().FieldIndex("ZIP");
    if (o.Presorted()) {
        // A presorted job seeks each key of its list in the ZIP tag.
        if (zipField < 0) {
            err << kPrefix << o.table
                << ": the file has no ZIP field, so its records cannot be presorted\n";
            return 3;
        }
        try {
            cursor.SelectTag("ZIP");
        } catch (const xbase::TXbaseError& e) {
            err << kPrefix << o.table << ": " << e.what()
                << "; a presorted job is printed in the order of the ZIP tag\n";
            return 3;
        }
    }
    if (const int code = o.scope.Apply(cursor, o.Presorted() ? "ZIP" : kDefaultOrder, tagIdentifier,
                                       kPrefix, err);
        code != 0)
        return code;

    TLabelPrintLoop loop(sheet, selection, o.copies);
    TSingleRecord single(o.scope.Record());
    labels::TCursorLabelRecords walked(cursor, zipField);
    if (o.presort) {
        const std::optional<QStringList> list = RunPresort(cursor, walked, err);
        if (!list)
            return 3;
        presortList = list;
    }
    if (presortList)
        loop.SetPresortList(*presortList);
    labels::TLabelRecords& records = o.scope.SingleRecord()
                                         ? static_cast<labels::TLabelRecords&>(single)
                                         : static_cast<labels::TLabelRecords&>(walked);

    auto summary = [&](const labels::TLabelRunResult& r) {
        out << r.records << " record(s), " << r.labels << " label(s), " << r.sheets << " page(s)\n";
    };

    if (o.list) {
        std::vector<std::string> lines;
        const labels::TLabelRunResult result = loop.Run(records, [&](const TLabelSlot& slot) {
            lines.push_back(TLabelPrintLoop::ListLine(slot).toStdString());
            return true;
        });
        if (!result.error.isEmpty()) {
            err << kPrefix << result.error.toStdString() << "\n";
            return 1;
        }
        for (const std::string& line : lines)
            out << line << "\n";
        summary(result);
        return result.labels > 0 ? 0 : 1;
    }

    // Both outputs are written page by page as the loop finishes them, into a temporary file
    // beside OUT that replaces it only once the job is complete.
    const QString target = QString::fromStdString(output);
    labels::TLabelRunResult result;
    // Intelligent Mail barcodes: each label is a piece; the counter starts at the home's
    // NextSerial and is written back once the output is complete.
    data::TProgramHome home = TToolEnvironment::ProgramHome();
    std::optional<data::TSettingsFile> settings;
    if (!home.Dir().isEmpty() && QFileInfo(home.Dir()).isDir())
        settings.emplace(home.SettingsPath());
    design::TImbJob imb(settings ? design::TImbSettings::Read(*settings).nextSerial : 0);
    auto draw = [&](print::TBaseReport& report) {
        int page = 0;
        panel.SetPrinting(true);
        result = loop.Run(records, [&](const TLabelSlot& slot) {
            if (slot.sheet != page) {
                report.NewPage();
                page = slot.sheet;
            }
            if (slot.IsMarker()) {
                labels::TMarkerLabel::Print(report, sheet, slot);
            } else {
                dataSet.GoTo(slot.recNo);
                imb.BeginPiece(panel);
                panel.RefreshData();
                panel.PrintObjects(report, slot.corner.x(), slot.corner.y());
                imb.EndPiece(panel);
                panel.StepCounters();
            }
            return true;
        });
        panel.SetPrinting(false);
        // With no label (or an error) the job is dropped: nothing is written.
        if (result.labels == 0 || !result.error.isEmpty())
            report.AbortJob();
    };
    auto setUp = [&](print::TBaseReport& report) {
        const QSizeF paper = sheet.SheetSize();
        report.SetPaperSize(TLabelSheet::kPaperCustom, paper.width(), paper.height());
        report.SetTitle(QString::fromStdString(o.label.empty() ? o.templateName : o.label));
        report.OnPrint = draw;
    };

    std::unique_ptr<data::TOutputFile> streamFile;
    try {
        if (!o.stream.empty()) {
            streamFile = std::make_unique<data::TOutputFile>(target);
            if (!streamFile->open(QIODevice::WriteOnly)) {
                err << output << ": " << streamFile->errorString().toStdString() << "\n";
                return 3;
            }
            print::TReportFiler filer;
            filer.SetStreamMode(print::TStreamMode::smUser);
            filer.SetStream(streamFile.get());
            setUp(filer);
            filer.RunJob();
        } else {
            print::TPdfReport pdf;
            pdf.SetFileName(target);
            setUp(pdf);
            pdf.RunJob();
        }
    } catch (const print::TPrintError& e) {
        err << output << ": " << e.Message().toStdString() << "\n";
        return 3;
    }
    if (!result.error.isEmpty()) {
        err << kPrefix << result.error.toStdString() << "\n";
        return 1;
    }
    if (result.labels == 0) {
        summary(result);
        return 1;
    }
    if (streamFile && !streamFile->commit()) {
        err << output << ": " << streamFile->errorString().toStdString() << "\n";
        return 3;
    }
    summary(result);
    return TImbJobEnd::Finish(imb, settings, out, err);
}

} // namespace qm::tools
