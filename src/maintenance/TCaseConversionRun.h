#pragma once

// Convert Case: converts the chosen fields of the current record, of every record not deleted, or
// of every record the filter shows, with the engine's Windows-1252 letter maps (TCaseMapping), so
// no value changes length and no upper-cased key moves. Each record is written whole or not at all;
// the table is committed at least every half second. The query, order and current record are the
// same afterwards (for "All Records" the query "!ISDEL" is used during the run).

#include "maintenance/TCaseMapping.h"
#include "maintenance/TRunProgress.h"

#include <QStringList>

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

enum class TCaseScope { CurrentRecord, AllRecords, FilterMatches };

struct TCaseOptions {
    TCaseScope scope = TCaseScope::CurrentRecord;
    TCaseKind kind = TCaseKind::Upper;
    QStringList fields; // field names
};

class TCaseConversionRun {
public:
    struct TOutcome {
        uint32_t records = 0; // records gone through
        uint32_t changed = 0; // records whose values changed
        bool cancelled = false;
    };

    TCaseConversionRun(data::TDataSet& dataSet, const TCaseOptions& options);

    // Throws TMaintenanceError for a field the file does not have, and TRunFailure::Stop
    // when a write fails (the records done so far stay converted and are counted in the
    // message).
    TOutcome Run(const TRunProgress& progress = {});

private:
    data::TDataSet& mDataSet;
    TCaseOptions mOptions;
};

} // namespace qm::maintenance
