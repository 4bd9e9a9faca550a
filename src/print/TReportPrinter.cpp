#include "print/TReportPrinter.h"

#include "print/TPrintError.h"

#include <QDir>
#include <QPrinter>

namespace qm::print {

QPaintDevice* TReportPrinter::BeginDevice()
{
    mOutputFile.clear();
    TRPDevice& device = TRPDevice::Instance();
    mPrinter = device.Printer();
    if (!mPrinter)
        return nullptr;
    // On the "PDF file" printer the document goes to a file beside the chosen one, which it
    // replaces only once complete.
    QString refusal;
    if (!mPdf.Begin(*mPrinter, &refusal)) {
        const QString file = mPrinter->outputFileName();
        mPrinter = nullptr;
        throw TPrintError(TPrintErrorKind::Device,
                          QStringLiteral("The PDF file \"%1\" could not be written: %2")
                              .arg(QDir::toNativeSeparators(file), refusal));
    }
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
    if (!mPdf.Active())
        return;
    const QString file = mPdf.Target();
    // A run that output no page, or was aborted, leaves an earlier file as it was.
    if (!DeviceBegun() || aborted || failed) {
        mPdf.Discard();
        if (DeviceBegun() && failed && !aborted)
            throw TPrintError(TPrintErrorKind::Device,
                              QStringLiteral("The PDF file \"%1\" could not be written.")
                                  .arg(QDir::toNativeSeparators(file)));
        return;
    }
    QString reason;
    if (!mPdf.Finish(&reason))
        throw TPrintError(TPrintErrorKind::Device,
                          QStringLiteral("The PDF file \"%1\" could not be written: %2")
                              .arg(QDir::toNativeSeparators(file), reason));
    mOutputFile = file;
}

} // namespace qm::print
