// The dialer against a test modem on a pseudo-terminal (and a fake port for what a terminal
// cannot do), with short time limits.

#include "dialer/TDialer.h"

#include "TPtyModem.h"
#include "TScriptedResponder.h"
#include "dialer/TModemPort.h"
#include "dialer/TSerialDevices.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qm::dialer;
using TOutcome = TDialer::TOutcome;

namespace {

class DialerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString whyNot;
        mModem = qm::test::TPtyModem::Create(whyNot);
        if (!mModem)
            GTEST_SKIP() << "No pseudo-terminal for the test modem: " << whyNot.toStdString();
        mDialer.Device = mModem->DevicePath();
        mDialer.SetTimeouts({200, 100});
    }

    // The port is free again: another opener gets it.
    bool PortIsFree() const
    {
        QSerialPort other(mModem->DevicePath());
        return other.open(QIODevice::ReadWrite);
    }

    QString Name(const QString& com = QStringLiteral("COM1")) const
    {
        return com + " (" + mModem->DevicePath() + ")";
    }

    qm::test::TScriptedResponder mResponder;
    std::unique_ptr<qm::test::TPtyModem> mModem;
    TDialer mDialer;
};

} // namespace

TEST_F(DialerTest, PrefixNineOnComTwoWithPulseSendsExactlyTheCommandThenTheHangUp)
{
    mDialer.ComPort = TDialPort::dpCOM2;
    mDialer.Method = TDialMethod::dmPulse;
    mDialer.NumberToDial = QStringLiteral("9") + QStringLiteral("555-0100");
    mDialer.Confirm = true;
    mResponder.QueueAnswer(true);
    EXPECT_EQ(mDialer.Dial(), TOutcome::Dialled);
    EXPECT_EQ(mModem->Received(), "ATDP9555-0100\r\nATH\r\n");
    ASSERT_EQ(mResponder.Messages().size(), 2u);
    EXPECT_EQ(mResponder.Messages()[0].caption, "DIAL");
    EXPECT_EQ(mResponder.Messages()[0].text, "About to dial the number 9555-0100. Are you sure?");
    EXPECT_TRUE(mResponder.Messages()[0].isQuestion);
    EXPECT_EQ(mResponder.Messages()[1].text, "Pick up phone");
    EXPECT_EQ(mResponder.Messages()[1].caption, "Information");
    EXPECT_TRUE(PortIsFree());
}

TEST_F(DialerTest, TheHangUpWaitsForThePickUpAndAnEmptyNumberStillDials)
{
    QByteArray atPickUp;
    mDialer.SetPickUp([&] { atPickUp = mModem->Received(); });
    EXPECT_EQ(mDialer.Dial(), TOutcome::Dialled);
    EXPECT_EQ(atPickUp, "ATDT\r\n");
    EXPECT_EQ(mModem->Received(), "ATDT\r\nATH\r\n");
    EXPECT_TRUE(mResponder.Messages().empty());

    // Two dials in a row on the same port: the first released it.
    mModem->ClearReceived();
    mDialer.NumberToDial = "555";
    EXPECT_EQ(mDialer.Dial(), TOutcome::Dialled);
    EXPECT_EQ(mModem->Received(), "ATDT555\r\nATH\r\n");
}

TEST_F(DialerTest, AnsweringNoToTheConfirmationSendsNothing)
{
    mDialer.Confirm = true;
    mDialer.NumberToDial = "555-0100";
    mResponder.QueueAnswer(false);
    EXPECT_EQ(mDialer.Dial(), TOutcome::Declined);
    EXPECT_EQ(mResponder.Texts(), QStringList{"About to dial the number 555-0100. Are you sure?"});
    QCoreApplication::processEvents();
    EXPECT_TRUE(mModem->Received().isEmpty());
}

