// Label printing figures: "quillmark-tool print labels" run as a process, as a user runs it,
// making PDFs of 1,000 up to --n labels (each count ten times the last) on "Avery 5160  Address"
// with the new-label design. Per count: wall time (process start included), labels per second,
// pages, PDF bytes and the tool's peak memory.

#include "address_table_fill.h"
#include "bench_run.h"

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "xbase/TTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using qm::bench::TBenchRun;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TBenchRun run;
    if (const auto exit = TBenchRun::FromArguments(
            argc, argv, "quillmark-label-bench",
            "Label printing figures: quillmark-tool print labels to PDF for 1,000 up to N "
            "records.",
            run))
        return *exit;
    const auto [n, dir] = run;
    QDir().mkpath(dir);
    QTemporaryDir temp(dir + "/qm-label-bench-XXXXXX");
    if (!temp.isValid()) {
        std::fprintf(stderr, "quillmark-label-bench: cannot make a folder in %s\n",
                     qPrintable(dir));
        return 2;
    }
    const QString tool = QDir(QCoreApplication::applicationDirPath()).filePath("quillmark-tool");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("QM_DATA_DIR"))
        env.insert("QM_DATA_DIR",
                   QDir(QCoreApplication::applicationDirPath()).filePath("../share/quillmark"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    std::printf("label figures for 1,000 up to %ld records in %s\n", n, qPrintable(temp.path()));
    const QString pdf = QDir(temp.path()).filePath("labels.pdf");
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
                              qm::data::TAddressFile::BuildTags(*table);
                              table->Close();
                          }));
        QProcess process;
        process.setProcessEnvironment(env);
        const QStringList arguments = {"print", "labels",     "--table",
                                       path,    "--template", "Avery 5160  Address",
                                       "--all", "--pdf",      pdf};
        QString summary;
        long peakKb = 0;
        const double seconds = TBenchRun::Seconds([&] {
            process.start(tool, arguments);
            // The tool's own peak (VmHWM), sampled while it runs: the rusage of a child would
            // also count the pages it shared with this process before it started the tool.
            const QString status = QStringLiteral("/proc/%1/status").arg(process.processId());
            while (!process.waitForFinished(20)) {
                QFile file(status);
                if (!file.open(QIODevice::ReadOnly))
                    continue;
                for (const QByteArray& line : file.readAll().split('\n'))
                    if (line.startsWith("VmHWM:"))
                        peakKb = std::max(peakKb, line.mid(6).trimmed().split(' ')[0].toLong());
            }
            summary = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        });
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            std::fprintf(stderr, "quillmark-label-bench: the tool failed (%d): %s\n",
                         process.exitCode(), process.readAllStandardError().constData());
            return 1;
        }
        // "R record(s), L label(s), P page(s)"
        const QStringList parts = summary.split(' ');
        const long labels = parts.size() > 2 ? parts[2].toLong() : 0;
        const long pages = parts.size() > 4 ? parts[4].toLong() : 0;
        std::printf("%9ld records: %8.3f s  %9.0f labels/s  %7ld labels  %6ld pages  %11lld "
                    "PDF bytes  tool peak %7.1f MB\n",
                    count, seconds, seconds > 0 ? labels / seconds : 0.0, labels, pages,
                    static_cast<long long>(QFileInfo(pdf).size()), double(peakKb) / 1024.0);
        std::fflush(stdout);
        QFile::remove(pdf);
        for (const char* suffix : {".DBF", ".CDX", ".FPT"})
            QFile::remove(path.left(path.size() - 4) + suffix);
    }
    return 0;
}
