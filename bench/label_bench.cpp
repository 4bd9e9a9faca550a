// Label printing figures: "quillmark-tool print labels" run as a process, as a user runs it,
// making PDFs of 1,000 up to --n labels (each count ten times the last) on "Avery 5160  Address"
// with the new-label design. Per count: wall time (process start included), labels per second,
// pages, PDF bytes and the tool's peak memory.
//
// With --presort the address files get ZIP codes drawn so that every kind of presort group
// occurs (5-digit, 3-digit, ADC, "** Unknown", and records left out), and per count it also
// times "quillmark-tool presort" over the records not marked deleted (its progress line shows
// when the benchmark runs on a terminal) and the presorted label run, against the unsorted one.
//
// Every count also runs a barcode pair on a sheet 4 in wide: the new-label design without and
// with an Intelligent Mail barcode (counted serials) under the address block of every label, the
// two layouts otherwise the same, and reports the time with the barcode against the time without.

#include "address_table_fill.h"
#include "bench_run.h"
#include "tool_run.h"

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TSettingsFile.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TImbSettings.h"
#include "design/text/TDesignUnits.h"
#include "labels/TNewLabelDesign.h"
#include "xbase/TTable.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdio>

using qm::bench::RunTool;
using qm::bench::TBenchArgs;
using qm::bench::TBenchRun;
using qm::bench::TToolRun;

