#include "envelopes/ui/TEnvelopeFeedPicture.h"

#include "envelopes/ui/TFeedPictureLayout.h"

#include <QIcon>
#include <QImage>
#include <QPainter>

namespace qm::envelopes {

TEnvelopeFeedPicture::TEnvelopeFeedPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FeedPicture"));
    setFixedSize(kPageSize);
}

void TEnvelopeFeedPicture::SetFeed(const TEnvelopeFeedMethod& feed)
{
    mFeed = feed;
    update();
}

void TEnvelopeFeedPicture::Paint(QPainter& painter) const
{
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal ratio = painter.device()->devicePixelRatioF();
    // The pictures are rendered at the device's own pixels, so they stay sharp on scaled screens.
    const auto picture = [ratio](const QString& path, const QSize& size) {
        QPixmap pixmap = QIcon(path).pixmap(size, ratio);
        return pixmap;
    };
    painter.drawPixmap(QRect(QPoint(0, 0), kPageSize),
                       picture(QStringLiteral(":/envelopes/feed-page.svg"), kPageSize));
    const TFeedPicturePlacement place = TFeedPictureLayout::Place(kPageSize, kEnvelopeSize, mFeed);
    const QPixmap envelope = picture(place.back ? QStringLiteral(":/envelopes/envelope-back.svg")
                                                : QStringLiteral(":/envelopes/envelope-front.svg"),
                                     kEnvelopeSize);
    painter.save();
    painter.translate(QRectF(place.envelope).center());
    painter.rotate(place.rotation);
    painter.drawPixmap(QRectF(-kEnvelopeSize.width() / 2.0, -kEnvelopeSize.height() / 2.0,
                              kEnvelopeSize.width(), kEnvelopeSize.height()),
                       envelope, QRectF(envelope.rect()));
    painter.restore();
}

QImage TEnvelopeFeedPicture::Render(qreal pixelRatio) const
{
    QImage image(kPageSize * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Paint(painter);
    return image;
}

void TEnvelopeFeedPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

} // namespace qm::envelopes
