// Report figures on the generator's address file at 100,000 records and at --n (default
// 1,000,000), files in the page cache:
// - "quillmark-tool print report" to PDF run as a process (report 1, all records; report 4 with
//   memo and codes at 100,000): wall time, pages per second and the tool's peak memory;
// - report 1 recorded to a page stream in-process: rows per second;
// - the ZIP code count over all records in-process, and its report to PDF.

#include "address_table_fill.h"
#include "bench_run.h"

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TApollo.h"
#include "data/TDataSet.h"
#include "print/TPdfReport.h"
#include "print/TReportFiler.h"
#include "reports/TBuiltInLayouts.h"
#include "reports/TBuiltInReport.h"
#include "reports/TReportRunScope.h"
#include "reports/TZipCount.h"
#include "reports/TZipReport.h"
#include "reports/TZipTally.h"
#include "xbase/TTable.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>

using qm::bench::TBenchRun;

namespace {

struct TToolRun {
    double seconds = 0;
    long pages = 0;
    double peakMb = 0;
    bool ok = false;
};

// Runs the tool and samples its own peak memory (VmHWM) while it runs.
TToolRun RunTool(const QString& tool, const QStringList& arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess process;
    process.setProcessEnvironment(env);
    TToolRun run;
    long peakKb = 0;
    QString summary;
    run.seconds = TBenchRun::Seconds([&] {
        process.start(tool, arguments);
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
    run.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!run.ok)
        std::fprintf(stderr, "quillmark-report-bench: the tool failed (%d): %s\n",
                     process.exitCode(), process.readAllStandardError().constData());
    // "R record(s), P page(s)"
    const QStringList parts = summary.split(' ');
    run.pages = parts.size() > 2 ? parts[2].toLong() : 0;
    run.peakMb = double(peakKb) / 1024.0;
    return run;
}

void PrintToolRun(const char* figure, const TToolRun& run)
{
    std::printf("%-52s %9.3f s  %8.1f pages/s  %7ld pages  tool peak %7.1f MB\n", figure,
                run.seconds, run.seconds > 0 ? run.pages / run.seconds : 0.0, run.pages,
                run.peakMb);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    TBenchRun run;
    if (const auto exit = TBenchRun::FromArguments(
            argc, argv, "quillmark-report-bench",
            "Report figures: built-in reports to PDF and to a page stream, the ZIP code count "
            "and its report, at 100,000 records and at N.",
            run))
        return *exit;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const auto [n, dir] = run;
    QDir().mkpath(dir);
    QTemporaryDir temp(dir + "/qm-report-bench-XXXXXX");
    if (!temp.isValid()) {
        std::fprintf(stderr, "quillmark-report-bench: cannot make a folder in %s\n",
                     qPrintable(dir));
        return 2;
    }
    const QString tool = QDir(QCoreApplication::applicationDirPath()).filePath("quillmark-tool");
    std::printf("report figures at 100,000 and %ld records in %s\n", n, qPrintable(temp.path()));
    std::vector<long> counts{std::min(n, 100000L)};
    if (n > 100000)
        counts.push_back(n);
    const QString pdf = QDir(temp.path()).filePath("report.pdf");
    for (const long count : counts) {
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
        // Read once so the runs below find the files in the page cache.
        for (const char* suffix : {".DBF", ".CDX", ".FPT"}) {
            QFile file(path.left(path.size() - 4) + suffix);
            if (file.open(QIODevice::ReadOnly))
                while (!file.read(1 << 20).isEmpty()) {
                }
        }

        std::snprintf(figure, sizeof figure, "%ld records: report 1, all records, to PDF", count);
        const TToolRun one = RunTool(
            tool, {"print", "report", "--table", path, "--builtin", "1", "--all", "--pdf", pdf});
        if (!one.ok)
            return 1;
        PrintToolRun(figure, one);
        QFile::remove(pdf);

        if (count <= 100000) {
            std::snprintf(figure, sizeof figure, "%ld records: report 4, memo and codes, to PDF",
                          count);
            const TToolRun four = RunTool(tool, {"print", "report", "--table", path, "--builtin",
                                                 "4", "--memo", "--codes", "--all", "--pdf", pdf});
            if (!four.ok)
                return 1;
            PrintToolRun(figure, four);
            QFile::remove(pdf);
        }

        // In-process: report 1 into a page stream in a temporary file, then the ZIP count.
        qm::data::TDataSet dataSet;
        qm::data::TAddressFile::DeclareFieldObjects(dataSet);
        dataSet.Open(path, qm::xbase::TOpenMode::ReadOnly);
        qm::data::TApollo apollo(dataSet);
        {
            QTemporaryFile stream(QDir(temp.path()).filePath("stream-XXXXXX"));
            if (!stream.open())
                return 2;
            qm::reports::TReportRunScope scope(dataSet, apollo);
            scope.Apply({"LNAME", qm::reports::TRecordChoice::All, false, true}, {});
            qm::reports::TBuiltInReport routine(dataSet, {});
            qm::print::TReportFiler filer;
            filer.SetStreamMode(qm::print::TStreamMode::smUser);
            filer.SetStream(&stream);
            routine.Attach(filer);
            const double seconds = TBenchRun::Seconds([&] { filer.RunJob(); });
            std::printf("%ld records: report 1 to a page stream %18.3f s  %9.0f rows/s  %6d "
                        "pages  %lld bytes  peak %7.1f MB\n",
                        count, seconds, seconds > 0 ? routine.Records() / seconds : 0.0,
                        filer.PagesRecorded(), static_cast<long long>(stream.size()),
                        TBenchRun::PeakMb());
            std::fflush(stdout);
        }
        qm::reports::TZipTally tally;
        std::snprintf(figure, sizeof figure, "%ld records: ZIP count", count);
        TBenchRun::Report(figure,
                          TBenchRun::Seconds([&] { qm::reports::TZipCount(dataSet).Run(tally); }));
        int pages = 0;
        const double zipSeconds = TBenchRun::Seconds([&] {
            qm::reports::TZipReport report(tally.Lines());
            qm::print::TPdfReport job;
            job.SetFileName(pdf);
            job.SetPage(QSizeF(8.5, 11));
            report.Attach(job);
            job.RunJob();
            pages = job.CurrentPage();
        });
        std::printf("%ld records: ZIP count report (%lld keys) to PDF %9.3f s  %d pages\n", count,
                    static_cast<long long>(tally.Keys()), zipSeconds, pages);
        std::fflush(stdout);
        dataSet.Close();
        QFile::remove(pdf);
        for (const char* suffix : {".DBF", ".CDX", ".FPT"})
            QFile::remove(path.left(path.size() - 4) + suffix);
    }
    return 0;
}
