#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "addressbook/ui/TAddressMain.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TSettingsFile.h"
#include "letters/ui/TqMLetters.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using qm::addressbook::TAddressMain;

// The main window's "Print Letters" command: the letters window with the main window's records
// handed over, and everything put back afterwards.
TEST(PrintLettersCommandTest, OpensTheLettersWindowWithItsHandOver)
{
    qm::test::TTestHome home;
    qm::test::TScriptedResponder responder;
    qm::data::TSettingsFile(home.Home().SettingsPath()).WriteBool("Misc", "GettingStarted", true);
    QDir().mkpath(home.Path("DATA"));
    const QString path = home.Path("DATA/ADD0001.DBF");
    ASSERT_EQ(qm::data::TAddressFile::Create(path, {}), QString());
    {
        qm::data::TDataSet ds;
        qm::data::TAddressFile::DeclareFieldObjects(ds);
        ASSERT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
        for (const char* last : {"Adams", "Baker"}) {
            ds.Append();
            ds.SetAsString("LNAME", QString::fromLatin1(last));
            ds.Post();
        }
    }
    TAddressMain window;
    window.show();
    QTest::qWait(20);
    QCoreApplication::processEvents();
    window.Book().Last();
    const uint32_t recNo = window.Book().DataSet().RecNo();

    bool opened = false;
    window.SetDialogHook([&](QDialog& dialog) {
        auto* letters = dynamic_cast<qm::letters::TqMLetters*>(&dialog);
        ASSERT_NE(letters, nullptr);
        opened = true;
        EXPECT_EQ(letters->windowTitle(), "Print Letters");
        EXPECT_TRUE(window.Book().DataSet().ControlsDisabled());
        EXPECT_FALSE(letters->FilterButton()->isEnabled()); // no filter set
        // Moving the records inside the window...
        window.Book().DataSet().First();
        QTimer::singleShot(0, letters, [letters] { letters->accept(); });
    });
    ASSERT_TRUE(window.Action("PrintLettersItem")->isEnabled());
    window.Action("PrintLettersItem")->trigger();
    window.SetDialogHook({});
    EXPECT_TRUE(opened);
    EXPECT_FALSE(responder.Texts().join('\n').contains("not part of this version"));
    // ...leaves the main window where it was.
    EXPECT_FALSE(window.Book().DataSet().ControlsDisabled());
    EXPECT_EQ(window.Book().DataSet().RecNo(), recNo);
    EXPECT_TRUE(QFile::exists(home.Path("sysdata/LETTER.DBF")) ||
                QFile::exists(home.Path("sysdata/letter.dbf")));
}

} // namespace
