#include "dialer/TSerialDevices.h"

namespace qm::dialer {

QString TSerialDevices::DefaultDevice(int port)
{
    return QStringLiteral("/dev/ttyS%1").arg(port < 0 || port > 3 ? 0 : port);
}

QString TSerialDevices::PermissionHint()
{
    // Debian and most distributions give serial devices to the group "dialout".
    return QStringLiteral("Your user must be in the \"dialout\" group to use serial ports "
                          "(log in again after adding it).");
}

} // namespace qm::dialer
