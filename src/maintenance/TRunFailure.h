#pragma once

// What a bulk run does when a write fails part way: the table is brought back in step as far as
// that goes (xbase::TTable::RecoverAfterFailure: reopened, its index rebuilt when the failure left
// it out of date; should that fail too, the index stays marked out of date and the next open
// offers the rebuild), and the error thrown says how many records the run had changed:
// "Stopped by an error after " + doing + " " + count + " records." with the engine's reason on a
// second line. The records counted were written; the one being written when it failed is not
// counted.

#include "maintenance/TMaintenanceError.h"

#include <QString>
#include <cstdint>

namespace qm::xbase {
class TTable;
class TXbaseError;
} // namespace qm::xbase

namespace qm::maintenance {

class TRunFailure {
public:
    static TMaintenanceError Stop(xbase::TTable& table, const QString& doing, uint32_t count,
                                  const xbase::TXbaseError& error);
};

} // namespace qm::maintenance
