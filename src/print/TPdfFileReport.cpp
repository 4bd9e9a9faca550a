#include "print/TPdfFileReport.h"

#include "print/TRPDevice.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace qm::print {

TPdfFileReport::TPdfFileReport() = default;

TPdfFileReport::~TPdfFileReport() = default;

TPageGeometry TPdfFileReport::ReadGeometry()
{
    TPageGeometry g;
    g.pageWidth = mPage.width();
    g.pageHeight = mPage.height();
    g.dpiX = g.dpiY = TRPDevice::kPdfResolution;
    return g;
}

QPaintDevice* TPdfFileReport::BeginDevice()
{
    mWriter = std::make_unique<QPdfWriter>(mFileName);
    mWriter->setResolution(TRPDevice::kPdfResolution);
    mWriter->setCreator(QStringLiteral("Quillmark"));
    mWriter->setTitle(Title());
    // The sheet is given upright with the orientation beside it, so a landscape page keeps its
    // exact size whatever QPageSize makes of a wide custom size.
    const bool landscape = mPage.width() > mPage.height();
    const QSizeF upright = landscape ? mPage.transposed() : mPage;
    const QPageLayout layout(QPageSize(upright, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                             landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0));
    mWriter->setPageLayout(layout);
    return mWriter.get();
}

void TPdfFileReport::NewDevicePage()
{
    if (mWriter)
        mWriter->newPage();
}

void TPdfFileReport::EndDevice(bool aborted)
{
    mWriter.reset();
    // A PDF of an aborted or failed job must not be left looking complete.
    if (aborted)
        QFile::remove(mFileName);
}

} // namespace qm::print
