// Report figures on the generator's address file at 100,000 records and at --n (default
// 1,000,000), files in the page cache:
// - "quillmark-tool print report" to PDF run as a process (report 1, all records; report 4 with
//   memo and codes at 100,000): wall time, pages per second and the tool's peak memory;
// - report 1 recorded to a page stream in-process: rows per second;
// - the ZIP code count over all records in-process, and its report to PDF;
// - a user-designed report (header with text, date, page number and picture; a detail band of
//   six data fields and a line; the memo band) through "quillmark-tool print report --layout":
//   recorded to a page stream at both counts and to PDF at 100,000, each with the tool's wall
//   and processor time, pages and peak memory.
//
// --only builtin|user runs one half. The machine may be shared: the load average is printed
// first, and the tool's processor time beside its wall time tells its own cost apart.

#include "address_table_fill.h"
#include "bench_args.h"
#include "bench_run.h"
#include "tool_run.h"

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TApollo.h"
#include "data/TDataSet.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGOwner.h"
#include "design/objects/TGDateTimeLabel.h"
#include "design/objects/TGImage.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/TGPageNumberLabel.h"
#include "design/text/TDesignUnits.h"
#include "picture/TPicture.h"
#include "print/TPdfReport.h"
#include "print/TReportFiler.h"
#include "reports/TBuiltInLayouts.h"
#include "reports/TBuiltInReport.h"
#include "reports/TReportFile.h"
#include "reports/TReportRunScope.h"
#include "reports/TZipCount.h"
#include "reports/TZipReport.h"
#include "reports/TZipTally.h"
#include "xbase/TTable.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

using qm::bench::TBenchArgs;
using qm::bench::TBenchRun;

