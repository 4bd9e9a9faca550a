#pragma once

// The dialer's two choices, numbered as the settings file stores them (section "Dialing": Port
// 0 to 3, Method 0 tone, 1 pulse).

namespace qm::dialer {

enum class TDialPort { dpCOM1 = 0, dpCOM2 = 1, dpCOM3 = 2, dpCOM4 = 3 };
enum class TDialMethod { dmTone = 0, dmPulse = 1 };

} // namespace qm::dialer
