// The main window driven offscreen through its controls and keys, with scripted answers.

#include "addressbook/ui/TAddressMain.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "addressbook/ui/TDBEdit.h"
#include "data/TAddressFile.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace qm::addressbook;
using qm::data::TSettingsFile;

namespace {

class AddressMainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteBool("Misc", "GettingStarted", true);
    }

    QString MakeFile(const QStringList& lastNames)
    {
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        EXPECT_EQ(qm::data::TAddressFile::Create(path, {}), QString());
        qm::data::TDataSet ds;
        qm::data::TAddressFile::DeclareFieldObjects(ds);
        EXPECT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
        for (const QString& name : lastNames) {
            ds.Append();
            ds.SetAsString("LNAME", name);
            ds.Post();
        }
        return path;
    }

    void Start()
    {
        mWindow = std::make_unique<TAddressMain>();
        mWindow->show();
        QTest::qWait(20); // the start-up sequence runs once the window is shown
        QCoreApplication::processEvents();
    }

    QString Shown(const char* field) { return mWindow->Edit(field)->text(); }

    // Types any text, letters outside ASCII included, as key presses.
    static void Type(QWidget* widget, const QString& text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    std::unique_ptr<TAddressMain> mWindow;
};

} // namespace

TEST_F(AddressMainTest, StartsWithoutSettingsOnANewDefaultFile)
{
    QFile::remove(mHome.Home().SettingsPath());
    Start();
    EXPECT_TRUE(QFile::exists(mHome.Path("DATA/ADD0001.DBF")));
    EXPECT_FALSE(mWindow->EmptyStateShown());
    EXPECT_EQ(mWindow->SortStatusText(), "Sorted by Last Name");
    EXPECT_EQ(mWindow->CountStatusText(), "No records");
    EXPECT_EQ(mWindow->windowTitle(), "Quillmark - " + mHome.Path("DATA/ADD0001.DBF"));
    EXPECT_TRUE(mWindow->Action("SortLNAMEItem")->isChecked());
    EXPECT_TRUE(mWindow->Action("AddItem")->isEnabled());
    EXPECT_FALSE(mWindow->Action("EditItem")->isEnabled()); // no records yet
    qm::test::SaveScreenshot(*mWindow, "main-empty-file");
}

TEST_F(AddressMainTest, NoFileOpenDisablesRecordCommands)
{
    TSettingsFile settings(mHome.Home().SettingsPath());
    settings.WriteString("MRU", "Item1", mHome.Path("DATA/MISSING.DBF"));
    Start();
    EXPECT_TRUE(mWindow->EmptyStateShown());
    EXPECT_EQ(mWindow->EmptyStateText(), "Please Open or Create a Quillmark Address file");
    EXPECT_EQ(mResponder.Texts().first(), "File " + mHome.Path("DATA/MISSING.DBF") + " not found");
    for (const char* name : {"AddItem", "EditItem", "FirstItem", "NextItem", "PrintLabelsItem",
                             "CountZipItem", "SortLNAMEItem", "RebuildIndexesItem"})
        EXPECT_FALSE(mWindow->Action(name)->isEnabled()) << name;
    for (const char* name : {"NewItem", "OpenItem", "PreferencesItem", "RebuildSystemIndexesItem",
                             "ExitItem", "Import1xItem"})
        EXPECT_TRUE(mWindow->Action(name)->isEnabled()) << name;
    mWindow->Action("Import1xItem")->trigger();
    EXPECT_EQ(mResponder.Texts().last(), "You need to have a database file open first");
    qm::test::SaveScreenshot(*mWindow, "main-no-file");
}

