#include "envelopes/ui/TDesignZoom.h"

namespace qm::envelopes {

QString TDesignZoom::Caption() const
{
    return QString::number(mPercent) + QLatin1Char('%');
}

bool TDesignZoom::ZoomIn()
{
    if (mPercent + kStepPercent > kMaxPercent)
        return false;
    mPercent += kStepPercent;
    return true;
}

bool TDesignZoom::ZoomOut()
{
    if (mPercent - kStepPercent < kMinPercent)
        return false;
    mPercent -= kStepPercent;
    return true;
}

} // namespace qm::envelopes
