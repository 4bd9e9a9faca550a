#pragma once

// The records of one report run on the address table: the report's sort order, "All records"
// / "Records matching filter" / "Only current record", "Start from current record", and the
// soft seek of "0" that makes the list reports skip keys sorting before it. What the table
// showed before (order, query, scope, current record) comes back when Restore() runs or the
// scope is destroyed, also after an error.
//
// Contract: construct it on the table as the main window holds it (the remembered record is its
// current one); call Apply once; draw while !AtEnd(). Engine errors pass out of Apply.

#include <QString>
#include <cstdint>
#include <functional>

namespace qm::data {
class TApollo;
class TDataSet;
} // namespace qm::data

namespace qm::reports {

enum class TRecordChoice { All, MatchingFilter, CurrentOnly };

struct TRunScopeOptions {
    QString sortTag; // empty: the order stays as it is (user reports)
    TRecordChoice choice = TRecordChoice::MatchingFilter;
    bool startFromCurrent = false;
    bool seekZero = false; // start at the first key "0" or above (list reports 1 to 3)
};

class TReportRunScope {
public:
    static constexpr const char* kOutOfRange =
        "Current record is out of range. Starting with first record";
    // "All records" shows every record not marked deleted.
    static constexpr const char* kAllQuery = "!ISDEL";

    using TInform = std::function<void(const QString& text)>;

    TReportRunScope(data::TDataSet& dataSet, data::TApollo& apollo);
    ~TReportRunScope();
    TReportRunScope(const TReportRunScope&) = delete;
    TReportRunScope& operator=(const TReportRunScope&) = delete;

    // Sets order, query and start record; inform gets the out-of-range message.
    void Apply(const TRunScopeOptions& options, const TInform& inform);
    // True when the run has no record to print (an empty view, or a soft seek past every key).
    bool AtEnd() const;
    uint32_t RememberedRecord() const { return mRecNo; }
    // Puts back order, query, scope and record; runs once, errors ignored.
    void Restore();

private:
    bool Shown(uint32_t recNo);
    void SeekZero();

    data::TDataSet& mDataSet;
    data::TApollo& mApollo;
    uint32_t mRecNo = 0;
    int mOrder = 0;
    QString mQuery;
    bool mPastEnd = false;
    bool mRestored = false;
};

} // namespace qm::reports
