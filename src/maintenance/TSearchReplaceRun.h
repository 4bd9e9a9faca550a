#pragma once

// Search and Replace on one field of the address file: every record not carrying the deletion mark
// (and, with a scope expression, for which it is true) whose value passes the test (TReplaceTest)
// gets the replacement: the whole field, or each matching text replaced (TTextReplace). A new
// value longer than the field is not written: the record is left unchanged and counted apart.
// Each record is written whole or not at all; the table is committed at least every half second.
// The run walks in record order with no query and puts the caller's view back afterwards.

#include "maintenance/TRunProgress.h"

#include <QString>

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

struct TReplaceOptions {
    QString field;       // field name
    QString find;        // empty: the field is empty
    bool exactly = true; // else "contains"
    bool caseSensitive = true;
    bool wholeField = true; // else only the matching text
    QString replacement;
    QString scopeExpression; // empty: every record
};

class TSearchReplaceRun {
public:
    struct TOutcome {
        uint32_t replaced = 0;
        uint32_t notFitting = 0;
        bool cancelled = false;
    };

    TSearchReplaceRun(data::TDataSet& dataSet, const TReplaceOptions& options);

    // The question asked before the run: three lines joined by CR (field, condition, action).
    static QString Question(const QString& fieldLabel, const TReplaceOptions& options);
    // "Replaced " + count + " records".
    static QString CountText(uint32_t count);
    // The closing message: "Replacement done", and the records left unchanged when there were any.
    static QString DoneText(const TOutcome& outcome);

    // Throws TMaintenanceError for a field the file lacks, a text the code page cannot hold (named)
    // or a whole-field replacement longer than the field, and the error of TRunFailure::Stop when a
    // write fails (the records replaced so far stay so and are counted in the message);
    // xbase::TXbaseError for a bad scope expression.
    TOutcome Run(const TRunProgress& progress = {});

private:
    data::TDataSet& mDataSet;
    TReplaceOptions mOptions;
};

} // namespace qm::maintenance