TEST_F(AddressMainTest, MovementKeysAndPageDownWhileEditing)
{
    MakeFile({"Carter", "Adams", "Baker"});
    Start();
    EXPECT_EQ(Shown("LNAME"), "Adams");
    QTest::keyClick(mWindow->Edit("LNAME"), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Shown("LNAME"), "Carter");
    QTest::keyClick(mWindow->Edit("FNAME"), Qt::Key_PageUp);
    EXPECT_EQ(Shown("LNAME"), "Baker");
    QTest::keyClick(mWindow->Edit("FNAME"), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Shown("LNAME"), "Adams");

    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    EXPECT_TRUE(mWindow->Button("SaveButton")->isVisible());
    EXPECT_FALSE(mWindow->Button("AddButton")->isVisible());
    EXPECT_FALSE(mWindow->Action("OpenItem")->isEnabled());
    QTest::keyClicks(mWindow->Edit("FNAME"), "Ann");
    mResponder.QueueAnswer(false);
    QTest::keyClick(mWindow->Edit("FNAME"), Qt::Key_PageDown);
    EXPECT_EQ(mResponder.Messages().back().text, "Save changes?");
    EXPECT_EQ(mResponder.Messages().back().caption, "Save");
    EXPECT_TRUE(mWindow->Book().DataSet().Editing());
    EXPECT_EQ(Shown("LNAME"), "Adams"); // not moved
    QTest::keyClick(mWindow->Edit("FNAME"), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(mWindow->Book().DataSet().Editing());
    EXPECT_EQ(Shown("FNAME"), "Ann");
    qm::test::SaveScreenshot(*mWindow, "main-record");
}

TEST_F(AddressMainTest, AddTypesSavesAndRefusesCharactersTheFileCannotHold)
{
    MakeFile({"Adams"});
    Start();
    QTest::mouseClick(mWindow->Button("AddButton"), Qt::LeftButton);
    ASSERT_TRUE(mWindow->Book().DataSet().Editing());
    EXPECT_TRUE(mWindow->Edit("LNAME")->hasFocus());
    QTest::keyClicks(mWindow->Edit("LNAME"), "Zoe");
    QTest::keyClicks(mWindow->Edit("MIDDLE"), "q");
    EXPECT_EQ(Shown("MIDDLE"), "Q");
    mWindow->Edit("CITY")->setFocus();
    Type(mWindow->Edit("CITY"), QString::fromUtf8("Kraków"));
    EXPECT_EQ(Shown("CITY"), QString::fromUtf8("Kraków")); // ó is Windows-1252
    Type(mWindow->Edit("STATE"), QString::fromUtf8("Ł"));
    EXPECT_EQ(Shown("STATE"), QString());
    EXPECT_TRUE(mResponder.Texts().last().contains(QString::fromUtf8("\"Ł\"")));
    qm::test::SaveScreenshot(*mWindow, "main-adding");
    QTest::mouseClick(mWindow->Button("SaveButton"), Qt::LeftButton);
    EXPECT_EQ(mWindow->Book().DataSet().Table().RecordCount(), 2u);
    EXPECT_EQ(mWindow->CountStatusText(), "2 records (no filter)");
    EXPECT_EQ(Shown("CITY"), QString::fromUtf8("Kraków"));
}

TEST_F(AddressMainTest, TabWalksTheFormInOrderAndSkipSwitchesTakeFieldsOutOnlyWhileAdding)
{
    {
        TSettingsFile settings(mHome.Home().SettingsPath());
        for (const char* key : {"SkipMiddleInitial", "SkipPrefix", "SkipZip", "SkipCountry"})
            settings.WriteBool("Adding", key, true);
    }
    MakeFile({"Adams"});
    Start();
    const QStringList fields = {"LNAME", "FNAME", "MIDDLE", "PREFIX", "TITLE", "ORG",
                                "STREET", "STREET2", "CITY", "STATE", "ZIP", "COUNTRY",
                                "PHONE", "PHONE2", "FAX", "EMAIL", "CODES", "USER1", "USER2"};
    // The entry fields Tab reaches from Last Name, in the order it reaches them.
    auto walk = [&] {
        QStringList seen;
        mWindow->Edit("LNAME")->setFocus();
        for (int i = 0; i < 60; ++i) {
            for (const QString& field : fields)
                if (QApplication::focusWidget() == mWindow->Edit(field.toLatin1().constData()) &&
                    !seen.contains(field))
                    seen << field;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return seen;
    };
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    EXPECT_EQ(walk(), fields); // editing: every field, as the form lays them out
    QTest::keyClick(mWindow->Edit("LNAME"), Qt::Key_Return, Qt::ControlModifier);

    QTest::mouseClick(mWindow->Button("AddButton"), Qt::LeftButton);
    ASSERT_TRUE(mWindow->Book().DataSet().Editing());
    QStringList adding = fields;
    for (const char* skipped : {"MIDDLE", "PREFIX", "ZIP", "COUNTRY"})
        adding.removeAll(skipped);
    EXPECT_EQ(walk(), adding);
    mResponder.QueueAnswer(true);
    QTest::keyClick(mWindow->Edit("LNAME"), Qt::Key_Escape);
    ASSERT_FALSE(mWindow->Book().DataSet().Editing());
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    EXPECT_EQ(walk(), fields); // every stop is back after the cancel
}

TEST_F(AddressMainTest, TaggedBoxTogglesTheTagOnAPress)
{
    MakeFile({"Adams"});
    Start();
    QCheckBox* tagged = mWindow->TaggedCheck();
    EXPECT_FALSE(tagged->isChecked());
    QTest::mouseClick(tagged, Qt::LeftButton);
    EXPECT_TRUE(tagged->isChecked());
    EXPECT_EQ(mWindow->Book().DataSet().AsString("TAG"), mWindow->Book().TagIdentifier());
    QTest::mouseClick(tagged, Qt::LeftButton);
    EXPECT_FALSE(tagged->isChecked());
}

TEST_F(AddressMainTest, EscapeAsksBeforeCancellingAndTheMemoStartsEditing)
{
    MakeFile({"Adams"});
    Start();
    mWindow->Pages()->setCurrentIndex(1);
    mWindow->Memo()->setFocus();
    QTest::keyClicks(mWindow->Memo(), "hello");
    EXPECT_TRUE(mWindow->Book().DataSet().Editing());
    QTest::keyClick(mWindow->Memo(), Qt::Key_Escape); // in the memo Esc cancels at once
    EXPECT_FALSE(mWindow->Book().DataSet().Editing());
    EXPECT_EQ(mWindow->Memo()->toPlainText(), QString());

    mWindow->Pages()->setCurrentIndex(0);
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    mResponder.QueueAnswer(true);
    QTest::keyClick(mWindow->Edit("LNAME"), Qt::Key_Escape);
    EXPECT_EQ(mResponder.Messages().back().text, "Cancel changes?");
    EXPECT_FALSE(mWindow->Book().DataSet().Editing());
}

TEST_F(AddressMainTest, PlacementIsRestoredAndSaved)
{
    if (qm::data::TWindowPlacement::LogicalDpi(TAddressMain()) != 96)
        GTEST_SKIP() << "the stored section is the one of 96 pixels per inch";
    TSettingsFile settings(mHome.Home().SettingsPath());
    const QSize minimum = TAddressMain().minimumSize();
    settings.WriteInteger("TAddressMain_Placement", "Left", 2);
    settings.WriteInteger("TAddressMain_Placement", "Top", 3);
    settings.WriteInteger("TAddressMain_Placement", "Right", 2 + minimum.width());
    settings.WriteInteger("TAddressMain_Placement", "Bottom", 3 + minimum.height());
    Start();
    EXPECT_EQ(mWindow->geometry(), QRect(QPoint(2, 3), minimum));
    mWindow->setGeometry(QRect(QPoint(0, 1), minimum + QSize(0, 20)));
    mWindow->close();
    EXPECT_EQ(settings.ReadInteger("TAddressMain_Placement", "Right", 0), minimum.width());
    EXPECT_EQ(settings.ReadInteger("TAddressMain_Placement", "Bottom", 0), 21 + minimum.height());
    EXPECT_FALSE(mWindow->Book().IsOpen());
}

TEST_F(AddressMainTest, ReadOnlySettingsFileIsReportedNotFatal)
{
    MakeFile({});
    QFile::setPermissions(mHome.Home().SettingsPath(), QFileDevice::ReadOwner);
    Start();
    mWindow->close();
    ASSERT_FALSE(mResponder.Texts().isEmpty());
    EXPECT_EQ(mResponder.Texts().first(), "Unable to write to " + mHome.Home().SettingsPath());
}

TEST_F(AddressMainTest, FailedOpenLeavesATitleWithoutTheFileAndGivesTheReason)
{
    const QString good = MakeFile({"Adams"});
    QFile junk(mHome.Path("DATA/JUNK.DBF"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(300, 'x'));
    junk.close();
    Start();
    EXPECT_EQ(mWindow->windowTitle(), "Quillmark - " + good);
    EXPECT_FALSE(mWindow->Book().OpenAddressFile(mHome.Path("DATA/JUNK.DBF")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(mWindow->EmptyStateShown());
    EXPECT_EQ(mWindow->windowTitle(), "Quillmark");
    ASSERT_FALSE(mResponder.Texts().isEmpty());
    const QStringList lines = mResponder.Texts().last().split("\r\n");
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "Unable to open " + mHome.Path("DATA/JUNK.DBF"));
    EXPECT_TRUE(lines[1].startsWith("JUNK.DBF: ")) << lines[1].toStdString();
    qm::test::SaveScreenshot(*mWindow, "main-after-failed-open");
    qm::test::SaveScreenScreenshot("main-after-failed-open-screen");
}

TEST_F(AddressMainTest, HelpContentsOpensTheContentsPage)
{
    MakeFile({});
    Start();
    mWindow->Action("HelpContentsItem")->trigger();
    ASSERT_NE(qm::data::THelpWindow::Instance(), nullptr);
    EXPECT_EQ(qm::data::THelpWindow::Instance()->CurrentPage(), "index.html");
    qm::data::THelpWindow::Instance()->close();
}
