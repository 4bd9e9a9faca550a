#include "addressbook/ui/TAddressMain.h"

#include "data/TPlacementRules.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TMessageService.h"
#include "data/ui/TWindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>

namespace qm::addressbook {

using data::THelpWindow;
using data::TMessageService;
using data::TSettingsFile;
using data::TWindowPlacement;

TAddressMain::TAddressMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Quillmark"));
    setMinimumSize(632, 434);

    mClientArea = new QStackedWidget(this);
    mEmptyStatePanel = new QLabel(QStringLiteral("Please Open or Create a Quillmark Address file"),
                                  mClientArea);
    mEmptyStatePanel->setObjectName(QStringLiteral("EmptyStatePanel"));
    mEmptyStatePanel->setAlignment(Qt::AlignCenter);
    mEmptyStatePanel->setWordWrap(true);
    QFont big = mEmptyStatePanel->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    mEmptyStatePanel->setFont(big);
    mClientArea->addWidget(mEmptyStatePanel);
    setCentralWidget(mClientArea);
    statusBar();

    BuildMenus();
}

void TAddressMain::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("ExitItem"));
    connect(exit, &QAction::triggered, this, &TAddressMain::ExitItemClick);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* contents = help->addAction(QStringLiteral("&Contents"));
    contents->setObjectName(QStringLiteral("HelpContentsItem"));
    contents->setShortcut(QKeySequence::HelpContents);
    connect(contents, &QAction::triggered, this,
            [this] { THelpWindow::ShowContext(kHelpContext, this); });
    QAction* search = help->addAction(QStringLiteral("Search for Help On"));
    search->setObjectName(QStringLiteral("HelpSearchItem"));
    connect(search, &QAction::triggered, this, [this] { THelpWindow::ShowSearch(this); });
    QAction* howTo = help->addAction(QStringLiteral("How to Use Help"));
    howTo->setObjectName(QStringLiteral("HelpHowToItem"));
    connect(howTo, &QAction::triggered, this,
            [this] { THelpWindow::ShowContext(THelpWindow::kHowToUseHelpContext, this); });
}

QString TAddressMain::EmptyStateText() const { return mEmptyStatePanel->text(); }

bool TAddressMain::event(QEvent* e)
{
    // The first activation (or the first show, where the platform activates nothing, as offscreen)
    // runs the start-up sequence once.
    if (!mActivated && (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show))
        FormActivate();
    return QMainWindow::event(e);
}

void TAddressMain::FormActivate()
{
    mActivated = true;
    TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
    try {
        TWindowPlacement::Restore(*this, QString::fromLatin1(kClassName), settings);
    } catch (const data::TSettingsWriteError& error) {
        TMessageService::Inform(this, error.Message());
    }
    setWindowTitle(QStringLiteral("Quillmark"));
}

void TAddressMain::RaiseFromOtherCopy()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TAddressMain::changeEvent(QEvent* e)
{
    // Minimising the main window minimises the whole program: its other top-level windows go too.
    if (e->type() == QEvent::WindowStateChange && isMinimized())
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && w->isWindow() && !w->isMinimized())
                w->showMinimized();
    QMainWindow::changeEvent(e);
}

void TAddressMain::KeepOnScreen()
{
    if (!mActivated || windowState() != Qt::WindowNoState || !screen())
        return;
    const QRect area = screen()->geometry();
    const QRect g = geometry();
    const data::TEdges current{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    const data::TEdges kept = data::TPlacementRules::KeepMainWindowOnScreen(
        current, area.width(), area.height());
    if (!(kept == current))
        move(kept.left, kept.top);
}

void TAddressMain::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    KeepOnScreen();
}

void TAddressMain::closeEvent(QCloseEvent* e)
{
    TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
    try {
        TWindowPlacement::Save(*this, QString::fromLatin1(kClassName), settings);
    } catch (const data::TSettingsWriteError& error) {
        TMessageService::Inform(this, error.Message());
    }
    e->accept();
}

void TAddressMain::ExitItemClick() { close(); }

} // namespace qm::addressbook