namespace {

uint64_t Mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// The ZIP of record i (from 0) of count, drawn so that every presort group kind occurs at every
// count: about 55 % on 5-digit keys of prefixes 100-499 (some 50 records a key), about 43 % spread
// thinly over the keys of prefixes 500-899 (3-digit groups, 5-digit ones where a key gathers ten),
// a few records a prefix on 900-989 (too few for a group: ADC groups), a handful on prefixes no
// distribution centre serves (000-003 and 099: "** Unknown") and 1 % without a valid ZIP
// (blank or Canadian, left out).
std::string DrawZip(long i, long count)
{
    char zip[16];
    if (i % 100 == 50)
        return (i / 100) % 2 ? std::string() : std::string("K1A 0B1");
    if (i % 200000 == 5) {
        static const int kUnknown[] = {0, 1, 2, 3, 99};
        std::snprintf(zip, sizeof zip, "%03d%02ld", kUnknown[(i / 200000) % 5], (i / 7) % 100);
        return zip;
    }
    if (i % 2000 == 1) {
        std::snprintf(zip, sizeof zip, "%03ld%02ld", 900 + (i / 2000) % 90, (i / 180000) % 100);
        return zip;
    }
    const uint64_t r = Mix(uint64_t(i));
    if (r % 100 < 55) {
        const long keys = std::clamp(count / 50, 1L, 40000L);
        const long k = long((r >> 8) % uint64_t(keys));
        std::snprintf(zip, sizeof zip, "%03ld%02ld", 100 + k % 400, (k / 400) % 100);
        return zip;
    }
    const long prefixes = std::clamp(count * 43 / 100 / 40, 1L, 400L);
    const long prefix = 500 + long((r >> 8) % uint64_t(prefixes));
    std::snprintf(zip, sizeof zip, "%03ld%02ld-%04ld", prefix, long((r >> 24) % 100),
                  long((r >> 40) % 10000));
    return zip;
}

bool Check(const TToolRun& run, const char* what)
{
    if (run.exitCode == 0)
        return true;
    std::fprintf(stderr, "quillmark-label-bench: %s failed (%d): %s\n", what, run.exitCode,
                 qPrintable(run.err));
    return false;
}

// "R record(s), L label(s), P page(s)"
void Summary(const QString& summary, long& labels, long& pages)
{
    const QStringList parts = summary.split('\n').last().split(' ');
    labels = parts.size() > 2 ? parts[2].toLong() : 0;
    pages = parts.size() > 4 ? parts[4].toLong() : 0;
}

// The barcode pair's sheet: 4 in wide, so that a 2.9 in Intelligent Mail barcode fits under the
// address block, as on mail that carries one.
const char* const kBarcodeSheet = "Avery 5162  Address";

// Two label layout files for the barcode pair, the same but for the barcode: the new-label design
// of a 5162 label with its address block ending above the bottom 0.3 in, and under the block an
// Intelligent Mail barcode (counted serials; the home's settings give it its parts).
bool WriteBarcodeLayouts(const QString& plainPath, const QString& imbPath, const QString& home)
{
    using namespace qm;
    design::TDesignUnits::SetPpiOverride(design::TDesignUnits::kDefaultPpi);
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Label);
    labels::TLabelGeometry geometry = labels::TLabelGeometry::NewLayout();
    geometry.labelWidth = 4.0f;
    geometry.labelHeight = 1.333f;
    data::TSettingsFile settings(QDir(home).filePath("QUILLM.ini"));
    design::TImbSettings parts;
    parts.serviceType = QStringLiteral("300");
    parts.mailerId = QStringLiteral("123456");
    parts.nextSerial = 1;
    parts.Write(settings);
    design::TGDataPanel panel;
    labels::TNewLabelDesign::AddTo(panel, geometry);
    const int codeTop = panel.Height() - 24;
    design::TGGraphicControl* block = panel.ObjectAt(0);
    block->SetBounds(block->Left(), block->Top(), block->Width(), codeTop - 4 - block->Top());
    try {
        design::TGLabelObjectFiler::SaveToFile(panel, plainPath);
        auto code = std::make_unique<design::TGIMBarCode>();
        code->ConfigureDrawn(parts);
        code->SetBounds(12, codeTop, 282, 16);
        panel.AddObject(std::move(code));
        design::TGLabelObjectFiler::SaveToFile(panel, imbPath);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillmark-label-bench: %s\n", e.what());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    const char* const program = "quillmark-label-bench";
    TBenchArgs args(program, "Label printing figures: quillmark-tool print labels to PDF for "
                             "1,000 up to N records; with --presort also the presort and the "
                             "presorted run.");
    args.Option("n", "N", "records in the largest generated address file (default 1,000,000)");
    args.Option("dir", "DIR", "folder for the generated files (default: the temporary folder)");
    args.Flag("presort", "ZIP codes for every presort group; time the presort and the presorted "
                         "run as well");
    if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
        return *exit;
    // Made after the options, so --help and bad options print nothing else.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the layout's address block measures its font
    long n = 1000000;
    if (const auto value = args.Value("n")) {
        const std::optional<uint64_t> count = TBenchArgs::Count(*value);
        if (!count || *count == 0 || *count > 100000000) {
            std::fprintf(stderr, "%s: --n needs a whole number from 1 to 100,000,000, not %s\n",
                         program, value->c_str());
            return TBenchArgs::kExitUsage;
        }
        n = long(*count);
    }
    const QString dir =
        args.Value("dir") ? QString::fromLocal8Bit(args.Value("dir")->c_str()) : QDir::tempPath();
    const bool presort = args.Has("presort");

    QDir().mkpath(dir);
    QTemporaryDir temp(dir + "/qm-label-bench-XXXXXX");
    if (!temp.isValid()) {
        std::fprintf(stderr, "%s: cannot make a folder in %s\n", program, qPrintable(dir));
        return 2;
    }
    const QString tool = QDir(QCoreApplication::applicationDirPath()).filePath("quillmark-tool");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("QM_DATA_DIR"))
        env.insert("QM_DATA_DIR",
                   QDir(QCoreApplication::applicationDirPath()).filePath("../share/quillmark"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    std::printf("label figures for 1,000 up to %ld records in %s%s\n", n, qPrintable(temp.path()),
                presort ? " (ZIP codes for every presort group)" : "");
    const QString pdf = QDir(temp.path()).filePath("labels.pdf");
    const QString list = QDir(temp.path()).filePath("PRESORT.PSL");
    // The barcode pair has a home of its own, whose settings file the counter is written back to.
    const QString imbHome = QDir(temp.path()).filePath("home");
    const QString bareLayout = QDir(temp.path()).filePath("BARE.L");
    const QString imbLayout = QDir(temp.path()).filePath("IMB.L");
    QDir().mkpath(imbHome);
    if (!WriteBarcodeLayouts(bareLayout, imbLayout, imbHome))
        return 1;
    QProcessEnvironment imbEnv = env;
    imbEnv.insert("QUILLMARK_HOME", imbHome);
    for (long count = 1000; count <= n; count *= 10) {
        // An address file of count records, as the generator makes them (some marked deleted,
        // which the tool leaves out, as its summary line tells).
        const QString path = QDir(temp.path()).filePath(QStringLiteral("ADD%1.DBF").arg(count));
        char figure[96];
        std::snprintf(figure, sizeof figure, "%ld records: append and build the tags (set-up)",
                      count);
        TBenchRun::Report(figure, TBenchRun::Seconds([&] {
                              auto table = qm::xbase::TTable::Create(
                                  path.toStdString(), qm::data::TAddressFileLayout::FieldDefs({}));
                              qm::bench::FillAddressTable(*table, count);
                              if (presort) {
                                  const int zip = table->FieldIndex("ZIP");
                                  for (long i = 0; i < count; ++i) {
                                      table->Go(uint32_t(i + 1));
                                      table->PutString(zip, DrawZip(i, count));
                                      table->Post();
                                  }
                                  table->Commit();
                              }
                              qm::data::TAddressFile::BuildTags(*table);
                              table->Close();
                          }));
        const QStringList print = {"print", "labels",     "--table",
                                   path,    "--template", "Avery 5160  Address",
                                   "--all", "--pdf",      pdf};
        const TToolRun plain = RunTool(tool, print, env, false);
        if (!Check(plain, "print labels"))
            return 1;
        long labels = 0;
        long pages = 0;
        Summary(plain.out, labels, pages);
        std::printf("%9ld records: %8.3f s (cpu %7.3f s)  %9.0f labels/s  %7ld labels  %6ld pages  "
                    "%11lld PDF bytes  tool peak %7.1f MB\n",
                    count, plain.seconds, plain.cpuSeconds,
                    plain.seconds > 0 ? labels / plain.seconds : 0.0, labels, pages,
                    static_cast<long long>(QFileInfo(pdf).size()), plain.peakMb);
        std::fflush(stdout);
        QFile::remove(pdf);
        {
            const QStringList pair = {"print",       "labels", "--table", path, "--template",
                                      kBarcodeSheet, "--all",  "--pdf",   pdf,  "--layout"};
            const TToolRun bare = RunTool(tool, QStringList(pair) << bareLayout, imbEnv, false);
            if (!Check(bare, "print labels without the barcode"))
                return 1;
            const long long bareBytes = QFileInfo(pdf).size();
            QFile::remove(pdf);
            const TToolRun imb = RunTool(tool, QStringList(pair) << imbLayout, imbEnv, false);
            if (!Check(imb, "print labels with an Intelligent Mail barcode"))
                return 1;
            long imbLabels = 0;
            long imbPages = 0;
            Summary(imb.out.split('\n').first(), imbLabels, imbPages);
            std::printf("%9ld records: barcode pair on %s: without %.3f s (cpu %.3f s, %lld PDF "
                        "bytes), with %.3f s (cpu %.3f s, %lld PDF bytes): %.2f x  %9.0f labels/s "
                        " %6ld pages  tool peak %7.1f MB\n",
                        count, kBarcodeSheet, bare.seconds, bare.cpuSeconds, bareBytes, imb.seconds,
                        imb.cpuSeconds, static_cast<long long>(QFileInfo(pdf).size()),
                        bare.seconds > 0 ? imb.seconds / bare.seconds : 0.0,
                        imb.seconds > 0 ? imbLabels / imb.seconds : 0.0, imbPages, imb.peakMb);
            std::fflush(stdout);
            QFile::remove(pdf);
        }
        if (presort) {
            const TToolRun sorted = RunTool(
                tool, {"presort", "--table", path, "--query", "!ISDEL", "--out", list}, env, true);
            if (!Check(sorted, "presort"))
                return 1;
            std::printf("%9ld records: presort %8.3f s (cpu %7.3f s)  %11lld list bytes  tool peak "
                        "%7.1f MB\n",
                        count, sorted.seconds, sorted.cpuSeconds,
                        static_cast<long long>(QFileInfo(list).size()), sorted.peakMb);
            std::fflush(stdout);
            QFile::remove(list);
            const TToolRun run = RunTool(tool, QStringList(print) << "--presort", env, false);
            if (!Check(run, "print labels --presort"))
                return 1;
            Summary(run.out, labels, pages);
            std::printf("%9ld records: presorted run %8.3f s (cpu %7.3f s, %.2f x unsorted)  %7ld "
                        "labels  %6ld pages  tool peak %7.1f MB\n",
                        count, run.seconds, run.cpuSeconds,
                        plain.seconds > 0 ? run.seconds / plain.seconds : 0.0, labels, pages,
                        run.peakMb);
            std::fflush(stdout);
            QFile::remove(pdf);
        }
        for (const char* suffix : {".DBF", ".CDX", ".FPT"})
            QFile::remove(path.left(path.size() - 4) + suffix);
    }
    return 0;
}
