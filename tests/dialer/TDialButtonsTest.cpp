// The main window's two Dial buttons open "Dial Phone Number" on the record's phone numbers.

#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "addressbook/ui/TAddressMain.h"
#include "data/TAddressFile.h"
#include "data/TSettingsFile.h"
#include "dialer/ui/TDialDialog.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(DialButtons, EachButtonOpensTheDialerOnItsPhoneField)
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
        ds.Append();
        ds.SetAsString("LNAME", "Avery");
        ds.SetAsString("PHONE", "555-0100");
        ds.SetAsString("PHONE2", "(555) 0199");
        ds.Post();
    }
    qm::addressbook::TAddressMain window;
    window.show();
    QTest::qWait(20);
    QCoreApplication::processEvents();

    QStringList numbers, titles;
    window.SetDialogHook([&](QDialog& dialog) {
        auto* dial = dynamic_cast<qm::dialer::TDialDialog*>(&dialog);
        ASSERT_NE(dial, nullptr);
        QTimer::singleShot(0, dial, [&numbers, &titles, dial] {
            numbers << dial->NumberEdit()->text();
            titles << dial->windowTitle();
            dial->reject();
        });
    });
    for (const char* name : {"Dial1Button", "Dial2Button"}) {
        auto* button = window.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_EQ(numbers, (QStringList{"555-0100", "(555) 0199"}));
    EXPECT_EQ(titles, (QStringList{"Dial Phone Number", "Dial Phone Number"}));
    EXPECT_FALSE(responder.Texts().join('\n').contains("not part of this version"));
    window.SetDialogHook({});
}
