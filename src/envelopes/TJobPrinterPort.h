#pragma once

// The envelope printer settings' view of a print job's printer (the process's printer object,
// through the job). The job must be idle when selections are applied, and outlive this object.

#include "envelopes/TEnvelopePrinterPort.h"

namespace qm::print {
class TBaseReport;
}

namespace qm::envelopes {

class TJobPrinterPort : public TEnvelopePrinterPort {
public:
    explicit TJobPrinterPort(print::TBaseReport& job) : mJob(job) {}

    QString PrinterText() const override;
    QString BinText() const override;
    QString PaperText() const override;
    bool Landscape() const override;
    void SelectPrinterByName(const QString& name) override;
    void SelectBinByName(const QString& name) override;
    void SelectPaperByName(const QString& name) override;
    void SetLandscape(bool landscape) override;

private:
    print::TBaseReport& mJob;
};

} // namespace qm::envelopes
