#include "addressbook/ui/TAddressMain.h"
#include "data/TSettingsFile.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using qm::addressbook::TAddressMain;
using qm::data::TSettingsFile;

TEST(TAddressMainFrame, FirstShowRestoresPlacementAndShowsTheEmptyState)
{
    qm::test::TTestHome home;
    TSettingsFile settings(home.Home().SettingsPath());
    settings.WriteInteger("TAddressMain_Placement", "Left", 20);
    settings.WriteInteger("TAddressMain_Placement", "Top", 30);
    settings.WriteInteger("TAddressMain_Placement", "Right", 720);
    settings.WriteInteger("TAddressMain_Placement", "Bottom", 530);

    TAddressMain window;
    window.show();
    EXPECT_EQ(window.windowTitle(), "Quillmark");
    EXPECT_EQ(window.EmptyStateText(), "Please Open or Create a Quillmark Address file");
    EXPECT_EQ(window.geometry(), QRect(20, 30, 700, 500));
}

TEST(TAddressMainFrame, ClosingSavesThePlacement)
{
    qm::test::TTestHome home;
    {
        TAddressMain window;
        window.show();
        window.setGeometry(40, 50, 650, 450);
        window.close();
    }
    TSettingsFile settings(home.Home().SettingsPath());
    EXPECT_EQ(settings.ReadInteger("TAddressMain_Placement", "Left", 0), 40);
    EXPECT_EQ(settings.ReadInteger("TAddressMain_Placement", "Top", 0), 50);
    EXPECT_EQ(settings.ReadInteger("TAddressMain_Placement", "Right", 0), 690);
    EXPECT_EQ(settings.ReadInteger("TAddressMain_Placement", "Bottom", 0), 500);
    EXPECT_FALSE(settings.ReadBool("TAddressMain_Placement", "Maximized", true));
}

TEST(TAddressMainFrame, ReadOnlySettingsFileIsReportedNotFatal)
{
    qm::test::TTestHome home;
    QFile f(home.Home().SettingsPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Misc]\nGettingStarted=1\n");
    f.close();
    QFile::setPermissions(f.fileName(), QFileDevice::ReadOwner);
    qm::test::TScriptedResponder responder;
    TAddressMain window;
    window.show();
    window.close();
    ASSERT_FALSE(responder.Texts().isEmpty());
    EXPECT_EQ(responder.Texts().first(), "Unable to write to " + home.Home().SettingsPath());
}
