// Import and export figures on the generator's address records (memos on about 20 %, about 2 %
// deleted): copy out to CSV and to DBF in LNAME order, the CSV import (reading and appending,
// then the 26-tag rebuild), the DBF import from a dBase III copy, the import of a 2.x address
// file, and the CSV import again with window messages let run every ~30 ms as the windows do.
// Contacts: the CSV import of the same file with a first line of column names, found and matched
// by name, against the import with positions; 100,000 records copied out as vCards and as CSV and
// imported from each (with the rebuild), the vCard total against the CSV total.
//
//   quillmark-transfer-bench [--n N] [--dir DIR]
//
// Prints one line per figure: name, seconds, peak memory so far. Never part of the test run.

#include "address_table_fill.h"
#include "bench_run.h"

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TNewFileFieldLengths.h"
#include "data/ui/TEventPump.h"
#include "transfer/TColumnNames.h"
#include "transfer/TCopyOutRun.h"
#include "transfer/TCsvImportSource.h"
#include "transfer/TCsvSample.h"
#include "transfer/TDbfImportSource.h"
#include "transfer/TImportRun.h"
#include "transfer/TOlderImportSource.h"
#include "transfer/TVCardCopyOut.h"
#include "transfer/TVCardImportSource.h"
#include "xbase/TCursor.h"
#include "xbase/TTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace qm;
using qm::bench::TBenchRun;

namespace {

QString NewAddressFile(const QDir& dir, const char* name)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    const QString error = data::TAddressFile::Create(path, data::TNewFileFieldLengths());
    if (!error.isEmpty())
        std::fprintf(stderr, "cannot create %s: %s\n", qPrintable(path), qPrintable(error));
    return path;
}

struct TImportFigures {
    double import = 0;
    double rebuild = 0;
    int64_t records = 0;
};

template <typename TMakeSource>
TImportFigures RunImport(const QString& address, TMakeSource makeSource, bool pump = false)
{
    TImportFigures figures;
    auto table = xbase::TTable::Open(address.toStdString());
    auto source = makeSource(*table);
    transfer::TImportRun run(*table, *source);
    data::TEventPump events;
    transfer::TImportRun::TCallbacks callbacks;
    if (pump) {
        callbacks.checkTick = [&] {
            events.Pump();
            return false;
        };
        callbacks.afterRecord = [&](int64_t, int) {
            events.Pump();
            return false;
        };
    }
    figures.import = TBenchRun::Seconds([&] { figures.records = run.Import(callbacks).imported; });
    figures.rebuild = TBenchRun::Seconds([&] { run.Rebuild({}); });
    table->Close();
    return figures;
}

