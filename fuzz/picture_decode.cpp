// The picture decoding path as the loader and the layout stream use it: the bytes as a whole file
// (kind recognised from the content), as a BMP file, as a packed bitmap inside a metafile
// record, and as a metafile. Decoded pictures are drawn once. Any outcome but TPictureError is a
// fault.

#include "picture/TBmpDecoder.h"
#include "picture/TPicture.h"
#include "picture/TPictureError.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

using namespace qm::picture;

// Fontconfig keeps caches it never frees; they are the system's, not the players'.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static const bool started = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
        // Text drawing sets up the font machinery once, outside the inputs.
        QImage warm(8, 8, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&warm);
        painter.drawText(0, 8, QStringLiteral("Aa"));
        return true;
    }();
    (void)started;

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
