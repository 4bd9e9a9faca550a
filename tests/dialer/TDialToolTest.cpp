// "quillmark-tool dial" run in-process against the test modem.

#include "tools/TToolCommand.h"

#include "TPtyModem.h"
#include "TTestHome.h"
#include "data/TSettingsFile.h"

#include <gtest/gtest.h>
#include <sstream>

using qm::tools::RunTool;

namespace {

class DialToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString whyNot;
        mModem = qm::test::TPtyModem::Create(whyNot);
        if (!mModem)
            GTEST_SKIP() << "No pseudo-terminal for the test modem: " << whyNot.toStdString();
        mPty = mModem->DevicePath().toStdString();
    }

    int Run(std::vector<std::string> args)
    {
        mOut.str({});
        mErr.str({});
        args.insert(args.begin(), "dial");
        return RunTool(args, mOut, mErr);
    }

    qm::test::TTestHome mHome;
    std::unique_ptr<qm::test::TPtyModem> mModem;
    std::string mPty;
    std::ostringstream mOut, mErr;
};

} // namespace

TEST_F(DialToolTest, DialsThroughTheDeviceAndHangsUpAfterTheGivenSeconds)
{
    EXPECT_EQ(
        Run({"--device", mPty, "--pulse", "--prefix", "9", "--hangup-after", "0", "555-0100"}), 0)
        << mErr.str();
    EXPECT_EQ(mOut.str(), "Pick up phone\n");
    EXPECT_EQ(mErr.str(), "");
    EXPECT_EQ(mModem->Received(), "ATDP9555-0100\r\nATH\r\n");
}

TEST_F(DialToolTest, APortChoiceTakesItsDeviceFromTheSettingsFile)
{
    qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
    settings.WriteString("Dialing", "Device2", mModem->DevicePath());
    EXPECT_EQ(Run({"--port", "2", "--hangup-after", "0", "555 0100"}), 0) << mErr.str();
    EXPECT_EQ(mModem->Received(), "ATDT555 0100\r\nATH\r\n");

    // Without --port, the window's last port.
    settings.WriteInteger("Dialing", "Port", 1);
    mModem->ClearReceived();
    mModem->SetDialReply("\r\nNO CARRIER\r\n");
    EXPECT_EQ(Run({"--hangup-after", "0", "1"}), 1);
    EXPECT_EQ(mOut.str(), "");
    EXPECT_EQ(mErr.str(), "The modem answered NO CARRIER\nCOM2 (" + mPty + ")\n");
    EXPECT_EQ(mModem->Received(), "ATDT1\r\nATH\r\n");
}

TEST_F(DialToolTest, RefusedNumbersMissingDevicesAndBadUsageHaveTheirExitCodes)
{
    EXPECT_EQ(Run({"--device", mPty, "555\n0100"}), 1);
    EXPECT_EQ(mErr.str(), "The number contains a character that cannot be dialled: U+000A\n");
    EXPECT_EQ(Run({"--device", "/dev/quillmark-no-such-tty", "555"}), 3);
    EXPECT_EQ(mErr.str(), "Unable to open /dev/quillmark-no-such-tty\nThere is no such device.\n");
    EXPECT_TRUE(mModem->Received().isEmpty());

    EXPECT_EQ(Run({}), 2);
    EXPECT_NE(mErr.str().find("NUMBER missing"), std::string::npos);
    EXPECT_EQ(Run({"--port", "5", "1"}), 2);
    EXPECT_EQ(Run({"--port", "1", "--device", mPty, "1"}), 2);
    EXPECT_EQ(Run({"--hangup-after", "soon", "1"}), 2);
    EXPECT_EQ(Run({"1", "2"}), 2);
    EXPECT_EQ(Run({"--tone", "1"}), 2);
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(mOut.str().find("--hangup-after"), std::string::npos);
    EXPECT_NE(mOut.str().find("Exit codes: 0 dialled"), std::string::npos);
}
