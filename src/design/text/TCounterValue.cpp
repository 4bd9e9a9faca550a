#include "design/text/TCounterValue.h"

#include <limits>

namespace qm::design {

bool TCounterValue::Step(int repeatEach)
{
    ++mRepeat;
    if (mRepeat < repeatEach)
        return false;
    mRepeat = 0;
    // The value wraps like the 32-bit integer it is stored as, without undefined overflow.
    mValue =
        mValue == std::numeric_limits<int>::max() ? std::numeric_limits<int>::min() : mValue + 1;
    return true;
}

QString TCounterValue::Caption(const QString& textBefore, int value, int leadingZeros,
                               const QString& textAfter)
{
    const long long v = value;
    QString digits = QString::number(v < 0 ? -v : v);
    if (leadingZeros > 0 && digits.size() < leadingZeros)
        digits = QString(leadingZeros - digits.size(), QLatin1Char('0')) + digits;
    if (v < 0)
        digits.prepend(QLatin1Char('-'));
    return textBefore + digits + textAfter;
}

} // namespace qm::design
