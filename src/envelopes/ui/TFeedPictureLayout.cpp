#include "envelopes/ui/TFeedPictureLayout.h"

namespace qm::envelopes {

TFeedPicturePlacement TFeedPictureLayout::Place(const QSize& page, const QSize& uprightEnvelope,
                                                const TEnvelopeFeedMethod& feed)
{
    TFeedPicturePlacement placement;
    placement.back = feed.facing == TFeedFacing::Down;
    QSize drawn = uprightEnvelope;
    if (feed.orientation == TFeedOrientation::Landscape) {
        placement.rotation = feed.clockwise ? 90 : -90;
        drawn.transpose();
    }
    int x = kMargin;
    switch (feed.position) {
    case TFeedPosition::Left:
        x = kMargin;
        break;
    case TFeedPosition::Right:
        x = page.width() - drawn.width() - kMargin;
        break;
    case TFeedPosition::Centre:
        x = page.width() / 2 - drawn.width() / 2;
        break;
    }
    placement.envelope = QRect(QPoint(x, kMargin), drawn);
    return placement;
}

} // namespace qm::envelopes
