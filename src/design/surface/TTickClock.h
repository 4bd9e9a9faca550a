#pragma once

// The one clock the design surface reads its millisecond rules from (press-to-drag, quick click,
// paste repeat). Tests replace the source with a clock they step by hand.
//
// Contract: Now() is a monotonic count of milliseconds; only differences between two readings
// mean anything. SetSource(nullptr) returns to the steady system clock.

#include <cstdint>
#include <functional>

namespace qm::design {

class TTickClock {
public:
    using TSource = std::function<std::int64_t()>;

    static std::int64_t Now();
    static void SetSource(TSource source);
};

} // namespace qm::design
