#include "maintenance/TResultIndex.h"

#include "data/TDataSet.h"
#include "xbase/TCursor.h"
#include "xbase/TExpression.h"
#include "xbase/TSingleIndex.h"
#include "xbase/TTagBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qm::maintenance {

QString TResultIndex::StateZipPath(const QString& addressFilePath)
{
    return QFileInfo(addressFilePath).absoluteDir().filePath(QString::fromLatin1(kStateZipFile));
}

TResultIndex::TResultIndex(data::TDataSet& dataSet, const QString& path,
                           const QString& keyExpression)
    : mDataSet(dataSet), mPath(path)
{
    const std::string expression = keyExpression.toStdString();
    try {
        // Create replaces a file of that name, so one a crash left behind never lends its keys.
        mIndex = xbase::TCursor::CreateSingleIndex(dataSet.Table(), path.toStdString(), expression);
        mKey = std::make_unique<xbase::TExpression>(
            xbase::TExpression::Compile(expression, dataSet.Table().Fields()));
        mPending = std::make_unique<xbase::TTagBuilder>(mIndex->Tag().KeyLength());
        mAdded.assign((dataSet.Table().RecordCount() + 63) / 64, 0);
    } catch (...) {
        // The destructor does not run for a half-made index: its file goes here.
        if (mIndex) {
            try {
                mIndex->Close();
            } catch (...) {
            }
            mIndex.reset();
        }
        if (QFileInfo(path).isFile())
            QFile::remove(path);
        throw;
    }
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
    if (recNo == 0)
        return false;
    const std::size_t word = (recNo - 1) / 64;
    const uint64_t bit = uint64_t{1} << ((recNo - 1) % 64);
    if (word >= mAdded.size())
        mAdded.resize(word + 1, 0);
    if (mAdded[word] & bit)
        return false;
    mKey->EvalKey(record, mScratch);
    mScratch.resize(mIndex->Tag().KeyLength(), mIndex->Tag().TrailByte());
    if (mPending)
        mPending->Add(mScratch, recNo);
    else if (!mIndex->AddKey(mScratch, recNo))
        return false;
    mAdded[word] |= bit;
    ++mCount;
    return true;
}

void TResultIndex::Finish()
{
    if (mPending) {
        if (mPending->Count() > 0)
            mIndex->Tag().Rebuild(*mPending);
        mPending.reset();
    }
    mIndex->Flush();
}

void TResultIndex::MakeOrder()
{
    Finish();
    mDataSet.Cursor().SetOrder(*mIndex);
    mDataSet.First();
}

bool TResultIndex::IsOrder() const
{
    return mDataSet.Active() && mDataSet.Cursor().SingleIndexOrder() == mIndex.get();
}

} // namespace qm::maintenance
