#pragma once

// What the dialer needs to know about the system's serial devices: the device each of the four
// port choices stands for until the user names another, and the hint shown when the system
// refuses access. Each platform has its own source file.

#include <QString>

namespace qm::dialer {

class TSerialDevices {
public:
    // The device for port choice 0 to 3 ("COM 1" to "COM 4"): /dev/ttyS0 to /dev/ttyS3 on
    // Linux, COM1 to COM4 on Windows.
    static QString DefaultDevice(int port);
    // What the user can do when the system denies access to a serial device.
    static QString PermissionHint();
};

} // namespace qm::dialer
