// Label designer figures, the window driven offscreen: a label of 100 objects of every label kind
// on a large address file. Opening (load, RefreshData, first paint), each zoom step, dragging one
// object (per mouse move, with the repaint) and the next record with RefreshData.
//
//   quillmark-label-design-bench [--n N] [--dir DIR]
//
// The address file (N records with the 26 tags) is made once in DIR/label-design-N and reused by
// later runs. Prints one line per figure: name, worst and mean milliseconds, peak memory.

#include "address_table_fill.h"
#include "bench_run.h"
#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TGKindCatalogue.h"
#include "design/text/TGFont.h"
#include "labels/TLabelDesignRules.h"
#include "labels/ui/TLabelDesignScreen.h"
#include "xbase/TTable.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using qm::labels::TLabelDesignScreen;

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
    std::printf("%-40s worst %8.2f ms  mean %8.2f ms  (%zu)  target %5.0f ms  peak %7.1f MB\n",
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

QString EnsureAddressFile(const QString& dir, long n)
{
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("ADD0001.DBF"));
    const QString done = QDir(dir).filePath(QStringLiteral("complete"));
    if (QFileInfo::exists(done))
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

// 100 objects, the label kinds in turn, spread over a 4 x 3 in face in a 10 x 10 grid.
void WriteLayout(const QString& path)
{
    qm::design::TGDataPanel panel;
    panel.SetSize(384, 288);
    const QList<QByteArray> kinds =
        qm::design::TGClassRegistry::HostKinds(qm::design::TGHostKind::Label);
    for (int i = 0; i < 100; ++i) {
        auto object = qm::design::TGClassRegistry::Instance().Create(kinds[i % kinds.size()]);
        object->AfterCreate();
        qm::design::TGKindCatalogue::ApplyDrawnSettings(*object, qm::design::TGFont());
        object->SetBounds((i % 10) * 36 + 2, (i / 10) * 28 + 2, 34, 26);
        panel.AddObject(std::move(object));
    }
    qm::design::TGLabelObjectFiler::SaveToFile(panel, path);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qm::bench::TBenchRun run;
    if (const auto exit = qm::bench::TBenchRun::FromArguments(
            argc, argv, "quillmark-label-design-bench",
            "Label designer figures on a large address file, the window driven offscreen.", run))
        return *exit;
    const auto [n, dir] = run;

    QApplication app(argc, argv);
    const QString file = EnsureAddressFile(dir + QStringLiteral("/label-design-%1").arg(n), n);
    QTemporaryDir home(QDir::tempPath() + "/qm-label-design-bench-XXXXXX");
    qputenv("QUILLMARK_HOME", home.path().toUtf8());
    const qm::data::TProgramHome located(home.path());
    located.Prepare(qm::data::TProgramHome::ShippedDataDir());
    qm::data::TProgramHome::SetCurrent(located);
    TEchoResponder responder;
    qm::data::TMessageService::SetResponder(&responder);
    qm::design::TGClassRegistry::Instance().RegisterHostKinds(qm::design::TGHostKind::Label);

    qm::data::TDataSet addresses;
    qm::data::TAddressFile::DeclareFieldObjects(addresses);
    if (!qm::data::TAddressFile::Open(addresses, file).opened) {
        std::printf("the address file did not open\n");
        return 1;
    }
    addresses.First();
    const QString layout = QDir(located.SysDataDir()).filePath(QStringLiteral("BIN00001.L"));
    WriteLayout(layout);
    std::printf("label designer figures: 100 objects, %ld records (%s)\n", n, qPrintable(file));

    qm::labels::TLabelGeometry geometry = qm::labels::TLabelDesignRules::NewLabel("BIN00001.L");
    geometry.labelWidth = 4.0f;
    geometry.labelHeight = 3.0f;
    geometry.horizontalPitch = 4.0f;
    geometry.verticalPitch = 3.0f;
    geometry.across = 2;
    geometry.down = 3;

    std::vector<double> opening;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        TLabelDesignScreen designer(geometry, false, &addresses);
        qm::design::TGLabelObjectFiler::LoadFromFile(designer.Panel(), layout);
        designer.show();
        QCoreApplication::processEvents();
        designer.repaint();
        opening.push_back(Ms(start));
    }
    Report("open (load, RefreshData, first paint)", opening, 200);

    TLabelDesignScreen designer(geometry, false, &addresses);
    qm::design::TGLabelObjectFiler::LoadFromFile(designer.Panel(), layout);
    designer.show();
    QCoreApplication::processEvents();

    std::vector<double> zooms;
    auto zoom = [&](QToolButton* button) {
        const auto start = Clock::now();
        button->click();
        QCoreApplication::processEvents();
        designer.Surface().repaint();
        zooms.push_back(Ms(start));
    };
    for (int i = 0; i < 5; ++i)
        zoom(designer.ZoomInButton());
    for (int i = 0; i < 10; ++i)
        zoom(designer.ZoomOutButton());
    for (int i = 0; i < 5; ++i)
        zoom(designer.ZoomInButton());
    Report("zoom step", zooms, 50);

    // Drag one object: press on it, then move the mouse a pixel at a time with the button held.
    qm::design::TGDesignSurface& surface = designer.Surface();
    const QRect target = designer.Panel().ObjectAt(55)->BoundsRect();
    QPoint at = target.center();
    QTest::mousePress(&surface, Qt::LeftButton, {}, at);
    QTest::qWait(350); // past the surface's drag delay
    std::vector<double> drags;
    for (int i = 0; i < 120; ++i) {
        at += QPoint(i % 2, 1 - i % 2);
        QWidget* under = surface.childAt(at);
        QWidget* receiver = under ? under : &surface;
        const QPoint local = receiver->mapFrom(&surface, at);
        const auto start = Clock::now();
        QMouseEvent move(QEvent::MouseMove, local, receiver->mapToGlobal(local), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(receiver, &move);
        QCoreApplication::processEvents();
        surface.repaint();
        drags.push_back(Ms(start));
    }
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, at);
    Report("drag one object (per mouse move)", drags, 16);
    const QRect moved = designer.Panel().ObjectAt(55)->BoundsRect();
    std::printf("  (the object moved from %d,%d to %d,%d)\n", target.x(), target.y(), moved.x(),
                moved.y());

    std::vector<double> records;
    for (int i = 0; i < 100; ++i) {
        const auto start = Clock::now();
        designer.NextButton()->click();
        QCoreApplication::processEvents();
        surface.repaint();
        records.push_back(Ms(start));
    }
    Report("next record with RefreshData", records, 10);
    // Its parts: the move with RefreshData alone, and the repaint alone.
    std::vector<double> refreshes;
    std::vector<double> paints;
    for (int i = 0; i < 100; ++i) {
        auto start = Clock::now();
        addresses.Next();
        designer.Panel().RefreshData();
        refreshes.push_back(Ms(start));
        start = Clock::now();
        surface.repaint();
        paints.push_back(Ms(start));
    }
    Report("  of it: move and RefreshData", refreshes, 10);
    Report("  of it: repaint of the face", paints, 10);
    qm::data::TMessageService::SetResponder(nullptr);
    return 0;
}
