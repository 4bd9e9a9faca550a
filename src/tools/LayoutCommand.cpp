// "quillmark-tool layout": look into layout files and print them.
//   layout dump FILE                                             the objects as text
//   layout print FILE --table ADDR.DBF [--record N] --out OUT    one item into a page stream

#include "tools/TJobFiles.h"
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
#include "design/stream/TLayoutDump.h"
#include "design/stream/TLayoutError.h"
#include "design/text/TDesignUnits.h"
#include "print/TPrintError.h"
#include "print/TReportFiler.h"
#include "xbase/TXbaseError.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdint>
#include <memory>
#include <ostream>

namespace qm::tools {
namespace {

const char* const kUsage =
    "usage: quillmark-tool layout dump FILE\n"
    "       quillmark-tool layout print FILE --table ADDR.DBF [--record N] --out OUT\n"
    "dump shows a layout file (.L, .E, .R, or a designer clipboard file) as text: one block per\n"
    "object with its class, stored name and properties in stream order.\n"
    "print loads a label (.L) or envelope (.E) layout, moves the address file to record N\n"
    "(default 1), fills the objects from it and prints them once with the layout's top-left\n"
    "corner at the top-left corner of a Letter page, writing the page stream to OUT (see\n"
    "'quillmark-tool pages'). Design pixels are taken at 96 per inch. A counted Intelligent\n"
    "Mail barcode shows the serial number the next job would give it, without using it up.\n";

int Dump(const std::string& path, std::ostream& out, std::ostream& err)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        err << "quillmark-tool: cannot open " << path << ": " << file.errorString().toStdString()
            << "\n";
        return 3;
    }
    const design::TLayoutDumpResult dump = design::TLayoutDump::Dump(file.readAll());
    for (const QString& line : dump.lines)
        out << line.toStdString() << "\n";
    if (!dump.error.isEmpty()) {
        err << path << ": ";
        if (dump.errorOffset >= 0)
            err << "offset " << dump.errorOffset << ": ";
        err << dump.error.toStdString() << "\n";
        return 1;
    }
    return 0;
}

int Print(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string layout, table, output;
    long long record = 1;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--table" && hasValue)
            table = args[++i];
        else if (a == "--out" && hasValue)
            output = args[++i];
        else if (a == "--record" && hasValue) {
            try {
                size_t used = 0;
                record = std::stoll(args[++i], &used);
                if (used != args[i].size())
                    record = 0;
            } catch (...) {
                record = 0;
            }
            if (record < 1 || record > 0xFFFFFFFFLL) {
                err << "quillmark-tool: --record takes a record number from 1\n";
                return 2;
            }
        } else if (layout.empty() && !a.starts_with("--"))
            layout = a;
        else {
            err << kUsage;
            return 2;
        }
    }
    if (layout.empty() || table.empty() || output.empty()) {
        err << kUsage;
        return 2;
    }
    const QString layoutPath = QString::fromStdString(layout);
    const QString suffix = QFileInfo(layoutPath).suffix().toUpper();
    design::TGHostKind host;
    if (suffix == QLatin1String("L"))
        host = design::TGHostKind::Label;
    else if (suffix == QLatin1String("E"))
        host = design::TGHostKind::Envelope;
    else {
        err << "quillmark-tool: " << layout
            << ": layout print takes a label (.L) or envelope (.E) layout\n";
        return 2;
    }
    if (!QFileInfo::exists(layoutPath)) {
        err << "quillmark-tool: " << layout << ": no such layout file\n";
        return 3;
    }
    // The page stream is written over OUT: never over the layout or the address file it reads.
    if (!TJobFiles::OutputOverAnInput({output}, {layout, table}).empty()) {
        err << "quillmark-tool: " << output
            << ": --out names the layout or the address file; choose another output file\n";
        return 2;
    }

    TToolEnvironment::EnsureGuiApplication();
    design::TDesignUnits::SetPpiOverride(design::TDesignUnits::kDefaultPpi);
    design::TGClassRegistry::Instance().RegisterHostKinds(host);

    // The fields as the program declares them, calculated ones included: a layout printing
    // "Full Name" or "City, State & Zip" gets the values a label window would show.
    data::TDataSet dataSet;
    data::TAddressFile::DeclareFieldObjects(dataSet);
    const QString tagIdentifier = TToolEnvironment::StoredTagIdentifier();
    const bool withNames = true;
    data::TCalculatedFields::Install(dataSet, &tagIdentifier, &withNames);
    if (const int failure = TJobFiles::OpenAddressFile(dataSet, table, err); failure != 0)
        return failure;
    if (std::uint64_t(record) > dataSet.Table().RecordCount()) {
        err << table << ": there is no record " << record << " (the file has "
            << dataSet.Table().RecordCount() << ")\n";
        return 1;
    }
    dataSet.GoTo(std::uint32_t(record));

    design::TGDataPanel panel;
    panel.SetDataSet(&dataSet);
    try {
        design::TGLabelObjectFiler::LoadFromFile(panel, layoutPath);
    } catch (const design::TLayoutError& e) {
        TJobFiles::ReportLayoutError(err, "", layoutPath, e);
        return 1;
    }

    // A proof of one item: the settings file is read for the counter, never written.
    data::TProgramHome home = TToolEnvironment::ProgramHome();
    std::int64_t nextSerial = 0;
    if (!home.Dir().isEmpty() && QFileInfo(home.SettingsPath()).isFile())
        nextSerial =
            design::TImbSettings::Read(data::TSettingsFile(home.SettingsPath())).nextSerial;
    design::TImbJob imb(nextSerial);

    // The page stream replaces an earlier file only once it is complete.
    data::TOutputFile stream(QString::fromStdString(output));
    if (!stream.open(QIODevice::WriteOnly)) {
        err << output << ": " << stream.errorString().toStdString() << "\n";
        return 3;
    }
    print::TReportFiler filer;
    filer.SetStreamMode(print::TStreamMode::smUser);
    filer.SetStream(&stream);
    filer.SetPaperSize(1); // Letter
    filer.SetTitle(QFileInfo(layoutPath).fileName());
    filer.OnPrint = [&panel, &imb](print::TBaseReport& report) {
        panel.SetPrinting(true);
        imb.BeginPiece(panel);
        panel.RefreshData();
        panel.PrintObjects(report, 0.0, 0.0);
        imb.EndPiece(panel);
        panel.StepCounters();
        panel.SetPrinting(false);
    };
    try {
        filer.RunJob();
    } catch (const print::TPrintError& e) {
        err << output << ": " << e.Message().toStdString() << "\n";
        return 3;
    }
    if (!stream.commit()) {
        err << output << ": " << stream.errorString().toStdString() << "\n";
        return 3;
    }
    out << output << ": " << panel.ObjectCount() << " object(s), record " << record << "\n";
    for (const QString& note : imb.Notes())
        out << note.toStdString() << "\n";
    return 0;
}

} // namespace

int RunLayoutCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "dump" && args.size() == 2)
        return Dump(args[1], out, err);
    if (args[0] == "print")
        return Print(args, out, err);
    err << kUsage;
    return 2;
}

} // namespace qm::tools
