#include "letters/ui/TPrinterLetterSink.h"

#include <QDir>
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
    // On the "PDF file" printer the letters go to a file beside the chosen one, which they
    // replace only once complete.
    QString refusal;
    if (!mPdf.Begin(mPrinter, &refusal))
        throw std::runtime_error(
            QStringLiteral("The PDF file \"%1\" could not be written: %2")
                .arg(QDir::toNativeSeparators(mPrinter.outputFileName()), refusal)
                .toStdString());
    mOutputFile = mPdf.Active() ? mPdf.Target() : QString();
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
    if (mPainter.isActive() && !mPainter.end()) {
        mPdf.Discard();
        throw std::runtime_error("The printer did not finish the job");
    }
    if (mPrinter.printerState() == QPrinter::Error) {
        mPdf.Discard();
        throw std::runtime_error("The printer reported an error");
    }
    QString reason;
    if (!mPdf.Finish(&reason))
        throw std::runtime_error(QStringLiteral("The PDF file \"%1\" could not be written: %2")
                                     .arg(QDir::toNativeSeparators(mOutputFile), reason)
                                     .toStdString());
    mWritten = mOutputFile;
}

void TPrinterLetterSink::Abort()
{
    mPrinter.abort();
    if (mPainter.isActive())
        mPainter.end();
    // An earlier file of that name stays; only what this job wrote goes.
    mPdf.Discard();
}

} // namespace qm::letters
