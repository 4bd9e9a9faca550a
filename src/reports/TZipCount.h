#pragma once

// Counting the ZIP codes of the address table into a TZipTally: natural record order with the
// engine's read-ahead, the table's query (the main window's filter) in force. Order and current
// record come back afterwards, also when the count is cancelled or fails.
//
// Contract: Status gets "Reading database records...", then "Reading record N" whenever the
// record reached is a multiple of 100, then "Sorting Zip Codes..."; Poll is asked every few
// hundred records and returns false to cancel (the window lets events run there). Run returns
// false when cancelled (the tally is then cleared). Engine errors pass on.

#include <QString>
#include <functional>

namespace qm::data {
class TDataSet;
}

namespace qm::reports {

class TZipTally;

class TZipCount {
public:
    using TStatus = std::function<void(const QString& text)>;
    using TPoll = std::function<bool()>;

    static constexpr int kStatusEvery = 100;

    explicit TZipCount(data::TDataSet& dataSet) : mDataSet(dataSet) {}

    void SetStatus(TStatus status) { mStatus = std::move(status); }
    void SetPoll(TPoll poll) { mPoll = std::move(poll); }

    bool Run(TZipTally& tally);

private:
    data::TDataSet& mDataSet;
    TStatus mStatus;
    TPoll mPoll;
};

} // namespace qm::reports
