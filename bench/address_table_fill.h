#pragma once

// Fills an open table with the generator's address records (memos, deletion marks and all), the
// set-up step the address-file and window benchmarks share.

namespace qm::xbase {
class TTable;
}

namespace qm::bench {

void FillAddressTable(xbase::TTable& table, long count);

} // namespace qm::bench
