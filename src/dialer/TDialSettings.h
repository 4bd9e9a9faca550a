#pragma once

// The dialer's keys in the settings file, section "Dialing":
//   Prefix   text put before every number
//   Init     modem set-up text, kept but never sent
//   Port     0 to 3, the choices "COM 1" to "COM 4"
//   Method   0 tone, 1 pulse
//   Device1 … Device4   the device each port choice stands for (TSerialDevices' defaults)
// Values out of range or that do not read as numbers give the defaults (COM 1, tone).

#include "dialer/TDialOptions.h"

#include <QString>
#include <array>

namespace qm::data {
class TSettingsFile;
}

namespace qm::dialer {

struct TDialSettings {
    QString prefix;
    QString init;
    TDialPort port = TDialPort::dpCOM1;
    TDialMethod method = TDialMethod::dmTone;
    std::array<QString, 4> devices;

    static TDialSettings Load(const data::TSettingsFile& settings);
    // Writes the four keys and the device of the chosen port; throws TSettingsWriteError.
    void Save(data::TSettingsFile& settings) const;

    const QString& Device() const { return devices[size_t(port)]; }
    // "COM2" for the second choice.
    static QString PortName(TDialPort port);
    // "COM 2", as the port choice lists it.
    static QString PortCaption(TDialPort port);
};

} // namespace qm::dialer
