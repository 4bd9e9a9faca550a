#pragma once

// The art picture a label sheet template may name (its ART column), shown behind the designer's
// label face and never printed. The name up to its first period, upper-cased, names a picture
// among the program's resources (":/label-art/<NAME>.bmp" or ".png"); the picture is turned into
// two colours (its background, the colour of its top-left pixel, to white; every other colour to
// light grey 0xC0C0C0) and cut or padded to the face's unzoomed size from its top-left corner.
//
// A name that is empty, holds path characters or names no picture gives no art, and no file is
// read for it. No picture is shipped today: the lookup and the conversion are complete so that a
// picture added to the resources is shown.

#include <QImage>
#include <QSize>
#include <QString>

namespace qm::labels {

class TLabelArt {
public:
    static constexpr QRgb kArtGrey = 0xFFC0C0C0;
    static constexpr const char* kResourceDir = ":/label-art";

    // "AV5160" for "av5160.bmp"; empty when the name cannot name a picture.
    static QString PictureName(const QString& art);
    // The two-colour picture at the face size, or a null image when there is no art.
    // directory: where the pictures are (the program's resources unless a test names another).
    static QImage Find(const QString& art, const QSize& faceSize,
                       const QString& directory = QLatin1String(kResourceDir));
    // The conversion alone.
    static QImage Convert(const QImage& picture, const QSize& faceSize);
};

} // namespace qm::labels
