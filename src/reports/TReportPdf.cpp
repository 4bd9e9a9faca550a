#include "reports/TReportPdf.h"

#include "print/TRPDevice.h"

#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

namespace qm::reports {

TReportPdf::TReportPdf(const QString& path, QSizeF paperInches, bool landscape)
    : mPath(path), mPaper(landscape ? paperInches.transposed() : paperInches)
{
}

TReportPdf::~TReportPdf() = default;

print::TPageGeometry TReportPdf::ReadGeometry()
{
    print::TPageGeometry geometry;
    geometry.pageWidth = mPaper.width();
    geometry.pageHeight = mPaper.height();
    geometry.dpiX = geometry.dpiY = print::TRPDevice::kPdfResolution;
    return geometry;
}

QPaintDevice* TReportPdf::BeginDevice()
{
    mWriteError.clear();
    mFile = std::make_unique<QSaveFile>(mPath);
    if (!mFile->open(QIODevice::WriteOnly)) {
        mWriteError = mFile->errorString();
        mFile.reset();
        return nullptr;
    }
    mWriter = std::make_unique<QPdfWriter>(mFile.get());
    mWriter->setResolution(print::TRPDevice::kPdfResolution);
    mWriter->setCreator(QStringLiteral("Quillmark"));
    mWriter->setTitle(Title());
    mWriter->setPageMargins(QMarginsF(0, 0, 0, 0));
    mWriter->setPageSize(QPageSize(mPaper, QPageSize::Inch, QString(), QPageSize::ExactMatch));
    return mWriter.get();
}

void TReportPdf::NewDevicePage()
{
    if (mWriter)
        mWriter->newPage();
}

void TReportPdf::EndDevice(bool aborted)
{
    mWriter.reset();
    if (!mFile)
        return;
    if (aborted) {
        mFile->cancelWriting();
    } else if (!mFile->commit()) {
        mWriteError = mFile->errorString();
    }
    mFile.reset();
}

} // namespace qm::reports
