#include "data/ui/TWindowPlacement.h"

#include "data/TPlacementRules.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace qm::data {
namespace {

QScreen* ScreenOf(const QWidget& window)
{
    if (QScreen* s = window.screen())
        return s;
    return QGuiApplication::primaryScreen();
}

TEdges EdgesOf(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

QRect RectOf(const TEdges& e) { return QRect(e.left, e.top, e.Width(), e.Height()); }

} // namespace

int TWindowPlacement::LogicalDpi(const QWidget& window)
{
    const QScreen* screen = ScreenOf(window);
    if (!screen)
        return 96;
    return int(std::lround(screen->logicalDotsPerInch() * screen->devicePixelRatio()));
}

QString TWindowPlacement::SectionFor(const QWidget& window, const QString& className)
{
    return TPlacementRules::SectionName(className, LogicalDpi(window));
}

void TWindowPlacement::Restore(QWidget& window, const QString& className, TSettingsFile& settings)
{
    const QString section = SectionFor(window, className);
    TEdges stored;
    stored.left = settings.ReadInteger(section, QStringLiteral("Left"), 0);
    stored.top = settings.ReadInteger(section, QStringLiteral("Top"), 0);
    stored.right = settings.ReadInteger(section, QStringLiteral("Right"), 0);
    stored.bottom = settings.ReadInteger(section, QStringLiteral("Bottom"), 0);
    const bool maximized =
        settings.ReadBool(section, QStringLiteral("Maximized"), window.isMaximized());

    if (stored.bottom == 0 || stored.Width() <= 0 || stored.Height() <= 0) {
        Centre(window, nullptr);
    } else {
        const QScreen* screen = ScreenOf(window);
        const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
        window.setGeometry(
            RectOf(TPlacementRules::ShiftOntoScreen(stored, area.width(), area.height())));
    }
    if (maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    Save(window, className, settings);
}

void TWindowPlacement::Save(const QWidget& window, const QString& className, TSettingsFile& settings)
{
    const QString section = SectionFor(window, className);
    const bool maximized = window.isMaximized();
    const TEdges edges = EdgesOf(maximized ? window.normalGeometry() : window.geometry());
    settings.WriteInteger(section, QStringLiteral("Left"), edges.left);
    settings.WriteInteger(section, QStringLiteral("Top"), edges.top);
    settings.WriteInteger(section, QStringLiteral("Right"), edges.right);
    settings.WriteInteger(section, QStringLiteral("Bottom"), edges.bottom);
    settings.WriteBool(section, QStringLiteral("Maximized"), maximized);
}

void TWindowPlacement::Centre(QWidget& window, const QWidget* mainWindow)
{
    TEdges outer;
    if (mainWindow && !mainWindow->isMaximized()) {
        outer = EdgesOf(mainWindow->geometry());
    } else {
        const QScreen* screen = ScreenOf(window);
        outer = EdgesOf(screen ? screen->geometry() : QRect(0, 0, 1024, 768));
    }
    const QSize size = window.size();
    const TEdges placed = TPlacementRules::CentreOn(outer, size.width(), size.height());
    window.move(placed.left, placed.top);
}

} // namespace qm::data
