#pragma once

// The printer, paper source, paper size and orientation envelopes are printed with, kept in the
// settings file's "Envelope Printer" section and applied to the printer before every envelope
// print or preview, so that envelope paper is chosen again each time (and never stays behind for
// other printing, which the caller's hand-over restores).

#include <QString>
#include <optional>

namespace qm::data {
class TSettingsFile;
}

namespace qm::envelopes {

class TEnvelopePrinterPort;

struct TEnvelopePrinterSettings {
    QString printer; // a printer's list text: device name, " on ", port
    QString bin;
    QString paper;
    std::optional<int> orientation; // 0 portrait, anything else landscape; none: as it is

    static QString Section() { return QStringLiteral("Envelope Printer"); }
    static TEnvelopePrinterSettings Read(const data::TSettingsFile& settings);
    // Writes all four keys. Throws data::TSettingsWriteError when the file cannot be written.
    void Write(data::TSettingsFile& settings) const;

    // The printer's texts and orientation as they are now (what "Save settings" stores).
    static TEnvelopePrinterSettings Capture(const TEnvelopePrinterPort& printer);

    // Selects the stored printer (by the part of its text before the first " on ", in any
    // letter case), then the source and the paper by their texts, then the orientation. Empty
    // values change nothing; a text matching nothing selects nothing.
    void Apply(TEnvelopePrinterPort& port) const;

    // The part of a stored printer text that names the device: everything before the first
    // " on " in any letter case, or the whole text without one.
    static QString DeviceNamePart(const QString& stored);
};

} // namespace qm::envelopes
