#include "picture/TPicture.h"

#include "picture/TBmpDecoder.h"
#include "picture/TEmfPlayer.h"
#include "picture/TPainterSink.h"
#include "picture/TPictureError.h"
#include "picture/TWmfPlayer.h"

#include <QFile>
#include <QPainter>
#include <cmath>

namespace qm::picture {

TPicture TPicture::FromBitmap(const QByteArray& bmpFile)
{
    TPicture picture;
    picture.mImage = TBmpDecoder::DecodeFile(bmpFile);
    picture.mBytes = bmpFile;
    picture.mKind = TPictureKind::Bitmap;
    return picture;
}

TPicture TPicture::FromMetafile(const QByteArray& metafile)
{
    TPicture picture;
    if (TEmfPlayer::LooksLikeEmf(metafile)) {
        TEmfPlayer::Check(metafile);
        picture.mKind = TPictureKind::EnhancedMetafile;
    } else if (TWmfPlayer::LooksLikeWmf(metafile)) {
        TWmfPlayer::Check(metafile);
        picture.mKind = TPictureKind::WindowsMetafile;
    } else {
        throw TPictureError(QStringLiteral("The data is not a metafile"), 0);
    }
    picture.mBytes = metafile;
    return picture;
}

TPicture TPicture::FromBytes(const QByteArray& bytes)
{
    if (bytes.startsWith("BM"))
        return FromBitmap(bytes);
    if (TEmfPlayer::LooksLikeEmf(bytes) || TWmfPlayer::LooksLikeWmf(bytes))
        return FromMetafile(bytes);
    throw TPictureError(QStringLiteral("The file is neither a bitmap nor a metafile"), 0);
}

TPicture TPicture::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TPictureError(file.errorString());
    if (file.size() > kMaxFileSize)
        throw TPictureError(QStringLiteral("The file is too large for a picture"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TPictureError(file.errorString());
    return FromBytes(bytes);
}

QSize TPicture::NaturalSize(double ppi) const
{
    QSizeF size;
    switch (mKind) {
    case TPictureKind::Empty:
        return QSize();
    case TPictureKind::Bitmap:
        return mImage.size();
    case TPictureKind::WindowsMetafile:
        size = TWmfPlayer::NaturalSize(mBytes, ppi);
        break;
    case TPictureKind::EnhancedMetafile:
        size = TEmfPlayer::NaturalSize(mBytes, ppi);
        break;
    }
    return QSize(int(std::lround(std::min(size.width(), 1e6))),
                 int(std::lround(std::min(size.height(), 1e6))));
}

void TPicture::Draw(QPainter& painter, const QRectF& target) const
{
    if (mKind == TPictureKind::Bitmap) {
        painter.drawImage(target, mImage);
    } else if (IsMetafile()) {
        TPainterSink sink(painter);
        Play(sink, target);
    }
}

void TPicture::Play(TMetafileSink& sink, const QRectF& target) const
{
    if (mKind == TPictureKind::WindowsMetafile)
        TWmfPlayer::Play(mBytes, sink, target);
    else if (mKind == TPictureKind::EnhancedMetafile)
        TEmfPlayer::Play(mBytes, sink, target);
}

} // namespace qm::picture
