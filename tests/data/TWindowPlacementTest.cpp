#include "data/ui/TWindowPlacement.h"
#include "data/TSettingsFile.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <cstdlib>

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

TEST_F(WindowPlacementTest, StoredRectangleIsMovedOntoTheScreenAndSavedAtOnce)
{
    mSettings.WriteInteger(mSection, "Left", mScreen.width() - 300);
    mSettings.WriteInteger(mSection, "Top", mScreen.height() - 100);
    mSettings.WriteInteger(mSection, "Right", mScreen.width() + 300);
    mSettings.WriteInteger(mSection, "Bottom", mScreen.height() + 300);
    QMainWindow window;
    TWindowPlacement::Restore(window, "TAddressMain", mSettings);
    EXPECT_EQ(window.geometry(), QRect(mScreen.width() - 600, mScreen.height() - 400, 600, 400));
    EXPECT_EQ(mSettings.ReadInteger(mSection, "Left", 0), mScreen.width() - 600);
    EXPECT_EQ(mSettings.ReadInteger(mSection, "Right", 0), mScreen.width());
    EXPECT_FALSE(mSettings.ReadBool(mSection, "Maximized", true));
}

TEST_F(WindowPlacementTest, PlacementsLargerThanTheScreenAreFittedToIt)
{
    // Kept from a bigger screen or a smaller scaling: the title and menus must stay reachable.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    mSettings.WriteInteger(mSection, "Left", 100);
    mSettings.WriteInteger(mSection, "Top", 100);
    mSettings.WriteInteger(mSection, "Right", mScreen.width() + 676);
    mSettings.WriteInteger(mSection, "Bottom", mScreen.height() + 132);
    QMainWindow window;
    TWindowPlacement::Restore(window, "TAddressMain", mSettings);
    EXPECT_EQ(window.geometry(), area);
    EXPECT_EQ(mSettings.ReadInteger(mSection, "Left", -1), area.left());

    // Nothing stored and a default size larger than the screen: centred means fitted.
    TSettingsFile empty(QDir(mDir.path()).filePath("EMPTY.ini"));
    QMainWindow big;
    big.resize(area.width() + 400, area.height() + 300);
    TWindowPlacement::Restore(big, "TAddressMain", empty);
    EXPECT_EQ(big.geometry(), area);

    QWidget dialog;
    dialog.resize(area.width() * 2, 100);
    TWindowPlacement::Centre(dialog, nullptr);
    EXPECT_EQ(dialog.geometry().left(), area.left());
    EXPECT_EQ(dialog.width(), area.width());
}

TEST_F(WindowPlacementTest, OnlyMaximizedStoredCentresThenMaximises)
{
    mSettings.WriteBool(mSection, "Maximized", true);
    QMainWindow window;
    window.resize(400, 300);
    TWindowPlacement::Restore(window, "TAddressMain", mSettings);
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    const QRect normal =
        window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
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
    EXPECT_EQ(mSettings.ReadInteger(mSection, "Right", 0) -
                  mSettings.ReadInteger(mSection, "Left", 0),
              200);
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

TEST_F(WindowPlacementTest, DialogMadeBeforeItsLayoutIsCentredWithItsShownSize)
{
    QMainWindow main;
    main.setGeometry(
        QGuiApplication::primaryScreen()->availableGeometry().adjusted(20, 20, -20, -20));
    main.show();
    // As the dialogs do: centred in the constructor, before the layout has sized them.
    QDialog dialog(&main);
    auto* layout = new QVBoxLayout(&dialog);
    auto* body = new QWidget(&dialog);
    body->setMinimumSize(420, 260);
    layout->addWidget(body);
    TWindowPlacement::Centre(dialog, &main);
    dialog.show();
    const QRect shown = dialog.frameGeometry();
    EXPECT_GE(dialog.width(), 420);
    EXPECT_LE(std::abs(shown.center().x() - main.frameGeometry().center().x()), 1)
        << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
    EXPECT_LE(std::abs(shown.center().y() - main.frameGeometry().center().y()), 1);
    QCoreApplication::processEvents(); // painted: the user sees it and may move it
    dialog.hide();
    // Shown again later: left where it is.
    dialog.move(5, 5);
    dialog.show();
    EXPECT_EQ(dialog.pos(), QPoint(5, 5));
}

TEST_F(WindowPlacementTest, PlacementUnderAnOldClassNameIsReadOnceUnderTheNewName)
{
    const QString oldSection = TWindowPlacement::SectionFor(mProbe, "TAddressBrowseDialog");
    const QString section = TWindowPlacement::SectionFor(mProbe, "TAddressBrowseForm");
    mSettings.WriteInteger(oldSection, "Left", 10);
    mSettings.WriteInteger(oldSection, "Top", 20);
    mSettings.WriteInteger(oldSection, "Right", 410);
    mSettings.WriteInteger(oldSection, "Bottom", 320);
    mSettings.WriteBool(oldSection, "Maximized", true);
    TWindowPlacement::AdoptOldName(mProbe, "TAddressBrowseDialog", "TAddressBrowseForm", mSettings);
    EXPECT_EQ(mSettings.ReadInteger(section, "Left", 0), 10);
    EXPECT_EQ(mSettings.ReadInteger(section, "Bottom", 0), 320);
    EXPECT_TRUE(mSettings.ReadBool(section, "Maximized", false));
    EXPECT_FALSE(mSettings.HasKey(oldSection, "Bottom"));

    // Once the new name has a placement, an old one left behind is not taken.
    mSettings.WriteInteger(oldSection, "Bottom", 999);
    TWindowPlacement::AdoptOldName(mProbe, "TAddressBrowseDialog", "TAddressBrowseForm", mSettings);
    EXPECT_EQ(mSettings.ReadInteger(section, "Bottom", 0), 320);
}
