#include "dialer/TDialSettings.h"

#include "data/TSettingsFile.h"
#include "dialer/TSerialDevices.h"

namespace qm::dialer {
namespace {

const QString kSection = QStringLiteral("Dialing");

QString DeviceKey(int port)
{
    return QStringLiteral("Device%1").arg(port + 1);
}

} // namespace

TDialSettings TDialSettings::Load(const data::TSettingsFile& settings)
{
    TDialSettings s;
    s.prefix = settings.ReadString(kSection, QStringLiteral("Prefix"));
    s.init = settings.ReadString(kSection, QStringLiteral("Init"));
    const int port = settings.ReadInteger(kSection, QStringLiteral("Port"), 0);
    s.port = port >= 0 && port <= 3 ? TDialPort(port) : TDialPort::dpCOM1;
    const int method = settings.ReadInteger(kSection, QStringLiteral("Method"), 0);
    s.method = method == 1 ? TDialMethod::dmPulse : TDialMethod::dmTone;
    for (int i = 0; i < 4; ++i) {
        s.devices[size_t(i)] = settings.ReadString(kSection, DeviceKey(i)).trimmed();
        if (s.devices[size_t(i)].isEmpty())
            s.devices[size_t(i)] = TSerialDevices::DefaultDevice(i);
    }
    return s;
}

void TDialSettings::Save(data::TSettingsFile& settings) const
{
    settings.WriteString(kSection, QStringLiteral("Prefix"), prefix);
    settings.WriteString(kSection, QStringLiteral("Init"), init);
    settings.WriteInteger(kSection, QStringLiteral("Port"), int(port));
    settings.WriteInteger(kSection, QStringLiteral("Method"), int(method));
    settings.WriteString(kSection, DeviceKey(int(port)), Device());
}

QString TDialSettings::PortName(TDialPort port)
{
    return QStringLiteral("COM%1").arg(int(port) + 1);
}

QString TDialSettings::PortCaption(TDialPort port)
{
    return QStringLiteral("COM %1").arg(int(port) + 1);
}

} // namespace qm::dialer
