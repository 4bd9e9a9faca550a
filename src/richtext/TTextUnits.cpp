#include "richtext/TTextUnits.h"

#include <QtGui/qtguiglobal.h>
#include <cmath>

// Qt Gui's reference resolution, the one its text layout scales format lengths by.
Q_GUI_EXPORT int qt_defaultDpi();

namespace qm::richtext {

int TTextUnits::ReferenceDpi()
{
    const int dpi = qt_defaultDpi();
    return dpi > 0 ? dpi : 96;
}

double TTextUnits::TwipsToFormat(double twips)
{
    return twips * ReferenceDpi() / 1440.0;
}

int TTextUnits::FormatToTwips(double pixels)
{
    return static_cast<int>(std::lround(pixels * 1440.0 / ReferenceDpi()));
}

} // namespace qm::richtext
