#pragma once

// Restores, saves and centres windows through the settings file, by the rules of
// TPlacementRules. Restore() is called on a window's first activation and saves at once; Save()
// is called when it closes. Every placement lands inside the screen's free area.

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
    // or absent. The main window itself passes nullptr and is centred on the screen. Called when
    // the dialog is made; a dialog not yet shown is centred again as it is first shown, when its
    // layout has given it its size. A window larger than the screen's free area is fitted to it.
    static void Centre(QWidget& window, const QWidget* mainWindow);
    // Centre, once, with the window's present size.
    static void CentreNow(QWidget& window, const QWidget* mainWindow);

    // A window whose placement used to be stored under another class name: when the section of
    // the old name (for this screen's resolution) has a placement and the new one has none, the
    // values move to the new section and leave the old one, so they are read once.
    static void AdoptOldName(const QWidget& window, const QString& oldClassName,
                             const QString& className, TSettingsFile& settings);

    // The screen's logical resolution as the old platform reported it (96 at 100 % scaling,
    // 192 at 200 %).
    static int LogicalDpi(const QWidget& window);
};

} // namespace qm::data
