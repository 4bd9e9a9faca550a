#include "reports/TReportDesignerRules.h"

namespace qm::reports {

QString TReportDesignerRules::DefaultFontCaption(const QString& name, int points, bool bold,
                                                 bool italic)
{
    QString caption = QStringLiteral("Default Font: %1, %2 pt ").arg(name).arg(points);
    if (bold)
        caption += QStringLiteral(", bold");
    if (italic)
        caption += QStringLiteral(", italic");
    return caption;
}

QString TReportDesignerRules::NoBandsMessage()
{
    return QStringLiteral("No report bands are selected. Please select at least one");
}

std::array<bool, 4> TReportDesignerRules::TicksOnSave(const std::array<bool, 4>& ticked,
                                                      const std::array<int, 4>& heights)
{
    std::array<bool, 4> result = ticked;
    for (std::size_t i = 0; i < result.size(); ++i)
        if (heights[i] <= 0)
            result[i] = false;
    return result;
}

bool TReportDesignerRules::AnyTicked(const std::array<bool, 4>& ticked)
{
    for (bool tick : ticked)
        if (tick)
            return true;
    return false;
}

void TReportDesignerRules::TakeBands(TReportSettings& settings, const std::array<bool, 4>& ticked,
                                     const std::array<int, 4>& heights)
{
    settings.useHeader = ticked[0];
    settings.useDetail = ticked[1];
    settings.useMemo = ticked[2];
    settings.useFooter = ticked[3];
    settings.headerHeight = ticked[0] ? heights[0] : 0;
    settings.detailHeight = ticked[1] ? heights[1] : 0;
    settings.footerHeight = ticked[3] ? heights[3] : 0;
}

const std::array<TReportDesignerRules::TAlignmentEntry, 3>& TReportDesignerRules::AlignmentEntries()
{
    static const std::array<TAlignmentEntry, 3> entries = {{
        {"Left Aligned", TMemoAlignment::Left},
        {"Centered", TMemoAlignment::Centre},
        {"Right Aligned", TMemoAlignment::Right},
    }};
    return entries;
}

} // namespace qm::reports
