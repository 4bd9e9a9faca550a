#include "reports/TReportRunScope.h"

#include "data/TApollo.h"
#include "data/TApolloEnv.h"
#include "data/TDataSet.h"
#include "xbase/TCursor.h"

namespace qm::reports {

TReportRunScope::TReportRunScope(data::TDataSet& dataSet, data::TApollo& apollo)
    : mDataSet(dataSet), mApollo(apollo)
{
    mRecNo = dataSet.RecNo();
    mOrder = apollo.IndexOrd();
    mQuery = apollo.Query();
}

TReportRunScope::~TReportRunScope()
{
    Restore();
}

void TReportRunScope::Apply(const TRunScopeOptions& options, const TInform& inform)
{
    if (!options.sortTag.isEmpty()) {
        const int order = mApollo.TagArea(options.sortTag);
        if (order == 0)
            throw data::TDataSetError(QStringLiteral("The address file has no index tag ") +
                                      options.sortTag);
        mApollo.SetOrder(order);
    }
    switch (options.choice) {
    case TRecordChoice::All:
        mApollo.SetQuery(QString::fromLatin1(kAllQuery));
        break;
    case TRecordChoice::CurrentOnly:
        mApollo.SetQuery(QStringLiteral("Recno()=") + QString::number(mRecNo));
        break;
    case TRecordChoice::MatchingFilter:
        break;
    }
    // One record is the whole run: the seek of "0" would only pass it by.
    const bool seek = options.seekZero && options.choice != TRecordChoice::CurrentOnly;
    if (options.startFromCurrent) {
        if (mRecNo != 0 && Shown(mRecNo)) {
            mDataSet.GoTo(mRecNo);
            return;
        }
        if (inform)
            inform(QString::fromLatin1(kOutOfRange));
    }
    mDataSet.First();
    if (seek)
        SeekZero();
}

bool TReportRunScope::Shown(uint32_t recNo)
{
    xbase::TCursor& cursor = mDataSet.Cursor();
    const std::string query = cursor.Query();
    const std::string probe = (query.empty() ? std::string() : "(" + query + ").and.") +
                              "RECNO()=" + std::to_string(recNo);
    cursor.SetQuery(probe);
    cursor.GoTop();
    const bool shown = !cursor.Eof() && cursor.RecNo() == recNo;
    cursor.SetQuery(query);
    return shown;
}

void TReportRunScope::SeekZero()
{
    const data::TApolloEnv::TScoped soft = data::TApolloEnv::ScopedSoftSeek(true);
    xbase::TCursor& cursor = mDataSet.Cursor();
    cursor.Seek("0");
    if (cursor.Eof())
        mPastEnd = true;
    else
        mDataSet.GoTo(cursor.RecNo());
}

bool TReportRunScope::AtEnd() const
{
    return mPastEnd || mDataSet.IsEmpty();
}

void TReportRunScope::Restore()
{
    if (mRestored)
        return;
    mRestored = true;
    try {
        if (!mDataSet.Active())
            return;
        if (mDataSet.Editing())
            mDataSet.Cancel();
        if (mApollo.IndexOrd() != mOrder)
            mApollo.SetOrder(mOrder);
        if (mApollo.Query() != mQuery)
            mApollo.SetQuery(mQuery);
        if (mDataSet.Cursor().HasScope())
            mApollo.SetScope({}, {});
        if (mRecNo != 0)
            mDataSet.GoTo(mRecNo);
    } catch (...) {
        // Putting the table back must never replace the error that ended the run.
    }
}

} // namespace qm::reports
