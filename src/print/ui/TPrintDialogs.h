#pragma once

// The system's printer set-up and print dialogs (Qt's) for the selected printer of TRPDevice.
// Both are refused while a job runs.

#include "print/TBaseReport.h"

class QWidget;

namespace qm::print {

// Page set-up of the selected printer; returns true on OK. Does nothing without a printer.
bool ShowPrinterSetup(QWidget* parent);

// The print dialog pre-set with the selected printer, the job's Copies and FirstPage..LastPage.
// On OK the chosen printer and copies are taken, and the page range becomes the chosen one, or
// 1..9999 when "All" was chosen. Returns true on OK.
bool ShowPrintDialog(TBaseReport& job, QWidget* parent);

} // namespace qm::print
