#pragma once

// The job that draws straight onto the selected printer (TRPDevice). With no printer installed
// RunJob reports "No printers are defined, aborting print job." and calls no handler. An aborted
// job's document is thrown away; a finished one goes to the spooler (or, on the "PDF file"
// printer, to TRPDevice::PdfOutputPath()).

#include "print/TCanvasReport.h"

namespace qm::print {

class TReportPrinter : public TCanvasReport {
public:
    TReportPrinter() = default;

protected:
    bool NeedsPrinter() const override { return true; }
    TPageGeometry ReadGeometry() override { return TRPDevice::Instance().Geometry(); }
    QPaintDevice* BeginDevice() override;
    void NewDevicePage() override;
    void EndDevice(bool aborted) override;
    void AbortDevice() override;

private:
    QPrinter* mPrinter = nullptr;
};

} // namespace qm::print
