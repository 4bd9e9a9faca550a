#pragma once

// Progress of a maintenance run, reported after every record: how many records were done of how
// many the run expects, and how many it has found or changed so far. The callback shows it and
// lets window messages run; it returns true to stop the run after the record just done.

#include <cstdint>
#include <functional>

namespace qm::maintenance {

struct TRunStep {
    uint32_t done = 0;
    uint32_t total = 0;
    uint32_t found = 0;

    // done / total x 100, truncated.
    int Percent() const { return total == 0 ? 0 : int(uint64_t(done) * 100 / total); }
};

using TRunProgress = std::function<bool(const TRunStep& step)>;

} // namespace qm::maintenance
