#pragma once

// The framing of a picture inside the layout stream's "Picture.Data" binary value:
//   short string class name, "TBitmap" or "TMetafile", then
//   TBitmap:   4-byte byte count N, then a complete BMP file of N bytes ("BM" first);
//   TMetafile: 4-byte byte count N that includes its own 4 bytes, then N - 4 bytes of metafile
//              (enhanced-metafile bits, or a placeable Windows metafile for a picture loaded
//              from a WMF file).
// Counts are little-endian. Decoding checks every count against the bytes present.

#include <QByteArray>

namespace qm::design {

class TGPictureData {
public:
    enum class TKind { Bitmap, Metafile };

    TKind kind = TKind::Bitmap;
    QByteArray data; // the BMP file or the metafile bytes

    // The binary value's bytes.
    QByteArray Encode() const;
    // Throws TLayoutError(InvalidValue) for an unknown class name, a count beyond the bytes
    // present, a metafile count below 4 or a bitmap that does not start with "BM".
    static TGPictureData Decode(const QByteArray& bytes);

    friend bool operator==(const TGPictureData&, const TGPictureData&) = default;
};

} // namespace qm::design
