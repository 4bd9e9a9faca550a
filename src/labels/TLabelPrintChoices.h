#pragma once

// What the "Print Labels" window's choices allow, apart from its widgets: which records, whether
// to start from the current record, whether to presort for bulk mail, and whether a presort of
// this visit can be used again.
//
// "Only current record" turns presort off and makes it unavailable; the other two choices make it
// available again (off). Any click on a record choice or on "Start from current record" means
// the records may differ from those the last presort read, so the presort runs again.

#include <cstdint>

namespace qm::labels {

enum class TLabelScope { AllRecords, MatchingFilter, CurrentRecord };

class TLabelPrintChoices {
public:
    // Without a filter set, "Records matching filter" is unavailable and "All records" chosen.
    explicit TLabelPrintChoices(bool filterSet);

    TLabelScope Scope() const { return mScope; }
    bool FilterChoiceEnabled() const { return mFilterSet; }
    // A click on one of the record choices (also on the one already chosen).
    void ChooseScope(TLabelScope scope);

    bool StartFromCurrent() const { return mStartFromCurrent; }
    void SetStartFromCurrent(bool on);

    bool PresortEnabled() const { return mScope != TLabelScope::CurrentRecord; }
    bool Presort() const { return mPresort; }
    // Ignored while presort is unavailable.
    void SetPresort(bool on);

    bool PresortDone() const { return mPresortDone; }
    // After a presort run: whether it finished, and how many records it left out.
    void SetPresortDone(bool done, uint64_t leftOut = 0);
    uint64_t PresortLeftOut() const { return mPresortDone ? mLeftOut : 0; }
    // Presort is on and the list of this visit cannot be used.
    bool PresortNeeded() const { return mPresort && !mPresortDone; }

private:
    bool mFilterSet;
    TLabelScope mScope;
    bool mStartFromCurrent = false;
    bool mPresort = false;
    bool mPresortDone = false;
    uint64_t mLeftOut = 0;
};

} // namespace qm::labels
