#pragma once

// What the printer object needs from the system's printing support, behind an interface so the
// print jobs that only write page streams need neither Qt PrintSupport nor, through it, Qt
// Widgets. The printer library installs the real backend (system printers through Qt
// PrintSupport) when it is linked; without it there are no system printers and the built-in
// "PDF file" printer only describes its page (it cannot draw).

#include "print/TPrinterHandle.h"
#include "print/TRPDeviceItem.h"

#include <QPageSize>
#include <memory>
#include <vector>

namespace qm::print {

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
