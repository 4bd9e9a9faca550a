#pragma once

// The records an envelope job prints, and the guard that gives the address table back as it was.
//
// Created before the job, it remembers the data set's record number, query (the main window's
// filter) and order, and suspends its display updates; when it goes out of scope, also after an
// error thrown mid-run, it puts the query, the order and (when one was remembered) the record
// back and resumes the display. Errors while restoring are ignored.
//
// Apply sets the job's scope: "All records" prints every record without the deletion mark (the
// query becomes "!ISDEL"), "Records matching filter" keeps the filter, "Only current record"
// keeps filter and position. Unless only the current record prints, the job starts at the first
// record, or with "Start from current record" at the remembered one when the scope shows it;
// when it does not, the message "Current record is out of range. Starting with first record" is
// shown (TMessageService) and the job starts at the first record.

#include <QString>
#include <cstdint>
#include <string>

class QWidget;

namespace qm::xbase {
class TSingleIndex;
}

namespace qm::data {
class TDataSet;
}

namespace qm::envelopes {

enum class TEnvelopeRecords { AllRecords, MatchingFilter, CurrentRecord };

class TEnvelopeRecordScope {
public:
    explicit TEnvelopeRecordScope(data::TDataSet& dataSet);
    ~TEnvelopeRecordScope();
    TEnvelopeRecordScope(const TEnvelopeRecordScope&) = delete;
    TEnvelopeRecordScope& operator=(const TEnvelopeRecordScope&) = delete;

    // Positions the data set on the job's first record (see above). Engine errors propagate.
    void Apply(TEnvelopeRecords records, bool startFromCurrent, QWidget* parent = nullptr);

    uint32_t SavedRecNo() const { return mRecNo; }

    static QString OutOfRangeMessage()
    {
        return QStringLiteral("Current record is out of range. Starting with first record");
    }
    // Whether the cursor's order and query show the record (it stays on it when so).
    static bool Shows(data::TDataSet& dataSet, uint32_t recNo);

private:
    data::TDataSet& mDataSet;
    std::string mQuery;
    int mOrder = 0;
    xbase::TSingleIndex* mSingle = nullptr;
    uint32_t mRecNo = 0;
};

} // namespace qm::envelopes
