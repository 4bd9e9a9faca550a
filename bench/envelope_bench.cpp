// Envelope printing figures: "quillmark-tool print envelopes --all --pdf" run as a process, as a
// user runs it, for 1,000 up to --n records (each count ten times the last; default 100,000), on
// a #10 layout with a multi-line return address, the address block, an 11-digit POSTNET and a
// FIM A, written by the layout writer. Per count: wall time (process start included), envelopes
// per second, pages, PDF bytes and the tool's peak memory.

#include "address_table_fill.h"
#include "bench_run.h"
#include "tool_run.h"

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "design/barcode/TPostNetCode.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGMultiLineLabel.h"
#include "design/objects/TGPostNetBarCode.h"
#include "design/text/TDesignUnits.h"
#include "xbase/TTable.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using qm::bench::TBenchRun;

namespace {

// The #10 layout (9.5 x 4.125 in at 96 design pixels per inch).
void WriteLayout(const QString& path)
{
    using namespace qm::design;
    TDesignUnits::SetPpiOverride(TDesignUnits::kDefaultPpi);
    TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Envelope);
    TGDataPanel panel;
    panel.SetSize(912, 396);
    auto ret = std::make_unique<TGMultiLineLabel>();
    ret->SetItems({"Quillmark Mailing Co.", "1200 Harbor Road, Suite 4", "Portland, OR 97201"});
    ret->SetBounds(19, 19, 260, 60);
    panel.AddObject(std::move(ret));
    auto fim = std::make_unique<TGFIMBarCode>();
    fim->SetFIMType(TGFIMType::fimTypeA);
    fim->SetBounds(912 - 3 * 96 + 10, 0, fim->Width(), fim->Height());
    panel.AddObject(std::move(fim));
    auto address = std::make_unique<TGDMultiLineAddressLabel>();
    address->SetBounds(360, 170, 400, 100);
    panel.AddObject(std::move(address));
    auto postnet = std::make_unique<TGPostNetBarCode>();
    postnet->SetZipCodeField("ZIP");
    postnet->SetAddressField("STREET");
    postnet->SetBarCodeType(TPostNetType::pnbc11Digit);
    postnet->SetBounds(360, 280, 320, 20);
    panel.AddObject(std::move(postnet));
    TGLabelObjectFiler::SaveToFile(panel, path);
}

} // namespace

int main(int argc, char* argv[])
{
    TBenchRun run;
    run.n = 100000;
    if (const auto exit = TBenchRun::FromArguments(
            argc, argv, "quillmark-envelope-bench",
            "Envelope printing figures: quillmark-tool print envelopes to PDF for 1,000 up to N "
            "records (default 100,000).",
            run))
        return *exit;
    // The application (for the layout's fonts) only once the arguments are good, so --help and a
    // bad option answer before any platform message.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const auto [n, dir] = run;
    QDir().mkpath(dir);
    QTemporaryDir temp(dir + "/qm-envelope-bench-XXXXXX");
    if (!temp.isValid()) {
        std::fprintf(stderr, "quillmark-envelope-bench: cannot make a folder in %s\n",
                     qPrintable(dir));
        return 2;
    }
    const QString tool = QDir(QCoreApplication::applicationDirPath()).filePath("quillmark-tool");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("QM_DATA_DIR"))
        env.insert("QM_DATA_DIR",
                   QDir(QCoreApplication::applicationDirPath()).filePath("../share/quillmark"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QUILLMARK_HOME", temp.path());
    const QString layout = QDir(temp.path()).filePath("BIN00001.E");
    WriteLayout(layout);
    std::printf("envelope figures (#10: return address, address block, 11-digit POSTNET, FIM A) "
                "for 1,000 up to %ld records in %s\n",
                n, qPrintable(temp.path()));
    const QString pdf = QDir(temp.path()).filePath("envelopes.pdf");
    for (long count = 1000; count <= n; count *= 10) {
        const QString path = QDir(temp.path()).filePath(QStringLiteral("ADD%1.DBF").arg(count));
        char figure[96];
        std::snprintf(figure, sizeof figure, "%ld records: append and build the tags (set-up)",
                      count);
        TBenchRun::Report(figure, TBenchRun::Seconds([&] {
                              auto table = qm::xbase::TTable::Create(
                                  path.toStdString(), qm::data::TAddressFileLayout::FieldDefs({}));
                              qm::bench::FillAddressTable(*table, count);
                              qm::data::TAddressFile::BuildTags(*table);
                              table->Close();
                          }));
        const QStringList arguments = {"print",
                                       "envelopes",
                                       "--table",
                                       path,
                                       "--layout",
                                       layout,
                                       "--size",
                                       "20",
                                       "--all",
                                       "--feed",
                                       "landscape,down,centre",
                                       "--pdf",
                                       pdf};
        const qm::bench::TToolRun r = qm::bench::RunTool(tool, arguments, env);
        if (!r.Ok()) {
            std::fprintf(stderr, "quillmark-envelope-bench: the tool failed (%d): %s\n", r.exitCode,
                         qPrintable(r.err));
            return 1;
        }
        const QString summary = r.out.trimmed();
        const double seconds = r.seconds;
        const double cpu = r.cpuSeconds;
        const long peakKb = long(r.peakMb * 1024.0);
        // "R record(s), E envelope(s), P page(s)"
        const QStringList parts = summary.split(' ');
        const long envelopes = parts.size() > 2 ? parts[2].toLong() : 0;
        const long pages = parts.size() > 4 ? parts[4].toLong() : 0;
        std::printf("%9ld records: %8.3f s  %9.0f envelopes/s  %7ld envelopes  %7ld pages  %11lld "
                    "PDF bytes  tool peak %7.1f MB  tool CPU %7.3f s\n",
                    count, seconds, seconds > 0 ? envelopes / seconds : 0.0, envelopes, pages,
                    static_cast<long long>(QFileInfo(pdf).size()), double(peakKb) / 1024.0, cpu);
        std::fflush(stdout);
        QFile::remove(pdf);
        for (const char* suffix : {".DBF", ".CDX", ".FPT"})
            QFile::remove(path.left(path.size() - 4) + suffix);
    }
    return 0;
}
