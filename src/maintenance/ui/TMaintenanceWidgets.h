#pragma once

// The pieces every maintenance window builds alike, with the object names the tests find them by:
// the hidden progress bar (0 to 100) and status line a run shows, and the Help button opening the
// window's help context.

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace qm::maintenance {

class TMaintenanceWidgets {
public:
    // "ProgressBar", range 0-100, hidden until a run starts.
    static QProgressBar* ProgressBar(QWidget* parent);
    // "StatusLabel", hidden until a run starts.
    static QLabel* StatusLabel(QWidget* parent);
    // "HelpButton": opens the help page of context over dialog.
    static QPushButton* HelpButton(QDialog* dialog, int context);
};

} // namespace qm::maintenance
