// "quillmark-tool pages": look into recorded page streams.
//   pages dump FILE                                   every command as one text line
//   pages render FILE --pdf OUT.pdf [--dpi N]         replay onto a PDF
//   pages render FILE --png OUT-%d.png [--dpi N]      replay onto PNG pages

#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "print/TPageRender.h"
#include "print/TPageStreamDump.h"
#include "print/TPrintError.h"

#include <QFile>
#include <QGuiApplication>
#include <memory>
#include <ostream>

namespace qm::tools {
namespace {

const char* const kUsage =
    "usage: quillmark-tool pages dump FILE\n"
    "       quillmark-tool pages render FILE (--pdf OUT.pdf | --png OUT-%d.png) [--dpi N]\n"
    "Shows a recorded page stream: dump prints every command as one line (code, name and\n"
    "operands); render replays the pages onto a PDF (300 DPI unless --dpi) or onto one PNG\n"
    "per page (96 DPI unless --dpi), %d standing for the page's position.\n";

bool ReadFile(const std::string& path, QByteArray& bytes, std::ostream& err)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        err << "quillmark-tool: cannot open " << path << ": " << file.errorString().toStdString()
            << "\n";
        return false;
    }
    bytes = file.readAll();
    return true;
}

int Dump(const std::string& path, std::ostream& out, std::ostream& err)
{
    QByteArray bytes;
    if (!ReadFile(path, bytes, err))
        return 1;
    TToolEnvironment::EnsureGuiApplication();
    const print::TPageStreamDump dump = print::DumpPageStream(bytes);
    for (const QString& line : dump.lines)
        out << line.toStdString() << "\n";
    if (!dump.error.isEmpty()) {
        err << path << ": offset " << dump.errorOffset << ": " << dump.error.toStdString() << "\n";
        return 1;
    }
    return 0;
}

int Render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string file, pdf, png;
    int dpi = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--pdf" && hasValue)
            pdf = args[++i];
        else if (a == "--png" && hasValue)
            png = args[++i];
        else if (a == "--dpi" && hasValue) {
            try {
                dpi = std::stoi(args[++i]);
            } catch (...) {
                dpi = -1;
            }
            if (dpi < 10 || dpi > 2400) {
                err << "quillmark-tool: --dpi takes a number from 10 to 2400\n";
                return 2;
            }
        } else if (file.empty() && !a.starts_with("--"))
            file = a;
        else {
            err << kUsage;
            return 2;
        }
    }
    if (file.empty() || pdf.empty() == png.empty()) {
        err << kUsage;
        return 2;
    }
    QByteArray bytes;
    if (!ReadFile(file, bytes, err))
        return 1;
    TToolEnvironment::EnsureGuiApplication();
    try {
        if (!pdf.empty()) {
            const int pages = print::RenderPdf(bytes, QString::fromStdString(pdf), dpi ? dpi : 300);
            out << pdf << ": " << pages << " page(s)\n";
        } else {
            const QStringList files =
                print::RenderPng(bytes, QString::fromStdString(png), dpi ? dpi : 96);
            for (const QString& f : files)
                out << f.toStdString() << "\n";
        }
    } catch (const print::TPrintError& e) {
        err << file << ": ";
        if (e.Offset() >= 0)
            err << "offset " << e.Offset() << ": ";
        err << e.Message().toStdString() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int RunPagesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "dump" && args.size() == 2)
        return Dump(args[1], out, err);
    if (args[0] == "render")
        return Render(args, out, err);
    err << kUsage;
    return 2;
}

} // namespace qm::tools
