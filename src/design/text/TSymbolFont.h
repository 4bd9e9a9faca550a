#pragma once

// The symbol-font pictograms live with the page stream (print/TSymbolFont.h) so that the screen
// paint of the objects and the replay of recorded pages use one table.

#include "print/TSymbolFont.h"

namespace qm::design {

using TSymbolFont = print::TSymbolFont;

} // namespace qm::design
