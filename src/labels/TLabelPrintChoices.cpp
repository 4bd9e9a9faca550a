#include "labels/TLabelPrintChoices.h"

namespace qm::labels {

TLabelPrintChoices::TLabelPrintChoices(bool filterSet)
    : mFilterSet(filterSet),
      mScope(filterSet ? TLabelScope::MatchingFilter : TLabelScope::AllRecords)
{
}

void TLabelPrintChoices::ChooseScope(TLabelScope scope)
{
    if (scope == TLabelScope::MatchingFilter && !mFilterSet)
        return;
    mScope = scope;
    mPresortDone = false;
    if (scope == TLabelScope::CurrentRecord)
        mPresort = false;
}

void TLabelPrintChoices::SetStartFromCurrent(bool on)
{
    mStartFromCurrent = on;
    mPresortDone = false;
}

void TLabelPrintChoices::SetPresort(bool on)
{
    if (PresortEnabled())
        mPresort = on;
}

void TLabelPrintChoices::SetPresortDone(bool done, uint64_t leftOut)
{
    mPresortDone = done;
    mLeftOut = done ? leftOut : 0;
}

} // namespace qm::labels
