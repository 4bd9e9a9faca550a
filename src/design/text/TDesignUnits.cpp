#include "design/text/TDesignUnits.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <limits>

namespace qm::design {

namespace {
int gPpiOverride = 0;

std::int32_t Clamp32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (value <= double(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}
} // namespace

int TDesignUnits::Ppi()
{
    if (gPpiOverride > 0)
        return gPpiOverride;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const int dpi = int(std::lround(screen->logicalDotsPerInch()));
            if (dpi > 0)
                return dpi;
        }
    }
    return kDefaultPpi;
}

void TDesignUnits::SetPpiOverride(int ppi)
{
    gPpiOverride = ppi > 0 ? ppi : 0;
}

std::int32_t TDesignUnits::Round(double value)
{
    // nearbyint follows the default rounding mode, round-half-even.
    return Clamp32(std::nearbyint(value));
}

std::int32_t TDesignUnits::Trunc(double value)
{
    return Clamp32(std::trunc(value));
}

std::int32_t TDesignUnits::MulDiv(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    const double exact = double(std::int64_t(a) * b) / c;
    return Clamp32(exact < 0 ? -std::floor(-exact + 0.5) : std::floor(exact + 0.5));
}

} // namespace qm::design
