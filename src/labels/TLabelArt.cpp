#include "labels/TLabelArt.h"

#include <QDir>
#include <QFileInfo>

namespace qm::labels {

QString TLabelArt::PictureName(const QString& art)
{
    const QString name = art.trimmed().section(QLatin1Char('.'), 0, 0).toUpper();
    if (name.isEmpty() || name.size() > 64)
        return {};
    // Only letters, digits, '-' and '_': a name never reaches outside the picture folder.
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_') &&
            c != QLatin1Char('-'))
            return {};
    return name;
}

QImage TLabelArt::Find(const QString& art, const QSize& faceSize, const QString& directory)
{
    const QString name = PictureName(art);
    if (name.isEmpty() || faceSize.isEmpty())
        return {};
    for (const char* extension : {".bmp", ".png"}) {
        const QString path = QDir(directory).filePath(name + QLatin1String(extension));
        if (!QFileInfo::exists(path))
            continue;
        QImage picture(path);
        if (!picture.isNull())
            return Convert(picture, faceSize);
    }
    return {};
}

QImage TLabelArt::Convert(const QImage& picture, const QSize& faceSize)
{
    if (picture.isNull() || faceSize.isEmpty())
        return {};
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb background = source.pixel(0, 0) | 0xFF000000;
    QImage art(faceSize, QImage::Format_RGB32);
    art.fill(Qt::white);
    const int width = std::min(faceSize.width(), source.width());
    const int height = std::min(faceSize.height(), source.height());
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(art.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = (in[x] | 0xFF000000) == background ? 0xFFFFFFFF : kArtGrey;
    }
    return art;
}

} // namespace qm::labels
