#include "maintenance/TDeleteRecordsRun.h"

#include "data/TDataSet.h"
#include "data/TWin1252.h"
#include "maintenance/TCommitPacer.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TRunFailure.h"
#include "maintenance/TViewKeeper.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TXbaseError.h"

#include <vector>

namespace qm::maintenance {

TDeleteRecordsRun::TDeleteRecordsRun(data::TDataSet& dataSet, TDeleteScope scope,
                                     const QString& filterExpression)
    : mDataSet(dataSet), mScope(scope), mFilter(filterExpression.trimmed())
{
    if (mFilter.isEmpty())
        mScope = TDeleteScope::All;
}

QString TDeleteRecordsRun::Query() const
{
    switch (mScope) {
    case TDeleteScope::All:
        return {};
    case TDeleteScope::Matching:
        return mFilter;
    case TDeleteScope::NotMatching:
        return QStringLiteral(".not.(") + mFilter + QLatin1Char(')');
    }
    return {};
}

QString TDeleteRecordsRun::CountText(uint32_t count)
{
    return QStringLiteral("Deleted ") + QString::number(count) + QStringLiteral(" records");
}

TDeleteRecordsRun::TOutcome TDeleteRecordsRun::Run(const TRunProgress& progress)
{
    TOutcome outcome;
    xbase::TTable& table = mDataSet.Table();
    xbase::TCursor& cursor = mDataSet.Cursor();
    if (mDataSet.Editing())
        mDataSet.Cancel();
    const int isdel = table.FieldIndex("ISDEL");
    if (isdel < 0)
        throw TMaintenanceError(QStringLiteral("The address file has no field ISDEL."));
    const auto query = data::TWin1252::Encode(Query());
    if (!query)
        throw TMaintenanceError(
            QStringLiteral("The filter holds a character that cannot be used here."));

    // Records already carrying the deletion mark are neither counted nor marked again.
    xbase::TSettingScope hideMarked(&xbase::TEngineSettings::deleted, true);
    TViewKeeper keeper(mDataSet);
    cursor.SetQuery(query->toStdString());
    cursor.SetOrder(0);
    TRunStep step;
    if (mScope == TDeleteScope::All) {
        step.total = cursor.Count();
        try {
            table.Zap();
        } catch (const xbase::TXbaseError& error) {
            throw TRunFailure::Stop(table, QStringLiteral("deleting"), 0, error);
        }
        outcome.deleted = step.total;
        step.done = step.found = step.total;
        if (progress)
            progress(step);
        return outcome;
    }

    // The matches are collected first: marking a record takes it out of the walk.
    std::vector<uint32_t> records;
    cursor.SetTurboRead(true);
    for (cursor.GoTop(); !cursor.Eof(); cursor.Skip())
        records.push_back(cursor.RecNo());
    cursor.SetTurboRead(false);
    step.total = uint32_t(records.size());

    TCommitPacer pacer(table);
    try {
        for (const uint32_t recNo : records) {
            table.Go(recNo);
            table.PutLogical(isdel, true);
            table.SetDeleted(true); // posts the record with its mark
            pacer.Wrote();
            ++outcome.deleted;
            step.done = step.found = outcome.deleted;
            if (progress)
                progress(step);
        }
        pacer.Finish();
    } catch (const xbase::TXbaseError& error) {
        throw TRunFailure::Stop(table, QStringLiteral("deleting"), outcome.deleted, error);
    }
    return outcome;
}

} // namespace qm::maintenance
