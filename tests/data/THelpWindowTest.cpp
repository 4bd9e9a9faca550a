#include "data/ui/THelpWindow.h"
#include "TScreenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QListWidget>
#include <QRegularExpression>
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

TEST(THelpWindow, PagesLinkOnlyToPagesThatExistAndPromiseNoMissingWindow)
{
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
    const QStringList pages = QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
    ASSERT_GE(pages.size(), qsizetype(THelpWindow::Pages().size()));
    for (const QString& page : pages) {
        QFile file(QStringLiteral(":/help/") + page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : link.globalMatch(text)) {
            const QString target = m.captured(1);
            EXPECT_TRUE(target.startsWith(QLatin1String("http")) ||
                        QFile::exists(QStringLiteral(":/help/") + target))
                << page.toStdString() << " links " << target.toStdString();
        }
        // Every window of the program exists; no page may say one is still to come.
        for (const char* missing : {"does not have yet", "not exist yet", "not available yet",
                                    "a later version", "not yet written"})
            EXPECT_FALSE(text.contains(QLatin1String(missing)))
                << page.toStdString() << ": " << missing;
    }
    QFile labels(QStringLiteral(":/help/print-labels.html"));
    ASSERT_TRUE(labels.open(QIODevice::ReadOnly));
    EXPECT_TRUE(labels.readAll().contains("href=\"label-design.html\""));
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
