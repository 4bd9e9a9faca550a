// "quillmark-tool report": the user-designed reports of the program home (sysdata/REPORT.DBF and
// their BINnnnnn.R layout files) without their windows: list, show, clone and delete.

#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "data/TProgramHome.h"
#include "data/TSystemTables.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TLayoutFileNames.h"
#include "design/stream/TLayoutDump.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutReader.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "reports/TReportSettings.h"
#include "reports/TReportStore.h"

#include <QDir>
#include <QFileInfo>
#include <optional>
#include <ostream>

namespace qm::tools {
namespace {

using reports::TReportSettings;
using reports::TReportStore;

const char* const kUsage =
    "usage: quillmark-tool report list\n"
    "       quillmark-tool report show (DESCRIPTION | FILE.R)\n"
    "       quillmark-tool report clone DESCRIPTION\n"
    "       quillmark-tool report delete DESCRIPTION\n"
    "The user-designed reports of the program home (sysdata/REPORT.DBF and their layout files),\n"
    "as the \"Report Designer\" tab keeps them.\n"
    "\n"
    "  list    one report per line, in the tab's order: description, layout, layout file and\n"
    "          whether that file exists, separated by tabs\n"
    "  show    the report's settings, one line each by name (lengths as stored in thousandths\n"
    "          of an inch and as the pixels they load to at 96 PPI, with what a value that is\n"
    "          missing, mistyped or out of range loads as), then each band's objects. FILE.R is\n"
    "          a layout file name in sysdata or the path of any report layout file\n"
    "  clone   adds \"Clone of DESCRIPTION\" with a byte-for-byte copy of the layout file and\n"
    "          prints the copy's file name\n"
    "  delete  deletes the report and its layout file (kept while another report names it)\n"
    "\n"
    "Exit codes: 0 done, 1 no such report or a damaged layout file, 2 bad usage, 3 a file could\n"
    "not be read or written.\n";

constexpr const char* kPrefix = "quillmark-tool report: ";

int Usage(std::ostream& err, const std::string& problem)
{
    err << kPrefix << problem << "\n" << kUsage;
    return 2;
}

QString SysdataDir()
{
    data::TProgramHome home = TToolEnvironment::ProgramHome();
    return home.SysDataDir();
}

std::string Native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdString();
}

// Opens the home's reports. Returns 0, -1 when there is no REPORT.DBF (it is not created for
// a look or a search), or the exit code after the message.
int OpenStore(TReportStore& store, std::ostream& err)
{
    const QString sysdata = SysdataDir();
    const QString path = data::TSystemTables::FilePath(data::TSystemTable::Report, sysdata);
    if (!QFileInfo(path).isFile())
        return -1;
    try {
        if (const QString failure = store.Open(sysdata); !failure.isEmpty()) {
            err << kPrefix << failure.toStdString() << " (" << Native(path) << ")\n";
            return 3;
        }
    } catch (const std::exception& e) {
        err << kPrefix << Native(path) << ": " << e.what() << "\n";
        return 3;
    }
    if (!store.Notice().isEmpty())
        err << kPrefix << store.Notice().toStdString() << "\n";
    return 0;
}

// Closes the store after a change; 0, or 3 when what was pending could not be written.
int CloseStore(TReportStore& store, std::ostream& err)
{
    try {
        store.Close();
    } catch (const std::exception& e) {
        err << kPrefix << "REPORT.DBF: " << e.what() << "\n";
        return 3;
    }
    return 0;
}

int FindReport(TReportStore& store, const std::string& description, int& row, std::ostream& err)
{
    const int opened = OpenStore(store, err);
    if (opened > 0)
        return opened;
    row = opened < 0 ? -1 : store.Find(QString::fromStdString(description));
    if (row < 0) {
        err << kPrefix << "no report \"" << description << "\" in REPORT.DBF\n";
        return 1;
    }
    return 0;
}

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty())
        return Usage(err, "list takes no arguments");
    TReportStore store;
    if (const int opened = OpenStore(store, err); opened != 0)
        return opened < 0 ? 0 : opened;
    for (const reports::TReportRow& row : store.Rows()) {
        QString state;
        try {
            state = QFileInfo(store.LayoutPath(row)).isFile() ? QStringLiteral("present")
                                                              : QStringLiteral("missing");
        } catch (const design::TLayoutError&) {
            state = QStringLiteral("not a layout file name");
        }
        out << row.description.toStdString() << "\t" << row.layoutName.toStdString() << "\t"
            << row.layoutFile.toStdString() << "\t" << state.toStdString() << "\n";
    }
    return 0;
}

