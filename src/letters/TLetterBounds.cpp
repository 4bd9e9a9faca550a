#include "letters/TLetterBounds.h"

#include <algorithm>
#include <limits>

namespace qm::letters {

namespace {

int Clamp(int64_t value)
{
    return int(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                   std::numeric_limits<int>::max()));
}

} // namespace

QRect TLetterBounds::DeterminePrinterBounds(const TLetterPageTwips& page,
                                            const TLetterDevice& device)
{
    const int64_t dpiX = device.dpiX;
    const int64_t dpiY = device.dpiY;
    const int64_t pageWidth = dpiX * page.width / 1440;
    const int64_t pageHeight = dpiY * page.height / 1440;
    const int64_t left = dpiX * page.left / 1440 - device.offset.x();
    const int64_t top = dpiY * page.top / 1440 - device.offset.y();
    const int64_t width = pageWidth - (dpiX * page.right / 1440 + left);
    const int64_t height = pageHeight - (dpiY * page.bottom / 1440 + top);
    return QRect(Clamp(left), Clamp(top), Clamp(width), Clamp(height));
}

} // namespace qm::letters
