#pragma once

// The duplicate check: walks the shown records of the address file in the order of its NAME tag
// (UPPER(LNAME-FNAME)) or STREET tag and compares each record with the record before it; both
// records of every match go into the result index, so that a run of equal records is listed once
// each. The count is the number of records equal to the one before them (a run of three counts
// two).
//
// Comparisons ignore case as the engine's UPPER() does (Windows-1252: Émile = ÉMILE) and trailing
// blanks:
// - Name: last name and first name equal, each on its own (Browne/Ann is not Brown/Eann).
// - Initial: last name and the first character of the first name equal.
// - Street: the first streetChars characters of STREET equal.
// A record with an empty last name (name checks) or an empty street prefix (street check) is not
// compared, but its values become the previous ones, as the check has always done.
//
// The caller sets the query ("!ISDEL"); the run hides records carrying the deletion mark as the
// engine's setting says. Afterwards the data set stands on the tag's order (the caller makes the
// result index the order when something was found).

#include "maintenance/TRunProgress.h"

#include <QString>

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

class TResultIndex;

enum class TDuplicateKind { Name, Initial, Street };

struct TDuplicateOptions {
    TDuplicateKind kind = TDuplicateKind::Name;
    int streetChars = 30; // 1 to 30
};

class TDuplicateCheckRun {
public:
    static constexpr int kMaxStreetChars = 30;

    struct TOutcome {
        uint32_t duplicates = 0; // records equal to the one before them
        uint32_t listed = 0;     // records in the result index
        bool cancelled = false;
    };

    TDuplicateCheckRun(data::TDataSet& dataSet, const TDuplicateOptions& options);

    // The key of the result index and the tag the walk follows.
    static QString KeyExpression(TDuplicateKind kind);
    static QString TagName(TDuplicateKind kind);

    // Throws TMaintenanceError when the tag is missing (naming it), xbase::TXbaseError from the
    // engine.
    TOutcome Run(TResultIndex& index, const TRunProgress& progress = {});

private:
    data::TDataSet& mDataSet;
    TDuplicateOptions mOptions;
};

} // namespace qm::maintenance
