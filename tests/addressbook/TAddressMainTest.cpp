// The main window driven offscreen through its controls and keys, with scripted answers.

#include "addressbook/ui/TAddressMain.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "addressbook/ui/TApplicationIdentity.h"
#include "addressbook/ui/TDBEdit.h"
#include "addressbook/ui/TSelectDateDialog.h"
#include "data/TAddressFile.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TRebuildIndexesDialog.h"
#include "data/ui/TWindowPlacement.h"
#include "envelopes/ui/TQMEnvelopes.h"
#include "print/TRPDevice.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
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

    // Writes records of last and first names (the file is created first when missing).
    void AddPeople(const std::vector<std::pair<QString, QString>>& people)
    {
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        if (!QFile::exists(path))
            MakeFile({});
        qm::data::TDataSet ds;
        qm::data::TAddressFile::DeclareFieldObjects(ds);
        ASSERT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
        for (const auto& [last, first] : people) {
            ds.Append();
            ds.SetAsString("LNAME", last);
            ds.SetAsString("FNAME", first);
            ds.Post();
        }
    }

    // Runs "Rebuild Indexes for this file", pressing Reindex in its window.
    void Rebuild()
    {
        mWindow->SetDialogHook([](QDialog& dialog) {
            auto* rebuild = dynamic_cast<qm::data::TRebuildIndexesDialog*>(&dialog);
            ASSERT_NE(rebuild, nullptr);
            QTimer::singleShot(0, rebuild, [rebuild] { rebuild->ReindexButton()->click(); });
        });
        mWindow->Action("RebuildIndexesItem")->trigger();
        mWindow->SetDialogHook({});
    }

    // The record in the file as stored (not as the window shows it).
    QString StoredFirstName(const QString& last)
    {
        qm::data::TDataSet ds;
        qm::data::TAddressFile::DeclareFieldObjects(ds);
        EXPECT_TRUE(qm::data::TAddressFile::Open(ds, mHome.Path("DATA/ADD0001.DBF")).opened);
        for (ds.First(); !ds.Eof(); ds.Next())
            if (ds.AsString("LNAME") == last)
                return ds.AsString("FNAME");
        return QStringLiteral("<none>");
    }

    // Types any text, letters outside ASCII included, as key presses.
    static void Type(QWidget* widget, const QString& text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // The text of the last message or question, empty when there was none.
    QString LastMessage() const
    {
        return mResponder.Messages().empty() ? QString() : mResponder.Messages().back().text;
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
    const QStringList fields = {"LNAME", "FNAME",   "MIDDLE",  "PREFIX", "TITLE",
                                "ORG",   "STREET",  "STREET2", "CITY",   "STATE",
                                "ZIP",   "COUNTRY", "PHONE",   "PHONE2", "FAX",
                                "EMAIL", "CODES",   "USER1",   "USER2"};
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
    mResponder.QueueAnswer(true);
    QTest::keyClick(mWindow->Memo(), Qt::Key_Escape); // the memo asks like every field
    EXPECT_EQ(LastMessage(), "Cancel changes?");
    EXPECT_FALSE(mWindow->Book().DataSet().Editing());
    EXPECT_EQ(mWindow->Memo()->toPlainText(), QString());

    mWindow->Pages()->setCurrentIndex(0);
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    mResponder.QueueAnswer(true);
    QTest::keyClick(mWindow->Edit("LNAME"), Qt::Key_Escape);
    EXPECT_EQ(LastMessage(), "Cancel changes?");
    EXPECT_FALSE(mWindow->Book().DataSet().Editing());
}

TEST_F(AddressMainTest, EscapeInTheMemoKeepsEveryChangeUnlessTheUserAgrees)
{
    MakeFile({"Adams"});
    Start();
    // A comment typed on the address page, then text in the memo.
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    TDBEdit* comment = mWindow->Edit("USER1");
    comment->setFocus();
    QTest::keyClicks(comment, "call back");
    mWindow->Pages()->setCurrentIndex(1);
    mWindow->Memo()->setFocus();
    QTest::keyClicks(mWindow->Memo(), "notes");

    mResponder.QueueAnswer(false);
    QTest::keyClick(mWindow->Memo(), Qt::Key_Escape);
    ASSERT_FALSE(mResponder.Messages().empty());
    EXPECT_EQ(mResponder.Messages().back().caption, "Cancel");
    EXPECT_EQ(LastMessage(), "Cancel changes?");
    EXPECT_TRUE(mWindow->Book().DataSet().Editing()) << "No keeps both changes";
    EXPECT_EQ(mWindow->Memo()->toPlainText(), "notes");
    EXPECT_EQ(Shown("USER1"), "call back");

    QTest::keyClick(mWindow->Memo(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(mWindow->Book().DataSet().Editing());
    EXPECT_EQ(mWindow->Book().DataSet().AsString("USER1"), "call back");
    EXPECT_EQ(mWindow->Memo()->toPlainText(), "notes");
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

TEST_F(AddressMainTest, RecordKeysMoveFromAnEntryFieldWhileBrowsingOnly)
{
    MakeFile({"Carter", "Adams", "Baker"});
    Start();
    TDBEdit* last = mWindow->Edit("LNAME");
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Shown("LNAME"), "Baker");
    QTest::keyClick(last, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Shown("LNAME"), "Carter");
    QTest::keyClick(mWindow->Edit("CITY"), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Shown("LNAME"), "Baker");
    QTest::keyClick(last, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Shown("LNAME"), "Adams");
    const int beeps = mResponder.Beeps();
    QTest::keyClick(last, Qt::Key_Left, Qt::ControlModifier); // the first record: beep and stay
    EXPECT_EQ(mResponder.Beeps(), beeps + 1);
    EXPECT_EQ(Shown("LNAME"), "Adams");

    // While a record is edited the commands are off and the field moves by words.
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    TDBEdit* first = mWindow->Edit("FNAME");
    first->setFocus();
    QTest::keyClicks(first, "Ann Lee");
    QTest::keyClick(first, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(first->cursorPosition(), 4);
    QTest::keyClick(first, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(first->cursorPosition(), 7);
    EXPECT_TRUE(mWindow->Book().DataSet().Editing());
    EXPECT_EQ(Shown("LNAME"), "Adams");
}

// Claims Ctrl+E for the entry field as Qt's X11 key bindings do ("end of line"); the offscreen
// platform uses other bindings, so without this the test would not see the field take the key.
class TX11EndOfLineKey : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_E || key->modifiers() != Qt::ControlModifier)
            return false;
        event->accept();
        return true;
    }
};

TEST_F(AddressMainTest, EveryShortcutWorksFromTheLastField)
{
    MakeFile({"Carter", "Adams", "Baker"});
    Start();
    TDBEdit* last = mWindow->Edit("LNAME");
    TX11EndOfLineKey x11Keys;
    last->installEventFilter(&x11Keys);
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        // Offscreen a closed window does not hand the activation back by itself.
        QApplication::setActiveWindow(mWindow.get());
        last->setFocus();
        QTest::keyClick(last, key, mods);
        QCoreApplication::processEvents();
    };

    // The command keys open their windows from an entry field (the entry field would take
    // Ctrl+E as "end of line").
    QStringList opened;
    mWindow->SetDialogHook([&](QDialog& dialog) {
        opened << dialog.objectName();
        const bool envelopes = opened.size() == 6; // Ctrl+E
        QTimer::singleShot(0, &dialog, [&dialog, envelopes] {
            if (envelopes)
                qm::test::SaveScreenScreenshot(QStringLiteral("main-ctrl-e-from-last"));
            dialog.reject();
        });
    });
    const std::vector<std::pair<Qt::Key, const char*>> commands = {
        {Qt::Key_B, "BrowseItem"},       {Qt::Key_S, "SearchItem"},
        {Qt::Key_F, "SetFilterItem"},    {Qt::Key_L, "PrintLabelsItem"},
        {Qt::Key_T, "PrintLettersItem"}, {Qt::Key_E, "PrintEnvelopesItem"},
        {Qt::Key_R, "PrintReportsItem"}, {Qt::Key_P, "PrintCurrentItem"},
    };
    for (const auto& [key, action] : commands) {
        int triggered = 0;
        const QMetaObject::Connection counting =
            QObject::connect(mWindow->Action(action), &QAction::triggered, [&] { ++triggered; });
        const qsizetype before = opened.size();
        press(key);
        QObject::disconnect(counting);
        EXPECT_EQ(triggered, 1) << action;
        EXPECT_EQ(opened.size(), before + 1) << action << " opened no window";
        EXPECT_EQ(Shown("LNAME"), "Adams") << action;
    }
    mWindow->SetDialogHook({});

    // The record keys and the page keys.
    press(Qt::Key_Down);
    EXPECT_EQ(Shown("LNAME"), "Carter");
    press(Qt::Key_Up);
    EXPECT_EQ(Shown("LNAME"), "Adams");
    press(Qt::Key_Right);
    EXPECT_EQ(Shown("LNAME"), "Baker");
    press(Qt::Key_Left);
    EXPECT_EQ(Shown("LNAME"), "Adams");
    press(Qt::Key_PageDown, Qt::NoModifier);
    EXPECT_EQ(Shown("LNAME"), "Baker");
    press(Qt::Key_PageUp, Qt::NoModifier);
    EXPECT_EQ(Shown("LNAME"), "Adams");
    press(Qt::Key_PageDown);
    EXPECT_EQ(Shown("LNAME"), "Carter");
    press(Qt::Key_PageUp);
    EXPECT_EQ(Shown("LNAME"), "Adams");

    // Help, from the field too.
    press(Qt::Key_F1, Qt::NoModifier);
    ASSERT_NE(qm::data::THelpWindow::Instance(), nullptr);
    EXPECT_TRUE(qm::data::THelpWindow::Instance()->isVisible());
    qm::data::THelpWindow::Instance()->close();

    // The Edit keys stay the field's own: copy while browsing, then cut, paste and undo.
    last->selectAll();
    press(Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), "Adams");
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    last->setFocus();
    last->setSelection(0, 2);
    press(Qt::Key_X);
    EXPECT_EQ(last->text(), "ams");
    last->setCursorPosition(3);
    press(Qt::Key_V);
    EXPECT_EQ(last->text(), "amsAd");
    press(Qt::Key_Z);
    EXPECT_EQ(last->text(), "ams");

    // While editing: PgDn asks to save, Esc to cancel, Ctrl+Enter saves, Alt+Enter saves and
    // offers another record; the command keys are off.
    mResponder.QueueAnswer(false);
    press(Qt::Key_PageDown, Qt::NoModifier);
    EXPECT_EQ(LastMessage(), "Save changes?");
    mResponder.QueueAnswer(false);
    press(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(LastMessage(), "Cancel changes?");
    EXPECT_TRUE(mWindow->Book().DataSet().Editing());
    bool anyOpened = false;
    mWindow->SetDialogHook([&](QDialog& dialog) {
        anyOpened = true;
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    });
    press(Qt::Key_E);
    press(Qt::Key_L);
    EXPECT_FALSE(anyOpened);
    mWindow->SetDialogHook({});
    EXPECT_EQ(last->text(), "ams");
    press(Qt::Key_Return);
    EXPECT_FALSE(mWindow->Book().DataSet().Editing());
    EXPECT_EQ(mWindow->Book().DataSet().AsString("LNAME"), "ams");
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    mResponder.QueueAnswer(false);
    press(Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(LastMessage(), "Add another record?");
    EXPECT_FALSE(mWindow->Book().DataSet().Editing());
}

TEST_F(AddressMainTest, RebuildIndexesShowsTheSameRecordWithOrderAndFilterBack)
{
    AddPeople({{"Adams", "Zed"}, {"Baker", "Yan"}, {"Carter", "Xia"}, {"Davis", "Wu"}});
    Start();
    mWindow->Action("SortFNAMEItem")->trigger();
    mWindow->Book().Filter().entries[0] = ">=b";
    mWindow->Book().ApplyFilter();
    mWindow->Book().First();
    ASSERT_EQ(Shown("LNAME"), "Davis"); // Wu
    mWindow->Book().Last();
    ASSERT_EQ(Shown("LNAME"), "Baker"); // Yan
    mResponder.QueueAnswer(true);
    mWindow->Action("DeleteItem")->trigger();
    ASSERT_EQ(Shown("LNAME"), "Carter"); // the record before
    ASSERT_EQ(mWindow->Book().DataSet().RecNo(), 3u);

    Rebuild();
    EXPECT_EQ(mWindow->Book().DataSet().Table().RecordCount(), 3u); // Baker packed away
    EXPECT_EQ(Shown("LNAME"), "Carter");
    EXPECT_EQ(Shown("FNAME"), "Xia");
    EXPECT_EQ(mWindow->SortStatusText(), "Sorted by First Name");
    EXPECT_TRUE(mWindow->Action("SortFNAMEItem")->isChecked());
    EXPECT_EQ(mWindow->CountStatusText(), "2 filter matches");
}

TEST_F(AddressMainTest, EditCommandsActOnTheFocusedFieldAndTheMemoStartsEditingOnDoubleClick)
{
    MakeFile({"Adams"});
    Start();
    const std::vector<std::tuple<const char*, const char*, QKeySequence>> commands = {
        {"UndoItem", "&Undo typing", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"CutItem", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {"CopyItem", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"PasteItem", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
    };
    for (const auto& [name, caption, key] : commands) {
        QAction* action = mWindow->Action(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), caption);
        EXPECT_EQ(action->shortcut(), key);
        EXPECT_TRUE(action->isEnabled());
        for (QAction* menu : mWindow->menuBar()->actions()) // no menu of their own
            EXPECT_NE(menu->text(), "&Edit");
    }
    QClipboard* clipboard = QApplication::clipboard();

    // Browsing: copying works, the read-only field takes nothing in.
    TDBEdit* last = mWindow->Edit("LNAME");
    last->setFocus();
    last->selectAll();
    mWindow->Action("CopyItem")->trigger();
    EXPECT_EQ(clipboard->text(), "Adams");
    clipboard->setText("Zed");
    mWindow->Action("PasteItem")->trigger();
    mWindow->Action("CutItem")->trigger();
    EXPECT_EQ(Shown("LNAME"), "Adams");
    EXPECT_EQ(clipboard->text(), "Zed");

    // Editing: paste, undo and cut reach the record.
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    TDBEdit* first = mWindow->Edit("FNAME");
    first->setFocus();
    mWindow->Action("PasteItem")->trigger();
    EXPECT_EQ(Shown("FNAME"), "Zed");
    EXPECT_EQ(mWindow->Book().DataSet().AsString("FNAME"), "Zed");
    mWindow->Action("UndoItem")->trigger();
    EXPECT_EQ(mWindow->Book().DataSet().AsString("FNAME"), "");
    last->setFocus();
    last->setSelection(0, 2);
    mWindow->Action("CutItem")->trigger();
    EXPECT_EQ(clipboard->text(), "Ad");
    EXPECT_EQ(mWindow->Book().DataSet().AsString("LNAME"), "ams");
    mResponder.QueueAnswer(true);
    QTest::keyClick(last, Qt::Key_Escape);
    ASSERT_FALSE(mWindow->Book().DataSet().Editing());

    // A double click on the memo starts editing, as on a field.
    mWindow->Pages()->setCurrentIndex(1);
    QTest::mouseDClick(mWindow->Memo()->viewport(), Qt::LeftButton);
    EXPECT_TRUE(mWindow->Book().DataSet().Editing());
}

TEST_F(AddressMainTest, TheWindowTitleIsTheCaptionAlone)
{
    TApplicationIdentity::Apply();
    // The toolkit appends an application display name, once one is set, to every window title;
    // without one the display name is the application name.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("probe");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    QCoreApplication::setApplicationName(name);
    MakeFile({"Adams"});
    Start();
    EXPECT_EQ(mWindow->windowTitle(), "Quillmark - " + mHome.Path("DATA/ADD0001.DBF"));
}

TEST_F(AddressMainTest, ClosingWhileEditingAsksToSaveAndCancelKeepsTheWindow)
{
    AddPeople({{"Adams", ""}, {"Baker", ""}});
    Start();
    // Cancel keeps the window and the typing.
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    QTest::keyClicks(mWindow->Edit("FNAME"), "Ann");
    mResponder.QueueCancel();
    EXPECT_FALSE(mWindow->close());
    ASSERT_FALSE(mResponder.Messages().empty());
    EXPECT_EQ(mResponder.Messages().back().text, "Save changes?");
    EXPECT_EQ(mResponder.Messages().back().caption, "Save");
    EXPECT_TRUE(mResponder.Messages().back().withCancel);
    EXPECT_TRUE(mWindow->isVisible());
    EXPECT_TRUE(mWindow->Book().DataSet().Editing());
    EXPECT_EQ(Shown("FNAME"), "Ann");
    // Yes saves, then the window closes.
    mResponder.QueueAnswer(true);
    EXPECT_TRUE(mWindow->close());
    EXPECT_FALSE(mWindow->Book().IsOpen());
    EXPECT_EQ(StoredFirstName("Adams"), "Ann");

    // No throws the typing away.
    Start();
    mWindow->Book().Last();
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    QTest::keyClicks(mWindow->Edit("FNAME"), "Bob");
    mResponder.QueueAnswer(false);
    EXPECT_TRUE(mWindow->close());
    EXPECT_EQ(StoredFirstName("Baker"), "");
    // Not editing: no question.
    const size_t asked = mResponder.Messages().size();
    Start();
    EXPECT_TRUE(mWindow->close());
    EXPECT_EQ(mResponder.Messages().size(), asked);
}

TEST_F(AddressMainTest, TabGoesFromOrgToAddressOne)
{
    {
        TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteBool("Adding", "SkipAddress2", true);
    }
    MakeFile({"Adams"});
    Start();
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    mWindow->Edit("ORG")->setFocus();
    QTest::keyClick(mWindow->Edit("ORG"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), mWindow->Edit("STREET"));
    QTest::keyClicks(QApplication::focusWidget(), "1 Main St");
    EXPECT_EQ(mWindow->Book().DataSet().AsString("STREET"), "1 Main St");
    qm::test::SaveScreenshot(*mWindow, "main-tab-from-org");
    // The date's button and each phone's dial button follow their fields.
    mWindow->Edit("COUNTRY")->setFocus();
    QStringList stops;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        stops << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(stops, (QStringList{"EditDisplayDate", "DateButton", "EditPHONE", "EditPHONE2",
                                  "EditFAX"})); // the dial buttons are hidden while editing
    mWindow->Action("SaveItem")->trigger();

    // While adding with Address 2 skipped: Org, Address 1, City.
    QTest::mouseClick(mWindow->Button("AddButton"), Qt::LeftButton);
    mWindow->Edit("ORG")->setFocus();
    QTest::keyClick(mWindow->Edit("ORG"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), mWindow->Edit("STREET"));
    QTest::keyClick(mWindow->Edit("STREET"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), mWindow->Edit("CITY"));
    // The page tabs come after the last stop of the page.
    mWindow->TaggedCheck()->setFocus();
    QTest::keyClick(mWindow->TaggedCheck(), Qt::Key_Tab);
    EXPECT_TRUE(qobject_cast<QTabBar*>(QApplication::focusWidget()));
}

TEST_F(AddressMainTest, DateAndTaggedWorkWhileAddingTheFirstRecord)
{
    MakeFile({});
    Start();
    QTest::mouseClick(mWindow->Button("AddButton"), Qt::LeftButton);
    ASSERT_TRUE(mWindow->Book().DataSet().Editing());
    QTest::keyClicks(mWindow->Edit("LNAME"), "Adams");
    EXPECT_TRUE(mWindow->Button("DateButton")->isEnabled());
    EXPECT_TRUE(mWindow->TaggedCheck()->isEnabled());
    EXPECT_FALSE(mWindow->Memo()->isReadOnly());
    QTest::mouseClick(mWindow->TaggedCheck(), Qt::LeftButton);
    EXPECT_TRUE(mWindow->TaggedCheck()->isChecked());
    EXPECT_TRUE(mWindow->Book().DataSet().Editing()); // still adding: Save or Cancel decide
    EXPECT_EQ(mWindow->Book().DataSet().Table().RecordCount(), 0u);
    qm::test::SaveScreenshot(*mWindow, "main-adding-first-record");
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<TSelectDateDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton*>("Today")->click();
        dialog->findChild<QPushButton*>("Ok")->click();
    });
    QTest::mouseClick(mWindow->Button("DateButton"), Qt::LeftButton);
    EXPECT_EQ(mWindow->Book().DataSet().AsString("DATE"),
              QDate::currentDate().toString("yyyyMMdd"));
    EXPECT_EQ(mWindow->Book().DataSet().State(), qm::data::TDataState::Insert);
    QTest::mouseClick(mWindow->Button("SaveButton"), Qt::LeftButton);
    ASSERT_EQ(mWindow->Book().DataSet().Table().RecordCount(), 1u);
    EXPECT_EQ(mWindow->Book().DataSet().AsString("TAG"), mWindow->Book().TagIdentifier());
    EXPECT_TRUE(mWindow->TaggedCheck()->isChecked());
    EXPECT_EQ(mWindow->Book().DataSet().AsString("DATE"),
              QDate::currentDate().toString("yyyyMMdd"));
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

TEST_F(AddressMainTest, PrintEnvelopesOpensItsWindowAndGivesThePrinterSetUpBack)
{
    MakeFile({"Adams", "Baker"});
    Start();
    qm::print::TRPDevice& device = qm::print::TRPDevice::Instance();
    device.SetPaperSize(1);
    device.SetOrientation(qm::print::TOrientation::poPortrait);
    QString title;
    QString record;
    QTimer::singleShot(0, [&] {
        auto* window =
            dynamic_cast<qm::envelopes::TQMEnvelopes*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        title = window->windowTitle();
        record = window->RecordLabel()->text();
        EXPECT_TRUE(window->NewButton()->isEnabled());
        qm::test::SaveScreenshot(*window, "main-print-envelope");
        // What an envelope job leaves on the printer.
        device.SetPaperSize(20);
        device.SetOrientation(qm::print::TOrientation::poLandScape);
        window->OkButton()->click();
    });
    mWindow->Action("PrintEnvelopesItem")->trigger();
    EXPECT_EQ(title, "Print Envelope");
    EXPECT_TRUE(record.endsWith("Adams\n\n")) << record.toStdString();
    EXPECT_EQ(device.Setup().paperSize, 1);
    EXPECT_EQ(device.CurrentOrientation(), qm::print::TOrientation::poPortrait);
    EXPECT_TRUE(mWindow->Action("PrintEnvelopesItem")->isEnabled());
    EXPECT_TRUE(mResponder.Texts().isEmpty()) << mResponder.Texts().join('|').toStdString();
}

TEST_F(AddressMainTest, ADamagedMemoIsNamedAndTheWindowStays)
{
    const QString path = MakeFile({"Able", "Baker", "Charlie"});
    {
        qm::data::TDataSet ds;
        qm::data::TAddressFile::DeclareFieldObjects(ds);
        ASSERT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
        ds.GoTo(2);
        ds.Edit();
        ds.SetAsString("MEMO", "a note on Baker");
        ds.Post();
    }
    // The memo's block header claims far more bytes than the memo file holds.
    QFile memo(mHome.Path("DATA/ADD0001.FPT"));
    ASSERT_TRUE(memo.open(QIODevice::ReadWrite));
    const QByteArray bytes = memo.readAll();
    const qsizetype note = bytes.indexOf("a note on Baker");
    ASSERT_GT(note, 8);
    memo.seek(note - 4);
    memo.write(QByteArray::fromHex("7FFFFFF0"));
    memo.close();

    Start();
    ASSERT_EQ(Shown("LNAME"), "Able");
    mWindow->Action("NextItem")->trigger();
    QCoreApplication::processEvents();
    // The record shows with an empty memo, and the reason is named once.
    EXPECT_EQ(Shown("LNAME"), "Baker");
    EXPECT_TRUE(mWindow->Memo()->toPlainText().isEmpty());
    ASSERT_EQ(mResponder.Texts().size(), 1);
    EXPECT_TRUE(mResponder.Texts().front().contains("ADD0001.FPT"))
        << mResponder.Texts().front().toStdString();
    mWindow->Action("NextItem")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown("LNAME"), "Charlie");
    EXPECT_EQ(mResponder.Texts().size(), 1);
    mWindow->Action("PriorItem")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(mResponder.Texts().size(), 2) << "named again on coming back";

    // Its other fields can still be edited and saved; the memo is left as it was.
    QTest::mouseClick(mWindow->Button("EditButton"), Qt::LeftButton);
    QTest::keyClicks(mWindow->Edit("FNAME"), "Bea");
    QTest::mouseClick(mWindow->Button("SaveButton"), Qt::LeftButton);
    EXPECT_FALSE(mWindow->Book().DataSet().Editing());
    EXPECT_EQ(Shown("FNAME"), "Bea");
    mWindow.reset();
    EXPECT_EQ(StoredFirstName("Baker"), "Bea");
    EXPECT_EQ(mResponder.Texts().size(), 2) << mResponder.Texts().join('|').toStdString();
}

TEST_F(AddressMainTest, ACommandThatFailsHalfWayIsNamedAndTheWindowGoesOn)
{
    MakeFile({"Able", "Baker"});
    Start();
    mWindow->SetDialogHook([](QDialog&) { throw std::runtime_error("the disk is full"); });
    mWindow->Action("SearchItem")->trigger();
    mWindow->SetDialogHook({});
    ASSERT_FALSE(mResponder.Texts().isEmpty());
    EXPECT_EQ(mResponder.Texts().back(), "the disk is full");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    mWindow->Action("NextItem")->trigger();
    EXPECT_EQ(Shown("LNAME"), "Baker");
}
