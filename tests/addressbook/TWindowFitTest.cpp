// Every window fits a screen of 960 x 540 logical pixels (1920 x 1080 at 200 %): the main window
// and each window its menus and buttons open (the designers aside), at the size it opens with and
// at the smallest size it allows, with room left for a title bar.

#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "addressbook/ui/TAddressMain.h"
#include "data/TAddressFile.h"
#include "data/TSettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

using namespace qm::addressbook;

namespace {

const QSize kScreen(960, 540);
constexpr int kTitleBar = 40; // what a window frame may take above the window

bool Fits(const QSize& size)
{
    return size.width() <= kScreen.width() && size.height() + kTitleBar <= kScreen.height();
}

std::string Text(const QSize& size)
{
    return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

class WindowFitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteBool("Misc", "GettingStarted", true);
        mHome.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        ASSERT_EQ(qm::data::TAddressFile::Create(path, {}), QString());
        qm::data::TDataSet ds;
        qm::data::TAddressFile::DeclareFieldObjects(ds);
        ASSERT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
        for (const char* name : {"Adams", "Baker"}) {
            ds.Append();
            ds.SetAsString("LNAME", name);
            ds.SetAsString("PHONE", "555-0100");
            ds.SetAsString("STATE", "NY");
            ds.SetAsString("ZIP", "10001");
            ds.Post();
        }
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
};

} // namespace

TEST_F(WindowFitTest, TheMainWindowFits)
{
    TAddressMain window;
    window.show();
    QTest::qWait(20);
    const QSize minimum = window.minimumSize().expandedTo(window.minimumSizeHint());
    EXPECT_TRUE(Fits(minimum)) << "the main window needs at least " << Text(minimum);
    window.resize(minimum);
    QCoreApplication::processEvents();
    // Every control of the record form is inside the window at its smallest.
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&window) || child->isWindow())
            continue;
        const QRect r(child->mapTo(&window, QPoint()), child->size());
        EXPECT_TRUE(window.rect().contains(r))
            << child->objectName().toStdString() << " lies outside the window";
    }
    qm::test::SaveScreenshot(window, QStringLiteral("main-window-smallest"));
}

TEST_F(WindowFitTest, EveryWindowOpenedFromTheMainWindowFits)
{
    TAddressMain window;
    window.show();
    QTest::qWait(20);
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.Book().IsOpen());

    // Each modal window that opens is measured and closed.
    std::set<QWidget*> measured;
    QStringList names;
    QTimer poll;
    poll.setInterval(5);
    const auto measure = [&](QDialog* dialog) {
        if (measured.insert(dialog).second) {
            const QString name = dialog->objectName().isEmpty()
                                     ? QString::fromLatin1(dialog->metaObject()->className())
                                     : dialog->objectName();
            names << name;
            const QSize minimum = dialog->minimumSize().expandedTo(dialog->minimumSizeHint());
            EXPECT_TRUE(Fits(minimum)) << name.toStdString() << " needs at least " << Text(minimum);
            EXPECT_TRUE(Fits(dialog->size()))
                << name.toStdString() << " opens at " << Text(dialog->size());
            qm::test::SaveScreenshot(*dialog, QStringLiteral("fit-") + name);
        }
        dialog->done(QDialog::Rejected);
    };
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            measure(dialog);
    });
    // Windows that are not modal (the getting-started screen) are found among the top levels.
    const auto measureShown = [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog->isVisible())
                measure(dialog);
    };
    poll.start();

    for (const char* action :
         {"NewItem",           "BrowseItem",          "SearchItem",
          "ImportDbfItem",     "ImportAsciiItem",     "ExportItem",
          "SetFilterItem",     "RebuildIndexesItem",  "RebuildSystemIndexesItem",
          "PreferencesItem",   "CopyToClipboardItem", "CountZipItem",
          "CheckStateZipItem", "CheckDuplicatesItem", "ConvertCaseItem",
          "DeleteRecordsItem", "SearchReplaceItem",   "PrintLabelsItem",
          "PrintLettersItem",  "PrintEnvelopesItem",  "PrintReportsItem",
          "PrintCurrentItem",  "GettingStartedItem",  "AboutItem"}) {
        measured.clear(); // a window on the stack may take the address of the one before
        const qsizetype before = names.size();
        QAction* command = window.Action(QString::fromLatin1(action));
        EXPECT_TRUE(command->isEnabled()) << action;
        command->trigger();
        QCoreApplication::processEvents();
        measureShown();
        EXPECT_GT(names.size(), before)
            << action << " opened no window; " << mResponder.Texts().join('|').toStdString();
    }
    for (const char* button : {"DateButton", "Dial1Button"}) {
        measured.clear();
        const qsizetype before = names.size();
        window.Button(QString::fromLatin1(button))->click();
        QCoreApplication::processEvents();
        EXPECT_GT(names.size(), before) << button << " opened no window";
    }
    poll.stop();
    EXPECT_GE(names.size(), 26) << names.join(", ").toStdString();
}
