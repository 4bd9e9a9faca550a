// Filter and browse figures on a large address file: applying a filter and counting its matches as
// the main window does it (the query set on the engine, then the count for the status line), Tag
// All on the matches, and
// the browse grid's lazy rows: opening it, paging down, and a jump far down.
//
//   quillmark-filter-bench [--n N] [--dir DIR]
//
// The generated file is kept in DIR/window-N (shared with the window benchmark) and reused.
// Prints one line per figure: name, seconds, peak memory so far. Never part of the test run.

#include "address_table_fill.h"
#include "addressbook/TAddressBook.h"
#include "addressbook/TTagAllRun.h"
#include "bench_run.h"
#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TGridModel.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "xbase/TTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

QString EnsureAddressFile(const QString& dir, long n)
{
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("ADD0001.DBF"));
    const QString done = QDir(dir).filePath(QStringLiteral("complete"));
    if (QFileInfo::exists(done))
        return path;
    std::printf("making the address file of %ld records in %s\n", n, qPrintable(dir));
    qm::bench::TBenchRun::Report(
        "make the address file (set-up)", qm::bench::TBenchRun::Seconds([&] {
            auto table = qm::xbase::TTable::Create(path.toStdString(),
                                                   qm::data::TAddressFileLayout::FieldDefs({}));
            qm::bench::FillAddressTable(*table, n);
            qm::data::TAddressFile::BuildTags(*table, {});
            table->Close();
        }));
    QFile marker(done);
    marker.open(QIODevice::WriteOnly);
    return path;
}

// Messages are printed, never waited for.
class TPrintResponder : public qm::data::TMessageResponder {
public:
    bool Respond(const qm::data::TMessage& message) override
    {
        if (!message.isBeep)
            std::printf("  message: %s\n", qPrintable(message.text));
        return message.defaultYes;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    qm::bench::TBenchRun run;
    if (const auto exit = qm::bench::TBenchRun::FromArguments(
            argc, argv, "quillmark-filter-bench",
            "Filter and browse-grid figures on a large address file.", run))
        return *exit;
    const auto [n, dir] = run;
    const QString path = EnsureAddressFile(dir + QStringLiteral("/window-%1").arg(n), n);

    QTemporaryDir home(QDir::tempPath() + "/qm-filter-bench-XXXXXX");
    qm::data::TProgramHome::SetCurrent(qm::data::TProgramHome(home.path()));
    TPrintResponder responder;
    qm::data::TMessageService::SetResponder(&responder);
    std::printf("filter and browse figures for %ld records (%s)\n", n, qPrintable(path));

    qm::addressbook::TAddressBook book;
    book.LoadPreferences();
    bool opened = false;
    qm::bench::TBenchRun::Report("open the address file", qm::bench::TBenchRun::Seconds([&] {
                                     opened = book.OpenAddressFile(path);
                                 }));
    if (!opened) {
        std::printf("the file did not open\n");
        return 1;
    }

    const auto filter = [&](const char* figure, int entry, const char* text) {
        book.Filter().Clear();
        book.Filter().entries[size_t(entry)] = QString::fromLatin1(text);
        QString status;
        qm::bench::TBenchRun::Report(figure, qm::bench::TBenchRun::Seconds([&] {
                                         book.ApplyFilter();
                                         status = book.CountStatus();
                                     }));
        std::printf("  (query %s: %s)\n", qPrintable(book.Apollo().Query()), qPrintable(status));
    };
    filter("filter last name sm and count", 0, "sm");
    filter("filter city $spring and count", 7, "$spring");
    // Again, with the file's pages in memory as they are after the first use.
    filter("filter last name sm and count, again", 0, "sm");
    filter("filter city $spring and count, again", 7, "$spring");
    // Tag All on the last-name matches, as the "Tagging" window runs it (without its window).
    {
        book.Filter().Clear();
        book.Filter().entries[0] = QStringLiteral("sm");
        book.ApplyFilter();
        int tagged = 0;
        qm::bench::TBenchRun::Report("tag all filter matches (sm)",
                                     qm::bench::TBenchRun::Seconds([&] {
                                         tagged = qm::addressbook::TTagAllRun(book).Run({}).tagged;
                                     }));
        std::printf("  (%d tagged)\n", tagged);
    }

    // Where the time of the first filter goes: the query test, setting the query (which lands on
    // the first match in the current order), and the count.
    {
        const QString query = QStringLiteral("UPPER(LNAME)=\"SM\".and. !ISDEL");
        qm::data::TApollo& apollo = book.Apollo();
        apollo.SetQuery(QStringLiteral("!ISDEL"));
        qm::bench::TBenchRun::Report(
            "  sm: query test", qm::bench::TBenchRun::Seconds([&] { apollo.QueryTest(query); }));
        qm::bench::TBenchRun::Report(
            "  sm: set the query, first match (Last Name order)",
            qm::bench::TBenchRun::Seconds([&] { apollo.SetQuery(query); }));
        qm::bench::TBenchRun::Report("  sm: count the matches", qm::bench::TBenchRun::Seconds([&] {
                                         apollo.QueryRecCount();
                                     }));
        apollo.SetOrder(0);
        apollo.SetQuery(QStringLiteral("!ISDEL"));
        qm::bench::TBenchRun::Report(
            "  sm: set the query, first match (record order)",
            qm::bench::TBenchRun::Seconds([&] { apollo.SetQuery(query); }));
        book.SetCurrentOrder(QStringLiteral("LNAME"));
    }
    book.Filter().Clear();
    qm::bench::TBenchRun::Report("clear the filter and count", qm::bench::TBenchRun::Seconds([&] {
                                     book.ApplyFilter();
                                     book.CountStatus();
                                 }));

    // The browse grid over the whole file: opening reads the count and the first screen only.
    qm::data::TGridModel* model = nullptr;
    const auto screen = [&](int top) {
        for (int row = top; row < top + 30 && row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                model->data(model->index(row, column));
    };
    qm::bench::TBenchRun::Report("open the browse grid (count, first screen)",
                                 qm::bench::TBenchRun::Seconds([&] {
                                     model = new qm::data::TGridModel(book.DataSet());
                                     screen(0);
                                 }));
    std::printf("  (%d rows)\n", model->rowCount());
    qm::bench::TBenchRun::Report("page down 100 screens", qm::bench::TBenchRun::Seconds([&] {
                                     for (int page = 1; page <= 100; ++page)
                                         screen(page * 30);
                                 }));
    // The model finds a row by walking the order from the top; a jump far down costs a walk to it.
    const int mid = std::min(model->rowCount() - 30, 100000);
    qm::bench::TBenchRun::Report("jump to row 100,000 (walks the order to it)",
                                 qm::bench::TBenchRun::Seconds([&] { screen(mid); }));
    qm::bench::TBenchRun::Report(
        "jump to the last screen (the grid's Last button)",
        qm::bench::TBenchRun::Seconds([&] { screen(model->rowCount() - 30); }));
    qm::bench::TBenchRun::Report("page up 100 screens from there",
                                 qm::bench::TBenchRun::Seconds([&] {
                                     for (int page = 2; page <= 101; ++page)
                                         screen(model->rowCount() - page * 30);
                                 }));
    delete model;
    qm::data::TMessageService::SetResponder(nullptr);
    return 0;
}
