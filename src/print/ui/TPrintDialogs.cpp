#include "print/ui/TPrintDialogs.h"

#include "print/TPrintError.h"
#include "print/TRPDevice.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace qm::print {

bool ShowPrinterSetup(QWidget* parent)
{
    TRPDevice& device = TRPDevice::Instance();
    if (device.JobRunning())
        throw TPrintError(TPrintErrorKind::WrongState, QString::fromLatin1(msg::kAlreadyPrinting));
    QPrinter* printer = device.Printer();
    if (!printer)
        return false;
    QPageSetupDialog dialog(printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    device.SetOrientation(printer->pageLayout().orientation() == QPageLayout::Landscape
                              ? TOrientation::poLandScape
                              : TOrientation::poPortrait);
    return true;
}

bool ShowPrintDialog(TBaseReport& job, QWidget* parent)
{
    TRPDevice& device = TRPDevice::Instance();
    if (job.Printing() || device.JobRunning())
        throw TPrintError(TPrintErrorKind::WrongState, QString::fromLatin1(msg::kAlreadyPrinting));
    QPrinter* printer = device.Printer();
    if (!printer)
        return false;
    printer->setCopyCount(job.Copies());
    printer->setFromTo(job.FirstPage(), std::min(job.LastPage(), TBaseReport::kDefaultLastPage));
    QPrintDialog dialog(printer, parent);
    dialog.setMinMax(1, TBaseReport::kDefaultLastPage);
    dialog.setPrintRange(job.FirstPage() == 1 && job.LastPage() >= TBaseReport::kDefaultLastPage
                             ? QAbstractPrintDialog::AllPages
                             : QAbstractPrintDialog::PageRange);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    device.SelectPrinterByName(printer->printerName().isEmpty()
                                   ? QString::fromLatin1(TRPDeviceItem::kPdfDeviceName)
                                   : printer->printerName());
    job.SetCopies(printer->copyCount());
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        job.SetFirstPage(printer->fromPage());
        job.SetLastPage(printer->toPage());
    } else {
        job.SetFirstPage(1);
        job.SetLastPage(TBaseReport::kDefaultLastPage);
    }
    return true;
}

} // namespace qm::print
