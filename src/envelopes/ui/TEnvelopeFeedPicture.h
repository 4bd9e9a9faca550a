#pragma once

// The feed picture: the page image with the envelope image on it as TFeedPictureLayout places
// it. Drawn from the program's own SVG pictures at any screen scale.

#include "envelopes/TEnvelopeFeedMethod.h"

#include <QWidget>

namespace qm::envelopes {

class TEnvelopeFeedPicture : public QWidget {
public:
    static constexpr QSize kPageSize{80, 104};
    static constexpr QSize kEnvelopeSize{48, 24};

    explicit TEnvelopeFeedPicture(QWidget* parent = nullptr);

    const TEnvelopeFeedMethod& Feed() const { return mFeed; }
    void SetFeed(const TEnvelopeFeedMethod& feed);
    QSize sizeHint() const override { return kPageSize; }

    // The picture as painted, at the given device pixel ratio.
    QImage Render(qreal pixelRatio = 1.0) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Paint(QPainter& painter) const;

    TEnvelopeFeedMethod mFeed;
};

} // namespace qm::envelopes
