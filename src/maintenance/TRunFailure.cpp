#include "maintenance/TRunFailure.h"

#include "data/TErrorReason.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

namespace qm::maintenance {

TMaintenanceError TRunFailure::Stop(xbase::TTable& table, const QString& doing, uint32_t count,
                                    const xbase::TXbaseError& error)
{
    try {
        table.RecoverAfterFailure();
    } catch (...) {
        // The index stays marked out of date; the run's own error is the one reported.
    }
    return TMaintenanceError(data::TErrorReason::WithReason(
        QStringLiteral("Stopped by an error after %1 %2 records.").arg(doing).arg(count),
        data::TErrorReason::Of(error)));
}

} // namespace qm::maintenance
