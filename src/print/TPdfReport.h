#pragma once

// The job that draws straight into a PDF file, page by page: each page goes to the file as it is
// finished, so a job of any length holds one page at a time, never the whole document. The page
// size is the paper set on the job (SetPaperSize), or the page given by SetPage; there are no
// unprintable margins.
//
// Contract:
// - SetFileName before RunJob. The file appears (replacing any earlier one) only when the job
//   ends unaborted and without an error: the pages are written to a temporary file beside it,
//   which is renamed over the target at the end and deleted on an abort or a failure.
// - A file that cannot be created or completed ends the job with TPrintError (kind Stream)
//   naming the file and the reason.
// - Text is measured at the PDF's resolution (Resolution(), 300 DPI unless set while idle).

#include "print/TCanvasReport.h"

#include <QSizeF>
#include <memory>

class QPdfWriter;

namespace qm::data {
class TOutputFile;
}

namespace qm::print {

class TPdfReport : public TCanvasReport {
public:
    TPdfReport();
    ~TPdfReport() override;

    const QString& FileName() const { return mFileName; }
    void SetFileName(const QString& name);
    // A fixed page, width and height in inches as the pages stand (orientation included), used
    // instead of the paper set on the job; an empty size goes back to that paper.
    QSizeF Page() const { return mPage; }
    void SetPage(const QSizeF& inches);
    int Resolution() const { return mResolution; }
    void SetResolution(int dpi);

    QString DeviceName() const override;
    QString DriverName() const override;
    QString Port() const override;

protected:
    TPageGeometry ReadGeometry() override;
    QPaintDevice* BeginDevice() override;
    void NewDevicePage() override;
    void EndDevice(bool aborted) override;

private:
    QString mFileName;
    QSizeF mPage;
    int mResolution;
    std::unique_ptr<data::TOutputFile> mFile;
    std::unique_ptr<QPdfWriter> mWriter;
};

} // namespace qm::print