void ReportImport(const char* name, const TImportFigures& f)
{
    char line[128];
    std::snprintf(line, sizeof line, "%s: read and append", name);
    TBenchRun::Report(line, f.import);
    std::snprintf(line, sizeof line, "%s: rebuild the 26 tags", name);
    TBenchRun::Report(line, f.rebuild);
    std::snprintf(line, sizeof line, "%s: total (%lld records)", name,
                  static_cast<long long>(f.records));
    TBenchRun::Report(line, f.import + f.rebuild);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TBenchRun run;
    if (const auto exit = TBenchRun::FromArguments(
            argc, argv, "quillmark-transfer-bench",
            "Import and export figures: CSV, DBF and earlier-version imports, copies out.", run))
        return *exit;
    const auto [n, dirPath] = run;
    QDir().mkpath(dirPath);
    QTemporaryDir temp(dirPath + "/qm-transfer-bench-XXXXXX");
    if (!temp.isValid()) {
        std::fprintf(stderr, "quillmark-transfer-bench: cannot make a folder in %s\n",
                     qPrintable(dirPath));
        return 2;
    }
    const QDir dir(temp.path());
    std::printf("import and export figures for %ld records in %s\n", n, qPrintable(temp.path()));

    // Set-up: the source address file with its tags, and a dBase III copy (no memo, version 0x03).
    const QString source = dir.filePath("SOURCE.DBF");
    {
        auto table =
            xbase::TTable::Create(source.toStdString(), data::TAddressFileLayout::FieldDefs({}));
        TBenchRun::Report("generate the address file (set-up)", TBenchRun::Seconds([&] {
                              bench::FillAddressTable(*table, n);
                              data::TAddressFile::BuildTags(*table);
                          }));
        table->Close();
    }
    const QString dbase3 = dir.filePath("DBASE3.DBF");
    {
        auto from = xbase::TTable::Open(source.toStdString());
        std::vector<xbase::TFieldDef> defs;
        for (const xbase::TFieldDef& def : data::TAddressFileLayout::FieldDefs({}))
            if (def.type != xbase::TFieldType::Memo)
                defs.push_back(def);
        auto to = xbase::TTable::Create(dbase3.toStdString(), defs);
        TBenchRun::Report("write a dBase III copy (set-up)", TBenchRun::Seconds([&] {
                              from->SetTurboRead(true);
                              for (uint32_t r = 1; r <= from->RecordCount(); ++r) {
                                  from->Go(r);
                                  to->AppendBlank();
                                  for (size_t f = 0; f < defs.size(); ++f)
                                      to->PutString(int(f), from->GetTrimmed(int(f)));
                                  to->Post();
                                  if (from->Deleted())
                                      to->SetDeleted(true);
                              }
                          }));
        to->Close();
        from->Close();
    }

    // Copy out in LNAME order.
    const QString csv = dir.filePath("EXPORT.TXT");
    {
        xbase::TTableOptions options;
        options.mode = xbase::TOpenMode::ReadOnly;
        auto table = xbase::TTable::Open(source.toStdString(), options);
        xbase::TCursor cursor(*table);
        cursor.SelectTag("LNAME");
        cursor.SetQuery("!ISDEL");
        int64_t copied = 0;
        TBenchRun::Report("export to CSV in LNAME order", TBenchRun::Seconds([&] {
                              copied =
                                  transfer::TCopyOutRun::CopyText(cursor, csv, true, 0, {}).copied;
                          }));
        TBenchRun::Report("export to DBF in LNAME order", TBenchRun::Seconds([&] {
                              transfer::TCopyOutRun::CopyDbf(cursor, dir.filePath("EXPORT.DBF"), 0,
                                                             {});
                          }));
        std::printf("  (%lld records copied)\n", static_cast<long long>(copied));
        table->Close();
    }

    // The CSV import of the exported text, all 20 fields matched.
    const auto csvSource = [&](xbase::TTable& table) {
        const transfer::TCsvSample sample = transfer::TCsvSample::FromFile(csv);
        transfer::TFieldMatch match(transfer::TFieldMatch::StandardTargets(table, false),
                                    transfer::TFieldMatch::TextSources(sample.FieldCount()));
        match.ApplyMap(
            "1=PREFIX,2=FNAME,3=MIDDLE,4=LNAME,5=TITLE,6=ORG,7=STREET,8=STREET2,9=CITY,10=STATE,"
            "11=ZIP,12=COUNTRY,13=PHONE,14=PHONE2,15=EMAIL,16=FAX,18=USER1,19=USER2,20=CODES");
        return std::make_unique<transfer::TCsvImportSource>(csv, match, table, sample.FieldCount());
    };
    const TImportFigures byPosition = RunImport(NewAddressFile(dir, "CSVIMP.DBF"), csvSource);
    ReportImport("CSV import", byPosition);

    // The same file with a first line of column names: found, matched by name and left out.
    const QString named = dir.filePath("NAMED.TXT");
    {
        QFile from(csv);
        QFile to(named);
        if (from.open(QIODevice::ReadOnly) && to.open(QIODevice::WriteOnly)) {
            QByteArray head = from.read(3); // the byte-order mark
            QByteArray names;
            for (const char* field : transfer::TCopyOutRun::TextFields())
                names += (names.isEmpty() ? "\"" : ",\"") + QByteArray(field) + "\"";
            to.write(head + names + "\r\n");
            while (!from.atEnd())
                to.write(from.read(1 << 20));
        }
    }
    const TImportFigures byName =
        RunImport(NewAddressFile(dir, "NAMEDIMP.DBF"), [&](xbase::TTable& table) {
            const transfer::TCsvSample sample = transfer::TCsvSample::FromFile(named);
            transfer::TFieldMatch match(transfer::TFieldMatch::StandardTargets(table, false),
                                        transfer::TFieldMatch::TextSources(sample.FieldCount()));
            const QStringList& first = sample.Rows().front();
            const bool header = transfer::TColumnNames::Shipped().IsHeader(first, match.Targets());
            match.SetColumnNames(first);
            transfer::TColumnNames::Shipped().MatchByName(match, first);
            auto reader = std::make_unique<transfer::TCsvImportSource>(named, match, table,
                                                                       sample.FieldCount());
            reader->SetHeaderLine(header);
            return reader;
        });
    ReportImport("CSV import, column names found and matched", byName);
    std::printf("  (column names: read and append %.1f %% of the import by position)\n",
                byPosition.import > 0 ? 100.0 * byName.import / byPosition.import : 0.0);

    // 100,000 records as vCards and as CSV, each imported with the rebuild.
    {
        const long cards = std::min(n, 100000L);
        const QString small = dir.filePath("SMALL.DBF");
        {
            auto table =
                xbase::TTable::Create(small.toStdString(), data::TAddressFileLayout::FieldDefs({}));
            bench::FillAddressTable(*table, cards);
            table->Close();
        }
        const QString vcf = dir.filePath("CARDS.vcf");
        const QString smallCsv = dir.filePath("SMALL.TXT");
        {
            xbase::TTableOptions options;
            options.mode = xbase::TOpenMode::ReadOnly;
            auto table = xbase::TTable::Open(small.toStdString(), options);
            xbase::TCursor cursor(*table);
            TBenchRun::Report("export to vCard 3.0 (100,000 records)", TBenchRun::Seconds([&] {
                                  transfer::TVCardCopyOut::Copy(
                                      cursor, vcf, transfer::TVCardVersion::V30, 0, {});
                              }));
            transfer::TCopyOutRun::CopyText(cursor, smallCsv, true, 0, {});
            table->Close();
        }
        const TImportFigures fromCsv =
            RunImport(NewAddressFile(dir, "SMALLCSV.DBF"), [&](xbase::TTable& table) {
                const transfer::TCsvSample sample = transfer::TCsvSample::FromFile(smallCsv);
                transfer::TFieldMatch match(
                    transfer::TFieldMatch::StandardTargets(table, false),
                    transfer::TFieldMatch::TextSources(sample.FieldCount()));
                match.ApplyMap("1=PREFIX,2=FNAME,3=MIDDLE,4=LNAME,5=TITLE,6=ORG,7=STREET,8=STREET2,"
                               "9=CITY,10=STATE,11=ZIP,12=COUNTRY,13=PHONE,14=PHONE2,15=EMAIL,"
                               "16=FAX,18=USER1,19=USER2,20=CODES");
                return std::make_unique<transfer::TCsvImportSource>(smallCsv, match, table,
                                                                    sample.FieldCount());
            });
        ReportImport("CSV import (100,000 records)", fromCsv);
        const TImportFigures fromVcf =
            RunImport(NewAddressFile(dir, "SMALLVCF.DBF"), [&](xbase::TTable& table) {
                return std::make_unique<transfer::TVCardImportSource>(vcf, table);
            });
        ReportImport("vCard import (100,000 cards)", fromVcf);
        const double csvTotal = fromCsv.import + fromCsv.rebuild;
        std::printf("  (vCard import with rebuild: %.2f x the CSV import with rebuild)\n",
                    csvTotal > 0 ? (fromVcf.import + fromVcf.rebuild) / csvTotal : 0.0);
    }

    std::unique_ptr<transfer::TDbfSourceTable> dbfTable;
    ReportImport("DBF import (dBase III)",
                 RunImport(NewAddressFile(dir, "DBFIMP.DBF"), [&](xbase::TTable& table) {
                     dbfTable = std::make_unique<transfer::TDbfSourceTable>(dbase3);
                     transfer::TFieldMatch match(
                         transfer::TFieldMatch::StandardTargets(table, true),
                         transfer::TFieldMatch::TableSources(dbfTable->Table()));
                     match.Preset();
                     return std::make_unique<transfer::TDbfImportSource>(*dbfTable, match, table);
                 }));

    std::unique_ptr<transfer::TDbfSourceTable> olderTable;
    ReportImport("2.x import",
                 RunImport(NewAddressFile(dir, "OLDIMP.DBF"), [&](xbase::TTable& table) {
                     olderTable = std::make_unique<transfer::TDbfSourceTable>(source);
                     return std::make_unique<transfer::TOlderImportSource>(
                         *olderTable, transfer::TOlderImportSource::TVersion::V2, table);
                 }));

    ReportImport("CSV import, events every ~30 ms",
                 RunImport(NewAddressFile(dir, "PUMPIMP.DBF"), csvSource, true));
    return 0;
}
