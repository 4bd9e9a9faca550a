#include "dialer/TSerialModemPort.h"

#include "dialer/TSerialDevices.h"

#include <QFileInfo>

namespace qm::dialer {

TSerialModemPort::TSerialModemPort()
{
    QObject::connect(&mPort, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
        // Errors while opening are reported by Open(); afterwards they end the dial.
        if (e == QSerialPort::NoError || e == QSerialPort::TimeoutError || !mPort.isOpen())
            return;
        if (mOnFailure)
            mOnFailure(mPort.errorString());
    });
}

TSerialModemPort::~TSerialModemPort()
{
    Close();
}

bool TSerialModemPort::Open(const QString& device, QString& reason)
{
    Close();
    // A folder or a plain file is not a modem; say so rather than pass on the system's terse
    // "Inappropriate ioctl for device". Device names without a file (Windows' COM1) skip this.
    const QFileInfo info(device);
    if (info.exists() && info.isDir()) {
        reason = QStringLiteral("%1 is a folder, not a serial device.").arg(device);
        return false;
    }
    if (info.exists() && info.isFile()) {
        reason = QStringLiteral("%1 is a plain file, not a serial device.").arg(device);
        return false;
    }
    mPort.setPortName(device);
    // Qt sets the line on every open; these are what every AT modem takes (it learns the speed
    // from "AT"). Set before open() so that they are applied as the device opens.
    mPort.setBaudRate(QSerialPort::Baud9600);
    mPort.setDataBits(QSerialPort::Data8);
    mPort.setParity(QSerialPort::NoParity);
    mPort.setStopBits(QSerialPort::OneStop);
    mPort.setFlowControl(QSerialPort::NoFlowControl);
    if (mPort.open(QIODevice::ReadWrite)) {
        mPort.clear(QSerialPort::AllDirections);
        return true;
    }
    switch (mPort.error()) {
    case QSerialPort::DeviceNotFoundError:
        reason = QStringLiteral("There is no such device.");
        break;
    case QSerialPort::PermissionError:
        // Qt reports both a denied open and a device locked by another program as a permission
        // error; a device we may read and write can only have been refused for the lock.
        if (info.exists() && info.isReadable() && info.isWritable())
            reason = QStringLiteral("The device is in use by another program.");
        else
            reason = QStringLiteral("Permission denied. ") + TSerialDevices::PermissionHint();
        break;
    default:
        reason = mPort.errorString();
        if (!reason.endsWith(QLatin1Char('.')))
            reason += QLatin1Char('.');
        break;
    }
    return false;
}

void TSerialModemPort::Close()
{
    if (mPort.isOpen())
        mPort.close();
    mPort.clearError();
}

} // namespace qm::dialer
