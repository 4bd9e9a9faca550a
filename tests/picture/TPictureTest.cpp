#include "picture/TPicture.h"
#include "picture/TPictureError.h"
#include "picture/TWmfSample.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::picture;

namespace {

QByteArray Bmp(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

} // namespace

TEST(TPicture, KindIsRecognisedFromTheBytes)
{
    EXPECT_EQ(TPicture::FromBytes(Bmp(4, 4, Qt::red)).Kind(), TPictureKind::Bitmap);
    EXPECT_EQ(TPicture::FromBytes(TWmfSample::ClipArt()).Kind(), TPictureKind::WindowsMetafile);
    EXPECT_THROW(TPicture::FromBytes("GIF89a"), TPictureError);
    EXPECT_THROW(TPicture::FromBytes(QByteArray()), TPictureError);
    EXPECT_THROW(TPicture::FromMetafile(Bmp(4, 4, Qt::red)), TPictureError);
}

TEST(TPicture, NaturalSizeIsBitmapPixelsOrTheMetafileFrame)
{
    EXPECT_EQ(TPicture::FromBytes(Bmp(64, 32, Qt::red)).NaturalSize(120), QSize(64, 32));
    // 2400 x 1600 units at 1440 per inch.
    EXPECT_EQ(TPicture::FromBytes(TWmfSample::ClipArt()).NaturalSize(96), QSize(160, 107));
    EXPECT_EQ(TPicture::FromBytes(TWmfSample::ClipArt()).NaturalSize(192), QSize(320, 213));
}

TEST(TPicture, LoadRefusesMissingAndDamagedFiles)
{
    QTemporaryDir dir;
    EXPECT_THROW(TPicture::Load(dir.filePath("none.bmp")), TPictureError);
    QFile damaged(dir.filePath("bad.wmf"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(TWmfSample::ClipArt().left(200));
    damaged.close();
    EXPECT_THROW(TPicture::Load(damaged.fileName()), TPictureError);
}

// The sample clip art drawn large: the sun's yellow and the sky's blue show where the metafile
// puts them, and edges stay sharp when drawn at four times the natural size. The picture is
// saved to QM_SCREENSHOT_DIR when set, for people to look at.
TEST(TPicture, SampleClipArtRendersAsVectors)
{
    const TPicture picture = TPicture::FromBytes(TWmfSample::ClipArt());
    QImage image(640, 428, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        picture.Draw(painter, QRectF(0, 0, 640, 428));
    }
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath("picture-sample-clip-art.png"));
    // Sun centre at (2050, 250) of 2400 x 1600.
    EXPECT_EQ(QColor(image.pixel(547, 67)), QColor(0xFF, 0xD7, 0x00));
    // Sky at (100, 600).
    EXPECT_EQ(QColor(image.pixel(27, 160)), QColor(0x87, 0xCE, 0xEB));
    // Roof at (750, 600).
    EXPECT_EQ(QColor(image.pixel(200, 160)), QColor(0xB2, 0x22, 0x22));
    // Scaled up a vector edge stays a hard edge: the wall's left outline at x = 300 units
    // (80 pixels) is black within a pixel or two, with the wall colour right beside it.
    EXPECT_EQ(QColor(image.pixel(80, 250)).lightness() < 60, true);
    EXPECT_EQ(QColor(image.pixel(86, 250)), QColor(0xF5, 0xDE, 0xB3));
}
