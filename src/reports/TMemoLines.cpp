#include "reports/TMemoLines.h"

namespace qm::reports {

QStringList TMemoLines::Break(const QString& memo, double width,
                              const design::TWordWrap::TMeasure& measure)
{
    const QStringList hard = design::TWordWrap::SplitLines(memo);
    if (hard.isEmpty() || (hard.size() == 1 && hard.front().trimmed().isEmpty()))
        return {};
    return design::TWordWrap::Wrap(hard, width, measure);
}

} // namespace qm::reports
