#pragma once

// The printer presence check run before any printing window opens, and the hook that shows the
// print jobs' error boxes.

class QWidget;

namespace qm::print {

// Shows "There are no installed printers..." or "There is no default printer selected..." as an
// information box and returns false when printing cannot go on; true when a printer is ready.
bool CheckPrinterPresence(QWidget* parent);

// Routes the print jobs' error texts to error boxes (caption "Error"). Called once at start-up.
void InstallPrintErrorBoxes();

} // namespace qm::print