// ---- show

bool IsColourSlot(int slot)
{
    return slot >= 22 && (slot - 22) % 7 == 6;
}

QString ValueText(const design::TLayoutValue& value, int slot)
{
    QString text = design::TLayoutDump::FormatValue(value);
    if (IsColourSlot(slot) && value.IsInteger())
        text +=
            QStringLiteral(" (0x%1)").arg(std::uint32_t(value.integer), 8, 16, QLatin1Char('0'));
    return text;
}

bool SameValue(const design::TLayoutValue& stored, const design::TLayoutValue& loaded, int slot)
{
    if (IsColourSlot(slot)) {
        try {
            return stored.AsColor() == loaded.AsColor();
        } catch (const design::TLayoutError&) {
            return false;
        }
    }
    return design::TLayoutDump::FormatValue(stored) == design::TLayoutDump::FormatValue(loaded);
}

// The settings as stored next to what they load as; lengths in both units.
void PrintSettings(const std::vector<design::TLayoutValue>& stored, const TReportSettings& loaded,
                   std::ostream& out)
{
    QByteArray bytes;
    design::TLayoutWriter writer(bytes);
    loaded.Write(writer);
    design::TLayoutReader reader(bytes);
    const int ppi = design::TDesignUnits::kDefaultPpi;
    const auto& names = TReportSettings::SettingNames();
    for (int slot = 0; slot < TReportSettings::kSettingCount; ++slot) {
        const design::TLayoutValue value = reader.ReadValue();
        QString line = QStringLiteral("%1: ").arg(QLatin1String(names[std::size_t(slot)]));
        const bool present = std::size_t(slot) < stored.size();
        const design::TLayoutValue* was = present ? &stored[std::size_t(slot)] : nullptr;
        if (slot < TReportSettings::kLengthCount) {
            // The pixels the length loads to: limited to what the reports allow, a page held at
            // its layout's own size.
            const int pixels = TReportSettings::FromThousandths(value.integer, ppi);
            if (was && was->IsInteger())
                line += QStringLiteral("%1 thousandths, %2 px at %3 PPI%4")
                            .arg(was->integer)
                            .arg(pixels)
                            .arg(ppi)
                            .arg(TReportSettings::FromThousandths(was->integer, ppi) == pixels
                                     ? QString()
                                     : QStringLiteral(" (adjusted on loading)"));
            else
                line += QStringLiteral("%1, loads as %2 px at %3 PPI")
                            .arg(was ? ValueText(*was, slot) : QStringLiteral("missing"))
                            .arg(pixels)
                            .arg(ppi);
        } else if (was && SameValue(*was, value, slot)) {
            line += ValueText(*was, slot);
        } else {
            line += QStringLiteral("%1, loads as %2")
                        .arg(was ? ValueText(*was, slot) : QStringLiteral("missing"),
                             ValueText(value, slot));
        }
        out << line.toStdString() << "\n";
    }
    for (std::size_t extra = std::size_t(TReportSettings::kSettingCount); extra < stored.size();
         ++extra)
        out << "value " << extra + 1
            << " (not read): " << design::TLayoutDump::FormatValue(stored[extra]).toStdString()
            << "\n";
}

