#pragma once

// Where the feed pictures of the "Paper Feed Method" and "Envelope Print" dialogs put the
// envelope on the page image: 2 pixels from the top; 2 pixels from the left (left), page width
// - envelope width - 2 (right), or centred (half the page width minus half the envelope width),
// the envelope's width taken as drawn, after turning. The envelope shows its front when it is
// fed facing up and its back when facing down; upright for portrait, turned counter-clockwise for
// landscape, or clockwise with clockwise rotation.

#include "envelopes/TEnvelopeFeedMethod.h"

#include <QRect>
#include <QSize>

namespace qm::envelopes {

struct TFeedPicturePlacement {
    QRect envelope;   // on the page image, as drawn (after turning)
    int rotation = 0; // degrees, clockwise positive: 0, -90 or 90
    bool back = false;
};

class TFeedPictureLayout {
public:
    static constexpr int kMargin = 2;

    static TFeedPicturePlacement Place(const QSize& page, const QSize& uprightEnvelope,
                                       const TEnvelopeFeedMethod& feed);
};

} // namespace qm::envelopes
