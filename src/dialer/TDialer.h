#pragma once

// Dials a number through a modem and hangs it up once the user has picked up the handset.
//
// Dial():
// 1. A number (prefix included) holding anything but printable ASCII is refused before anything
//    else happens: "The number contains a character that cannot be dialled: " + the character.
// 2. With Confirm on, asks "About to dial the number " + number + ". Are you sure?"; No ends here.
// 3. Opens the device for reading and writing; a failure shows "Unable to open " + the port's
//    name and the reason on a second line.
// 4. Writes "ATDT"/"ATDP" + number + CR LF and waits until the port has taken every byte, at
//    most Timeouts().writeMs; otherwise "Unable to dial number" with the reason.
// 5. Reads the modem's answer for at most Timeouts().answerMs. A refusal word ("ERROR",
//    "NO DIALTONE", "BUSY", ...) shows "The modem answered " + the word; silence or "OK" goes on.
// 6. Runs the pick-up step (by default the information "Pick up phone"), then writes "ATH" CR LF
//    under the same limit; a failure shows "Unable to hang up the modem" with the reason. After a
//    refusal the hang-up is sent as well, without the pick-up step.
// 7. Closes the port, on every path.
//
// Every wait runs the event loop (windows repaint, timers fire), never a blocking wait. Messages
// and the question go through TMessageService with the parent widget given. A port's name in
// messages is "COM2 (/dev/ttyS1)", or the device alone when no port choice is named.

#include "dialer/TDialOptions.h"
#include "dialer/TModemPort.h"

#include <QString>
#include <functional>
#include <memory>

class QEventLoop;
class QWidget;

namespace qm::dialer {

struct TDialTimeouts {
    int writeMs = 3000;  // for the port to take the dial command, and again the hang-up
    int answerMs = 1000; // for the modem's answer to the dial command
};

class TDialer {
public:
    enum class TOutcome {
        Dialled,      // the number went out and the modem was hung up
        Declined,     // the user answered No to the confirmation
        Refused,      // the number holds a character that cannot be dialled
        OpenFailed,   // the device could not be opened
        WriteFailed,  // the port did not take the dial command
        ModemRefused, // the modem answered with an error word
        HangUpFailed, // the number went out but the hang-up could not be written
    };

    // Without a port, the dialer uses the serial port (TSerialModemPort).
    explicit TDialer(std::unique_ptr<TModemPort> port = {});
    ~TDialer();

    TDialPort ComPort = TDialPort::dpCOM1;
    bool Confirm = false;
    TDialMethod Method = TDialMethod::dmTone;
    QString NumberToDial;

    // The device opened for ComPort; empty means the system default for it.
    QString Device;
    // Off: messages name the device alone (a device given without a port choice).
    bool NameComPort = true;

    TOutcome Dial();

    void SetParent(QWidget* parent) { mParent = parent; }
    void SetTimeouts(TDialTimeouts timeouts) { mTimeouts = timeouts; }
    const TDialTimeouts& Timeouts() const { return mTimeouts; }
    // Replaces the "Pick up phone" information: runs while the modem is off-hook after dialling;
    // the hang-up follows when it returns.
    void SetPickUp(std::function<void()> pickUp) { mPickUp = std::move(pickUp); }

    QString DeviceToOpen() const;
    QString PortDisplayName() const;

private:
    bool WriteAll(const QByteArray& bytes, QString& reason);
    // Reads the modem's answer to `command`; returns the refusal word, or empty.
    QString ReadAnswer(const QByteArray& command);
    void ShowError(const QString& text);
    // Runs the loop of one wait; the port's failure handler ends it early.
    void RunWait(QEventLoop& loop);

    std::unique_ptr<TModemPort> mPort;
    QWidget* mParent = nullptr;
    TDialTimeouts mTimeouts;
    std::function<void()> mPickUp;
    QString mFailure;               // set by the port's failure handler
    QEventLoop* mWaiting = nullptr; // the wait in progress, if any
};

} // namespace qm::dialer
