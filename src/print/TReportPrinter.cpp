#include "print/TReportPrinter.h"

#include <QFile>
#include <QPrinter>

namespace qm::print {

QPaintDevice* TReportPrinter::BeginDevice()
{
    TRPDevice& device = TRPDevice::Instance();
    mPrinter = device.Printer();
    if (!mPrinter)
        return nullptr;
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
    // A PDF of an aborted job must not be left looking complete.
    if (aborted && mPrinter && mPrinter->outputFormat() == QPrinter::PdfFormat &&
        !mPrinter->outputFileName().isEmpty())
        QFile::remove(mPrinter->outputFileName());
    mPrinter = nullptr;
}

} // namespace qm::print
