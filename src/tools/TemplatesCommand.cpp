// "quillmark-tool templates": the user's own label sheets.
//   templates import FILE.xml [FILE.xml ...]

#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "labels/TLabelTemplateImport.h"
#include "labels/TLabelTemplates.h"

#include <QDir>
#include <algorithm>
#include <ostream>
#include <string>

namespace qm::tools {
namespace {

constexpr const char* kPrefix = "quillmark-tool templates: ";

const char* const kUsage =
    "usage: quillmark-tool templates import FILE.xml [FILE.xml ...]\n"
    "Adds the label sheets a template file describes to your own label sheets\n"
    "(sysdata/LBLUSER.DBF of the program home), as \"Import Label Sheets...\" in the \"Select\n"
    "Label Template\" window does. The file is in the XML format of the label template database\n"
    "that Debian's glabels-data installs (/usr/share/libglabels-3.0/templates): your own file or\n"
    "a maker's newer one. Sheets already listed are not added again; a sheet of your own with\n"
    "the same name but other measures is replaced. Templates the table cannot hold (disc labels,\n"
    "continuous rolls, unequal grids, ...) are listed with the reason. The shipped templates\n"
    "(LBLTPL.DBF) are never changed, and rebuilding or reinstalling them keeps your own.\n"
    "\n"
    "Exit codes: 0 every file added (or already listed) at least one sheet, 1 a file describes\n"
    "no sheet the table can hold, 2 bad usage, 3 a file could not be read or is no template\n"
    "file, or the table could not be written.\n";

int Usage(std::ostream& err, const std::string& problem)
{
    err << kPrefix << problem << "\n" << kUsage;
    return 2;
}

std::string Lines(const QString& text)
{
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toStdString();
}

int Import(const std::vector<std::string>& files, std::ostream& out, std::ostream& err)
{
    TToolEnvironment::EnsureGuiApplication();
    const QString userDir = TToolEnvironment::ProgramHome().SysDataDir();
    if (userDir.isEmpty()) {
        err << kPrefix << "there is no program home to keep your label sheets in\n";
        return 3;
    }
    labels::TLabelTemplates templates;
    const QString folder = labels::TLabelTemplates::DefaultFolder();
    if (const QString failure = templates.Open(folder, userDir); !failure.isEmpty()) {
        err << kPrefix << failure.toStdString() << " (in "
            << QDir::toNativeSeparators(folder).toStdString() << ")\n";
        return 3;
    }
    int code = 0;
    for (const std::string& file : files) {
        const labels::TLabelTemplateImport::TResult result =
            labels::TLabelTemplateImport::Run(QString::fromStdString(file), userDir, templates);
        if (result.Succeeded()) {
            out << Lines(result.Summary(1000)) << "\n";
            continue;
        }
        err << kPrefix << Lines(result.Summary(1000)) << "\n";
        const int fileCode = result.refused.isEmpty() && result.writeFailed.isEmpty() ? 1 : 3;
        code = std::max(code, fileCode);
    }
    if (code == 0)
        out << "Your own label sheets: "
            << QDir::toNativeSeparators(QDir(userDir).filePath(QStringLiteral("LBLUSER.DBF")))
                   .toStdString()
            << "\n";
    return code;
}

} // namespace

int RunTemplatesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return Usage(err, "a command is needed");
    if (args[0] == "--help" || args[0] == "-h") {
        out << kUsage;
        return 0;
    }
    if (args[0] == "import") {
        if (args.size() < 2)
            return Usage(err, "import needs a template file");
        for (size_t i = 1; i < args.size(); ++i)
            if (args[i] == "--help" || args[i] == "-h") {
                out << kUsage;
                return 0;
            }
        return Import(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
    return Usage(err, "unknown command '" + args[0] + "'");
}

} // namespace qm::tools
