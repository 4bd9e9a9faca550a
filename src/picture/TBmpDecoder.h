#pragma once

// Bitmap decoding for BMP files and the device-independent bitmaps inside metafiles.
//
// Every header field is checked before any pixel is touched: the header size is one Windows
// writes (12, 40, 52, 56, 108 or 124 bytes), one plane, a bit count of 1, 4, 8, 16, 24 or 32, a
// compression the bit count allows (none, RLE8 with 8 bits, RLE4 with 4 bits, bit fields with 16
// or 32 bits), a palette no longer than the bit count can index and inside the bytes present,
// dimensions of at most kMaxSide each, pixel rows that fit in the bytes present (uncompressed), and
// at most kMaxPixelsPerByte pixels per compressed byte (RLE), so a damaged header can never make
// the decoder allocate more than a small multiple of the input. Only then are the bytes handed to
// Qt's BMP reader. Failures throw TPictureError with the offset of the field at fault.

#include <QByteArray>
#include <QImage>
#include <cstdint>

namespace qm::picture {

struct TBmpInfo {
    std::int32_t width = 0;
    std::int32_t height = 0; // positive; topDown says how rows are stored
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = 0;
    int paletteEntries = 0;
    std::int64_t headerSize = 0;
    std::int64_t bitsOffset = 0; // from the start of the DIB (packed) or the file
};

class TBmpDecoder {
public:
    static constexpr std::int32_t kMaxSide = 20000;
    static constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;
    static constexpr std::int64_t kMaxPixelsPerByte = 256;

    // Checks a complete BMP file ("BM" first).
    static TBmpInfo CheckFile(const QByteArray& file);
    // Checks a packed DIB (info header, masks, palette, then the bits), as metafile records hold.
    static TBmpInfo CheckDib(const char* data, std::int64_t size);

    // Decoded images; throw TPictureError on any check or decoding failure, never return null.
    static QImage DecodeFile(const QByteArray& file);
    static QImage DecodeDib(const char* data, std::int64_t size);
    // A BMP file around a packed DIB (the file header Qt's reader expects). CheckDib first.
    static QByteArray FileFromDib(const char* data, std::int64_t size);

private:
    static TBmpInfo CheckInfo(const char* data, std::int64_t size, std::int64_t infoAt,
                              std::int64_t fileBitsOffset);
    static QImage Decode(const QByteArray& file, const TBmpInfo& info);
};

} // namespace qm::picture
