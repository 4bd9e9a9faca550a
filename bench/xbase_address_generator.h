#pragma once

// Deterministic address records for the engine benchmarks: the 23 fields of the address file
// with the default widths, a memo on about 20 % of the records and about 2 % marked deleted
// (ISDEL true, and the deletion mark set by whoever stores them). The same seed gives the same
// records on every machine: the generator uses its own random number generator and no library
// distributions. Text is Windows-1252, as the tables hold it.

#include "xbase/TFieldDef.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qm::bench {

constexpr int kAddressFieldCount = 23;
constexpr int kIsdelField = 20; // 0-based field numbers
constexpr int kMemoField = 22;

struct TAddressRecord {
    std::array<std::string, kAddressFieldCount> values; // field order; ISDEL as "T"/"F"
    bool deleted = false;
};

class TAddressGenerator {
public:
    static constexpr uint64_t kDefaultSeed = 0x5155494C4C4D4B31ull;

    explicit TAddressGenerator(uint64_t seed = kDefaultSeed);

    void Next(TAddressRecord& record);

    // A last-name prefix of 2 to 5 letters, upper case, as a search box would seek.
    std::string NamePrefix();

    static const std::vector<xbase::TFieldDef>& Fields();
    // The 26 tags of the address file (name, key expression) in creation order.
    static const std::vector<std::pair<std::string, std::string>>& Tags();

private:
    uint64_t Random();
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Random() % n); }
    bool Percent(uint32_t p) { return Below(100) < p; }

    uint64_t mState;
    uint64_t mCount = 0;
};

} // namespace qm::bench
