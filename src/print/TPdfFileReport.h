#pragma once

// A job that paints straight into a PDF file through Qt Gui's QPdfWriter, one PDF page per job
// page, each page written out as soon as the next one starts: a long job never holds more than
// the page it is drawing. Used by the command-line tool, which may not link Qt PrintSupport.
//
// Contract: the page size is fixed for the job (SetPage, inches, as the job's PageWidth and
// PageHeight report it), drawn at TRPDevice::kPdfResolution on the whole sheet (no waste). The
// file is written at FileName as the job runs; an aborted or failed job removes it, so the caller
// that wants an atomic result points FileName at a temporary file and renames it afterwards.

#include "print/TCanvasReport.h"

#include <QSizeF>
#include <QString>
#include <memory>

class QPdfWriter;

namespace qm::print {

class TPdfFileReport : public TCanvasReport {
public:
    TPdfFileReport();
    ~TPdfFileReport() override;

    const QString& FileName() const { return mFileName; }
    void SetFileName(const QString& name)
    {
        RequireIdle();
        mFileName = name;
    }
    // Inches, width and height as the pages stand.
    QSizeF Page() const { return mPage; }
    void SetPage(const QSizeF& inches)
    {
        RequireIdle();
        mPage = inches;
    }

    QString DeviceName() const override { return QStringLiteral("PDF file"); }
    QString DriverName() const override { return QStringLiteral("PDF"); }
    QString Port() const override { return mFileName; }

protected:
    TPageGeometry ReadGeometry() override;
    QPaintDevice* BeginDevice() override;
    void NewDevicePage() override;
    void EndDevice(bool aborted) override;

private:
    QString mFileName;
    QSizeF mPage{8.5, 11.0};
    std::unique_ptr<QPdfWriter> mWriter;
};

} // namespace qm::print
