#pragma once

// The command-line tool is a set of command groups ("table", "pages", ...). Each group is one
// function that takes the arguments after its name and returns the process exit code; the group
// prints its own --help. Output goes to the given streams so tests can run a group in-process.

#include <iosfwd>
#include <string>
#include <vector>

namespace qm::tools {

struct TToolCommand {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// Every command group, in the order --help lists them.
const std::vector<TToolCommand>& ToolCommands();

// The command groups, each in its own source file.
int RunTableCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPagesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunLayoutCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunDialCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunEditCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPrintCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunLettersCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPresortCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "report": the user-designed reports of the program home (list, show, clone, delete).
int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "templates": the user's own label sheets (import template files).
int RunTemplatesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunBarcodeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "print labels": the label print loop into a list, a page stream or a PDF.
int RunPrintLabels(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "print envelopes": the envelope print loop into a list, a page stream or a PDF.
int RunPrintEnvelopes(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "print letters": the letter print loop into a PDF, a PDF per record, text or RTF files.
int RunPrintLetters(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "print report", "print zipcount" and "print record": the report jobs.
int RunPrintReports(const std::string& verb, const std::vector<std::string>& args,
                    std::ostream& out, std::ostream& err);

int RunTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace qm::tools
