#pragma once

// One run of the bulk-mail presort over the address table as the "Print Labels" window scoped
// it: reads every shown record in natural order with turbo read on, groups the ZIP keys
// (TPresort) and writes the presort file. The "Bulk Mail Presorting" window shows its status
// texts and sets its cancel flag; the run itself has no widgets.
//
// Whatever happens (finished, cancelled, an engine or file error) the table gets its index order
// back and turbo read is off again. A cancel seen at any point, also after the file was written,
// leaves no presort file from this run. Status texts: "Reading database records...", "Reading
// record " + number (every 100 records), "Sorting Zip Codes...".

#include "labels/TPresort.h"

#include <QString>
#include <atomic>
#include <functional>

namespace qm::data {
class TApollo;
}

namespace qm::labels {

class TPresortRun {
public:
    enum class TOutcome { Finished, Cancelled, Failed };
    using TStatus = std::function<void(const QString& text)>;
    // Lets pending window messages run (a click on Cancel sets the flag meanwhile).
    using TPump = std::function<void()>;

    TPresortRun(data::TApollo& apollo, QString presortPath);

    TOutcome Run(const std::atomic<bool>& cancel, const TStatus& status = {},
                 const TPump& pump = {});

    const TPresortCounts& Counts() const { return mCounts; }
    // Set when the outcome is Failed: what went wrong, naming the file.
    const QString& Error() const { return mError; }

    // "N record(s) have no valid ZIP code and are not printed at all in a presorted job."
    static QString LeftOutMessage(uint64_t records);

private:
    data::TApollo& mApollo;
    QString mPath;
    TPresortCounts mCounts;
    QString mError;
};

} // namespace qm::labels
