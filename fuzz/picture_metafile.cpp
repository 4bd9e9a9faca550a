// Feeds arbitrary bytes to the Windows and enhanced metafile players: the structure check, then
// a real play onto a small image through the painter sink, whatever the check said (Play stops
// at the first damaged record). Any outcome but TPictureError is a fault.

#include "TFuzzGui.h"
#include "picture/TEmfPlayer.h"
#include "picture/TPainterSink.h"
#include "picture/TPictureError.h"
#include "picture/TWmfPlayer.h"

#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

using namespace qm::picture;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    qm::fuzz::StartOffscreenGui();

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QImage image(64, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int kind = 0; kind < 2; ++kind) {
        try {
            if (kind == 0) {
                TWmfPlayer::Check(bytes);
                (void)TWmfPlayer::NaturalSize(bytes, 96);
            } else {
                TEmfPlayer::Check(bytes);
                (void)TEmfPlayer::NaturalSize(bytes, 96);
            }
        } catch (const TPictureError&) {
        }
        TPainterSink sink(painter);
        try {
            if (kind == 0)
                TWmfPlayer::Play(bytes, sink, QRectF(0, 0, 64, 48));
            else
                TEmfPlayer::Play(bytes, sink, QRectF(0, 0, 64, 48));
        } catch (const TPictureError&) {
        }
    }
    return 0;
}
