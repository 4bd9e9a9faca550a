#pragma once

// What the envelope printer settings need of a printer: its texts to save, and the selections
// to apply. The "Print Envelope" window and the tool hand over TJobPrinterPort (the job's printer);
// tests hand over their own.

#include <QString>

namespace qm::envelopes {

class TEnvelopePrinterPort {
public:
    virtual ~TEnvelopePrinterPort() = default;

    // The selected printer's list text (device name, " on ", port); empty without a printer.
    virtual QString PrinterText() const = 0;
    // The current paper source's and paper size's texts; empty when the printer reports none.
    virtual QString BinText() const = 0;
    virtual QString PaperText() const = 0;
    virtual bool Landscape() const = 0;

    // Each selects the first entry whose text contains the name, ignoring case, and nothing when
    // none does.
    virtual void SelectPrinterByName(const QString& name) = 0;
    virtual void SelectBinByName(const QString& name) = 0;
    virtual void SelectPaperByName(const QString& name) = 0;
    virtual void SetLandscape(bool landscape) = 0;
};

} // namespace qm::envelopes
