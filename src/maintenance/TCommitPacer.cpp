#include "maintenance/TCommitPacer.h"

#include "xbase/TTable.h"

#include <chrono>

namespace qm::maintenance {

TCommitPacer::TCommitPacer(xbase::TTable& table, TClock clock)
    : mTable(table), mClock(std::move(clock))
{
    if (!mClock)
        mClock = [] {
            using namespace std::chrono;
            return std::int64_t(
                duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
        };
    mSince = mClock();
}

TCommitPacer::~TCommitPacer()
{
    if (!mPending)
        return;
    try {
        mTable.Commit();
    } catch (...) {
        // Only reached when the run is left by an exception: that error is the one reported.
    }
}

void TCommitPacer::Finish()
{
    if (!mPending)
        return;
    mPending = false;
    mTable.Commit();
    ++mCommits;
}

void TCommitPacer::Wrote()
{
    mPending = true;
    if (mClock() - mSince < kIntervalMs)
        return;
    mTable.Commit();
    ++mCommits;
    mPending = false;
    mSince = mClock();
}

} // namespace qm::maintenance
