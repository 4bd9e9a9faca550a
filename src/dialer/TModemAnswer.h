#pragma once

// Reads what the modem says after the dial command. Lines end in CR, LF or both; blank lines,
// the echo of the command itself and anything the modem says that is not a result word are
// passed over. "OK" ends the answer well; "ERROR", "NO DIALTONE", "NO DIAL TONE", "BUSY" and
// "NO CARRIER" end it as a refusal. Saying nothing is not an error (a modem with result codes
// switched off answers nothing), so the caller gives up waiting after its own time.

#include <QByteArray>
#include <QString>

namespace qm::dialer {

class TModemAnswer {
public:
    enum class TState { Waiting, Ok, Refused };

    // command: the bytes sent, whose echo is skipped (compared without its line end and case).
    explicit TModemAnswer(const QByteArray& command);

    // Takes the next bytes from the modem; returns the state after them. Bytes after the
    // result are ignored.
    TState Feed(const QByteArray& bytes);
    // Ends the answer: a last line without its line end counts as well.
    TState Finish();

    TState State() const { return mState; }
    // The refusal word in capitals ("NO DIALTONE"), when refused.
    const QString& Word() const { return mWord; }

private:
    void TakeLine(const QByteArray& line);

    QByteArray mEcho;
    QByteArray mLine;
    TState mState = TState::Waiting;
    QString mWord;
};

} // namespace qm::dialer
