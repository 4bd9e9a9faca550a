#include "data/ui/TWindowPlacement.h"

#include "data/TPlacementRules.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
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

TEdges EdgesOf(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect RectOf(const TEdges& e)
{
    return QRect(e.left, e.top, e.Width(), e.Height());
}

// The area windows may take on the window's screen: the screen less the desktop's panels.
TEdges AvailableArea(const QWidget& window)
{
    const QScreen* screen = ScreenOf(window);
    return EdgesOf(screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
}

// Gives the window's frame (the window with its title bar and borders, as far as they are known
// yet) a rectangle fitted into the available area. A window that cannot be made as small as the
// area keeps its minimum size, with its top-left corner (title and menus) inside.
void PlaceFitted(QWidget& window, const TEdges& wantedFrame)
{
    const TEdges fitted = TPlacementRules::FitInto(wantedFrame, AvailableArea(window));
    if (fitted.Width() != wantedFrame.Width() || fitted.Height() != wantedFrame.Height()) {
        const QSize borders = window.frameGeometry().size() - window.geometry().size();
        window.resize(fitted.Width() - borders.width(), fitted.Height() - borders.height());
    }
    window.move(fitted.left, fitted.top);
}

// Centres a dialog again when it is first shown: in its constructor, where it is centred first,
// its layout has not yet given it its size. Its layout may still settle just after it is shown,
// so it is centred again on every resize until it is first painted (before the user can have
// moved it).
class TCentreOnShow : public QObject {
public:
    TCentreOnShow(QWidget& window, const QWidget* mainWindow)
        : QObject(&window), mMainWindow(const_cast<QWidget*>(mainWindow)),
          mHadMain(mainWindow != nullptr)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != parent())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Show:
            mShown = true;
            Centre(*window);
            break;
        case QEvent::Resize:
            if (mShown)
                Centre(*window);
            break;
        case QEvent::Paint:
            if (mShown) {
                window->removeEventFilter(this);
                deleteLater();
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Centre(QWidget& window)
    {
        // A main window closed in between leaves the screen to centre on.
        TWindowPlacement::CentreNow(window, mHadMain ? mMainWindow.data() : nullptr);
    }

    QPointer<QWidget> mMainWindow;
    bool mHadMain;
    bool mShown = false;
};

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
        CentreNow(window, nullptr);
    } else {
        // Moved onto the screen as stored; a rectangle larger than the screen (kept from a
        // bigger screen or a smaller scaling) is fitted to it, so the title and menus stay
        // reachable.
        window.setGeometry(RectOf(TPlacementRules::FitInto(stored, AvailableArea(window))));
    }
    if (maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    Save(window, className, settings);
}

void TWindowPlacement::Save(const QWidget& window, const QString& className,
                            TSettingsFile& settings)
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
    CentreNow(window, mainWindow);
    if (!window.isVisible())
        new TCentreOnShow(window, mainWindow);
}

void TWindowPlacement::CentreNow(QWidget& window, const QWidget* mainWindow)
{
    TEdges outer;
    // Frames on frames: the window's title bar and borders are centred with it.
    if (mainWindow && !mainWindow->isMaximized()) {
        outer = EdgesOf(mainWindow->frameGeometry());
    } else {
        const QScreen* screen = ScreenOf(window);
        outer = EdgesOf(screen ? screen->geometry() : QRect(0, 0, 1024, 768));
    }
    const QSize size = window.frameGeometry().size();
    PlaceFitted(window, TPlacementRules::CentreOn(outer, size.width(), size.height()));
}

void TWindowPlacement::AdoptOldName(const QWidget& window, const QString& oldClassName,
                                    const QString& className, TSettingsFile& settings)
{
    const QString oldSection = SectionFor(window, oldClassName);
    const QString section = SectionFor(window, className);
    if (!settings.HasKey(oldSection, QStringLiteral("Bottom")) ||
        settings.HasKey(section, QStringLiteral("Bottom")))
        return;
    for (const char* key : {"Left", "Top", "Right", "Bottom", "Maximized"}) {
        const QString name = QString::fromLatin1(key);
        if (!settings.HasKey(oldSection, name))
            continue;
        settings.WriteString(section, name, settings.ReadString(oldSection, name));
        settings.DeleteKey(oldSection, name);
    }
}

} // namespace qm::data
