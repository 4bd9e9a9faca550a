#pragma once

// A picture as design objects hold it: the bytes of a BMP file, a Windows metafile (placeable or
// bare) or an enhanced metafile, kept unchanged so that a layout stream gives back what it was
// given, with the bitmap decoded once.
//
// Construction checks the whole picture: a bitmap's headers and pixels, every record of a
// metafile (a silent play). A picture that constructed draws completely. Damaged or unknown
// bytes throw TPictureError and leave nothing behind.

#include "picture/TMetafileSink.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace qm::picture {

enum class TPictureKind { Empty, Bitmap, WindowsMetafile, EnhancedMetafile };

class TPicture {
public:
    // Files larger than this are refused before they are read.
    static constexpr qint64 kMaxFileSize = 64LL * 1024 * 1024;

    TPicture() = default;

    // Recognises the kind from the bytes ("BM", the metafile headers).
    static TPicture FromBytes(const QByteArray& bytes);
    static TPicture FromBitmap(const QByteArray& bmpFile);
    static TPicture FromMetafile(const QByteArray& metafile);
    static TPicture Load(const QString& path);

    TPictureKind Kind() const { return mKind; }
    bool IsEmpty() const { return mKind == TPictureKind::Empty; }
    bool IsBitmap() const { return mKind == TPictureKind::Bitmap; }
    bool IsMetafile() const
    {
        return mKind == TPictureKind::WindowsMetafile || mKind == TPictureKind::EnhancedMetafile;
    }
    const QByteArray& Bytes() const { return mBytes; }
    const QImage& Image() const { return mImage; }

    // Width and height in pixels at ppi pixels per inch: a bitmap's own pixels, a metafile's
    // frame converted from its units (rounded).
    QSize NaturalSize(double ppi) const;
    // Draws the picture stretched over target (painter units).
    void Draw(QPainter& painter, const QRectF& target) const;
    // Metafiles only: replays the records into sink over target.
    void Play(TMetafileSink& sink, const QRectF& target) const;

private:
    TPictureKind mKind = TPictureKind::Empty;
    QByteArray mBytes;
    QImage mImage;
};

} // namespace qm::picture
