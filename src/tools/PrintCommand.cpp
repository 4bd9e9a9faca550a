// "quillmark-tool print": the label printing commands without their windows.
//   print templates [--maker ITEM] [--product ITEM] [--european] [--find TEXT]

#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "labels/TLabelTemplateFilter.h"
#include "labels/TLabelTemplates.h"
#include "labels/TTemplateFind.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFileInfo>
#include <optional>
#include <ostream>
#include <string>

namespace qm::tools {
namespace {

using labels::TLabelTemplateFilter;

const char* const kUsage =
    "usage: quillmark-tool print templates [--maker ITEM] [--product ITEM] [--european]\n"
    "                                      [--find TEXT]\n"
    "       quillmark-tool print labels --table ADDR.DBF --template NAME ... (see --help)\n"
    "       quillmark-tool print envelopes --table ADDR.DBF --envelope NAME ... (see --help)\n"
    "       quillmark-tool print letters --table ADDR.DBF --letter NAME ... (see --help)\n"
    "       quillmark-tool print report|zipcount|record --table ADDR.DBF ... (see --help)\n"
    "Lists the label sheet templates the \"Select Label Template\" window offers for a choice:\n"
    "first the filter expression it applies to sysdata/LBLTPL.DBF and to your own label sheets\n"
    "(sysdata/LBLUSER.DBF), then the matching descriptions in the order of the tables' DESCRIPT\n"
    "tag, one a line. A sheet of your own is followed by a tab and \"own\"; with --find, the row\n"
    "the window moves to by a tab and \"current\".\n"
    "\n"
    "  --maker ITEM    \"Avery Laserjet\" (default), \"Avery Inkjet\", \"Avery Dot Matrix\",\n"
    "                  \"Costar LabelPrinter\", any further maker of the tables (\"Herma\",\n"
    "                  \"Zweckform\", ...) or \"All Manufacturers\" (any letter case)\n"
    "  --product ITEM  \"Address/Shipping Labels\" (default), \"Card Products\", \"Diskette "
    "Labels\",\n"
    "                  \"File Folder Labels\", \"Index Products\", \"Miscellaneous\" or \"All\"\n"
    "  --european      European paper sizes only (A4, A5)\n"
    "  --find TEXT     only the templates holding every word of TEXT (a product number, part of\n"
    "                  a description), as the window's find box narrows the list\n"
    "\n"
    "The templates are read from the program home's sysdata/ folder, or from the installed data\n"
    "folder while the home has none.\n"
    "Exit codes: 0 templates listed, 1 no template matches, 2 bad usage, 3 the template table\n"
    "could not be read.\n";

int Usage(std::ostream& err, const std::string& problem)
{
    err << "quillmark-tool print: " << problem << "\n" << kUsage;
    return 2;
}

std::string Quoted(const QStringList& items)
{
    std::string text;
    for (const QString& item : items)
        text += (text.empty() ? "\"" : ", \"") + item.toStdString() + "\"";
    return text;
}

int Templates(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TLabelTemplateFilter filter(0, 0, false);
    std::optional<std::string> maker;
    std::optional<QString> find;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        }
        if (arg == "--european") {
            filter.SetEuropeanOnly(true);
            continue;
        }
        if (arg == "--maker" || arg == "--product" || arg == "--find") {
            if (i + 1 >= args.size())
                return Usage(err, arg + (arg == "--find" ? " needs a text" : " needs an item"));
            const std::string& value = args[++i];
            if (arg == "--maker") {
                maker = value;
            } else if (arg == "--find") {
                find = QString::fromStdString(value);
            } else {
                const int found = TLabelTemplateFilter::FindProduct(QString::fromStdString(value));
                if (found < 0)
                    return Usage(err, "--product \"" + value + "\" is none of " +
                                          Quoted(TLabelTemplateFilter::ProductItems()));
                filter.SetProduct(found);
            }
            continue;
        }
        return Usage(err, "unknown argument '" + arg + "'");
    }

    // The installed templates are found beside the program, which needs the application object.
    TToolEnvironment::EnsureGuiApplication();
    labels::TLabelTemplates templates;
    const QString folder = labels::TLabelTemplates::DefaultFolder();
    const QString failure = templates.Open(folder, labels::TLabelTemplates::DefaultUserFolder());
    if (!failure.isEmpty()) {
        err << "quillmark-tool print: " << failure.toStdString() << " (in "
            << QDir::toNativeSeparators(folder).toStdString() << ")\n";
        return 3;
    }
    if (!templates.OwnProblem().isEmpty())
        err << "quillmark-tool print: " << templates.OwnProblem().toStdString() << "\n";
    // The maker items depend on the makers the tables hold.
    const QStringList makers = templates.Makers();
    filter.SetMakers(makers);
    if (maker) {
        const int found =
            TLabelTemplateFilter::FindManufacturer(QString::fromStdString(*maker), makers);
        if (found < 0)
            return Usage(err, "--maker \"" + *maker + "\" is none of " +
                                  Quoted(TLabelTemplateFilter::ManufacturerItems(makers)));
        filter.SetManufacturer(found);
    }

    const QString expression = filter.Expression();
    std::vector<labels::TLabelTemplates::TEntry> matching;
    try {
        matching = templates.Entries(expression);
    } catch (const xbase::TXbaseError& e) {
        err << "quillmark-tool print: " << e.what() << "\n";
        return 3;
    }
    QStringList descriptions;
    for (const auto& entry : matching)
        descriptions << entry.description;
    const labels::TTemplateFind::TResult found =
        labels::TTemplateFind::Narrow(descriptions, find.value_or(QString()));

    out << expression.toStdString() << "\n";
    for (size_t r = 0; r < found.rows.size(); ++r) {
        const auto& entry = matching[size_t(found.rows[r])];
        out << entry.description.toStdString();
        if (entry.own)
            out << "\town";
        if (find && int(r) == found.current)
            out << "\tcurrent";
        out << "\n";
    }
    return found.rows.empty() ? 1 : 0;
}

} // namespace

int RunPrintCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return Usage(err, "a command is needed");
    if (args[0] == "--help" || args[0] == "-h") {
        out << kUsage;
        return 0;
    }
    if (args[0] == "labels")
        return RunPrintLabels(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    if (args[0] == "envelopes")
        return RunPrintEnvelopes(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    if (args[0] == "letters")
        return RunPrintLetters(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    if (args[0] == "report" || args[0] == "zipcount" || args[0] == "record")
        return RunPrintReports(args[0], std::vector<std::string>(args.begin() + 1, args.end()), out,
                               err);
    if (args[0] == "templates")
        return Templates(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    return Usage(err, "unknown command '" + args[0] + "'");
}

} // namespace qm::tools
