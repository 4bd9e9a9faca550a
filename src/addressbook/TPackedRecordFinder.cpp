#include "addressbook/TPackedRecordFinder.h"

#include "data/TDataSet.h"

namespace qm::addressbook {
namespace {

// Fields whose stored bytes point into the memo file; a pack rewrites them.
bool PointsIntoMemo(xbase::TFieldType type)
{
    using T = xbase::TFieldType;
    return type == T::Memo || type == T::General || type == T::Picture || type == T::Blob;
}

} // namespace

TPackedRecordFinder::TPackedRecordFinder(data::TDataSet& dataSet) : mDataSet(dataSet)
{
    if (!dataSet.Active() || dataSet.IsEmpty())
        return;
    mRecNo = dataSet.RecNo();
    xbase::TTable& table = dataSet.Table();
    if (table.RecordDeleted(mRecNo))
        return;
    uint32_t marked = 0;
    for (uint32_t r = 1; r < mRecNo; ++r)
        marked += table.RecordDeleted(r) ? 1 : 0;
    mPackedRecNo = mRecNo - marked;
    mValues = ValuesOf(mRecNo);
}

std::string TPackedRecordFinder::ValuesOf(uint32_t recNo) const
{
    xbase::TTable& table = mDataSet.Table();
    const xbase::TRecordView view = table.ReadRecord(recNo);
    std::string values;
    for (const xbase::TFieldInfo& field : table.Fields())
        if (!PointsIntoMemo(field.type))
            values.append(view.Field(field));
    return values;
}

bool TPackedRecordFinder::GoBack()
{
    if (!mDataSet.Active())
        return false;
    xbase::TTable& table = mDataSet.Table();
    for (uint32_t candidate : {mPackedRecNo, mRecNo}) {
        if (mPackedRecNo != 0 && candidate <= table.RecordCount() &&
            !table.RecordDeleted(candidate) && ValuesOf(candidate) == mValues) {
            mDataSet.GoTo(candidate);
            return true;
        }
    }
    mDataSet.First();
    return false;
}

} // namespace qm::addressbook
