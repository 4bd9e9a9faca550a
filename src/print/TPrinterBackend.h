#pragma once

// What the printer object needs from the system's printing support, behind an interface so the
// print jobs that only write page streams need neither Qt PrintSupport nor, through it, Qt
// Widgets. The printer library installs the real backend (system printers through Qt
// PrintSupport) when it is linked; without it there are no system printers and the built-in
// "PDF file" printer only describes its page (it cannot draw).

#include "print/TRPDeviceItem.h"

#include <QPageSize>
#include <QRectF>
#include <memory>
#include <vector>

class QPrinter;

namespace qm::print {

// One opened printer, set up as selected.
class TPrinterHandle {
public:
    virtual ~TPrinterHandle() = default;

    // Page set-up: paper, orientation, copies and the bin by its platform number. wholeSheet
    // draws on the whole paper (no waste), as the PDF printer does.
    virtual void Apply(const QPageSize& size, bool landscape, int copies, int binCode,
                       bool wholeSheet) = 0;
    virtual int Resolution() const = 0;
    // The paper and its printable part, in inches from the paper's top-left corner.
    virtual QRectF PaperRectInches() const = 0;
    virtual QRectF PageRectInches() const = 0;
    // Whether the system still knows the printer and can print on it.
    virtual bool Usable() const = 0;
    // The printer ready for a QPainter; a PDF printer writes to pdfPath.
    virtual QPrinter* Printer(const QString& pdfPath) = 0;
};

class TPrinterBackend {
public:
    virtual ~TPrinterBackend() = default;

    virtual std::vector<TRPDeviceItem> SystemPrinters() = 0;
    virtual QString DefaultPrinterName() = 0;
    // The paper sizes a system printer offers; empty when it names none.
    virtual std::vector<QPageSize> SupportedPageSizes(const QString& deviceName) = 0;
    virtual std::unique_ptr<TPrinterHandle> Open(const TRPDeviceItem& item) = 0;
};

} // namespace qm::print
