#include "maintenance/TViewKeeper.h"

#include "data/TDataSet.h"
#include "xbase/TCursor.h"

namespace qm::maintenance {

TViewKeeper::TViewKeeper(data::TDataSet& dataSet) : mDataSet(dataSet)
{
    xbase::TCursor& cursor = dataSet.Cursor();
    mQuery = cursor.Query();
    mOrder = cursor.Order();
    mSingle = cursor.SingleIndexOrder();
    mRecNo = dataSet.RecNo();
}

TViewKeeper::~TViewKeeper()
{
    if (!mDataSet.Active())
        return;
    try {
        xbase::TCursor& cursor = mDataSet.Cursor();
        cursor.SetTurboRead(false);
        if (mRestoreQuery && cursor.Query() != mQuery)
            cursor.SetQuery(mQuery);
        if (mSingle)
            cursor.SetOrder(*mSingle);
        else
            cursor.SetOrder(mOrder);
        if (mRecNo != 0 && mRecNo <= mDataSet.Table().RecordCount())
            cursor.Go(mRecNo);
        else
            cursor.GoTop();
    } catch (...) {
        // Putting the view back must never hide the run's own outcome.
    }
    try {
        mDataSet.Resync();
    } catch (...) {
    }
}

} // namespace qm::maintenance
