#pragma once

// The state/ZIP check: walks the shown records in record order and adds to the result index every
// record whose state is not in the state/ZIP range table or whose ZIP lies outside all of its
// state's rows (TStateZipRanges). Without includeBlanks a record with an empty state or ZIP is
// skipped; with it, such a record is always questionable.
//
// The caller sets the query ("!ISDEL") and makes the result index the order afterwards; the data
// set stands in record order when the run ends.

#include "maintenance/TRunProgress.h"

#include <QString>

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

class TResultIndex;
class TStateZipRanges;

class TStateZipCheckRun {
public:
    struct TOutcome {
        uint32_t questionable = 0;
        bool cancelled = false;
    };

    TStateZipCheckRun(data::TDataSet& dataSet, const TStateZipRanges& ranges, bool includeBlanks);

    // The key of the result index: the records are listed by name.
    static QString KeyExpression() { return QStringLiteral("upper(LNAME)+upper(FNAME)"); }

    // Whether one record's state and ZIP are questionable.
    static bool Questionable(const TStateZipRanges& ranges, std::string_view state,
                             std::string_view zip, bool includeBlanks);

    TOutcome Run(TResultIndex& index, const TRunProgress& progress = {});

private:
    data::TDataSet& mDataSet;
    const TStateZipRanges& mRanges;
    bool mIncludeBlanks;
};

} // namespace qm::maintenance
