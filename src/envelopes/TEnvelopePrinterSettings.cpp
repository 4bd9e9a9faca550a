#include "envelopes/TEnvelopePrinterSettings.h"

#include "data/TSettingsFile.h"
#include "envelopes/TEnvelopePrinterPort.h"

namespace qm::envelopes {

TEnvelopePrinterSettings TEnvelopePrinterSettings::Read(const data::TSettingsFile& settings)
{
    TEnvelopePrinterSettings s;
    s.printer = settings.ReadString(Section(), QStringLiteral("Printer"));
    s.bin = settings.ReadString(Section(), QStringLiteral("Bin"));
    s.paper = settings.ReadString(Section(), QStringLiteral("Paper"));
    // A missing or unreadable value keeps the printer's own orientation.
    if (const auto text = settings.ReadString(Section(), QStringLiteral("Orientation"));
        !text.isEmpty())
        s.orientation = data::TSettingsFile::ParseInteger(text.trimmed());
    return s;
}

void TEnvelopePrinterSettings::Write(data::TSettingsFile& settings) const
{
    settings.WriteString(Section(), QStringLiteral("Printer"), printer);
    settings.WriteString(Section(), QStringLiteral("Bin"), bin);
    settings.WriteString(Section(), QStringLiteral("Paper"), paper);
    settings.WriteInteger(Section(), QStringLiteral("Orientation"), orientation.value_or(0));
}

TEnvelopePrinterSettings TEnvelopePrinterSettings::Capture(const TEnvelopePrinterPort& printer)
{
    TEnvelopePrinterSettings s;
    s.printer = printer.PrinterText();
    s.bin = printer.BinText();
    s.paper = printer.PaperText();
    s.orientation = printer.Landscape() ? 1 : 0;
    return s;
}

QString TEnvelopePrinterSettings::DeviceNamePart(const QString& stored)
{
    // Searched without case rather than in an upper-cased copy, whose length may differ.
    const qsizetype at = stored.indexOf(QStringLiteral(" on "), 0, Qt::CaseInsensitive);
    return at < 0 ? stored : stored.left(at);
}

void TEnvelopePrinterSettings::Apply(TEnvelopePrinterPort& port) const
{
    if (!printer.isEmpty()) {
        // A text with nothing before " on " names no device; matching it would take whatever
        // printer comes first.
        const QString device = DeviceNamePart(printer);
        if (!device.isEmpty())
            port.SelectPrinterByName(device);
    }
    if (!bin.isEmpty())
        port.SelectBinByName(bin);
    if (!paper.isEmpty())
        port.SelectPaperByName(paper);
    if (orientation)
        port.SetLandscape(*orientation != 0);
}

} // namespace qm::envelopes