TEST_F(DialerTest, NumbersWithALineBreakOrALetterOutsideAsciiAreRefusedBeforeTheQuestion)
{
    mDialer.Confirm = true;
    for (const auto& [number, shown] :
         {std::pair{QStringLiteral("555\nAT&F&W"), QStringLiteral("U+000A")},
          std::pair{QStringLiteral("555-01é0"), QStringLiteral("é")}}) {
        mDialer.NumberToDial = number;
        EXPECT_EQ(mDialer.Dial(), TOutcome::Refused);
        ASSERT_FALSE(mResponder.Messages().empty());
        EXPECT_EQ(mResponder.Messages().back().text,
                  "The number contains a character that cannot be dialled: " + shown);
        EXPECT_EQ(mResponder.Messages().back().icon, qm::data::TMessageIcon::Error);
    }
    EXPECT_EQ(mResponder.Messages().size(), 2u); // no question was asked
    QCoreApplication::processEvents();
    EXPECT_TRUE(mModem->Received().isEmpty());
}

TEST_F(DialerTest, OpenFailuresNameThePortTheDeviceAndTheReason)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("ttyQM9");
    const QString plain = dir.filePath("plain");
    QFile(plain).open(QIODevice::WriteOnly);
    mDialer.ComPort = TDialPort::dpCOM3;
    for (const auto& [device, reason] :
         {std::pair{missing, QStringLiteral("There is no such device.")},
          std::pair{dir.path(), dir.path() + " is a folder, not a serial device."},
          std::pair{plain, plain + " is a plain file, not a serial device."}}) {
        mDialer.Device = device;
        EXPECT_EQ(mDialer.Dial(), TOutcome::OpenFailed);
        ASSERT_FALSE(mResponder.Messages().empty());
        EXPECT_EQ(mResponder.Messages().back().text,
                  "Unable to open COM3 (" + device + ")\n" + reason);
    }
    EXPECT_EQ(QFile(plain).size(), 0); // nothing was written into the plain file
}

TEST_F(DialerTest, APortAnotherProgramHoldsIsReportedAsInUseAndWorksOnceReleased)
{
    {
        QSerialPort holder(mModem->DevicePath());
        ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
        EXPECT_EQ(mDialer.Dial(), TOutcome::OpenFailed);
        ASSERT_EQ(mResponder.Messages().size(), 1u);
        EXPECT_EQ(mResponder.Texts().front(),
                  "Unable to open " + Name() + "\nThe device is in use by another program.");
    }
    EXPECT_EQ(mDialer.Dial(), TOutcome::Dialled);
    EXPECT_EQ(mModem->Received(), "ATDT\r\nATH\r\n");
}

TEST_F(DialerTest, ADeniedDeviceIsReportedWithTheHintAboutTheGroup)
{
    if (!mModem->DenyAccess())
        GTEST_SKIP() << "This process may open any device (it runs with administrator rights).";
    EXPECT_EQ(mDialer.Dial(), TOutcome::OpenFailed);
    EXPECT_EQ(mResponder.Texts(), QStringList{"Unable to open " + Name() + "\nPermission denied. " +
                                              qm::dialer::TSerialDevices::PermissionHint()});
}

TEST_F(DialerTest, ASilentModemIsNoErrorAfterTheAnswerWait)
{
    mModem->SetEcho(false);
    mModem->SetDialReply({});
    mDialer.SetTimeouts({200, 150});
    mDialer.NumberToDial = "555";
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(mDialer.Dial(), TOutcome::Dialled);
    EXPECT_GE(clock.elapsed(), 150);
    EXPECT_EQ(mResponder.Texts(), QStringList{"Pick up phone"});
    EXPECT_EQ(mModem->Received(), "ATDT555\r\nATH\r\n");
}

TEST_F(DialerTest, AModemAnsweringAnErrorIsReportedHungUpAndClosed)
{
    for (const char* word : {"ERROR", "NO DIALTONE", "BUSY"}) {
        mModem->ClearReceived();
        mModem->SetDialReply(QByteArray("\r\n") + word + "\r\n");
        mDialer.NumberToDial = "5W5";
        EXPECT_EQ(mDialer.Dial(), TOutcome::ModemRefused) << word;
        EXPECT_EQ(mResponder.Texts().back(),
                  QStringLiteral("The modem answered ") + word + "\n" + Name());
        EXPECT_FALSE(mResponder.Texts().contains("Pick up phone"));
        EXPECT_EQ(mModem->Received(), "ATDT5W5\r\nATH\r\n");
        EXPECT_TRUE(PortIsFree());
    }
}

