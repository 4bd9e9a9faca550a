#include "data/TSettingsFile.h"
#include "data/ui/TWindowPlacement.h"

#include <QDir>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using qm::data::TSettingsFile;
using qm::data::TWindowPlacement;

namespace {

class WindowPlacementTest : public ::testing::Test {
protected:
    QTemporaryDir mDir;
    TSettingsFile mSettings{QDir(mDir.path()).filePath("QUILLM.ini")};
    QRect mScreen = QGuiApplication::primaryScreen()->geometry();
    QMainWindow mProbe;
    // The section of this screen's resolution: "TAddressMain_Placement" at 100 % scaling.
    QString mSection = TWindowPlacement::SectionFor(mProbe, "TAddressMain");
};

} // namespace

TEST_F(WindowPlacementTest, StoredRectangleIsRestoredShiftedAndSavedAtOnce)
{
    mSettings.WriteInteger(mSection, "Left", 100);
    mSettings.WriteInteger(mSection, "Top", 100);
    mSettings.WriteInteger(mSection, "Right", mScreen.width() + 676);
    mSettings.WriteInteger(mSection, "Bottom", mScreen.height() + 132);
    QMainWindow window;
    TWindowPlacement::Restore(window, "TAddressMain", mSettings);
    EXPECT_EQ(window.geometry(), QRect(-576, -32, mScreen.width() + 576, mScreen.height() + 32));
    EXPECT_EQ(mSettings.ReadInteger(mSection, "Left", 0), -576);
    EXPECT_EQ(mSettings.ReadInteger(mSection, "Right", 0), mScreen.width());
    EXPECT_FALSE(mSettings.ReadBool(mSection, "Maximized", true));
}

TEST_F(WindowPlacementTest, OnlyMaximizedStoredCentresThenMaximises)
{
    mSettings.WriteBool(mSection, "Maximized", true);
    QMainWindow window;
    window.resize(400, 300);
    TWindowPlacement::Restore(window, "TAddressMain", mSettings);
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    const QRect normal = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    EXPECT_EQ(normal.topLeft(), QPoint((mScreen.width() - 400) / 2, (mScreen.height() - 300) / 2));
    EXPECT_TRUE(mSettings.ReadBool(mSection, "Maximized", false));
    EXPECT_EQ(mSettings.ReadInteger(mSection, "Bottom", 0), (mScreen.height() - 300) / 2 + 300);
}

TEST_F(WindowPlacementTest, EachResolutionKeepsItsOwnPlacement)
{
    mSettings.WriteInteger("TAddressMain_Placement120", "Left", 5);
    mSettings.WriteInteger("TAddressMain_Placement120", "Top", 6);
    mSettings.WriteInteger("TAddressMain_Placement120", "Right", 405);
    mSettings.WriteInteger("TAddressMain_Placement120", "Bottom", 306);
    QMainWindow window;
    if (TWindowPlacement::LogicalDpi(window) != 96)
        GTEST_SKIP() << "needs a screen at 96 pixels per inch";
    window.resize(200, 100);
    TWindowPlacement::Restore(window, "TAddressMain", mSettings); // at 96: nothing stored yet
    EXPECT_EQ(window.size(), QSize(200, 100));
    EXPECT_EQ(mSettings.ReadInteger("TAddressMain_Placement120", "Left", 0), 5);
    EXPECT_EQ(mSettings.ReadInteger(mSection, "Right", 0) - mSettings.ReadInteger(mSection, "Left", 0), 200);
}

TEST_F(WindowPlacementTest, DialogsCentreOnTheMainWindowOrTheScreen)
{
    QMainWindow main;
    main.setGeometry(100, 50, 633, 435);
    QWidget dialog;
    dialog.resize(300, 200);
    TWindowPlacement::Centre(dialog, &main);
    EXPECT_EQ(dialog.pos(), QPoint(266, 167));
    main.showMaximized();
    TWindowPlacement::Centre(dialog, &main);
    EXPECT_EQ(dialog.pos(), QPoint((mScreen.width() - 300) / 2, (mScreen.height() - 200) / 2));
}