namespace {

// A report job through the tool, with the records and pages its summary line names.
struct TReportRun : qm::bench::TToolRun {
    long records = 0;
    long pages = 0;
    bool ok = false;
};

TReportRun RunReportTool(const QString& tool, const QStringList& arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    TReportRun run;
    static_cast<qm::bench::TToolRun&>(run) = qm::bench::RunTool(tool, arguments, env);
    run.ok = run.Ok();
    if (!run.ok)
        std::fprintf(stderr, "quillmark-report-bench: the tool failed (%d): %s\n", run.exitCode,
                     qPrintable(run.err));
    // "R record(s), P page(s)"
    const QStringList parts = run.out.split(' ');
    run.records = parts.size() > 0 ? parts[0].toLong() : 0;
    run.pages = parts.size() > 2 ? parts[2].toLong() : 0;
    return run;
}

void PrintToolRun(const char* figure, const TReportRun& run)
{
    std::printf("%-52s %9.3f s  %8.1f pages/s  %7ld pages  tool peak %7.1f MB\n", figure,
                run.seconds, run.seconds > 0 ? run.pages / run.seconds : 0.0, run.pages,
                run.peakMb);
    std::fflush(stdout);
}

void PrintUserRun(const char* figure, const TReportRun& run)
{
    std::printf("%-52s %9.3f s (cpu %7.3f s)  %9.0f records/s  %8.1f pages/s  %7ld pages  "
                "tool peak %7.1f MB\n",
                figure, run.seconds, run.cpuSeconds,
                run.seconds > 0 ? run.records / run.seconds : 0.0,
                run.seconds > 0 ? run.pages / run.seconds : 0.0, run.pages, run.peakMb);
    std::fflush(stdout);
}

std::unique_ptr<qm::design::TGPLabel> Text(const QString& caption, int left, int top, int width)
{
    auto text = std::make_unique<qm::design::TGPLabel>();
    text->SetCaption(caption);
    text->SetBounds(left, top, width, 20);
    return text;
}

// The benchmark's user-designed report: a header with a title, the date, the page number and a
// picture; a detail band of six data fields over a line; the memo band, framed. Written as a
// layout file at 96 design pixels per inch.
bool WriteUserReport(const QString& path)
{
    using namespace qm::design;
    TDesignUnits::SetPpiOverride(TDesignUnits::kDefaultPpi);
    TGOwner owner;
    TGBasePanel header(&owner);
    TGDataPanel detail(&owner);
    TGBasePanel footer(&owner);
    qm::reports::TReportSettings settings = qm::reports::TReportSettings::NewReport();
    settings.headerHeight = 64;
    settings.detailHeight = 30;
    settings.useMemo = true;
    settings.memoItalic = true;
    settings.Frame(qm::reports::TReportBand::Memo).left = true;
    settings.Frame(qm::reports::TReportBand::Memo).shadePercent = 20;
    settings.Frame(qm::reports::TReportBand::Header).bottom = true;

    header.AddObject(Text(QStringLiteral("Address list"), 56, 8, 300));
    auto date = std::make_unique<TGDateTimeLabel>();
    date->SetBounds(420, 8, 140, 20);
    header.AddObject(std::move(date));
    auto page = std::make_unique<TGPageNumberLabel>();
    page->SetBounds(600, 8, 60, 20);
    header.AddObject(std::move(page));
    QImage picture(48, 48, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setBrush(QColor(30, 90, 160));
        painter.drawEllipse(4, 4, 40, 40);
    }
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    auto image = std::make_unique<TGImage>();
    image->SetPicture(qm::picture::TPicture::FromBitmap(bmp));
    image->SetBounds(0, 4, 48, 48);
    header.AddObject(std::move(image));

    const char* const fields[][2] = {{"LNAME", "Last Name"},  {"FNAME", "First Name"},
                                     {"STREET", "Address 1"}, {"CITY", "City"},
                                     {"STATE", "State"},      {"ZIP", "Zip/Postal Code"}};
    const int widths[] = {130, 110, 190, 120, 40, 90};
    int left = 0;
    for (int i = 0; i < 6; ++i) {
        auto field = std::make_unique<TGPDLabel>();
        field->Bind(QString::fromLatin1(fields[i][0]), QString::fromLatin1(fields[i][1]));
        field->SetBounds(left, 2, widths[i] - 4, 20);
        detail.AddObject(std::move(field));
        left += widths[i];
    }
    auto line = std::make_unique<TGLineShape>();
    line->SetBounds(0, 25, left, 2);
    detail.AddObject(std::move(line));
    try {
        qm::reports::TReportFile::Save({&header, &detail, &footer}, settings, path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillmark-report-bench: %s: %s\n", qPrintable(path), e.what());
        return false;
    }
    return true;
}

// The user-designed report through the tool: to a page stream, and to PDF up to 100,000 records.
bool UserReportFigures(const QString& tool, const QString& table, const QString& layout,
                       const QString& folder, long count, std::vector<double>& streamPeaks)
{
    char figure[96];
    const QString stream = QDir(folder).filePath("user.qps");
    std::snprintf(figure, sizeof figure, "%ld records: user report to a page stream", count);
    const TReportRun recorded =
        RunReportTool(tool, {"print", "report", "--table", table, "--layout", layout, "--all",
                             "--stream", stream});
    if (!recorded.ok)
        return false;
    PrintUserRun(figure, recorded);
    streamPeaks.push_back(recorded.peakMb);
    QFile::remove(stream);
    if (count <= 100000) {
        const QString pdf = QDir(folder).filePath("user.pdf");
        std::snprintf(figure, sizeof figure, "%ld records: user report to PDF", count);
        const TReportRun printed = RunReportTool(
            tool, {"print", "report", "--table", table, "--layout", layout, "--all", "--pdf", pdf});
        if (!printed.ok)
            return false;
        PrintUserRun(figure, printed);
        QFile::remove(pdf);
    }
    return true;
}

// The built-in reports: report 1 to PDF, report 4 with memo and codes to PDF up to 100,000
// records, report 1 to a page stream in-process, the ZIP count and its report.
bool BuiltInFigures(const QString& tool, const QString& path, const QString& folder, long count)
{
    char figure[96];
    const QString pdf = QDir(folder).filePath("report.pdf");
    std::snprintf(figure, sizeof figure, "%ld records: report 1, all records, to PDF", count);
    const TReportRun one = RunReportTool(
        tool, {"print", "report", "--table", path, "--builtin", "1", "--all", "--pdf", pdf});
    if (!one.ok)
        return false;
    PrintToolRun(figure, one);
    QFile::remove(pdf);

    if (count <= 100000) {
        std::snprintf(figure, sizeof figure, "%ld records: report 4, memo and codes, to PDF",
                      count);
        const TReportRun four =
            RunReportTool(tool, {"print", "report", "--table", path, "--builtin", "4", "--memo",
                                 "--codes", "--all", "--pdf", pdf});
        if (!four.ok)
            return false;
        PrintToolRun(figure, four);
        QFile::remove(pdf);
    }

    // In-process: report 1 into a page stream in a temporary file, then the ZIP count.
    qm::data::TDataSet dataSet;
    qm::data::TAddressFile::DeclareFieldObjects(dataSet);
    dataSet.Open(path, qm::xbase::TOpenMode::ReadOnly);
    qm::data::TApollo apollo(dataSet);
    {
        QTemporaryFile stream(QDir(folder).filePath("stream-XXXXXX"));
        if (!stream.open())
            return false;
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
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    TBenchArgs args("quillmark-report-bench",
                    "Report figures: built-in reports to PDF and to a page stream, the ZIP code "
                    "count and its report, and a user-designed report to a page stream and to "
                    "PDF, at 100,000 records and at N.");
    args.Option("n", "N", "records in the generated address file (default 1,000,000)");
    args.Option("dir", "DIR", "folder for the generated files (default: the temporary folder)");
    args.Option("only", "WHICH", "builtin or user: run only the built-in or the user reports");
    if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
        return *exit;
    long n = 1000000;
    if (const auto value = args.Value("n")) {
        const std::optional<uint64_t> count = TBenchArgs::Count(*value);
        if (!count || *count == 0 || *count > 100000000) {
            std::fprintf(stderr,
                         "quillmark-report-bench: --n needs a whole number from 1 to "
                         "100,000,000, not %s\n",
                         value->c_str());
            return TBenchArgs::kExitUsage;
        }
        n = long(*count);
    }
    const QString dir =
        args.Value("dir") ? QString::fromLocal8Bit(args.Value("dir")->c_str()) : QDir::tempPath();
    const std::string only = args.Value("only").value_or("");
    if (!only.empty() && only != "builtin" && only != "user") {
        std::fprintf(stderr, "quillmark-report-bench: --only takes builtin or user, not %s\n",
                     only.c_str());
        return TBenchArgs::kExitUsage;
    }
    const bool builtIn = only != "user";
    const bool user = only != "builtin";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QDir().mkpath(dir);
    QTemporaryDir temp(dir + "/qm-report-bench-XXXXXX");
    if (!temp.isValid()) {
        std::fprintf(stderr, "quillmark-report-bench: cannot make a folder in %s\n",
                     qPrintable(dir));
        return 2;
    }
    const QString tool = QDir(QCoreApplication::applicationDirPath()).filePath("quillmark-tool");
    std::printf("report figures at 100,000 and %ld records in %s\n", n, qPrintable(temp.path()));
    double load[3] = {};
    if (getloadavg(load, 3) == 3)
        std::printf("load average %.2f %.2f %.2f on %ld processors\n", load[0], load[1], load[2],
                    sysconf(_SC_NPROCESSORS_ONLN));
    const QString layout = QDir(temp.path()).filePath("BIN00001.R");
    if (user && !WriteUserReport(layout))
        return 2;
    std::vector<long> counts{std::min(n, 100000L)};
    if (n > 100000)
        counts.push_back(n);
    std::vector<double> streamPeaks;
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
        if (builtIn && !BuiltInFigures(tool, path, temp.path(), count))
            return 1;
        if (user && !UserReportFigures(tool, path, layout, temp.path(), count, streamPeaks))
            return 1;
        for (const char* suffix : {".DBF", ".CDX", ".FPT"})
            QFile::remove(path.left(path.size() - 4) + suffix);
    }
    if (streamPeaks.size() == 2 && streamPeaks[0] > 0)
        std::printf("user report to a page stream: peak at %ld records is %.2f x the peak at "
                    "100,000\n",
                    n, streamPeaks[1] / streamPeaks[0]);
    return 0;
}
