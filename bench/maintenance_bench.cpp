// Maintenance figures on a large generated address file (many equal names and streets): each check
// with its found count (result index filled), opening the result grid, and each bulk edit.
//
//   quillmark-maintenance-bench [--n N] [--dir DIR]
//
// Prints one line per figure: name, seconds, peak memory so far. Never part of the test run.

#include "address_table_fill.h"
#include "bench_run.h"
#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TDataSet.h"
#include "data/TGridModel.h"
#include "maintenance/TCaseConversionRun.h"
#include "maintenance/TDeleteRecordsRun.h"
#include "maintenance/TDuplicateCheckRun.h"
#include "maintenance/TMaintenanceFields.h"
#include "maintenance/TResultIndex.h"
#include "maintenance/TSearchReplaceRun.h"
#include "maintenance/TStateZipCheckRun.h"
#include "maintenance/TStateZipRanges.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

using qm::bench::TBenchRun;
using namespace qm::maintenance;

namespace {

// The shipped state/ZIP ranges, read from their source file.
TStateZipRanges ShippedRanges()
{
    TStateZipRanges ranges;
    QFile file(QStringLiteral(QM_SOURCE_DIR "/resources/sysdata/csz.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return ranges;
    file.readLine(); // the header
    while (!file.atEnd()) {
        const QList<QByteArray> parts = file.readLine().trimmed().split(',');
        if (parts.size() == 4)
            ranges.Add(parts[1].toStdString(), parts[2].toStdString(), parts[3].toStdString());
    }
    return ranges;
}

// A progress callback that lets events run every ~30 ms, as the windows do.
TRunProgress Pumping()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer](const TRunStep&) {
        if (timer->elapsed() >= 30) {
            QCoreApplication::processEvents();
            timer->restart();
        }
        return false;
    };
}

// Processor seconds (user + system) the process has used so far: on a shared machine the wall
// clock also counts other programs' turns.
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Times work and prints its line with wall-clock and processor seconds.
template <typename F> void Figure(const char* name, F&& work)
{
    const double cpu = CpuSeconds();
    const double wall = TBenchRun::Seconds(std::forward<F>(work));
    std::printf("%-52s %8.3f s  (cpu %7.3f s)   peak %7.1f MB\n", name, wall, CpuSeconds() - cpu,
                TBenchRun::PeakMb());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TBenchRun run;
    if (const auto exit = TBenchRun::FromArguments(
            argc, argv, "quillmark-maintenance-bench",
            "Maintenance figures: the checks, the result grid and the bulk edits.", run))
        return *exit;
    const auto [n, dir] = run;
    QDir().mkpath(dir);
    QTemporaryDir temp(dir + "/qm-maintenance-bench-XXXXXX");
    if (!temp.isValid()) {
        std::fprintf(stderr, "quillmark-maintenance-bench: cannot make a folder in %s\n",
                     qPrintable(dir));
        return 2;
    }
    const QString path = QDir(temp.path()).filePath("ADD0001.DBF");
    std::printf("maintenance figures for %ld records in %s\n", n, qPrintable(temp.path()));
    {
        auto table = qm::xbase::TTable::Create(path.toStdString(),
                                               qm::data::TAddressFileLayout::FieldDefs({}));
        Figure("append records and build the 26 tags (set-up)", [&] {
            qm::bench::FillAddressTable(*table, n);
            qm::data::TAddressFile::BuildTags(*table);
        });
        table->Close();
    }
    qm::data::TDataSet ds;
    qm::data::TAddressFile::DeclareFieldObjects(ds);
    if (!qm::data::TAddressFile::Open(ds, path).opened) {
        std::printf("the file did not open\n");
        return 1;
    }
    qm::xbase::TSettingScope hide(&qm::xbase::TEngineSettings::deleted, true);
    ds.Cursor().SetQuery("!ISDEL");
    const QString indexPath = QDir(temp.path()).filePath(TResultIndex::kDuplicatesFile);
    char line[96];

    const struct {
        const char* name;
        TDuplicateOptions options;
    } checks[] = {{"name", {TDuplicateKind::Name, 30}},
                  {"initial", {TDuplicateKind::Initial, 30}},
                  {"street, 10 characters", {TDuplicateKind::Street, 10}}};
    for (const auto& check : checks) {
        TDuplicateCheckRun::TOutcome outcome;
        std::snprintf(line, sizeof line, "duplicate check by %s", check.name);
        Figure(line, [&] {
            TResultIndex index(ds, indexPath,
                               TDuplicateCheckRun::KeyExpression(check.options.kind));
            outcome = TDuplicateCheckRun(ds, check.options).Run(index);
        });
        std::printf("  (found %u possible duplicates, %u records listed)\n", outcome.duplicates,
                    outcome.listed);
    }
    {
        TDuplicateCheckRun::TOutcome outcome;
        TResultIndex index(ds, indexPath, TDuplicateCheckRun::KeyExpression(TDuplicateKind::Name));
        Figure("duplicate check by name, events every 30 ms",
               [&] { outcome = TDuplicateCheckRun(ds, {}).Run(index, Pumping()); });
        int rows = 0;
        Figure("open the result grid (order, count, 30 rows)", [&] {
            index.MakeOrder();
            qm::data::TGridModel model(ds);
            rows = model.rowCount();
            for (int row = 0; row < 30 && row < rows; ++row)
                for (int column = 0; column < model.columnCount(); ++column)
                    (void)model.data(model.index(row, column));
        });
        std::printf("  (%d rows)\n", rows);
        ds.Cursor().SetOrder(0);
        ds.Resync();
    }
    {
        const TStateZipRanges ranges = ShippedRanges();
        TStateZipCheckRun::TOutcome outcome;
        Figure("state/ZIP check", [&] {
            TResultIndex index(ds, QDir(temp.path()).filePath(TResultIndex::kStateZipFile),
                               TStateZipCheckRun::KeyExpression());
            outcome = TStateZipCheckRun(ds, ranges, false).Run(index);
        });
        std::printf("  (%d ranges, %u questionable records)\n", ranges.RowCount(),
                    outcome.questionable);
    }

    TCaseOptions caseOptions{TCaseScope::AllRecords, TCaseKind::Upper, {}};
    for (const TFieldChoice& choice : TMaintenanceFields::CaseFields())
        caseOptions.fields << choice.field;
    TCaseConversionRun::TOutcome converted;
    Figure("convert case: every field of every record, upper",
           [&] { converted = TCaseConversionRun(ds, caseOptions).Run(); });
    std::printf("  (%u records, %u changed)\n", converted.records, converted.changed);

    TReplaceOptions replace{"STREET", "St", false, false, false, "Street", {}};
    TSearchReplaceRun::TOutcome replaced;
    Figure("replace St by Street (contains, matching text)",
           [&] { replaced = TSearchReplaceRun(ds, replace).Run(); });
    std::printf("  (%u records replaced, %u would not fit)\n", replaced.replaced,
                replaced.notFitting);

    uint32_t deleted = 0;
    Figure("delete records matching LNAME = 'S'", [&] {
        deleted = TDeleteRecordsRun(ds, TDeleteScope::Matching, "LNAME = 'S'").Run().deleted;
    });
    std::printf("  (%u records deleted)\n", deleted);
    std::printf("peak memory %.1f MB\n", TBenchRun::PeakMb());
    return 0;
}
