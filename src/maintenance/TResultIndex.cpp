#include "maintenance/TResultIndex.h"

#include "data/TDataSet.h"
#include "xbase/TCursor.h"
#include "xbase/TExpression.h"
#include "xbase/TSingleIndex.h"

#include <QFile>

namespace qm::maintenance {

TResultIndex::TResultIndex(data::TDataSet& dataSet, const QString& path,
                           const QString& keyExpression)
    : mDataSet(dataSet), mPath(path)
{
    const std::string expression = keyExpression.toStdString();
    // Create replaces a file of that name, so one a crash left behind never lends its keys.
    mIndex = xbase::TCursor::CreateSingleIndex(dataSet.Table(), path.toStdString(), expression);
    mKey = std::make_unique<xbase::TExpression>(
        xbase::TExpression::Compile(expression, dataSet.Table().Fields()));
}

TResultIndex::~TResultIndex()
{
    try {
        if (mDataSet.Active() && mDataSet.Cursor().SingleIndexOrder() == mIndex.get()) {
            mDataSet.Cursor().SetOrder(0);
            mDataSet.Resync();
        }
        mIndex->Close();
    } catch (...) {
        // The file is deleted below whatever closing it said.
    }
    mIndex.reset();
    QFile::remove(mPath);
}

bool TResultIndex::Add(const xbase::TRecordView& record, uint32_t recNo)
{
    mKey->EvalKey(record, mScratch);
    mScratch.resize(mIndex->Tag().KeyLength(), mIndex->Tag().TrailByte());
    if (!mIndex->AddKey(mScratch, recNo))
        return false;
    ++mCount;
    return true;
}

void TResultIndex::MakeOrder()
{
    mDataSet.Cursor().SetOrder(*mIndex);
    mDataSet.First();
}

bool TResultIndex::IsOrder() const
{
    return mDataSet.Active() && mDataSet.Cursor().SingleIndexOrder() == mIndex.get();
}

} // namespace qm::maintenance
