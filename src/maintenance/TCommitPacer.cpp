#include "maintenance/TCommitPacer.h"

#include "xbase/TTable.h"

namespace qm::maintenance {

TCommitPacer::TCommitPacer(xbase::TTable& table) : mTable(table)
{
    mSince.start();
}

TCommitPacer::~TCommitPacer()
{
    if (!mPending)
        return;
    try {
        mTable.Commit();
    } catch (...) {
        // The run's own error is the one reported.
    }
}

void TCommitPacer::Wrote()
{
    mPending = true;
    if (mSince.elapsed() < kIntervalMs)
        return;
    mTable.Commit();
    ++mCommits;
    mPending = false;
    mSince.restart();
}

} // namespace qm::maintenance
