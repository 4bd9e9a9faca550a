// The picture decoding path as the loader and the layout stream use it: the bytes as a whole file
// (kind recognised from the content), as a BMP file, as a packed bitmap inside a metafile
// record, and as a metafile. Decoded pictures are drawn once. Any outcome but TPictureError is a
// fault.

#include "TFuzzGui.h"
#include "picture/TBmpDecoder.h"
#include "picture/TPicture.h"
#include "picture/TPictureError.h"

#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

using namespace qm::picture;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    qm::fuzz::StartOffscreenGui();

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QImage canvas(32, 32, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    try {
        const TPicture picture = TPicture::FromBytes(bytes);
        (void)picture.NaturalSize(96);
        picture.Draw(painter, QRectF(0, 0, 32, 32));
    } catch (const TPictureError&) {
    }
    try {
        (void)TBmpDecoder::DecodeDib(bytes.constData(), bytes.size());
    } catch (const TPictureError&) {
    }
    QByteArray file("BM\0\0\0\0\0\0\0\0\0\0\0\0", 14);
    file.append(bytes);
    try {
        (void)TBmpDecoder::DecodeFile(file);
    } catch (const TPictureError&) {
    }
    return 0;
}
