#include "picture/TBmpDecoder.h"
#include "picture/TPictureError.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace qm::picture;

namespace {

QByteArray Bmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage Gradient(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 8, 100));
    return image.convertToFormat(format);
}

void Put32(QByteArray& bytes, int at, std::uint32_t v)
{
    qToLittleEndian(v, bytes.data() + at);
}
void Put16(QByteArray& bytes, int at, std::uint16_t v)
{
    qToLittleEndian(v, bytes.data() + at);
}

void ExpectRefused(const QByteArray& bytes)
{
    EXPECT_THROW(TBmpDecoder::DecodeFile(bytes), TPictureError);
}

} // namespace

TEST(TBmpDecoder, DecodesWhatQtWritesAndKeepsTheSize)
{
    const QImage image = TBmpDecoder::DecodeFile(Bmp(Gradient(64, 32)));
    EXPECT_EQ(image.size(), QSize(64, 32));
    EXPECT_EQ(QColor(image.pixel(10, 3)), QColor(40, 24, 100));
}

TEST(TBmpDecoder, DecodesPalettedBitmaps)
{
    QImage indexed = Gradient(9, 5).convertToFormat(QImage::Format_Indexed8);
    const QByteArray bytes = Bmp(indexed);
    const TBmpInfo info = TBmpDecoder::CheckFile(bytes);
    EXPECT_EQ(info.bitCount, 8);
    EXPECT_GT(info.paletteEntries, 0);
    EXPECT_EQ(TBmpDecoder::DecodeFile(bytes).size(), QSize(9, 5));
}

TEST(TBmpDecoder, EveryTruncationIsRefused)
{
    const QByteArray bytes = Bmp(Gradient(7, 6));
    for (qsizetype n = 0; n < bytes.size(); ++n)
        EXPECT_THROW(TBmpDecoder::DecodeFile(bytes.left(n)), TPictureError) << "length " << n;
}

TEST(TBmpDecoder, HeaderFieldsAreCheckedBeforeDecoding)
{
    const QByteArray good = Bmp(Gradient(8, 8));
    QByteArray b;

    b = good;
    Put32(b, 14, 41);
    ExpectRefused(b); // header size
    b = good;
    Put16(b, 26, 2);
    ExpectRefused(b); // planes
    b = good;
    Put16(b, 28, 7);
    ExpectRefused(b); // bit count
    b = good;
    Put32(b, 30, 4);
    ExpectRefused(b); // JPEG compression
    b = good;
    Put32(b, 30, 1);
    ExpectRefused(b); // RLE8 on a 32-bit bitmap
    b = good;
    Put32(b, 18, 0);
    ExpectRefused(b); // width 0
    b = good;
    Put32(b, 18, 0x7FFFFFFF);
    ExpectRefused(b); // absurd width
    b = good;
    Put32(b, 22, 0x80000000u);
    ExpectRefused(b); // height INT_MIN
    b = good;
    Put32(b, 18, 15000);
    Put32(b, 22, 15000);
    ExpectRefused(b); // rows beyond the data
    b = good;
    Put32(b, 10, std::uint32_t(good.size()));
    ExpectRefused(b); // bits past the end
    b = good;
    b[0] = 'X';
    ExpectRefused(b);
}

TEST(TBmpDecoder, PaletteLargerThanTheBitCountIsRefused)
{
    QByteArray b = Bmp(Gradient(9, 5).convertToFormat(QImage::Format_Indexed8));
    Put32(b, 46, 257);
    ExpectRefused(b);
    b = Bmp(Gradient(9, 5).convertToFormat(QImage::Format_Indexed8));
    Put32(b, 46, 0x10000000u);
    ExpectRefused(b);
}

TEST(TBmpDecoder, CompressedBitmapMayNotClaimFarMorePixelsThanItHasBytes)
{
    // A 40-byte-header RLE8 bitmap of 20000 x 20000 pixels in a few bytes.
    QByteArray b(14 + 40 + 1024 + 4, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 10, 14 + 40 + 1024);
    Put32(b, 14, 40);
    Put32(b, 18, 20000);
    Put32(b, 22, 20000);
    Put16(b, 26, 1);
    Put16(b, 28, 8);
    Put32(b, 30, 1);
    ExpectRefused(b);
}

TEST(TBmpDecoder, PackedDibGetsAFileHeaderPointingAtItsBits)
{
    const QByteArray file = Bmp(Gradient(5, 3, QImage::Format_RGB888));
    const QByteArray dib = file.mid(14);
    const QImage image = TBmpDecoder::DecodeDib(dib.constData(), dib.size());
    EXPECT_EQ(image.size(), QSize(5, 3));
    EXPECT_EQ(QColor(image.pixel(2, 1)), QColor(8, 8, 100));
    EXPECT_THROW(TBmpDecoder::DecodeDib(dib.constData(), dib.size() - 1), TPictureError);
}

TEST(TBmpDecoder, PixelsNamingMissingPaletteEntriesDrawSafely)
{
    // RLE8 with a four-colour palette whose runs use indexes 4 and above (found by fuzzing: Qt
    // read past the colour table when drawing it).
    const QByteArray bytes = QByteArray::fromBase64("Qk1SAAAAAAAAAEYAAAAoAAAABAAAAAkAAAABAAgAAQAAAA"
                                                    "wAAAAAAAAAAAAAAAQAAAAAAAAAAAD/AAEB/gACAv0AAwP8"
                                                    "AAQBBAIAAAQDAAAAAQ==");
    const QImage image = TBmpDecoder::DecodeFile(bytes);
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            EXPECT_LT(image.pixelIndex(x, y), image.colorCount());
    }
    QImage canvas(8, 8, QImage::Format_RGB32);
    QPainter painter(&canvas);
    painter.drawImage(QRectF(0, 0, 8, 8), image);
}
