#include "dialer/TSerialDevices.h"

namespace qm::dialer {

QString TSerialDevices::DefaultDevice(int port)
{
    return QStringLiteral("COM%1").arg(port < 0 || port > 3 ? 1 : port + 1);
}

QString TSerialDevices::PermissionHint()
{
    return QStringLiteral("Check that your user account may use the port.");
}

} // namespace qm::dialer
