#pragma once

// One printer opened through the installed TPrinterBackend, set up as TRPDevice selects. The
// printer object owns it; it lives until another printer is selected or the list is reloaded.

#include <QPageSize>
#include <QRectF>
#include <QString>

class QPrinter;

namespace qm::print {

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
    // Replaces the printer object after a document its PDF engine could not finish: Qt's engine
    // keeps a failed write's state and writes empty files from then on. Apply follows. The
    // default does nothing.
    virtual void Renew() {}
};

} // namespace qm::print
