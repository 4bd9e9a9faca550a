#pragma once

// The modem on a serial device through Qt SerialPort. Failure reasons name the cause: no such
// device, in use by another program, permission denied (with the platform's hint), a folder or
// plain file instead of a device, or the system's own text.

#include "dialer/TModemPort.h"

#include <QSerialPort>

namespace qm::dialer {

class TSerialModemPort : public TModemPort {
public:
    TSerialModemPort();
    ~TSerialModemPort() override;

    bool Open(const QString& device, QString& reason) override;
    QIODevice* Io() override { return &mPort; }
    void Close() override;
    void SetFailureHandler(TFailureHandler handler) override { mOnFailure = std::move(handler); }

private:
    QSerialPort mPort;
    TFailureHandler mOnFailure;
};

} // namespace qm::dialer
