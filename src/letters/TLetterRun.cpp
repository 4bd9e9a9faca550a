#include "letters/TLetterRun.h"

#include "letters/TLetterPageSink.h"
#include "letters/TLetterRecords.h"
#include "letters/TLetterSource.h"

#include <QPainter>
#include <algorithm>
#include <exception>

namespace qm::letters {

QString TLetterRunOutcome::StatusText() const
{
    if (failed)
        return QStringLiteral("Letter Print Failed!");
    if (cancelled)
        return QStringLiteral("Letter Print Canceled!");
    return QStringLiteral("Letter Print Completed!");
}

QString TLetterRun::PageStatus(int pages)
{
    return QStringLiteral("Printing page ") + QString::number(pages);
}

void TLetterRun::PrintThisRecord(QPainter& painter, const QRect& rect, int copies,
                                 TLetterRunOutcome& outcome)
{
    mSource.MergeCurrent();
    for (int copy = 1; copy <= copies; ++copy) {
        painter.save();
        int next = mSource.DrawPage(painter, rect, 0);
        painter.restore();
        ++outcome.pages;
        while (next > 0) {
            mSink.NewPage();
            painter.save();
            const int following = mSource.DrawPage(painter, rect, next);
            painter.restore();
            // A page that does not move on would print forever.
            if (following > 0 && following <= next)
                throw std::runtime_error("The letter's layout did not advance past a page");
            next = following;
            ++outcome.pages;
        }
        if (copy < copies)
            mSink.NewPage();
    }
}

TLetterRunOutcome TLetterRun::Run(const TLetterRunOptions& options, const TAfterRecord& afterRecord)
{
    TLetterRunOutcome outcome;
    const int copies = std::clamp(options.copies, 1, kMaxCopies);
    // An empty set starts no document: no blank page, no file.
    if (mRecords.AtEnd())
        return outcome;
    try {
        QPainter& painter = mSink.Begin();
        const QRect rect = TLetterBounds::DeterminePrinterBounds(options.page, mSink.Device());
        if (rect.width() <= 0 || rect.height() <= 0)
            throw std::runtime_error("The letter's page leaves no room for text");
        while (!mRecords.AtEnd() && !outcome.cancelled) {
            PrintThisRecord(painter, rect, copies, outcome);
            ++outcome.records;
            if (options.onlyCurrent)
                break;
            mRecords.Next();
            if (!mRecords.AtEnd())
                mSink.NewPage();
            if (afterRecord && afterRecord(PageStatus(outcome.pages), outcome.pages)) {
                outcome.cancelled = true;
                mSink.Abort();
                return outcome;
            }
        }
        mSink.End();
    } catch (const std::exception& e) {
        outcome.failed = true;
        outcome.error = QString::fromUtf8(e.what());
        // Also when Begin failed half-way: the sink removes whatever it started.
        mSink.Abort();
    }
    return outcome;
}

} // namespace qm::letters
