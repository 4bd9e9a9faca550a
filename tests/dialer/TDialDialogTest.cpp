// "Dial Phone Number" driven offscreen through its controls, against the test modem.

#include "dialer/ui/TDialDialog.h"

#include "TPtyModem.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qm::dialer;
using qm::data::TSettingsFile;

namespace {

class DialDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString whyNot;
        mModem = qm::test::TPtyModem::Create(whyNot);
        mWhyNot = whyNot;
    }

    void RequireModem()
    {
        if (!mModem)
            GTEST_SKIP() << "No pseudo-terminal for the test modem: " << mWhyNot.toStdString();
    }

    std::unique_ptr<TDialDialog> Open(const QString& number)
    {
        auto dialog = std::make_unique<TDialDialog>(number);
        dialog->Dialer().SetTimeouts({300, 100});
        dialog->show();
        QCoreApplication::processEvents();
        return dialog;
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    std::unique_ptr<qm::test::TPtyModem> mModem;
    QString mWhyNot;
};

} // namespace

TEST_F(DialDialogTest, FirstOpeningShowsTheDefaultsAndHidesTheSetUpString)
{
    auto dialog = Open("555-0100");
    EXPECT_EQ(dialog->windowTitle(), "Dial Phone Number");
    EXPECT_EQ(dialog->NumberEdit()->text(), "555-0100");
    EXPECT_EQ(dialog->PrefixEdit()->text(), "");
    EXPECT_EQ(dialog->PortCombo()->currentText(), "COM 1");
    EXPECT_EQ(dialog->PortCombo()->count(), 4);
    EXPECT_EQ(dialog->PortCombo()->itemText(3), "COM 4");
    EXPECT_TRUE(dialog->ToneRadio()->isChecked());
    EXPECT_FALSE(dialog->InitEdit()->isVisible());
    EXPECT_TRUE(dialog->HelpButton()->isVisible());
    EXPECT_EQ(dialog->DialButton()->text(), "Dial");
    EXPECT_EQ(dialog->CancelButton()->text(), "Cancel");
#ifdef Q_OS_LINUX
    EXPECT_EQ(dialog->DeviceCombo()->currentText(), "/dev/ttyS0");
    dialog->PortCombo()->setCurrentIndex(2);
    EXPECT_EQ(dialog->DeviceCombo()->currentText(), "/dev/ttyS2");
#endif
    qm::test::SaveScreenshot(*dialog, "dial-dialog");

    QTest::mouseClick(dialog->HelpButton(), Qt::LeftButton);
    ASSERT_NE(qm::data::THelpWindow::Instance(), nullptr);
    EXPECT_EQ(qm::data::THelpWindow::Instance()->CurrentPage(), "dial-phone.html");
    qm::data::THelpWindow::Instance()->close();
}

TEST_F(DialDialogTest, DialSendsThePrefixedNumberSavesTheChoicesAndStaysOpen)
{
    RequireModem();
    TSettingsFile settings(mHome.Home().SettingsPath());
    settings.WriteString("Dialing", "Init", "AT&F");
    auto dialog = Open("555-0100");
    EXPECT_EQ(dialog->InitEdit()->text(), "AT&F");
    QTest::keyClicks(dialog->PrefixEdit(), "9");
    dialog->PortCombo()->setCurrentIndex(1);
    dialog->DeviceCombo()->setEditText(mModem->DevicePath());
    QTest::mouseClick(dialog->PulseRadio(), Qt::LeftButton);
    QTest::mouseClick(dialog->DialButton(), Qt::LeftButton);

    EXPECT_EQ(mModem->Received(), "ATDP9555-0100\r\nATH\r\n");
    EXPECT_EQ(mResponder.Texts(), QStringList{"Pick up phone"});
    ASSERT_TRUE(dialog->LastOutcome().has_value());
    EXPECT_EQ(*dialog->LastOutcome(), TDialer::TOutcome::Dialled);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->HelpButton()->isVisible());
    EXPECT_TRUE(dialog->DialButton()->isEnabled());
    EXPECT_EQ(settings.ReadString("Dialing", "Prefix"), "9");
    EXPECT_EQ(settings.ReadString("Dialing", "Init"), "AT&F");
    EXPECT_EQ(settings.ReadInteger("Dialing", "Port", -1), 1);
    EXPECT_EQ(settings.ReadInteger("Dialing", "Method", -1), 1);
    EXPECT_EQ(settings.ReadString("Dialing", "Device2"), mModem->DevicePath());

    // Cancel closes it; the next opening starts from what this dial saved.
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    auto again = Open("555-0199");
    EXPECT_EQ(again->PrefixEdit()->text(), "9");
    EXPECT_EQ(again->PortCombo()->currentIndex(), 1);
    EXPECT_EQ(again->DeviceCombo()->currentText(), mModem->DevicePath());
    EXPECT_TRUE(again->PulseRadio()->isChecked());
    mModem->ClearReceived();
    QTest::mouseClick(again->DialButton(), Qt::LeftButton);
    EXPECT_EQ(mModem->Received(), "ATDP9555-0199\r\nATH\r\n");
}

TEST_F(DialDialogTest, EmptyNumberDialsThePrefixAloneAndAFailureKeepsTheDialogUsable)
{
    RequireModem();
    auto dialog = Open("");
    dialog->DeviceCombo()->setEditText(mModem->DevicePath());
    QTest::mouseClick(dialog->DialButton(), Qt::LeftButton);
    EXPECT_EQ(mModem->Received(), "ATDT\r\nATH\r\n");

    mModem->ClearReceived();
    mModem->SuspendOutput(true);
    QTest::mouseClick(dialog->DialButton(), Qt::LeftButton);
    EXPECT_EQ(*dialog->LastOutcome(), TDialer::TOutcome::WriteFailed);
    EXPECT_TRUE(mResponder.Texts().back().startsWith("Unable to dial number\nCOM1 (" +
                                                     mModem->DevicePath() + "): "));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->DialButton()->isEnabled());
    mModem->SuspendOutput(false);
}

TEST_F(DialDialogTest, DialAndCancelAreDisabledWhileTheDialWaits)
{
    RequireModem();
    auto dialog = Open("555");
    dialog->DeviceCombo()->setEditText(mModem->DevicePath());
    mModem->SuspendOutput(true);
    bool dialEnabled = true, cancelEnabled = true, stillOpen = false;
    QTimer::singleShot(100, [&] {
        dialEnabled = dialog->DialButton()->isEnabled();
        cancelEnabled = dialog->CancelButton()->isEnabled();
        dialog->reject(); // Esc while dialling is refused
        stillOpen = dialog->isVisible() && dialog->Dialing();
    });
    QTest::mouseClick(dialog->DialButton(), Qt::LeftButton);
    EXPECT_FALSE(dialEnabled);
    EXPECT_FALSE(cancelEnabled);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(dialog->isVisible());
    mModem->SuspendOutput(false);
}
