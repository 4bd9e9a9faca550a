#pragma once

// The settings file's section "Intelligent Mail": the parts of the tracking code a new
// Intelligent Mail barcode object starts with (BarcodeId, ServiceType, MailerId) and NextSerial,
// the serial number the next counted piece gets (the print runs write it back after a finished
// job, TImbJob).
//
// Values are kept as the file holds them (text, so "00" keeps its zeros); a NextSerial that is
// not a whole number of at most nine digits reads as 0.

#include <QString>
#include <cstdint>

namespace qm::data {
class TSettingsFile;
}

namespace qm::design {

struct TImbSettings {
    static constexpr const char* kSection = "Intelligent Mail";

    QString barcodeId = QStringLiteral("00");
    QString serviceType;
    QString mailerId;
    std::int64_t nextSerial = 0;

    bool operator==(const TImbSettings&) const = default;

    static TImbSettings Read(const data::TSettingsFile& settings);
    // Writes every key; throws data::TSettingsWriteError when the file cannot be written.
    void Write(data::TSettingsFile& settings) const;
    // Only NextSerial (what a finished print job writes).
    static void WriteNextSerial(data::TSettingsFile& settings, std::int64_t next);

    // The first invalid value, named in the message; empty when everything is valid.
    QString Problem() const;
    // The serial number as typed: digits only, and no more than the mailer identifier leaves room
    // for (when the identifier itself is valid). Empty when valid.
    static QString NextSerialProblem(const QString& text, const QString& mailerId);
    // The number the text stands for, or -1 when it is not a whole number of 1 to 9 digits.
    static std::int64_t ParseSerial(const QString& text);
};

} // namespace qm::design
