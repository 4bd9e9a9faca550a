#include "print/TReportPrinter.h"

#include "print/TPrintError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <utility>

namespace qm::print {

QPaintDevice* TReportPrinter::BeginDevice()
{
    mOutputFile.clear();
    TRPDevice& device = TRPDevice::Instance();
    mPrinter = device.Printer();
    if (!mPrinter)
        return nullptr;
    mPdfFile =
        mPrinter->outputFormat() == QPrinter::PdfFormat ? mPrinter->outputFileName() : QString();
    mPrinter->setDocName(Title());
    mPrinter->setCopyCount(Copies());
    return mPrinter;
}

void TReportPrinter::NewDevicePage()
{
    if (mPrinter)
        mPrinter->newPage();
}

void TReportPrinter::AbortDevice()
{
    if (mPrinter)
        mPrinter->abort();
}

void TReportPrinter::EndDevice(bool aborted)
{
    const bool failed = mPrinter && mPrinter->printerState() == QPrinter::Error;
    mPrinter = nullptr;
    const QString file = std::exchange(mPdfFile, QString());
    if (file.isEmpty())
        return;
    // A run that output no page never opened the file: whatever is there stays.
    if (!DeviceBegun())
        return;
    // A PDF of an aborted or failed job must not be left looking complete.
    if (aborted || failed || !QFileInfo(file).isFile()) {
        QFile::remove(file);
        if (!aborted)
            throw TPrintError(TPrintErrorKind::Device,
                              QStringLiteral("The PDF file \"%1\" could not be written.")
                                  .arg(QDir::toNativeSeparators(file)));
        return;
    }
    mOutputFile = file;
}

} // namespace qm::print
