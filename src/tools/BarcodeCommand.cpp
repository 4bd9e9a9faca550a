// The "barcode" command: the bars of a postal barcode as letters, for checking a code by hand or
// feeding another program, without a layout or an address file.

#include "tools/TToolCommand.h"

#include "design/barcode/TImbCode.h"

#include <ostream>

namespace qm::tools {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: quillmark-tool barcode imb TRACKING [ROUTING]\n"
    "imb prints the 65 bars of the Intelligent Mail barcode for a 20-digit tracking code\n"
    "(barcode identifier, service type, mailer identifier and serial number) and a routing code\n"
    "of none, 5, 9 or 11 digits (the ZIP code and delivery point, digits only), one letter a bar\n"
    "from the left: F full, A ascender, D descender, T tracker. See\n"
    "docs/formats/intelligent-mail-barcode.md.\n"
    "\n"
    "Exit codes: 0 bars printed, 1 the tracking or routing code is not valid (the reason on\n"
    "standard error), 2 bad usage.\n";

bool IsHelp(const std::string& arg)
{
    return arg == "--help" || arg == "-h";
}

int Imb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const QString tracking = QString::fromStdString(args[1]);
    const QString routing = args.size() > 2 ? QString::fromStdString(args[2]) : QString();
    design::TImbBars bars;
    QString problem;
    if (!design::TImbCode::Encode(tracking, routing, &bars, &problem)) {
        err << "quillmark-tool barcode: " << problem.toStdString() << "\n";
        return kExitInvalid;
    }
    out << design::TImbCode::Letters(bars).toStdString() << "\n";
    return kExitOk;
}

} // namespace

int RunBarcodeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    for (const std::string& arg : args)
        if (IsHelp(arg)) {
            out << kUsage;
            return kExitOk;
        }
    if (!args.empty() && args[0] == "imb" && (args.size() == 2 || args.size() == 3))
        return Imb(args, out, err);
    if (!args.empty() && args[0] != "imb")
        err << "quillmark-tool barcode: unknown barcode '" << args[0] << "'\n";
    err << kUsage;
    return kExitUsage;
}

} // namespace qm::tools
