#pragma once

// What several tool commands need from their surroundings: a GUI application object for fonts
// (the tool runs without a display) and the tag identifier the program would use.

#include "data/TProgramHome.h"

#include <QString>

namespace qm::tools {

class TToolEnvironment {
public:
    // Makes the process's QGuiApplication once (offscreen unless QT_QPA_PLATFORM says otherwise);
    // does nothing when an application object exists already.
    static void EnsureGuiApplication();
    // The tag identifier from the settings file of ProgramHome(), read without writing it;
    // without one, a new identifier that no record carries yet (so nothing counts as tagged).
    static QString StoredTagIdentifier();
    // The program home the commands read and write: the current one, else the one found from the
    // environment and beside the program; its Dir() is empty when there is none.
    static data::TProgramHome ProgramHome();
};

} // namespace qm::tools
