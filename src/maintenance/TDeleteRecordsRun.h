#pragma once

// Delete Records. With filter expression F (empty: no filter):
// - All: every record is removed for good at once (the table is emptied); the count is the number
//   of records that were shown (not carrying the deletion mark).
// - Matching: the records F shows; NotMatching: the records ".not.(F)" shows.
// Only records without the deletion mark are counted and marked (ISDEL := true and the deletion
// mark, each record written whole); the table is committed at least every half second. The run
// cannot be cancelled. The caller's query is put back afterwards.

#include "maintenance/TRunProgress.h"

#include <QString>

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

enum class TDeleteScope { All, Matching, NotMatching };

class TDeleteRecordsRun {
public:
    struct TOutcome {
        uint32_t deleted = 0;
    };

    TDeleteRecordsRun(data::TDataSet& dataSet, TDeleteScope scope, const QString& filterExpression);

    // The query the run walks (empty: every record).
    QString Query() const;
    // "Deleted " + count + " records".
    static QString CountText(uint32_t count);

    // Throws xbase::TXbaseError for a bad filter expression; the error of TRunFailure::Stop when a
    // write fails (the records marked so far stay marked and are counted in the message).
    TOutcome Run(const TRunProgress& progress = {});

private:
    data::TDataSet& mDataSet;
    TDeleteScope mScope;
    QString mFilter;
};

} // namespace qm::maintenance
