// The "Preferences" dialog driven through its controls: Ok writes every key of "Adding" as the
// program reads it back, Cancel leaves the settings file as it was, byte for byte.

#include "addressbook/ui/TPreferencesDialog.h"
#include "TScreenshot.h"
#include "TTestHome.h"
#include "addressbook/TPreferences.h"
#include "data/TSettingsFile.h"
#include "design/ui/TDesignDialogButtons.h"
#include "design/ui/TImbSettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace qm::addressbook;
using qm::data::TSettingsFile;

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A check box takes clicks on its box and caption only, so click near its left edge.
void ClickCheck(QCheckBox* check)
{
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
}

QPushButton* CancelButton(QDialog& dialog)
{
    auto* box = dialog.findChild<QDialogButtonBox*>();
    return box ? box->button(QDialogButtonBox::Cancel) : nullptr;
}

} // namespace

TEST(TPreferencesDialog, OkWritesEveryKeyAndTheCountryAsTyped)
{
    qm::test::TTestHome home;
    TSettingsFile settings(home.Home().SettingsPath());
    settings.WriteBool("Adding", "CarryOrg", true);
    TPreferencesDialog dialog(settings);
    dialog.show();
    EXPECT_TRUE(dialog.Check("CarryOrg")->isChecked()); // read when created
    EXPECT_FALSE(dialog.Check("PlugCityState")->isChecked());

    ClickCheck(dialog.Check("PlugCityState"));
    ClickCheck(dialog.Check("CarryOrg"));
    dialog.Check("skipState")->setFocus();
    QTest::keyClick(dialog.Check("skipState"), Qt::Key_Space);
    dialog.DefCountry()->setFocus();
    QTest::keyClicks(dialog.DefCountry(), "Canada  ");
    qm::test::SaveScreenshot(dialog, "preferences");
    QTest::mouseClick(dialog.findChild<QPushButton*>("OkButton"), Qt::LeftButton);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.ReadString("Adding", "PlugCityState"), "1");
    EXPECT_EQ(settings.ReadString("Adding", "CarryOrg"), "0");
    EXPECT_EQ(settings.ReadString("Adding", "PlugDate"), "0"); // every key is written
    const TPreferences read = TPreferences::Load(settings);
    EXPECT_TRUE(read.plugCityState);
    EXPECT_FALSE(read.carryOrg);
    EXPECT_TRUE(read.Skips(TSkip::State));
    EXPECT_FALSE(read.Skips(TSkip::Zip));
    EXPECT_EQ(read.defaultCountry, "Canada  ");
}

TEST(TPreferencesDialog, CancelAfterChangesLeavesTheFileUntouched)
{
    qm::test::TTestHome home;
    TSettingsFile settings(home.Home().SettingsPath());
    settings.WriteString("Misc", "Other", "kept");
    const QByteArray before = FileBytes(settings.Path());
    TPreferencesDialog dialog(settings);
    dialog.show();
    ClickCheck(dialog.Check("PlugDate"));
    EXPECT_TRUE(dialog.Check("PlugDate")->isChecked());
    QTest::keyClicks(dialog.DefCountry(), "France");
    ASSERT_NE(CancelButton(dialog), nullptr);
    QTest::mouseClick(CancelButton(dialog), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(FileBytes(settings.Path()), before);
}

TEST(TPreferencesDialog, OpensCentredOverTheMainWindow)
{
    qm::test::TTestHome home;
    TSettingsFile settings(home.Home().SettingsPath());
    QMainWindow main;
    main.setGeometry(
        QGuiApplication::primaryScreen()->availableGeometry().adjusted(20, 20, -20, -20));
    main.show();
    TPreferencesDialog dialog(settings, &main);
    dialog.show();
    QCoreApplication::processEvents();
    const QRect shown = dialog.frameGeometry();
    EXPECT_LE(std::abs(shown.center().x() - main.frameGeometry().center().x()), 1)
        << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
    EXPECT_LE(std::abs(shown.center().y() - main.frameGeometry().center().y()), 1);
    qm::test::SaveScreenScreenshot("preferences-over-main");
}

TEST(TPreferencesDialog, IntelligentMailButtonOpensTheBarcodeSettingsWhichWriteTheirOwnSection)
{
    qm::test::TTestHome home;
    TSettingsFile settings(home.Home().SettingsPath());
    TPreferencesDialog dialog(settings);
    dialog.show();
    ASSERT_NE(dialog.ImbSettingsButton(), nullptr);
    QTimer::singleShot(0, [] {
        auto* open =
            dynamic_cast<qm::design::TImbSettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(open, nullptr);
        open->ServiceTypeEdit()->setText("300");
        open->MailerIdEdit()->setText("123456");
        open->Buttons()->OkButton()->click();
    });
    dialog.ImbSettingsButton()->click();
    EXPECT_EQ(settings.ReadString("Intelligent Mail", "MailerId"), "123456");
    // Preferences' own Cancel does not take the barcode settings back.
    CancelButton(dialog)->click();
    EXPECT_EQ(settings.ReadString("Intelligent Mail", "ServiceType"), "300");
}
