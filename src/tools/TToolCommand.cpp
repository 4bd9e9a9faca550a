#include "tools/TToolCommand.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>

namespace qm::tools {

const std::vector<TToolCommand>& ToolCommands()
{
    static const std::vector<TToolCommand> commands = {
        {"table", "inspect, query and maintain xBase tables (DBF, FPT, CDX)", &RunTableCommand},
        {"pages", "dump or render a recorded page stream", &RunPagesCommand},
        {"layout", "dump a layout file or print it filled from a record", &RunLayoutCommand},
        {"dial", "dial a phone number through the modem", &RunDialCommand},
        {"check", "list possible duplicates or questionable state/ZIP records", &RunCheckCommand},
        {"edit", "convert case, delete records, search and replace in an address file",
         &RunEditCommand},
        {"import", "append records from a CSV file, another table or an older address file",
         &RunImportCommand},
        {"export", "copy an address file's records to a CSV file or a new table",
         &RunExportCommand},
        {"print", "print labels, envelopes, letters and reports; list label templates",
         &RunPrintCommand},
        {"presort", "presort an address file's records for bulk mail", &RunPresortCommand},
        {"barcode", "print the bars of an Intelligent Mail barcode as letters", &RunBarcodeCommand},
        {"letters", "list, export, import or spell-check the form letters", &RunLettersCommand},
        {"report", "list, show, clone or delete the user-designed reports", &RunReportCommand},
        {"templates", "import label sheet template files as your own label sheets",
         &RunTemplatesCommand},
    };
    return commands;
}

namespace {

void PrintUsage(std::ostream& out)
{
    out << "Usage: quillmark-tool COMMAND [ARGUMENTS...]\n"
           "\n"
           "Works on Quillmark's files from the command line: address files and other xBase\n"
           "tables, recorded print pages and layouts. Each command has its own --help.\n"
           "\n"
           "Commands:\n";
    // Names and summaries in two columns, at least two blanks apart (the completion and the
    // manual page read the list that way).
    size_t width = 0;
    for (const TToolCommand& command : ToolCommands())
        width = std::max(width, std::string(command.name).size());
    for (const TToolCommand& command : ToolCommands())
        out << "  " << command.name
            << std::string(width + 2 - std::string(command.name).size(), ' ') << command.summary
            << "\n";
    out << "\n"
           "  --help     this text\n"
           "  --version  the program version\n"
           "\n"
           "Exit codes: 0 success, 1 a negative answer (not found, check failed), 2 bad usage,\n"
           "3 a file could not be read or written.\n";
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        PrintUsage(err);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(out);
        return 0;
    }
    if (args[0] == "--version") {
        out << "quillmark-tool " << QM_VERSION << "\n";
        return 0;
    }
    for (const TToolCommand& command : ToolCommands())
        if (args[0] == command.name)
            return command.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    err << "quillmark-tool: unknown command '" << args[0] << "' (try --help)\n";
    return 2;
}

} // namespace

int RunTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const int code = RunCommandLine(args, out, err);
    // What a command printed last is its result ("Wrote ...", "Added ..."): a command whose
    // output did not arrive (a full disk, a closed pipe) has not done what it says.
    const bool failedBefore = !out;
    errno = 0;
    if (!failedBefore)
        out.flush();
    if (!out) {
        const int error = failedBefore ? 0 : errno;
        err << "quillmark-tool: the output could not be written";
        if (error != 0)
            err << ": " << std::strerror(error);
        err << "\n";
        return code == 0 ? 3 : code;
    }
    return code;
}

} // namespace qm::tools