TEST_F(DialerTest, APortThatNeverTakesDataGivesUpAtTheLimitWhileTheEventLoopRuns)
{
    mModem->SuspendOutput(true);
    mDialer.ComPort = TDialPort::dpCOM2;
    mDialer.NumberToDial = "555";
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(mDialer.Dial(), TOutcome::WriteFailed);
    const qint64 took = clock.elapsed();
    EXPECT_GE(took, 200);
    EXPECT_LT(took, 2000);
    EXPECT_GE(ticks, 5); // the window's timers were served during the wait
    EXPECT_EQ(mResponder.Texts(),
              QStringList{"Unable to dial number\n" + Name("COM2") +
                          ": The port took no data for 0.2 seconds. Is the modem switched on and "
                          "connected?"});
    EXPECT_TRUE(PortIsFree());
    mModem->SuspendOutput(false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(mModem->Received().isEmpty()); // the closed port dropped what it held
}

TEST_F(DialerTest, AHangUpThatCannotBeWrittenIsReportedNotIgnored)
{
    mModem->SetSuspendAfterDial(true);
    mDialer.NumberToDial = "555";
    EXPECT_EQ(mDialer.Dial(), TOutcome::HangUpFailed);
    const QStringList texts = mResponder.Texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], "Pick up phone");
    EXPECT_TRUE(texts[1].startsWith("Unable to hang up the modem\n" + Name() +
                                    ": The port took no data for 0.2 seconds."))
        << texts[1].toStdString();
    EXPECT_EQ(mModem->Received(), "ATDT555\r\n");
    EXPECT_TRUE(PortIsFree());
}

namespace {

// A port whose device fails as the test says: at once on write, or later while the dialer waits.
class TFailingDevice : public QIODevice {
public:
    bool failAtOnce = true;
    qint64 bytesToWrite() const override { return mPending; }

protected:
    qint64 readData(char*, qint64) override { return 0; }
    qint64 writeData(const char*, qint64 len) override
    {
        if (failAtOnce) {
            setErrorString("Input/output error");
            return -1;
        }
        mPending += len;
        return len;
    }

private:
    qint64 mPending = 0;
};

class TFakePort : public TModemPort {
public:
    TFailingDevice device;
    TFailureHandler onFailure;
    int opens = 0, closes = 0;

    bool Open(const QString&, QString&) override
    {
        ++opens;
        return device.open(QIODevice::ReadWrite);
    }
    QIODevice* Io() override { return &device; }
    void Close() override
    {
        if (device.isOpen()) {
            ++closes;
            device.close();
        }
    }
    void SetFailureHandler(TFailureHandler handler) override { onFailure = std::move(handler); }
};

} // namespace

TEST(DialerFakePort, WriteErrorsEndTheDialWithTheDevicesReasonAndClosedPort)
{
    qm::test::TScriptedResponder responder;
    auto owned = std::make_unique<TFakePort>();
    TFakePort& port = *owned;
    TDialer dialer(std::move(owned));
    dialer.ComPort = TDialPort::dpCOM4;
    dialer.Device = "fake";
    dialer.SetTimeouts({5000, 100});
    EXPECT_EQ(dialer.Dial(), TOutcome::WriteFailed);
    EXPECT_EQ(responder.Texts(),
              QStringList{"Unable to dial number\nCOM4 (fake): Input/output error"});
    EXPECT_EQ(port.closes, 1);

    // A failure the device reports during the wait ends it long before the limit.
    port.device.failAtOnce = false;
    QTimer::singleShot(20, [&] { port.onFailure("The device was unplugged."); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(dialer.Dial(), TOutcome::WriteFailed);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(responder.Texts().back(),
              "Unable to dial number\nCOM4 (fake): The device was unplugged.");
    EXPECT_EQ(port.opens, 2);
    EXPECT_EQ(port.closes, 2);
}
