#include "envelopes/TEnvelopeRecordScope.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "xbase/TCursor.h"

namespace qm::envelopes {

TEnvelopeRecordScope::TEnvelopeRecordScope(data::TDataSet& dataSet) : mDataSet(dataSet)
{
    xbase::TCursor& cursor = dataSet.Cursor();
    mQuery = cursor.Query();
    mOrder = cursor.Order();
    mSingle = cursor.SingleIndexOrder();
    mRecNo = dataSet.RecNo();
    mDataSet.DisableControls();
}

TEnvelopeRecordScope::~TEnvelopeRecordScope()
{
    if (mDataSet.Active()) {
        try {
            xbase::TCursor& cursor = mDataSet.Cursor();
            if (cursor.Query() != mQuery)
                cursor.SetQuery(mQuery);
            if (mSingle)
                cursor.SetOrder(*mSingle);
            else if (cursor.Order() != mOrder || cursor.SingleIndexOrder())
                cursor.SetOrder(mOrder);
            if (mRecNo > 0 && mRecNo <= mDataSet.Table().RecordCount())
                cursor.Go(mRecNo);
            else
                cursor.GoTop();
        } catch (...) {
            // Putting the view back must never hide the job's own outcome.
        }
        try {
            mDataSet.Resync();
        } catch (...) {
        }
    }
    mDataSet.EnableControls();
}

bool TEnvelopeRecordScope::Shows(data::TDataSet& dataSet, uint32_t recNo)
{
    xbase::TCursor& cursor = dataSet.Cursor();
    if (recNo == 0 || recNo > dataSet.Table().RecordCount())
        return false;
    // Go reaches hidden records too; a shown one is where a step forward and back returns.
    cursor.Go(recNo);
    cursor.Skip(1);
    cursor.Skip(-1);
    if (cursor.Eof() || cursor.RecNo() != recNo)
        return false;
    return true;
}

void TEnvelopeRecordScope::Apply(TEnvelopeRecords records, bool startFromCurrent, QWidget* parent)
{
    xbase::TCursor& cursor = mDataSet.Cursor();
    if (records == TEnvelopeRecords::CurrentRecord) {
        if (mRecNo > 0)
            cursor.Go(mRecNo);
        mDataSet.Resync();
        return;
    }
    if (records == TEnvelopeRecords::AllRecords)
        cursor.SetQuery("!ISDEL");
    if (startFromCurrent) {
        if (Shows(mDataSet, mRecNo)) {
            mDataSet.Resync();
            return;
        }
        data::TMessageService::Inform(parent, OutOfRangeMessage());
    }
    cursor.GoTop();
    mDataSet.Resync();
}

} // namespace qm::envelopes