int Show(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1)
        return Usage(err, "show takes one DESCRIPTION or FILE.R");
    const QString wanted = QString::fromStdString(args[0]);

    // A report's description first, then a layout file name in sysdata, then any path.
    QString path;
    std::optional<reports::TReportRow> row;
    TReportStore store;
    const int opened = OpenStore(store, err);
    if (opened > 0)
        return opened;
    if (opened == 0) {
        if (const int index = store.Find(wanted); index >= 0) {
            row = store.Rows()[std::size_t(index)];
            try {
                path = store.LayoutPath(*row);
            } catch (const design::TLayoutError& e) {
                err << kPrefix << e.Message().toStdString() << "\n";
                return 1;
            }
        }
        store.Close();
    }
    if (!row) {
        if (design::TLayoutFileNames::IsLayoutName(wanted, design::TLayoutKind::Report))
            path = design::TLayoutFileNames::PathFor(SysdataDir(), wanted);
        if (path.isEmpty() || !QFileInfo(path).isFile())
            path = wanted;
        if (!QFileInfo(path).isFile()) {
            err << kPrefix << "no report or report layout file \"" << args[0] << "\"\n";
            return 1;
        }
    }

    out << "file: " << Native(path) << "\n";
    if (row)
        out << "description: " << row->description.toStdString() << "\n"
            << "layout (as listed): " << row->layoutName.toStdString() << "\n";
    std::optional<QByteArray> bytes;
    try {
        bytes = design::TGLabelObjectFiler::ReadFile(path);
    } catch (const design::TLayoutError& e) {
        err << kPrefix << e.Message().toStdString() << "\n";
        return 3;
    }
    if (!bytes) {
        out << "the file does not exist: the report loads as a new report\n";
        return 1;
    }

    TToolEnvironment::EnsureGuiApplication();
    design::TDesignUnits::SetPpiOverride(design::TDesignUnits::kDefaultPpi);
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Report);

    // Band by band, each band's stretch of the file shown through the layout dump; then the
    // settings list, read raw and through the settings reader.
    design::TGOwner owner;
    design::TGDataPanel header(&owner), detail(&owner), footer(&owner);
    const std::array<design::TGBasePanel*, 3> bands{&header, &detail, &footer};
    const char* const bandNames[] = {"header", "detail", "footer"};
    std::vector<QStringList> bandLines(3);
    std::vector<design::TLayoutValue> stored;
    std::optional<TReportSettings> loaded;
    QString fault;
    qint64 faultOffset = -1;
    design::TLayoutReader in(*bytes);
    try {
        for (std::size_t i = 0; i < bands.size(); ++i) {
            const qint64 start = in.Position();
            design::TGLabelObjectFiler::ReadPanelList(in, owner, *bands[i]);
            bandLines[i] =
                design::TLayoutDump::Dump(bytes->mid(start, in.Position() - start)).lines;
        }
        in.ReadListStart();
        design::TLayoutReader raw(bytes->mid(in.Position()));
        while (!raw.AtListEnd())
            stored.push_back(raw.ReadValue());
        loaded = TReportSettings::Read(in);
        in.ReadListEnd();
        if (!in.AtEnd())
            throw design::TLayoutError::InvalidStreamFormat(in.Position());
    } catch (const design::TLayoutError& e) {
        fault = e.Message();
        faultOffset = e.Offset();
    }

    if (loaded) {
        out << "layout: "
            << (loaded->LayoutName().isEmpty() ? std::string("(none)")
                                               : loaded->LayoutName().toStdString())
            << "\n";
        PrintSettings(stored, *loaded, out);
    }
    for (std::size_t i = 0; i < bands.size(); ++i) {
        out << bandNames[i] << " band: " << bands[i]->ObjectCount() << " object(s)\n";
        for (const QString& line : bandLines[i])
            out << "  " << line.toStdString() << "\n";
    }
    if (!fault.isEmpty()) {
        err << Native(path) << ": ";
        if (faultOffset >= 0)
            err << "offset " << faultOffset << ": ";
        err << fault.toStdString() << "\n";
        return 1;
    }
    return 0;
}

// ---- clone, delete

int Clone(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1)
        return Usage(err, "clone takes one DESCRIPTION");
    TReportStore store;
    int row = -1;
    if (const int found = FindReport(store, args[0], row, err); found != 0)
        return found;
    QString error;
    const int clone = store.Clone(row, &error);
    if (clone < 0) {
        err << kPrefix << error.toStdString() << "\n";
        return 3;
    }
    const std::string file = store.Rows()[std::size_t(clone)].layoutFile.toStdString();
    if (const int closed = CloseStore(store, err); closed != 0)
        return closed;
    out << file << "\n";
    return 0;
}

int Delete(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1)
        return Usage(err, "delete takes one DESCRIPTION");
    TReportStore store;
    int row = -1;
    if (const int found = FindReport(store, args[0], row, err); found != 0)
        return found;
    const QString file = store.Rows()[std::size_t(row)].layoutFile;
    QString note;
    if (!store.Delete(row, &note)) {
        err << kPrefix << note.toStdString() << "\n";
        return 3;
    }
    if (!note.isEmpty())
        err << kPrefix << note.toStdString() << "\n";
    if (const int closed = CloseStore(store, err); closed != 0)
        return closed;
    out << "Deleted \"" << args[0] << "\" (" << file.toStdString() << ")\n";
    return 0;
}

} // namespace

int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "list")
        return List(rest, out, err);
    if (args[0] == "show")
        return Show(rest, out, err);
    if (args[0] == "clone")
        return Clone(rest, out, err);
    if (args[0] == "delete")
        return Delete(rest, out, err);
    return Usage(err, "unknown verb '" + args[0] + "'");
}

} // namespace qm::tools
