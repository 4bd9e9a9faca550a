#include "maintenance/TStateZipCheckRun.h"

#include "data/TDataSet.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TResultIndex.h"
#include "maintenance/TStateZipRanges.h"
#include "xbase/TCursor.h"
#include "xbase/TSingleIndex.h"

namespace qm::maintenance {

TStateZipCheckRun::TStateZipCheckRun(data::TDataSet& dataSet, const TStateZipRanges& ranges,
                                     bool includeBlanks)
    : mDataSet(dataSet), mRanges(ranges), mIncludeBlanks(includeBlanks)
{
}

bool TStateZipCheckRun::Questionable(const TStateZipRanges& ranges, std::string_view state,
                                     std::string_view zip, bool includeBlanks)
{
    const bool blank = state.find_first_not_of(' ') == std::string_view::npos ||
                       zip.find_first_not_of(' ') == std::string_view::npos;
    if (blank)
        return includeBlanks;
    return !ranges.Valid(state, zip);
}

TStateZipCheckRun::TOutcome TStateZipCheckRun::Run(TResultIndex& index,
                                                   const TRunProgress& progress)
{
    TOutcome outcome;
    xbase::TTable& table = mDataSet.Table();
    xbase::TCursor& cursor = mDataSet.Cursor();
    if (mDataSet.Editing())
        mDataSet.Post();
    const int state = table.FieldIndex("STATE");
    const int zip = table.FieldIndex("ZIP");
    if (state < 0 || zip < 0)
        throw TMaintenanceError(
            QStringLiteral("The address file has no field %1.")
                .arg(state < 0 ? QStringLiteral("STATE") : QStringLiteral("ZIP")));
    struct TGuard {
        data::TDataSet& ds;
        ~TGuard()
        {
            try {
                ds.Cursor().SetTurboRead(false);
                ds.Resync();
            } catch (...) {
            }
        }
    } guard{mDataSet};

    cursor.SetOrder(0);
    cursor.SetTurboRead(true);
    TRunStep step;
    step.total = cursor.Count();
    for (cursor.GoTop(); !cursor.Eof();) {
        ++step.done;
        if (!table.Deleted() &&
            Questionable(mRanges, table.GetRaw(state), table.GetRaw(zip), mIncludeBlanks)) {
            index.Add(table.Record(), cursor.RecNo());
            ++outcome.questionable;
        }
        step.found = outcome.questionable;
        cursor.Skip();
        if (progress && progress(step)) {
            outcome.cancelled = !cursor.Eof();
            break;
        }
    }
    index.Finish();
    return outcome;
}

} // namespace qm::maintenance
