// Report designer figures, the window driven offscreen: a report of N objects (default 500) over
// the header, detail and footer bands, stored through the report list like a user's report.
// "open" is the Modify path: the designer made, the row's layout file loaded into its bands,
// RefreshData on a real address file and the first paint; "save" is its Save button: the bands'
// far-outside objects dropped, the layout file written (replaced whole) and the row posted.
//
//   quillmark-report-designer-bench [--objects N] [--rounds R] [--n RECORDS] [--dir DIR]
//
// Prints one line per figure: worst and mean milliseconds over the rounds, and peak memory.

#include "address_table_fill.h"
#include "bench_args.h"
#include "bench_run.h"
#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "design/core/TGBasePanel.h"
#include "design/core/TGClassRegistry.h"
#include "design/objects/TGKindCatalogue.h"
#include "design/objects/TGPDLabel.h"
#include "design/text/TGFont.h"
#include "reports/TReportStore.h"
#include "reports/ui/TReportDesigner.h"
#include "xbase/TTable.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using qm::reports::TReportBand;
using qm::reports::TReportDesigner;
using qm::reports::TReportRow;
using qm::reports::TReportSettings;
using qm::reports::TReportStore;

double Ms(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void Report(const char* figure, const std::vector<double>& ms, double target)
{
    const double worst = *std::max_element(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("%-44s worst %8.2f ms  mean %8.2f ms  (%zu)  target %5.0f ms  peak %7.1f MB\n",
                figure, worst, sum / double(ms.size()), ms.size(), target,
                qm::bench::TBenchRun::PeakMb());
    std::fflush(stdout);
}

class TEchoResponder : public qm::data::TMessageResponder {
public:
    bool Respond(const qm::data::TMessage& message) override
    {
        if (!message.isBeep)
            std::printf("  message: %s\n", qPrintable(message.text));
        return message.defaultYes;
    }
};

// The objects of each band: a report's usual mix, spread over the band in rows.
void FillBand(qm::design::TGBasePanel& band, const QList<QByteArray>& kinds, int count)
{
    const int across = std::max(1, band.Width() / 70);
    for (int i = 0; i < count; ++i) {
        auto object = qm::design::TGClassRegistry::Instance().Create(kinds[i % kinds.size()]);
        object->AfterCreate();
        qm::design::TGKindCatalogue::ApplyDrawnSettings(*object, qm::design::TGFont());
        if (auto* field = dynamic_cast<qm::design::TGPDLabel*>(object.get())) {
            static const char* const fields[][2] = {
                {"LNAME", "Last Name"}, {"FNAME", "First Name"}, {"CITY", "City"}, {"ZIP", "Zip"}};
            field->SetDataFieldName(QLatin1String(fields[i % 4][0]));
            field->SetDataFieldDescript(QLatin1String(fields[i % 4][1]));
        }
        const int row = i / across;
        object->SetBounds((i % across) * 70 + 2, (row * 17) % std::max(1, band.Height() - 16), 66,
                          15);
        band.AddObject(std::move(object));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qm::bench::TBenchArgs args("quillmark-report-designer-bench",
                               "Report designer figures: open and save a report of many objects, "
                               "the window driven offscreen.");
    args.Option("objects", "N", "objects in the report (default 500)");
    args.Option("rounds", "R", "rounds of each figure (default 5)");
    args.Option("n", "RECORDS", "records in the generated address file (default 10,000)");
    args.Option("dir", "DIR", "folder for the generated files (default: the temporary folder)");
    if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
        return *exit;
    auto number = [&](const char* name, uint64_t fallback, uint64_t most) -> long {
        const auto text = args.Value(name);
        if (!text)
            return long(fallback);
        const auto count = qm::bench::TBenchArgs::Count(*text);
        if (!count || *count == 0 || *count > most) {
            std::fprintf(stderr, "--%s needs a whole number from 1 to %llu, not %s\n", name,
                         static_cast<unsigned long long>(most), text->c_str());
            std::exit(qm::bench::TBenchArgs::kExitUsage);
        }
        return long(*count);
    };
    const long objects = number("objects", 500, 3000);
    const long rounds = number("rounds", 5, 1000);
    const long records = number("n", 10000, 10000000);
    const QString dir =
        args.Value("dir") ? QString::fromLocal8Bit(args.Value("dir")->c_str()) : QDir::tempPath();

    QApplication app(argc, argv);
    QTemporaryDir home(QDir::tempPath() + "/qm-report-designer-bench-XXXXXX");
    qputenv("QUILLMARK_HOME", home.path().toUtf8());
    const qm::data::TProgramHome located(home.path());
    located.Prepare(qm::data::TProgramHome::ShippedDataDir());
    qm::data::TProgramHome::SetCurrent(located);
    TEchoResponder responder;
    qm::data::TMessageService::SetResponder(&responder);

    // The address file the bands show.
    const QString dataDir = dir + QStringLiteral("/report-designer-%1").arg(records);
    QDir().mkpath(dataDir);
    const QString file = QDir(dataDir).filePath(QStringLiteral("ADD0001.DBF"));
    const QString done = QDir(dataDir).filePath(QStringLiteral("complete"));
    if (!QFileInfo::exists(done)) {
        auto table = qm::xbase::TTable::Create(file.toStdString(),
                                               qm::data::TAddressFileLayout::FieldDefs({}));
        qm::bench::FillAddressTable(*table, records);
        qm::data::TAddressFile::BuildTags(*table, {});
        table->Close();
        QFile marker(done);
        marker.open(QIODevice::WriteOnly);
    }
    qm::data::TDataSet addresses;
    qm::data::TAddressFile::DeclareFieldObjects(addresses);
    if (!qm::data::TAddressFile::Open(addresses, file).opened) {
        std::printf("the address file did not open\n");
        return 1;
    }
    addresses.First();

    TReportStore store;
    const QString failure = store.Open(located.SysDataDir());
    if (!failure.isEmpty()) {
        std::printf("%s\n", qPrintable(failure));
        return 1;
    }

    // The report: a fifth of the objects in the header, three fifths in the detail band, the
    // rest in the footer, stored as a new report.
    TReportRow row = TReportStore::NewRow();
    row.description = QStringLiteral("Bench report");
    {
        TReportSettings settings = TReportSettings::NewReport();
        settings.headerHeight = 200;
        settings.detailHeight = 400;
        settings.footerHeight = 150;
        settings.useFooter = true;
        TReportDesigner designer(row.description, settings, &addresses);
        FillBand(designer.Panel(TReportBand::Header),
                 {"TGPLabel", "TGDateTimeLabel", "TGPageNumberLabel", "Trpshapes", "TGLineShape",
                  "TGSymbolLabel"},
                 int(objects / 5));
        FillBand(designer.Panel(TReportBand::Detail), {"TGPDLabel", "TGPLabel", "TGLineShape"},
                 int(objects * 3 / 5));
        FillBand(designer.Panel(TReportBand::Footer),
                 {"TGPLabel", "TGPageNumberLabel", "Trpshapes"},
                 int(objects - objects / 5 - objects * 3 / 5));
        QString error;
        if (store.Save(row, designer.Bands(), settings, &error) < 0) {
            std::printf("the report could not be stored: %s\n", qPrintable(error));
            return 1;
        }
    }
    std::printf("report designer figures: %ld objects, %ld records, file %s\n", objects, records,
                qPrintable(row.layoutFile));

    std::vector<double> opening;
    std::vector<double> saving;
    for (long round = 0; round < rounds; ++round) {
        auto start = Clock::now();
        TReportDesigner designer(row.description, TReportSettings::NewReport(), &addresses);
        designer.ShowSettings(store.Load(row, designer.Owner(), designer.Bands()));
        designer.show();
        QCoreApplication::processEvents();
        designer.repaint();
        opening.push_back(Ms(start));

        int count = 0;
        for (const auto* band : std::as_const(designer).Bands())
            count += band->ObjectCount();
        if (count != objects) {
            std::printf("the report loaded %d objects, not %ld\n", count, objects);
            return 1;
        }
        designer.OnSave = [&](TReportDesigner& d) -> QString {
            QString error;
            if (store.Save(row, d.Bands(), d.Settings(), &error) < 0)
                return error;
            return {};
        };
        start = Clock::now();
        designer.SaveButton()->click();
        saving.push_back(Ms(start));
        if (designer.result() != QDialog::Accepted) {
            std::printf("the designer did not close with Save\n");
            return 1;
        }
    }
    Report("open (load, RefreshData, first paint)", opening, 200);
    Report("save (drop outside, write file, post row)", saving, 200);
    qm::data::TMessageService::SetResponder(nullptr);
    return 0;
}
