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
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

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
    const QString path = QDir(temp.path()).filePath("ADD0001.DBF");
    std::printf("label figures for up to %ld records in %s\n", n, qPrintable(temp.path()));
    TBenchRun::Report("append records and build the tags (set-up)", TBenchRun::Seconds([&] {
                          auto table = qm::xbase::TTable::Create(
                              path.toStdString(), qm::data::TAddressFileLayout::FieldDefs({}));
                          qm::bench::FillAddressTable(*table, n);
                          qm::data::TAddressFile::BuildTags(*table);
                          table->Close();
                      }));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("QM_DATA_DIR"))
        env.insert("QM_DATA_DIR",
                   QDir(QCoreApplication::applicationDirPath()).filePath("../share/quillmark"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString pdf = QDir(temp.path()).filePath("labels.pdf");
    for (long count = 1000; count <= n; count *= 10) {
        QProcess process;
        process.setProcessEnvironment(env);
        // The generator marks some records deleted; the first count records by number are taken
        // and the tool leaves the deleted ones out, as the summary line tells.
        const QStringList arguments = {"print",      "labels",
                                       "--table",    path,
                                       "--template", "Avery 5160  Address",
                                       "--query",    QStringLiteral("RECNO()<=%1").arg(count),
                                       "--order",    "LNAME",
                                       "--pdf",      pdf};
        QString summary;
        const double seconds = TBenchRun::Seconds([&] {
            process.start(tool, arguments);
            process.waitForFinished(-1);
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
        rusage children{};
        getrusage(RUSAGE_CHILDREN, &children);
        std::printf("%9ld records: %8.3f s  %9.0f labels/s  %7ld labels  %6ld pages  %11lld "
                    "PDF bytes  tool peak %7.1f MB\n",
                    count, seconds, seconds > 0 ? labels / seconds : 0.0, labels, pages,
                    static_cast<long long>(QFileInfo(pdf).size()),
                    double(children.ru_maxrss) / 1024.0);
        std::fflush(stdout);
    }
    return 0;
}
