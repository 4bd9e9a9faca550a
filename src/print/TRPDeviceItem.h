#pragma once

// One printer the program can print on: a system printer from Qt's printer list, or the built-in
// "PDF file" printer that writes a PDF and exists so that a machine without a physical printer
// can still print and preview.

#include <QString>

namespace qm::print {

class TRPDeviceItem {
public:
    enum class TKind { System, PdfFile };

    static constexpr const char* kPdfDeviceName = "PDF file";
    static constexpr const char* kPdfDriverName = "PDF";
    static constexpr const char* kPdfPort = "FILE:";

    TRPDeviceItem(TKind kind, QString deviceName, QString driverName, QString port)
        : mKind(kind), mDeviceName(std::move(deviceName)), mDriverName(std::move(driverName)),
          mPort(std::move(port))
    {
    }

    static TRPDeviceItem PdfFile()
    {
        return TRPDeviceItem(TKind::PdfFile, QString::fromLatin1(kPdfDeviceName),
                             QString::fromLatin1(kPdfDriverName), QString::fromLatin1(kPdfPort));
    }

    TKind Kind() const { return mKind; }
    const QString& DeviceName() const { return mDeviceName; }
    const QString& DriverName() const { return mDriverName; }
    const QString& Port() const { return mPort; }
    // The text the printer lists show: device name, " on " and the port.
    QString ListName() const { return mDeviceName + QStringLiteral(" on ") + mPort; }

private:
    TKind mKind;
    QString mDeviceName;
    QString mDriverName;
    QString mPort;
};

} // namespace qm::print
