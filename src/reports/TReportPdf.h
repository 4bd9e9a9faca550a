#pragma once

// A report job that paints straight into a PDF file, page by page, on the geometry of the
// built-in "PDF file" printer (300 DPI, the whole sheet printable). Finished pages leave memory
// as they are written; the file appears under its name only when the job ends complete, so an
// aborted or failed job leaves no PDF that looks whole.

#include "print/TCanvasReport.h"

#include <QSizeF>
#include <QString>
#include <memory>

class QPdfWriter;
class QSaveFile;

namespace qm::print {
struct TPageGeometry;
}

namespace qm::reports {

class TReportPdf : public print::TCanvasReport {
public:
    // paperInches: portrait width and height; landscape turns the sheet.
    TReportPdf(const QString& path, QSizeF paperInches, bool landscape);
    ~TReportPdf() override;

    // Empty after a complete job, else why the file could not be written.
    const QString& WriteError() const { return mWriteError; }

protected:
    print::TPageGeometry ReadGeometry() override;
    QPaintDevice* BeginDevice() override;
    void NewDevicePage() override;
    void EndDevice(bool aborted) override;

private:
    QString mPath;
    QSizeF mPaper;
    std::unique_ptr<QSaveFile> mFile;
    std::unique_ptr<QPdfWriter> mWriter;
    QString mWriteError;
};

} // namespace qm::reports
