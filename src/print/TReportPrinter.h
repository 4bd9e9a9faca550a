#pragma once

// The job that draws straight onto the selected printer (TRPDevice). With no printer installed
// RunJob reports "No printers are defined, aborting print job." and calls no handler. An aborted
// job's document is thrown away; a finished one goes to the spooler (or, on the "PDF file"
// printer, to TRPDevice::PdfOutputPath() as it was when the job started, which OutputFile()
// names afterwards). The PDF is written beside that file and replaces it only when complete
// (TPrinterPdfOutput); one that could not be written completely ends the job with TPrintError
// and leaves an earlier file as it was.

#include "print/TCanvasReport.h"
#include "print/TPrinterPdfOutput.h"

namespace qm::print {

class TReportPrinter : public TCanvasReport {
public:
    TReportPrinter() = default;

    QString OutputFile() const override { return mOutputFile; }

protected:
    bool NeedsPrinter() const override { return true; }
    TPageGeometry ReadGeometry() override { return TRPDevice::Instance().Geometry(); }
    QPaintDevice* BeginDevice() override;
    void NewDevicePage() override;
    void EndDevice(bool aborted) override;
    void AbortDevice() override;

private:
    QPrinter* mPrinter = nullptr;
    TPrinterPdfOutput mPdf; // the PDF being written, while the job runs
    QString mOutputFile;    // the PDF written by the last run that finished
};

} // namespace qm::print
