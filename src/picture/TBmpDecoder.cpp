#include "picture/TBmpDecoder.h"

#include "picture/TPictureError.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <limits>

namespace qm::picture {

namespace {

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

std::uint16_t U16(const char* p)
{
    return qFromLittleEndian<std::uint16_t>(p);
}
std::uint32_t U32(const char* p)
{
    return qFromLittleEndian<std::uint32_t>(p);
}
std::int32_t I32(const char* p)
{
    return qFromLittleEndian<std::int32_t>(p);
}

[[noreturn]] void Fail(const char* message, std::int64_t offset)
{
    throw TPictureError(QString::fromLatin1(message), offset);
}

} // namespace

TBmpInfo TBmpDecoder::CheckInfo(const char* data, std::int64_t size, std::int64_t at,
                                std::int64_t fileBitsOffset)
{
    if (size - at < 4)
        Fail("The bitmap header is cut short", at);
    TBmpInfo info;
    info.headerSize = U32(data + at);
    const std::int64_t h = info.headerSize;
    if (h != 12 && h != 40 && h != 52 && h != 56 && h != 108 && h != 124)
        Fail("The bitmap header has an unknown size", at);
    if (size - at < h)
        Fail("The bitmap header is cut short", at);
    const char* p = data + at;
    int planes = 0;
    if (h == 12) {
        info.width = U16(p + 4);
        info.height = U16(p + 6);
        planes = U16(p + 8);
        info.bitCount = U16(p + 10);
    } else {
        info.width = I32(p + 4);
        const std::int32_t height = I32(p + 8);
        planes = U16(p + 12);
        info.bitCount = U16(p + 14);
        info.compression = U32(p + 16);
        const std::uint32_t used = U32(p + 32);
        if (height == std::numeric_limits<std::int32_t>::min())
            Fail("The bitmap height is out of range", at + 8);
        info.topDown = height < 0;
        info.height = height < 0 ? -height : height;
        if (info.bitCount <= 8) {
            if (used > (1u << info.bitCount))
                Fail("The bitmap palette is larger than its bit count allows", at + 32);
            info.paletteEntries = used ? int(used) : (1 << info.bitCount);
        } else {
            if (used > 256)
                Fail("The bitmap palette is too large", at + 32);
            info.paletteEntries = int(used);
        }
    }
    if (h == 12 && info.bitCount <= 8)
        info.paletteEntries = 1 << info.bitCount;
    if (planes != 1)
        Fail("The bitmap does not have one plane", at);
    switch (info.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        Fail("The bitmap has an unsupported bit count", at);
    }
    switch (info.compression) {
    case kRgb:
        break;
    case kRle8:
        if (info.bitCount != 8 || info.topDown)
            Fail("RLE8 compression needs an 8-bit bottom-up bitmap", at + 16);
        break;
    case kRle4:
        if (info.bitCount != 4 || info.topDown)
            Fail("RLE4 compression needs a 4-bit bottom-up bitmap", at + 16);
        break;
    case kBitFields:
        if (info.bitCount != 16 && info.bitCount != 32)
            Fail("Bit fields need a 16- or 32-bit bitmap", at + 16);
        break;
    default:
        Fail("The bitmap compression is not supported", at + 16);
    }
    if (info.width <= 0 || info.height <= 0 || info.width > kMaxSide || info.height > kMaxSide)
        Fail("The bitmap dimensions are out of range", at + 4);
    const std::int64_t pixels = std::int64_t(info.width) * info.height;
    if (pixels > kMaxPixels)
        Fail("The bitmap is too large", at + 4);

    // Colour masks follow a 40-byte header; later headers hold them inside.
    std::int64_t tableAt = at + h;
    if (h == 40 && info.compression == kBitFields)
        tableAt += 12;
    const std::int64_t entrySize = h == 12 ? 3 : 4;
    const std::int64_t tableEnd = tableAt + entrySize * info.paletteEntries;
    if (tableEnd > size)
        Fail("The bitmap palette runs past the end of the data", tableAt);

    info.bitsOffset = fileBitsOffset >= 0 ? fileBitsOffset : tableEnd;
    if (info.bitsOffset < at + h || info.bitsOffset >= size)
        Fail("The bitmap bits lie outside the data", fileBitsOffset >= 0 ? 10 : tableAt);
    const std::int64_t available = size - info.bitsOffset;
    if (info.compression == kRle8 || info.compression == kRle4) {
        if (pixels > available * kMaxPixelsPerByte)
            Fail("The compressed bitmap is too short for its dimensions", info.bitsOffset);
    } else {
        const std::int64_t stride = ((std::int64_t(info.width) * info.bitCount + 31) / 32) * 4;
        if (stride * info.height > available)
            Fail("The bitmap bits are cut short", info.bitsOffset);
    }
    return info;
}

TBmpInfo TBmpDecoder::CheckFile(const QByteArray& file)
{
    if (file.size() < kFileHeaderSize || !file.startsWith("BM"))
        Fail("The file is not a BMP file", 0);
    const std::uint32_t offBits = U32(file.constData() + 10);
    return CheckInfo(file.constData(), file.size(), kFileHeaderSize, std::int64_t(offBits));
}

TBmpInfo TBmpDecoder::CheckDib(const char* data, std::int64_t size)
{
    return CheckInfo(data, size, 0, -1);
}

QByteArray TBmpDecoder::FileFromDib(const char* data, std::int64_t size)
{
    const TBmpInfo info = CheckDib(data, size);
    QByteArray file(kFileHeaderSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian(std::uint32_t(kFileHeaderSize + size), file.data() + 2);
    qToLittleEndian(std::uint32_t(kFileHeaderSize + info.bitsOffset), file.data() + 10);
    file.append(data, qsizetype(size));
    return file;
}

QImage TBmpDecoder::Decode(const QByteArray& file, const TBmpInfo& info)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    reader.setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 1);
    QImage image = reader.read();
    if (image.isNull())
        Fail("The bitmap could not be decoded", 0);
    if (image.width() != info.width || image.height() != info.height)
        Fail("The bitmap decoded to other dimensions than its header names", 0);
    // Pixels may name palette entries the palette does not have (a short palette, or RLE codes
    // beyond it). Qt keeps such indexes and reads past its colour table when drawing, so the
    // table is filled up to every index the pixels can hold; missing entries are black.
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
        image.format() == QImage::Format_MonoLSB) {
        QList<QRgb> table = image.colorTable();
        const qsizetype needed = image.format() == QImage::Format_Indexed8 ? 256 : 2;
        if (table.size() < needed) {
            table.resize(needed, qRgb(0, 0, 0));
            image.setColorTable(table);
        }
    }
    return image;
}

QImage TBmpDecoder::DecodeFile(const QByteArray& file)
{
    return Decode(file, CheckFile(file));
}

QImage TBmpDecoder::DecodeDib(const char* data, std::int64_t size)
{
    const QByteArray file = FileFromDib(data, size);
    return Decode(file, CheckFile(file));
}

} // namespace qm::picture
