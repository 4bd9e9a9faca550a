#include "richtext/TRulerGeometry.h"

#include <algorithm>
#include <cmath>

namespace qm::richtext {

namespace {

constexpr int Sixteenth = 1440 / 16;
// Indents keep at least this much text width (1/4 inch).
constexpr int MinTextWidth = 360;

} // namespace

TRulerGeometry::TRulerGeometry(double origin, double pixelsPerInch, int textWidth)
    : mOrigin(origin), mPixelsPerInch(pixelsPerInch > 0 ? pixelsPerInch : 96),
      mTextWidth(std::max(textWidth, 1))
{
}

double TRulerGeometry::XOf(int twips) const
{
    return mOrigin + twips * mPixelsPerInch / 1440.0;
}

int TRulerGeometry::TwipsAt(double x) const
{
    return static_cast<int>(std::lround((x - mOrigin) * 1440.0 / mPixelsPerInch));
}

int TRulerGeometry::Snap(int twips)
{
    return static_cast<int>(std::lround(twips / double(Sixteenth))) * Sixteenth;
}

QList<TRulerGeometry::TTick> TRulerGeometry::Ticks() const
{
    QList<TTick> ticks;
    const int eighth = 1440 / 8;
    for (int twips = 0, n = 0; twips <= mTextWidth; twips += eighth, ++n) {
        const int level = n % 8 == 0 ? 0 : n % 4 == 0 ? 1 : n % 2 == 0 ? 2 : 3;
        ticks.append({XOf(twips), level, n / 8});
    }
    return ticks;
}

ERulerMarker TRulerGeometry::MarkerAt(const TParagraphSettings& settings, double x, bool upperHalf,
                                      double slop) const
{
    if (upperHalf)
        return std::abs(x - XOf(settings.leftIndent + settings.firstIndent)) <= slop
                   ? ERulerMarker::FirstIndent
                   : ERulerMarker::None;
    if (std::abs(x - XOf(settings.leftIndent)) <= slop)
        return ERulerMarker::LeftIndent;
    if (std::abs(x - XOf(mTextWidth - settings.rightIndent)) <= slop)
        return ERulerMarker::RightIndent;
    return ERulerMarker::None;
}

TParagraphSettings TRulerGeometry::Dragged(const TParagraphSettings& settings, ERulerMarker marker,
                                           double x) const
{
    TParagraphSettings result = settings;
    const int at = Snap(TwipsAt(x));
    const int room = mTextWidth - MinTextWidth;
    switch (marker) {
    case ERulerMarker::FirstIndent: {
        const int firstAt = std::clamp(at, 0, std::max(0, room - settings.rightIndent));
        result.firstIndent = firstAt - settings.leftIndent;
        break;
    }
    case ERulerMarker::LeftIndent: {
        // The first line keeps its place relative to the left indent, and stays on the page.
        const int low = std::max(0, -settings.firstIndent);
        const int high =
            std::max(low, room - settings.rightIndent - std::max(0, settings.firstIndent));
        result.leftIndent = std::clamp(at, low, high);
        break;
    }
    case ERulerMarker::RightIndent: {
        const int leftmostText = settings.leftIndent + std::max(0, settings.firstIndent);
        result.rightIndent = std::clamp(mTextWidth - at, 0, std::max(0, room - leftmostText));
        break;
    }
    case ERulerMarker::None:
        break;
    }
    return result;
}

} // namespace qm::richtext
