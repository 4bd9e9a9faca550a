#include "design/stream/TGPictureData.h"

#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutReader.h"
#include "design/stream/TLayoutWriter.h"

#include <QtEndian>

namespace qm::design {

namespace {
constexpr const char* kBitmapClass = "TBitmap";
constexpr const char* kMetafileClass = "TMetafile";
} // namespace

QByteArray TGPictureData::Encode() const
{
    QByteArray bytes;
    TLayoutWriter out(bytes);
    out.WriteShortString(kind == TKind::Bitmap ? kBitmapClass : kMetafileClass);
    const std::uint32_t count = std::uint32_t(data.size()) + (kind == TKind::Metafile ? 4u : 0u);
    char le[4];
    qToLittleEndian(count, le);
    bytes.append(le, 4);
    bytes.append(data);
    return bytes;
}

TGPictureData TGPictureData::Decode(const QByteArray& bytes)
{
    try {
        TLayoutReader in(bytes);
        const QByteArray className = in.ReadShortString();
        TGPictureData picture;
        const std::uint32_t count = in.ReadLe32();
        if (className == kBitmapClass) {
            picture.kind = TKind::Bitmap;
            picture.data = in.ReadBytes(qint64(count));
            if (!picture.data.isEmpty() && !picture.data.startsWith("BM"))
                throw TLayoutError::InvalidValue();
        } else if (className == kMetafileClass) {
            if (count < 4)
                throw TLayoutError::InvalidValue();
            picture.kind = TKind::Metafile;
            picture.data = in.ReadBytes(qint64(count) - 4);
        } else {
            throw TLayoutError::InvalidValue();
        }
        return picture;
    } catch (const TLayoutError& error) {
        // A short picture is a bad value of the property, not the end of the stream.
        if (error.Kind() == TLayoutErrorKind::StreamRead)
            throw TLayoutError::InvalidValue();
        throw;
    }
}

} // namespace qm::design
