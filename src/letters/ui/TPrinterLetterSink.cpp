#include "letters/ui/TPrinterLetterSink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <stdexcept>

namespace qm::letters {

TPrinterLetterSink::TPrinterLetterSink(QPrinter& printer, const TLetterPageTwips& page)
    : mPrinter(printer), mPage(page)
{
}

TPrinterLetterSink::~TPrinterLetterSink()
{
    if (mPainter.isActive())
        Abort();
}

void TPrinterLetterSink::PreparePrinter(QPrinter& printer, const TLetterPageTwips& page)
{
    const bool landscape = page.width > page.height;
    const QSizeF points(std::min(page.width, page.height) / 20.0,
                        std::max(page.width, page.height) / 20.0);
    const QPageSize size(points, QPageSize::Point, QString(), QPageSize::FuzzyMatch);
    printer.setPageLayout(QPageLayout(
        size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer.setCopyCount(1);
}

TLetterDevice TPrinterLetterSink::Device() const
{
    TLetterDevice device;
    device.dpiX = mPrinter.logicalDpiX();
    device.dpiY = mPrinter.logicalDpiY();
    // Where the printable area begins on the paper, as the painter's origin lies there.
    const QRectF paper = mPrinter.paperRect(QPrinter::DevicePixel);
    const QRectF printable = mPrinter.pageRect(QPrinter::DevicePixel);
    device.offset =
        QPoint(int(printable.left() - paper.left()), int(printable.top() - paper.top()));
    return device;
}

QPainter& TPrinterLetterSink::Begin()
{
    mWritten.clear();
    mOutputFile =
        mPrinter.outputFormat() == QPrinter::PdfFormat ? mPrinter.outputFileName() : QString();
    if (!mPainter.begin(&mPrinter))
        throw std::runtime_error(
            (QStringLiteral("Unable to start printing on ") + mPrinter.printerName())
                .toStdString());
    return mPainter;
}

void TPrinterLetterSink::NewPage()
{
    if (!mPrinter.newPage())
        throw std::runtime_error("The printer did not take the next page");
}

void TPrinterLetterSink::End()
{
    if (mPainter.isActive() && !mPainter.end())
        throw std::runtime_error("The printer did not finish the job");
    if (mPrinter.printerState() == QPrinter::Error) {
        if (!mOutputFile.isEmpty())
            QFile::remove(mOutputFile);
        throw std::runtime_error("The printer reported an error");
    }
    if (!mOutputFile.isEmpty() && !QFileInfo(mOutputFile).isFile())
        throw std::runtime_error(QStringLiteral("The PDF file \"%1\" could not be written.")
                                     .arg(QDir::toNativeSeparators(mOutputFile))
                                     .toStdString());
    mWritten = mOutputFile;
}

void TPrinterLetterSink::Abort()
{
    mPrinter.abort();
    if (mPainter.isActive())
        mPainter.end();
    if (!mOutputFile.isEmpty())
        QFile::remove(mOutputFile);
}

} // namespace qm::letters
