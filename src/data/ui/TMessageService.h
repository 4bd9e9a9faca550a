#pragma once

// The message service lives in the core data library; this header adds the window layer's part:
// the real message boxes and the beep.

#include "data/TMessageService.h"

namespace qm::data {

class TMessageBoxes {
public:
    // Makes TMessageService show QMessageBox boxes and beep through the desktop. Called once by
    // the program (and by GUI test programs).
    static void Install();
};

} // namespace qm::data
