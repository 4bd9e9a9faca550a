#include "richtext/TPageLayout.h"

#include <initializer_list>

namespace qm::richtext {

namespace {

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

bool TPageLayout::IsUsable() const
{
    if (!InRange(paperWidth, 1, MaxTwips) || !InRange(paperHeight, 1, MaxTwips))
        return false;
    for (int margin : {marginLeft, marginRight, marginTop, marginBottom})
        if (!InRange(margin, 0, MaxTwips))
            return false;
    return TextWidth() > 0 && TextHeight() > 0;
}

} // namespace qm::richtext
