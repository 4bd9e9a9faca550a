#pragma once

// Restores, saves and centres windows through the settings file, by the rules of
// TPlacementRules. Restore() is called on a window's first activation and saves at once; Save()
// is called when it closes.

#include "data/TSettingsFile.h"

#include <QString>

class QWidget;

namespace qm::data {

class TWindowPlacement {
public:
    // The section the window uses on its current screen.
    static QString SectionFor(const QWidget& window, const QString& className);

    static void Restore(QWidget& window, const QString& className, TSettingsFile& settings);
    static void Save(const QWidget& window, const QString& className, TSettingsFile& settings);

    // Centres a dialog on the main window, or on the screen when the main window is maximised
    // or absent. The main window itself passes nullptr and is centred on the screen.
    static void Centre(QWidget& window, const QWidget* mainWindow);

    // The screen's logical resolution as the old platform reported it (96 at 100 % scaling,
    // 192 at 200 %).
    static int LogicalDpi(const QWidget& window);
};

} // namespace qm::data
