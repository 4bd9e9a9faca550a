// Template picker figures: "Select Label Template" opened offscreen on the shipped template table,
// the lists set to every maker and every product type (the whole table, about 1,500 rows), then a
// 4-character product number typed into the find box one key at a time. Per keystroke: the time
// from the key to the narrowed list painted (the find, the grid refilled, the fields of the row it
// stands on read), median and slowest over the rounds, and the rows left; then the same for
// erasing the text again key by key, whose last Backspace refills the whole table. Also the time
// to open the picker and to list the whole table.
//
//   quillmark-template-bench [--rounds N] [--text TEXT]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; reads the shipped table
// from the installed data folder beside the program (or QM_DATA_DIR).

#include "bench_args.h"

#include "data/TProgramHome.h"
#include "labels/TLabelGeometry.h"
#include "labels/TLabelTemplateFilter.h"
#include "labels/TLabelTemplates.h"
#include "labels/ui/TSelectLabel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using qm::bench::TBenchArgs;
using qm::labels::TLabelGeometry;
using qm::labels::TLabelTemplateFilter;
using qm::labels::TLabelTemplates;
using qm::labels::TSelectLabel;

namespace {

double Ms(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// The processor time the process has used, in milliseconds: on a busy machine the wall-clock
// figures include the time other programs had the processor.
double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

double Slowest(const std::vector<double>& t)
{
    return *std::max_element(t.begin(), t.end());
}

// Sets the lists to every maker and product type; returns the milliseconds it took.
double ListEverything(TSelectLabel& dialog)
{
    QElapsedTimer clock;
    clock.start();
    dialog.ManufacturerCombo()->setCurrentIndex(dialog.ManufacturerCombo()->count() - 1);
    dialog.ProductCombo()->setCurrentIndex(TLabelTemplateFilter::AllProductsItem());
    dialog.Grid()->viewport()->repaint();
    return Ms(clock);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TBenchArgs args("quillmark-template-bench",
                    "Template picker figures: opening on the whole template table and typing a "
                    "product number into the find box.");
    args.Option("rounds", "N", "times the text is typed (default 20)");
    args.Option("text", "TEXT", "what is typed, one key at a time (default 5160)");
    if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
        return *exit;
    int rounds = 20;
    if (const auto n = args.Value("rounds")) {
        const std::optional<uint64_t> count = TBenchArgs::Count(*n);
        if (!count || *count == 0 || *count > 10000) {
            std::fprintf(stderr, "quillmark-template-bench: --rounds needs 1 to 10,000\n");
            return TBenchArgs::kExitUsage;
        }
        rounds = int(*count);
    }
    const QString text = QString::fromStdString(args.Value("text").value_or("5160"));

    QApplication app(argc, argv);
    const QString sysdata =
        QDir(qm::data::TProgramHome::ShippedDataDir()).filePath(QStringLiteral("sysdata"));
    TLabelTemplates templates;
    if (const QString failure = templates.Open(sysdata, QString()); !failure.isEmpty()) {
        std::fprintf(stderr, "quillmark-template-bench: %s (in %s)\n", qPrintable(failure),
                     qPrintable(sysdata));
        return 3;
    }

    QElapsedTimer clock;
    clock.start();
    TSelectLabel dialog(templates, TLabelGeometry::NewLayout());
    dialog.show();
    QApplication::processEvents();
    const double open = Ms(clock);
    const double everything = ListEverything(dialog);
    const int rows = dialog.Grid()->rowCount();
    std::printf("%-46s %9.2f ms\n", "open the picker (Avery laser address sheets)", open);
    std::printf("%-46s %9.2f ms   %d rows\n", "list every maker and product type", everything,
                rows);

    // times[k]: the k-th keystroke's milliseconds over the rounds.
    std::vector<std::vector<double>> times(size_t(text.size()));
    std::vector<std::vector<double>> cpu(size_t(text.size()));
    std::vector<std::vector<double>> erasedCpu(size_t(text.size()));
    std::vector<int> left(size_t(text.size()));
    // erased[k]: Backspace with k + 1 characters in the box; the last one brings back every row.
    std::vector<std::vector<double>> erased(size_t(text.size()));
    std::vector<int> back(size_t(text.size()));
    dialog.FindEdit()->clear();
    dialog.FindEdit()->setFocus();
    QApplication::processEvents();
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype k = 0; k < text.size(); ++k) {
            const double cpuStart = CpuMs();
            clock.restart();
            QTest::keyClick(dialog.FindEdit(), text[k].toLatin1());
            dialog.Grid()->viewport()->repaint();
            times[size_t(k)].push_back(Ms(clock));
            cpu[size_t(k)].push_back(CpuMs() - cpuStart);
            left[size_t(k)] = dialog.Grid()->rowCount();
        }
        for (qsizetype k = text.size() - 1; k >= 0; --k) {
            const double cpuStart = CpuMs();
            clock.restart();
            QTest::keyClick(dialog.FindEdit(), Qt::Key_Backspace);
            dialog.Grid()->viewport()->repaint();
            erased[size_t(k)].push_back(Ms(clock));
            erasedCpu[size_t(k)].push_back(CpuMs() - cpuStart);
            back[size_t(k)] = dialog.Grid()->rowCount();
        }
    }
    std::printf("typing \"%s\" into the find box, %d rounds (wall clock; processor time):\n",
                qPrintable(text), rounds);
    double slowest = 0;
    double slowestCpu = 0;
    for (size_t k = 0; k < times.size(); ++k) {
        slowest = std::max(slowest, Slowest(times[k]));
        slowestCpu = std::max(slowestCpu, Slowest(cpu[k]));
        std::printf("  key %zu '%s'  median %6.2f ms  slowest %6.2f ms;  processor median %6.2f "
                    "slowest %6.2f ms  %5d rows left\n",
                    k + 1, qPrintable(QString(text[qsizetype(k)])), Median(times[k]),
                    Slowest(times[k]), Median(cpu[k]), Slowest(cpu[k]), left[k]);
    }
    std::printf("erasing it again with Backspace:\n");
    for (size_t k = erased.size(); k-- > 0;) {
        slowest = std::max(slowest, Slowest(erased[k]));
        slowestCpu = std::max(slowestCpu, Slowest(erasedCpu[k]));
        std::printf("  %zu left     median %6.2f ms  slowest %6.2f ms;  processor median %6.2f "
                    "slowest %6.2f ms  %5d rows shown\n",
                    k, Median(erased[k]), Slowest(erased[k]), Median(erasedCpu[k]),
                    Slowest(erasedCpu[k]), back[k]);
    }
    std::printf("%-46s %9.2f ms   (%s 30 ms)\n", "slowest keystroke, wall clock", slowest,
                slowest <= 30 ? "within" : "OVER");
    std::printf("%-46s %9.2f ms   (%s 30 ms)\n", "slowest keystroke, processor time", slowestCpu,
                slowestCpu <= 30 ? "within" : "OVER");
    std::fflush(stdout);
    return 0;
}
