#include "dialer/TDialer.h"

#include "data/TMessageService.h"
#include "dialer/TDialCommand.h"
#include "dialer/TDialSettings.h"
#include "dialer/TModemAnswer.h"
#include "dialer/TSerialDevices.h"
#include "dialer/TSerialModemPort.h"

#include <QEventLoop>
#include <QIODevice>
#include <QTimer>

namespace qm::dialer {
namespace {

using data::TMessageService;

QString Seconds(int ms)
{
    if (ms % 1000 == 0)
        return ms == 1000 ? QStringLiteral("1 second")
                          : QStringLiteral("%1 seconds").arg(ms / 1000);
    return QStringLiteral("%1 seconds").arg(double(ms) / 1000.0, 0, 'g', 3);
}

// Closes the port when the dial ends, whichever way it ends.
class TCloseAtEnd {
public:
    explicit TCloseAtEnd(TModemPort& port) : mPort(port) {}
    ~TCloseAtEnd() { mPort.Close(); }

private:
    TModemPort& mPort;
};

} // namespace

TDialer::TDialer(std::unique_ptr<TModemPort> port) : mPort(std::move(port))
{
    if (!mPort)
        mPort = std::make_unique<TSerialModemPort>();
    mPort->SetFailureHandler([this](const QString& reason) {
        if (mFailure.isEmpty())
            mFailure = reason;
        if (mWaiting)
            mWaiting->quit();
    });
}

TDialer::~TDialer() = default;

QString TDialer::DeviceToOpen() const
{
    return Device.isEmpty() ? TSerialDevices::DefaultDevice(int(ComPort)) : Device;
}

QString TDialer::PortDisplayName() const
{
    if (!NameComPort)
        return DeviceToOpen();
    return TDialSettings::PortName(ComPort) + QStringLiteral(" (") + DeviceToOpen() +
           QLatin1Char(')');
}

void TDialer::ShowError(const QString& text)
{
    TMessageService::Error(mParent, QStringLiteral("Error"), text);
}

TDialer::TOutcome TDialer::Dial()
{
    const QString number = NumberToDial;
    if (const auto refused = TDialCommand::FirstRefused(number)) {
        ShowError(TDialCommand::RefusalText(*refused));
        return TOutcome::Refused;
    }
    if (Confirm && !TMessageService::Ask(mParent, QStringLiteral("DIAL"),
                                         QStringLiteral("About to dial the number ") + number +
                                             QStringLiteral(". Are you sure?")))
        return TOutcome::Declined;

    QString reason;
    mFailure.clear();
    if (!mPort->Open(DeviceToOpen(), reason)) {
        ShowError(QStringLiteral("Unable to open ") + PortDisplayName() + QLatin1Char('\n') +
                  reason);
        return TOutcome::OpenFailed;
    }
    TCloseAtEnd closeAtEnd(*mPort);

    const QByteArray command = TDialCommand::Dial(Method, number);
    if (!WriteAll(command, reason)) {
        mPort->Close();
        ShowError(QStringLiteral("Unable to dial number\n") + PortDisplayName() +
                  QStringLiteral(": ") + reason);
        return TOutcome::WriteFailed;
    }

    TOutcome outcome = TOutcome::Dialled;
    if (const QString word = ReadAnswer(command); !word.isEmpty()) {
        // Hang up first: the line should not stay busy while the message is read.
        outcome = TOutcome::ModemRefused;
        QString hangUpReason;
        const bool hungUp = WriteAll(TDialCommand::HangUp(), hangUpReason);
        mPort->Close();
        ShowError(QStringLiteral("The modem answered ") + word + QLatin1Char('\n') +
                  PortDisplayName());
        if (!hungUp)
            ShowError(QStringLiteral("Unable to hang up the modem\n") + PortDisplayName() +
                      QStringLiteral(": ") + hangUpReason);
        return outcome;
    }

    if (mPickUp)
        mPickUp();
    else
        TMessageService::Inform(mParent, QStringLiteral("Pick up phone"));

    if (!WriteAll(TDialCommand::HangUp(), reason)) {
        mPort->Close();
        ShowError(QStringLiteral("Unable to hang up the modem\n") + PortDisplayName() +
                  QStringLiteral(": ") + reason);
        return TOutcome::HangUpFailed;
    }
    return outcome;
}

bool TDialer::WriteAll(const QByteArray& bytes, QString& reason)
{
    QIODevice* io = mPort->Io();
    if (!mFailure.isEmpty()) {
        reason = mFailure;
        return false;
    }
    if (io->write(bytes) != bytes.size()) {
        reason = mFailure.isEmpty() ? io->errorString() : mFailure;
        if (reason.isEmpty())
            reason = QStringLiteral("The port did not take the command.");
        return false;
    }
    // Wait in an event loop of our own (the window keeps painting, timers keep firing) until the
    // port has passed every byte to the system or the limit is reached.
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer); // a coarse timer may run 5 % late
    bool timedOut = false;
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    const auto check = [&] {
        if (io->bytesToWrite() == 0 || !mFailure.isEmpty())
            loop.quit();
    };
    QObject::connect(io, &QIODevice::bytesWritten, &loop, check);
    limit.start(mTimeouts.writeMs);
    if (io->bytesToWrite() > 0 && mFailure.isEmpty())
        RunWait(loop);
    if (!mFailure.isEmpty()) {
        reason = mFailure;
        return false;
    }
    if (timedOut && io->bytesToWrite() > 0) {
        reason = QStringLiteral("The port took no data for %1. Is the modem switched on and "
                                "connected?")
                     .arg(Seconds(mTimeouts.writeMs));
        return false;
    }
    return true;
}

void TDialer::RunWait(QEventLoop& loop)
{
    mWaiting = &loop;
    loop.exec(QEventLoop::AllEvents);
    mWaiting = nullptr;
}

QString TDialer::ReadAnswer(const QByteArray& command)
{
    QIODevice* io = mPort->Io();
    TModemAnswer answer(command);
    QEventLoop loop;
    const auto take = [&] {
        if (answer.Feed(io->readAll()) != TModemAnswer::TState::Waiting || !mFailure.isEmpty())
            loop.quit();
    };
    QObject::connect(io, &QIODevice::readyRead, &loop, take);
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer); // a coarse timer may run 5 % late
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(mTimeouts.answerMs);
    take();
    if (answer.State() == TModemAnswer::TState::Waiting && mFailure.isEmpty())
        RunWait(loop);
    answer.Feed(io->readAll());
    answer.Finish();
    return answer.State() == TModemAnswer::TState::Refused ? answer.Word() : QString();
}

} // namespace qm::dialer
