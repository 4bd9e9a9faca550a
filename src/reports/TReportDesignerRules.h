#pragma once

// What the report designer decides about its texts and its "Save": the default font button's
// caption, the memo band's menu entries, and which bands stay ticked when the report is saved.

#include "reports/TReportSettings.h"

#include <QString>
#include <array>

namespace qm::reports {

class TReportDesignerRules {
public:
    static constexpr int kDescriptionLength = 60;

    // "Default Font: " + name + ", " + size + " pt " followed by ", bold" and then ", italic"
    // when set.
    static QString DefaultFontCaption(const QString& name, int points, bool bold, bool italic);

    // "No report bands are selected. Please select at least one".
    static QString NoBandsMessage();

    // The ticks of header, detail, memo and footer after "Save" untick every band of height 0.
    // heights: header, detail, memo strip, footer as shown.
    static std::array<bool, 4> TicksOnSave(const std::array<bool, 4>& ticked,
                                           const std::array<int, 4>& heights);
    static bool AnyTicked(const std::array<bool, 4>& ticked);

    // The settings a saved report keeps: the bands in use as ticked, the heights of the shared
    // bands as shown (0 for a band not in use).
    static void TakeBands(TReportSettings& settings, const std::array<bool, 4>& ticked,
                          const std::array<int, 4>& heights);

    // The memo menu's alignment entries in menu order ("Left Aligned", "Centered", "Right
    // Aligned") with the alignment each sets.
    struct TAlignmentEntry {
        const char* caption;
        TMemoAlignment alignment;
    };
    static const std::array<TAlignmentEntry, 3>& AlignmentEntries();
};

} // namespace qm::reports
