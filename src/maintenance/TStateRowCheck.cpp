#include "maintenance/TStateRowCheck.h"

#include "maintenance/TStateZipRanges.h"

namespace qm::maintenance {

QString TStateRowCheck::Problem(const QString& name, const QString& state, const QString& lowZip,
                                const QString& highZip)
{
    const QString row = name.trimmed().isEmpty()
                            ? QStringLiteral("This row")
                            : QStringLiteral("The row \"") + name.trimmed() + QLatin1Char('"');
    if (state.trimmed().isEmpty())
        return row + QStringLiteral(" has no abbreviation. Enter one before saving.");
    const std::string low = lowZip.trimmed().toStdString();
    const std::string high = highZip.trimmed().toStdString();
    // The starting ZIP must itself lie in the row's range.
    if (!TStateZipRanges::InRange(low, low, high))
        return row + QStringLiteral(" (") + state.trimmed() +
               QStringLiteral(") starts after it ends: its Starting Zip/Post must not come after "
                              "its Ending Zip/Post.");
    return {};
}

} // namespace qm::maintenance
