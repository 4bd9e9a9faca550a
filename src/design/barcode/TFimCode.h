#pragma once

// The bars of a Facing Identification Mark, apart from any object or canvas: nine bar positions
// 1/16 inch apart, each bar 1/32 inch wide and 0.5625 inch high, in the published patterns of
// types A, B and C. Bar position p occupies the 1/32-inch slot 2p - 1 from the mark's left edge;
// slot s spans (s - 1)/32 to s/32 inch.

#include <vector>

namespace qm::design {

class TFimCode {
public:
    static constexpr double kSlotWidth = 0.03125; // inches
    static constexpr double kBarHeight = 0.5625;  // inches

    // The slots (1..17) that hold a bar for type 0 (A), 1 (B) or 2 (C); empty for any other.
    static std::vector<int> Slots(int type);
};

} // namespace qm::design
