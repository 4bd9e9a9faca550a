#pragma once

// The page of a letter in twips (1440 per inch), and the text rectangle it gives on a device.

#include "letters/TLetterPageSink.h"

#include <QRect>
#include <cstdint>

namespace qm::letters {

struct TLetterPageTwips {
    int width = 12240; // Letter, 8.5 in
    int height = 15840;
    int left = 1440;
    int right = 1440;
    int top = 1440;
    int bottom = 1440;
    bool operator==(const TLetterPageTwips&) const = default;
};

class TLetterBounds {
public:
    // The text rectangle in device pixels: the page and its margins scaled by the device's
    // resolution (products over 1440, fractions dropped), moved by the printable area's offset.
    // Computed in 64 bits, so no page of any size overflows; the result is clamped to int.
    static QRect DeterminePrinterBounds(const TLetterPageTwips& page, const TLetterDevice& device);
};

} // namespace qm::letters
