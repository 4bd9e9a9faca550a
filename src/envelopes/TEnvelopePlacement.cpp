#include "envelopes/TEnvelopePlacement.h"

#include <cmath>
#include <cstdlib>

namespace qm::envelopes {

long long TEnvelopePlacement::Thousandths(double inches)
{
    return std::llround(inches * 1000.0);
}

QPointF TEnvelopePlacement::Offsets(double pageWidth, double pageHeight, TEnvelopeFace face,
                                    const TEnvelopeFeedMethod& feed)
{
    const long long pw = Thousandths(pageWidth);
    const long long ph = Thousandths(pageHeight);
    const long long ew = face.width;
    const long long eh = face.height;
    // Tenths with the fraction dropped (division truncates toward zero, as the sizes are
    // positive).
    if (pw / 100 == ew / 100 && ph / 100 == eh / 100)
        return {0.0, 0.0};

    const double dx = double(pw - ew) / 1000.0; // PW - EW
    const double dy = double(ph - eh) / 1000.0; // PH - EH
    double x = 0;
    double y = 0;
    if (feed.orientation == TFeedOrientation::Portrait) {
        switch (feed.position) {
        case TFeedPosition::Left:
            x = feed.facing == TFeedFacing::Up ? 0 : dx;
            break;
        case TFeedPosition::Right:
            x = feed.facing == TFeedFacing::Up ? dx : 0;
            break;
        case TFeedPosition::Centre:
            x = dx / 2;
            break;
        }
    } else {
        x = feed.clockwise ? 0 : dx;
        switch (feed.position) {
        case TFeedPosition::Left:
            y = feed.facing == TFeedFacing::Up ? 0 : dy;
            break;
        case TFeedPosition::Right:
            y = feed.facing == TFeedFacing::Up ? dy : 0;
            break;
        case TFeedPosition::Centre:
            y = dy / 2;
            break;
        }
    }
    return {x < 0 ? 0.0 : x, y < 0 ? 0.0 : y};
}

bool TEnvelopePlacement::PaperMismatch(double pageWidth, double pageHeight, TEnvelopeFace face)
{
    const long long pw = Thousandths(pageWidth) / 10;
    const long long ph = Thousandths(pageHeight) / 10;
    return std::llabs(face.width / 10 - pw) > 100 || std::llabs(face.height / 10 - ph) > 100;
}

} // namespace qm::envelopes
