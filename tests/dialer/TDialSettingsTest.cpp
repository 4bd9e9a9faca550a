// The dialer's keys in the settings file.

#include "dialer/TDialSettings.h"

#include "TTestHome.h"
#include "data/TSettingsFile.h"
#include "dialer/TSerialDevices.h"

#include <gtest/gtest.h>

using namespace qm::dialer;
using qm::data::TSettingsFile;

TEST(DialSettings, MissingKeysGiveComOneToneAndTheSystemDevices)
{
    qm::test::TTestHome home;
    const TDialSettings s = TDialSettings::Load(TSettingsFile(home.Home().SettingsPath()));
    EXPECT_EQ(s.prefix, "");
    EXPECT_EQ(s.init, "");
    EXPECT_EQ(s.port, TDialPort::dpCOM1);
    EXPECT_EQ(s.method, TDialMethod::dmTone);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.devices[size_t(i)], TSerialDevices::DefaultDevice(i));
#ifdef Q_OS_LINUX
    EXPECT_EQ(s.devices[3], "/dev/ttyS3");
#endif
}

TEST(DialSettings, OutOfRangeOrUnreadableValuesReadAsTheDefaults)
{
    qm::test::TTestHome home;
    TSettingsFile settings(home.Home().SettingsPath());
    for (const auto& [port, method] : {std::pair{"7", "3"}, std::pair{"abc", "abc"},
                                       std::pair{"-1", "-1"}, std::pair{"", "2"}}) {
        settings.WriteString("Dialing", "Port", port);
        settings.WriteString("Dialing", "Method", method);
        const TDialSettings s = TDialSettings::Load(settings);
        EXPECT_EQ(s.port, TDialPort::dpCOM1) << port;
        EXPECT_EQ(s.method, TDialMethod::dmTone) << method;
    }
    settings.WriteString("Dialing", "Port", "0x3");
    settings.WriteString("Dialing", "Method", "1");
    settings.WriteString("Dialing", "Device4", "   ");
    const TDialSettings s = TDialSettings::Load(settings);
    EXPECT_EQ(s.port, TDialPort::dpCOM4);
    EXPECT_EQ(s.method, TDialMethod::dmPulse);
    EXPECT_EQ(s.Device(), TSerialDevices::DefaultDevice(3)); // a blank device is no device
}

TEST(DialSettings, SaveWritesTheFourKeysAndOnlyTheChosenDevice)
{
    qm::test::TTestHome home;
    TSettingsFile settings(home.Home().SettingsPath());
    TDialSettings s;
    s.prefix = "9,";
    s.init = "AT&F";
    s.port = TDialPort::dpCOM2;
    s.method = TDialMethod::dmPulse;
    s.devices = {"/dev/a", "/dev/ttyUSB0", "/dev/c", "/dev/d"};
    s.Save(settings);
    EXPECT_EQ(settings.ReadString("Dialing", "Prefix"), "9,");
    EXPECT_EQ(settings.ReadString("Dialing", "Init"), "AT&F");
    EXPECT_EQ(settings.ReadInteger("Dialing", "Port", -1), 1);
    EXPECT_EQ(settings.ReadInteger("Dialing", "Method", -1), 1);
    EXPECT_EQ(settings.ReadString("Dialing", "Device2"), "/dev/ttyUSB0");
    EXPECT_FALSE(settings.HasKey("Dialing", "Device1"));
    const TDialSettings back = TDialSettings::Load(settings);
    EXPECT_EQ(back.prefix, "9,");
    EXPECT_EQ(back.port, TDialPort::dpCOM2);
    EXPECT_EQ(back.Device(), "/dev/ttyUSB0");
    EXPECT_EQ(TDialSettings::PortName(TDialPort::dpCOM2), "COM2");
    EXPECT_EQ(TDialSettings::PortCaption(TDialPort::dpCOM2), "COM 2");
}
