// Main-window figures on a large address file, with the window driven offscreen through its
// controls: start-up to a usable window, moving between records, switching the sort order and
// starting an edit. Each step is timed with the repaint it causes.
//
//   quillmark-window-bench [--n N] [--dir DIR]
//
// The address file (N records with the 26 tags) is made once in DIR/window-N and reused by later
// runs. Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
// Prints one line per figure: name, milliseconds (worst and mean where repeated), peak memory.

#include "address_table_fill.h"
#include "addressbook/ui/TAddressMain.h"
#include "addressbook/ui/TDBEdit.h"
#include "bench_run.h"
#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/TSortOrders.h"
#include "xbase/TTable.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void Report(const char* figure, const std::vector<double>& ms)
{
    const double worst = *std::max_element(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("%-44s worst %8.2f ms  mean %8.2f ms  (%zu)  peak %7.1f MB\n", figure, worst,
                sum / double(ms.size()), ms.size(), qm::bench::TBenchRun::PeakMb());
    std::fflush(stdout);
}

// Messages are counted and echoed, never shown: a box would stop the run.
class TEchoResponder : public qm::data::TMessageResponder {
public:
    bool Respond(const qm::data::TMessage& message) override
    {
        if (!message.isBeep)
            std::printf("  message: %s\n", qPrintable(message.text));
        return message.defaultYes;
    }
};

QString EnsureAddressFile(const QString& dir, long n, bool& made)
{
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("ADD0001.DBF"));
    const QString done = QDir(dir).filePath(QStringLiteral("complete"));
    made = !QFileInfo::exists(done);
    if (!made)
        return path;
    std::printf("making the address file of %ld records in %s\n", n, qPrintable(dir));
    const auto start = Clock::now();
    auto table =
        qm::xbase::TTable::Create(path.toStdString(), qm::data::TAddressFileLayout::FieldDefs({}));
    qm::bench::FillAddressTable(*table, n);
    qm::data::TAddressFile::BuildTags(*table, {});
    table->Close();
    QFile marker(done);
    marker.open(QIODevice::WriteOnly);
    std::printf("  (made in %.1f s)\n", Ms(start) / 1000.0);
    return path;
}

// Runs the event loop until the window shows a record (or gives up after 30 s).
bool WaitUsable(qm::addressbook::TAddressMain& window)
{
    const auto start = Clock::now();
    while (Ms(start) < 30000) {
        QCoreApplication::processEvents();
        if (!window.EmptyStateShown() && !window.Edit(QStringLiteral("LNAME"))->text().isEmpty())
            return true;
    }
    return false;
}

template <typename F> double Step(qm::addressbook::TAddressMain& window, F&& work)
{
    const auto start = Clock::now();
    work();
    QCoreApplication::processEvents();
    window.repaint();
    return Ms(start);
}

} // namespace

int main(int argc, char* argv[])
{
    const auto processStart = Clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qm::bench::TBenchRun run;
    if (const auto exit = qm::bench::TBenchRun::FromArguments(
            argc, argv, "quillmark-window-bench",
            "Main-window figures on a large address file, the window driven offscreen.", run))
        return *exit;
    const auto [n, dir] = run;

    QApplication app(argc, argv);
    bool made = false;
    const QString file = EnsureAddressFile(dir + QStringLiteral("/window-%1").arg(n), n, made);

    QTemporaryDir home(QDir::tempPath() + "/qm-window-bench-XXXXXX");
    qputenv("QUILLMARK_HOME", home.path().toUtf8());
    TEchoResponder responder;
    qm::data::TMessageService::SetResponder(&responder);
    {
        qm::data::TProgramHome prepared(home.path());
        prepared.Prepare(qm::data::TProgramHome::ShippedDataDir());
        qm::data::TSettingsFile settings(prepared.SettingsPath());
        settings.WriteBool("Misc", "GettingStarted", true);
        settings.WriteString("MRU", "Item1", file);
    }
    std::printf("main window figures for %ld records (%s)\n", n, qPrintable(file));

    // Start-up as the program does it: locate and prepare the home, build and show the window,
    // run the first activation (which opens the file and checks its tags).
    const auto startupStart = Clock::now();
    const qm::data::TProgramHome located = qm::data::TProgramHome::Locate();
    located.Prepare(qm::data::TProgramHome::ShippedDataDir());
    qm::data::TProgramHome::SetCurrent(located);
    qm::addressbook::TAddressMain window;
    window.show();
    if (!WaitUsable(window)) {
        std::printf("the window did not show a record\n");
        return 1;
    }
    window.repaint();
    Report("start-up to a usable window", {Ms(startupStart)});
    if (!made) // otherwise the time includes making the file
        Report("process start to a usable window", {Ms(processStart)});

    auto click = [&](const char* name) {
        return Step(window, [&] { QTest::mouseClick(window.Button(name), Qt::LeftButton); });
    };
    std::vector<double> moves;
    for (int i = 0; i < 50; ++i)
        moves.push_back(click("NextButton"));
    for (int i = 0; i < 50; ++i)
        moves.push_back(click("PriorButton"));
    Report("next / prior record", moves);
    Report("last record", {click("LastButton")});
    Report("first record", {click("FirstButton")});
    std::vector<double> pages;
    for (int i = 0; i < 20; ++i)
        pages.push_back(Step(window, [&] {
            QTest::keyClick(window.Edit(QStringLiteral("FNAME")), Qt::Key_PageDown);
        }));
    Report("PgDn", pages);

    std::vector<double> sorts;
    std::vector<const char*> tags;
    for (const qm::data::TSortOrder& order : qm::data::TSortOrders::All())
        tags.push_back(order.tag);
    tags.push_back("LNAME");
    for (const char* tag : tags) {
        QAction* action = window.Action(QStringLiteral("Sort%1Item").arg(QLatin1String(tag)));
        sorts.push_back(Step(window, [&] { action->trigger(); }));
        for (int i = 0; i < 10; ++i)
            moves.push_back(click("NextButton"));
    }
    Report("switch the sort order", sorts);

    std::vector<double> edits;
    for (int i = 0; i < 10; ++i) {
        edits.push_back(click("EditButton"));
        click("CancelButton");
        click("NextButton");
    }
    Report("start an edit", edits);
    qm::data::TMessageService::SetResponder(nullptr);
    return 0;
}
