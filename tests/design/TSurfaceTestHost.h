// A small host for the design surface tests: a ruler over one surface on a data panel, with every
// object kind this build provides registered (whatever the catalogue lists for the three hosts),
// a hand-stepped clock and menus captured instead of shown. Test code, not a program window.

#pragma once

#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGOwner.h"
#include "design/surface/TTickClock.h"
#include "design/ui/TGDesignSurface.h"
#include "design/ui/THRuler.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest/QTest>

namespace qm::design::test {

// The clock every surface reads, stepped by the tests.
class TManualClock {
public:
    explicit TManualClock(std::int64_t start = 100000) : mNow(start)
    {
        TTickClock::SetSource([this] { return mNow; });
    }
    ~TManualClock() { TTickClock::SetSource(nullptr); }
    void Advance(std::int64_t ms) { mNow += ms; }
    std::int64_t Now() const { return mNow; }

private:
    std::int64_t mNow;
};

inline void RegisterEveryKind()
{
    for (TGHostKind host : {TGHostKind::Label, TGHostKind::Envelope, TGHostKind::Report})
        TGClassRegistry::Instance().RegisterHostKinds(host);
}

class TSurfaceTestHost : public QWidget {
public:
    explicit TSurfaceTestHost(int width = 400, int height = 200) : panel(&owner)
    {
        RegisterEveryKind();
        panel.SetSize(width, height);
        surface = new TGDesignSurface(panel, this);
        ruler = new THRuler(this);
        ruler->setFixedSize(width + 1, THRuler::kDefaultHeight);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(ruler);
        layout->addWidget(surface);
        layout->addStretch();
        surface->OnShowMenu = [this](QMenu& menu) {
            lastMenu.clear();
            for (QAction* action : menu.actions()) {
                lastMenu << (action->isSeparator() ? QStringLiteral("-") : action->text());
                if (!action->isEnabled())
                    disabled << action->text();
            }
            if (!pick.isEmpty())
                for (QAction* action : menu.actions())
                    if (action->text() == pick && action->isEnabled()) {
                        pick.clear();
                        action->trigger();
                        break;
                    }
        };
    }

    // The surface goes first: it unhooks itself from the panel, which the members hold.
    ~TSurfaceTestHost() override { delete surface; }

    // A registered kind put on the panel at the rectangle, as the stream reader would.
    TGGraphicControl* Put(const QByteArray& kind, const QRect& rect)
    {
        auto object = TGClassRegistry::Instance().Create(kind);
        object->AfterCreate();
        object->SetName(owner.FreeSpecialName());
        TGGraphicControl* placed = panel.AddObject(std::move(object));
        placed->SetBounds(rect.x(), rect.y(), rect.width(), rect.height());
        placed->RecordBounds();
        return placed;
    }
    TGGraphicControl* Box(const QRect& rect) { return Put("TGLabelShapes", rect); }

    // ---- real mouse events on the surface (panel pixels)
    void Press(const QPoint& p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(surface, b, m, p);
    }
    void Release(const QPoint& p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(surface, b, m, p);
        QCoreApplication::processEvents(); // the posted refit of the handle
    }
    void Drag(const QPoint& p) { QTest::mouseMove(surface, p); }
    // A move with no button held (QTest would only move the cursor).
    void Hover(const QPoint& p)
    {
        QMouseEvent move(QEvent::MouseMove, p, surface->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(surface, &move);
    }
    void Click(const QPoint& p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton)
    {
        Press(p, m, b);
        Release(p, m, b);
    }
    // Keys with auto-repeat, as a held key sends them.
    void KeyHeld(int key, Qt::KeyboardModifiers m, bool repeat)
    {
        QKeyEvent press(QEvent::KeyPress, key, m, QString(), repeat);
        QApplication::sendEvent(surface, &press);
    }
    void KeyUp(int key, Qt::KeyboardModifiers m = {})
    {
        QKeyEvent release(QEvent::KeyRelease, key, m, QString(), false);
        QApplication::sendEvent(surface, &release);
        QCoreApplication::processEvents();
    }

    TGOwner owner;
    TGDataPanel panel;
    TGDesignSurface* surface = nullptr;
    THRuler* ruler = nullptr;
    QStringList lastMenu;
    QStringList disabled;
    QString pick; // the entry to trigger when the next menu opens
};

} // namespace qm::design::test
