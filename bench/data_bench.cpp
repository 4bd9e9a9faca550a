// Address-file figures: opening a large address file with its tag check, and the rebuild of its
// 26 tags with progress (as the "Rebuild indexes" window runs it).
//
//   quillmark-data-bench [--n N] [--dir DIR]
//
// Prints one line per figure: name, seconds, peak memory so far. Never part of the test run.

#include "address_table_fill.h"
#include "bench_run.h"
#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TAddressFileRebuild.h"
#include "data/TDataSet.h"
#include "xbase/TTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    qm::bench::TBenchRun run;
    if (const auto exit = qm::bench::TBenchRun::FromArguments(
            argc, argv, "quillmark-data-bench",
            "Address-file figures: opening a large address file with its tag check, and the "
            "rebuild of its 26 tags.",
            run))
        return *exit;
    const auto [n, dir] = run;
    QDir().mkpath(dir);
    QTemporaryDir temp(dir + "/qm-data-bench-XXXXXX");
    if (!temp.isValid()) {
        std::fprintf(stderr, "quillmark-data-bench: cannot make a folder in %s\n", qPrintable(dir));
        return 2;
    }
    const QString path = QDir(temp.path()).filePath("ADD0001.DBF");
    std::printf("address file figures for %ld records in %s\n", n, qPrintable(temp.path()));

    {
        auto table = qm::xbase::TTable::Create(path.toStdString(),
                                               qm::data::TAddressFileLayout::FieldDefs({}));
        qm::bench::TBenchRun::Report(
            "append records (no index; set-up)",
            qm::bench::TBenchRun::Seconds([&] { qm::bench::FillAddressTable(*table, n); }));
        int lastPercent = -1;
        int reports = 0;
        qm::bench::TBenchRun::Report(
            "build the 26 tags with progress", qm::bench::TBenchRun::Seconds([&] {
                qm::data::TAddressFile::BuildTags(*table, [&](int, int percent) {
                    if (percent != lastPercent)
                        ++reports;
                    lastPercent = percent;
                });
            }));
        std::printf("  (%d progress reports)\n", reports);
        table->Close();
    }

    qm::data::TDataSet dataSet;
    qm::data::TAddressFile::DeclareFieldObjects(dataSet);
    bool valid = false;
    qm::bench::TBenchRun::Report("open the address file with its tag check",
                                 qm::bench::TBenchRun::Seconds([&] {
                                     valid = qm::data::TAddressFile::Open(dataSet, path).opened &&
                                             qm::data::TAddressFile::TagsValid(dataSet);
                                 }));
    if (!valid) {
        std::printf("the file did not open with valid tags\n");
        return 1;
    }
    int bar = 0;
    qm::bench::TBenchRun::Report(
        "rebuild indexes (pack deleted, 26 tags, bar)", qm::bench::TBenchRun::Seconds([&] {
            qm::data::TAddressFileRebuild::Run(dataSet, {{}, [&](int v) { bar = v; }});
        }));
    std::printf("  (bar ended at %d, %u records left)\n", bar, dataSet.Table().RecordCount());
    return 0;
}
