#pragma once

// The byte stream to the modem, as the dialer sees it. The real side is a serial port
// (TSerialModemPort); tests may put a fake in its place.
//
// Contract:
// - Open() opens the device for reading and writing with the line settings every AT modem takes
//   (9600 bit/s, 8 data bits, no parity, 1 stop bit, no flow control, raw). On failure it
//   returns false and sets a reason the user can act on; the port stays closed.
// - While open, Io() is the open device: the dialer writes with write(), watches bytesToWrite()
//   and the bytesWritten and readyRead signals in its own event loop, and reads the answer.
// - A failure the device reports after opening (a write that fails, a device unplugged) reaches
//   the handler set with SetFailureHandler, with its reason.
// - Close() may be called any number of times; a closed port discards what it had not sent.

#include <QString>
#include <functional>

class QIODevice;

namespace qm::dialer {

class TModemPort {
public:
    using TFailureHandler = std::function<void(const QString& reason)>;

    virtual ~TModemPort();

    virtual bool Open(const QString& device, QString& reason) = 0;
    virtual QIODevice* Io() = 0;
    virtual void Close() = 0;
    virtual void SetFailureHandler(TFailureHandler handler) = 0;
};

} // namespace qm::dialer
