#include "data/ui/THelpWindow.h"
#include "TScreenshot.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QListWidget>
#include <gtest/gtest.h>

using qm::data::THelpWindow;

TEST(THelpWindow, EveryListedPageExistsAndHasATitle)
{
    for (const auto& page : THelpWindow::Pages()) {
        QFile file(QStringLiteral(":/help/") + page.file);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.file;
        EXPECT_TRUE(file.readAll().contains("<h1>")) << page.file;
    }
}

TEST(THelpWindow, OpensOnTheContextsPageOrTheContents)
{
    THelpWindow::ShowContext(1029);
    ASSERT_NE(THelpWindow::Instance(), nullptr);
    EXPECT_TRUE(THelpWindow::Instance()->isVisible());
    EXPECT_EQ(THelpWindow::Instance()->CurrentPage(), "main-window.html");
    THelpWindow::ShowContext(987654);
    EXPECT_EQ(THelpWindow::Instance()->CurrentPage(), "index.html");
    THelpWindow::Instance()->close();
}

TEST(THelpWindow, SearchKeepsOnlyPagesThatMentionTheWord)
{
    THelpWindow::ShowSearch();
    THelpWindow* help = THelpWindow::Instance();
    help->SetSearchText("maximised");
    EXPECT_EQ(help->VisibleTitles(), QStringList{"The main window"});
    help->SetSearchText("");
    EXPECT_EQ(help->VisibleTitles().size(), int(THelpWindow::Pages().size()));
    help->close();
}

TEST(THelpWindow, ContentsTitlesAreShownWhole)
{
    // Windows closed by earlier tests go first, so a new one is made.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    THelpWindow::ShowContext(THelpWindow::kContentsContext);
    THelpWindow* help = THelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    QCoreApplication::processEvents();
    auto* list = help->findChild<QListWidget*>("ContentsList");
    ASSERT_NE(list, nullptr);
    const QFontMetrics metrics(list->font());
    for (int i = 0; i < list->count(); ++i) {
        const QString title = list->item(i)->text();
        EXPECT_LE(metrics.horizontalAdvance(title), list->viewport()->width())
            << title.toStdString();
    }
    qm::test::SaveScreenshot(*help, "help-contents");
    help->close();
}
