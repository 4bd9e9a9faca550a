#pragma once

// The letter print loop: for each record of the set, a fresh merged copy of the template, its
// pages drawn into the text rectangle of each sheet, as many times as copies asks. Every copy
// starts on a new page, and no page follows the last record's last copy.
//
// After each record the run reports the status ("Printing page N") to the caller, who lets
// window messages run and may ask to cancel; a cancelled run aborts the sink, so nothing of the
// job is kept. An error anywhere (merge, drawing, the sink) ends the run, aborts the sink (no
// half-written PDF is left) and is reported in the outcome.

#include "letters/TLetterBounds.h"

#include <QString>
#include <functional>

namespace qm::letters {

class TLetterRecords;
class TLetterSource;
class TLetterPageSink;

struct TLetterRunOptions {
    int copies = 1;           // 1..999
    bool onlyCurrent = false; // print the record the set stands on, then stop
    TLetterPageTwips page;    // the template's page
};

struct TLetterRunOutcome {
    int pages = 0;
    int records = 0;
    bool cancelled = false;
    bool failed = false;
    QString error; // the failure's message when failed

    // "Letter Print Completed!", "Letter Print Canceled!" or "Letter Print Failed!".
    QString StatusText() const;
};

class TLetterRun {
public:
    static constexpr int kMaxCopies = 999;

    // Called after each record with the status line; returns true to cancel the job.
    using TAfterRecord = std::function<bool(const QString& status, int pages)>;

    TLetterRun(TLetterRecords& records, TLetterSource& source, TLetterPageSink& sink)
        : mRecords(records), mSource(source), mSink(sink)
    {
    }

    TLetterRunOutcome Run(const TLetterRunOptions& options, const TAfterRecord& afterRecord = {});

    static QString PageStatus(int pages);

private:
    void PrintThisRecord(QPainter& painter, const QRect& rect, int copies,
                         TLetterRunOutcome& outcome);

    TLetterRecords& mRecords;
    TLetterSource& mSource;
    TLetterPageSink& mSink;
};

} // namespace qm::letters
