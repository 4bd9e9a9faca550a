#include "labels/TLabelJobScope.h"

#include "data/TApollo.h"
#include "data/TDataSet.h"
#include "xbase/TEngineSettings.h"

namespace qm::labels {

TLabelJobScope::TLabelJobScope(data::TApollo& apollo) : mApollo(apollo)
{
    data::TDataSet& ds = apollo.DataSet();
    if (ds.Active()) {
        mRecNo = ds.RecNo();
        mQuery = apollo.Query();
        mOrder = apollo.IndexOrd();
    }
    mExact = xbase::EngineSettings().exact;
}

TLabelJobScope::~TLabelJobScope()
{
    xbase::EngineSettings().exact = mExact;
    data::TDataSet& ds = mApollo.DataSet();
    try {
        if (!ds.Active())
            return;
        if (ds.Editing())
            ds.Cancel();
        if (mApollo.IndexOrd() != mOrder)
            mApollo.SetOrder(mOrder);
        if (mApollo.Query() != mQuery)
            mApollo.SetQuery(mQuery);
        if (mRecNo > 0)
            ds.GoTo(mRecNo);
    } catch (...) {
        // The command's own outcome stands; the main window shows what the table holds.
    }
}

QString TLabelJobScope::ScopeQuery(TLabelScope scope, const QString& savedQuery, uint32_t recNo)
{
    switch (scope) {
    case TLabelScope::AllRecords:
        return QStringLiteral("NOT ISDEL");
    case TLabelScope::CurrentRecord:
        return QStringLiteral("Recno()=%1").arg(recNo);
    case TLabelScope::MatchingFilter:
        break;
    }
    return savedQuery;
}

QString TLabelJobScope::OutOfRangeMessage()
{
    return QStringLiteral("Current record is out of range. Starting with first record");
}

QString TLabelJobScope::PresortOrderMessage()
{
    return QStringLiteral("Labels will print/preview in the following order:\r\n  1. 5-Digit "
                          "presort\r\n  2. 3-Digit presort\r\n  3. ADC presort");
}

bool TLabelJobScope::Apply(TLabelScope scope, bool startFromCurrent)
{
    const QString query = ScopeQuery(scope, mQuery, mRecNo);
    data::TDataSet& ds = mApollo.DataSet();
    bool inScope = false;
    if (startFromCurrent && mRecNo > 0) {
        // Is the saved record one of the scope's? Asked of the engine with the scope's own query,
        // so deleted-record hiding counts as well.
        const QString probe =
            (query.isEmpty() ? QString() : QStringLiteral("(%1).and. ").arg(query)) +
            QStringLiteral("RECNO()=%1").arg(mRecNo);
        mApollo.SetQuery(probe);
        inScope = !ds.IsEmpty() && ds.RecNo() == mRecNo;
    }
    if (mApollo.Query() != query || startFromCurrent)
        mApollo.SetQuery(query);
    if (inScope) {
        ds.GoTo(mRecNo);
        return true;
    }
    ds.First();
    return !startFromCurrent;
}

bool TLabelJobScope::UseZipOrder()
{
    const int zip = mApollo.TagArea(QStringLiteral("ZIP"));
    if (zip <= 0)
        return false;
    xbase::EngineSettings().exact = false;
    mApollo.SetOrder(zip);
    return true;
}

} // namespace qm::labels
