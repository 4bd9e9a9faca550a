#include "print/TPdfReport.h"

#include "data/TOutputFile.h"
#include "print/TPrintError.h"

#include <QDir>
#include <QPageSize>
#include <QPdfWriter>

namespace qm::print {

namespace {

TPrintError WriteFailure(const QString& fileName, const QString& reason)
{
    return TPrintError(TPrintErrorKind::Stream,
                       QStringLiteral("Unable to write to %1: %2")
                           .arg(QDir::toNativeSeparators(fileName), reason));
}

} // namespace

TPdfReport::TPdfReport() : mResolution(TRPDevice::kPdfResolution) {}

TPdfReport::~TPdfReport()
{
    // A job that never reached its end leaves nothing behind (the output file discards its
    // temporary).
    mWriter.reset();
}

void TPdfReport::SetFileName(const QString& name)
{
    RequireIdle();
    mFileName = name;
}

void TPdfReport::SetPage(const QSizeF& inches)
{
    RequireIdle();
    mPage = inches;
}

void TPdfReport::SetResolution(int dpi)
{
    RequireIdle();
    if (dpi > 0)
        mResolution = dpi;
}

QString TPdfReport::DeviceName() const
{
    return QStringLiteral("PDF file");
}

QString TPdfReport::DriverName() const
{
    return QStringLiteral("PDF file");
}

QString TPdfReport::Port() const
{
    return QDir::toNativeSeparators(mFileName);
}

TPageGeometry TPdfReport::ReadGeometry()
{
    // The paper size as the job set it; the whole sheet is printable.
    TPageGeometry g = TRPDevice::Instance().Geometry();
    if (!mPage.isEmpty()) {
        g.pageWidth = mPage.width();
        g.pageHeight = mPage.height();
    }
    g.leftWaste = g.rightWaste = g.topWaste = g.bottomWaste = 0;
    g.dpiX = g.dpiY = mResolution;
    return g;
}

QPaintDevice* TPdfReport::BeginDevice()
{
    if (mFileName.isEmpty())
        throw TPrintError(TPrintErrorKind::Stream, QStringLiteral("No PDF file name was given."));
    mFile = std::make_unique<data::TOutputFile>(mFileName);
    if (!mFile->open(QIODevice::WriteOnly)) {
        const QString reason = mFile->errorString();
        mFile.reset();
        throw WriteFailure(mFileName, reason);
    }
    const TPageGeometry& g = Geometry();
    mWriter = std::make_unique<QPdfWriter>(mFile.get());
    mWriter->setResolution(mResolution);
    mWriter->setTitle(Title().isEmpty() ? QStringLiteral("Quillmark pages") : Title());
    mWriter->setCreator(QStringLiteral("Quillmark"));
    mWriter->setPageMargins(QMarginsF(0, 0, 0, 0));
    mWriter->setPageSize(QPageSize(QSizeF(g.pageWidth, g.pageHeight), QPageSize::Inch, QString(),
                                   QPageSize::ExactMatch));
    return mWriter.get();
}

void TPdfReport::NewDevicePage()
{
    if (mWriter)
        mWriter->newPage();
}

void TPdfReport::EndDevice(bool aborted)
{
    mWriter.reset();
    if (!mFile)
        return;
    std::unique_ptr<data::TOutputFile> file = std::move(mFile);
    if (aborted) {
        file->cancelWriting();
        return;
    }
    if (!file->commit())
        throw WriteFailure(mFileName, file->errorString());
}

} // namespace qm::print
