#pragma once

// A modem for tests: a pseudo-terminal whose device path the dialer opens like a serial port,
// while this object plays the modem on the other side. It records every byte it receives and,
// for each command line (ended by CR), answers as scripted: the echo of the command and then the
// reply for dial commands ("ATD..."), nothing for others. Everything runs on the event loop of
// the thread that made it, which the dialer keeps turning while it waits.
//
// SuspendOutput() stops the port's output at the terminal (a modem that never takes data): the
// dialer's writes then stay pending until the output is resumed.

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace qm::test {

class TPtyModem {
public:
    // A new modem, or nullptr with the reason when the system cannot make a pseudo-terminal.
    static std::unique_ptr<TPtyModem> Create(QString& whyNot);
    ~TPtyModem();

    // The path the dialer opens (/dev/pts/N).
    const QString& DevicePath() const { return mDevicePath; }

    // Reply to a dial command, e.g. "\r\nOK\r\n"; empty answers nothing.
    void SetDialReply(const QByteArray& reply) { mDialReply = reply; }
    void SetEcho(bool echo) { mEcho = echo; }
    // Stops (or resumes) the port's output once a dial command has arrived, so that the hang-up
    // cannot be written.
    void SetSuspendAfterDial(bool suspend) { mSuspendAfterDial = suspend; }
    void SuspendOutput(bool suspended);
    // Takes away every permission on the terminal's device, as for a user outside the group that
    // owns serial ports. False when that cannot keep this process out (it runs with rights that
    // ignore permissions, or the system has none).
    bool DenyAccess();

    // Every byte received so far.
    const QByteArray& Received() const { return mReceived; }
    void ClearReceived() { mReceived.clear(); }
    // Runs when the CR ending a dial command arrives.
    void SetOnDialCommand(std::function<void()> callback) { mOnDial = std::move(callback); }

private:
    TPtyModem() = default;
    // Portable part: takes bytes the dialer sent and answers each finished line.
    void Take(const QByteArray& bytes);
    void Answer(const QByteArray& line);
    // Platform part: reads what is waiting at the terminal, writes the modem's bytes.
    void ReadReady();
    void Send(const QByteArray& bytes);

    int mMaster = -1;
    int mSlave = -1; // held open so the terminal stays up between the dialer's opens
    QString mDevicePath;
    std::unique_ptr<QSocketNotifier> mNotifier;
    QByteArray mReceived;
    QByteArray mLine;
    QByteArray mDialReply = "\r\nOK\r\n";
    bool mEcho = true;
    bool mSuspendAfterDial = false;
    std::function<void()> mOnDial;
};

} // namespace qm::test
