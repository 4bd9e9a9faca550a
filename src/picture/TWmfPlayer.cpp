#include "picture/TWmfPlayer.h"

#include "picture/TBmpDecoder.h"
#include "picture/TGdiCodes.h"
#include "picture/TGdiContext.h"
#include "picture/TPictureError.h"

#include "data/TWin1252.h"

#include <QtEndian>

namespace qm::picture {

namespace {

constexpr std::int64_t kPlaceableSize = 22;
constexpr std::int64_t kHeaderSize = 18;
// Record functions the player knows.
enum : std::uint16_t {
    kEof = 0x0000,
    kSaveDC = 0x001E,
    kCreatePalette = 0x00F7,
    kCreateBrush = 0x00F8,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetPolyFillMode = 0x0106,
    kRestoreDC = 0x0127,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kDibCreatePatternBrush = 0x0142,
    kDeleteObject = 0x01F0,
    kCreatePatternBrush = 0x01F9,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kSetViewportOrg = 0x020D,
    kSetViewportExt = 0x020E,
    kOffsetWindowOrg = 0x020F,
    kOffsetViewportOrg = 0x0211,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kCreateBitmapIndirect = 0x02FD,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kScaleWindowExt = 0x0410,
    kScaleViewportExt = 0x0412,
    kIntersectClipRect = 0x0416,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kRoundRect = 0x061C,
    kPatBlt = 0x061D,
    kCreateBitmap = 0x06FE,
    kCreateRegion = 0x06FF,
    kArc = 0x0817,
    kPie = 0x081A,
    kChord = 0x0830,
    kDibBitBlt = 0x0940,
    kExtTextOut = 0x0A32,
    kDibStretchBlt = 0x0B41,
    kSetDibToDev = 0x0D33,
    kStretchDib = 0x0F43,
};

std::uint16_t U16(const char* p)
{
    return qFromLittleEndian<std::uint16_t>(p);
}
std::uint32_t U32(const char* p)
{
    return qFromLittleEndian<std::uint32_t>(p);
}

// One record's parameters, every read checked against the record's size.
class TRecord {
public:
    TRecord(const char* params, std::int64_t size, std::int64_t offset)
        : mP(params), mSize(size), mOffset(offset)
    {
    }
    std::int64_t Size() const { return mSize; }
    const char* Bytes(std::int64_t at, std::int64_t count) const
    {
        Need(at, count);
        return mP + at;
    }
    std::int16_t S(int word) const { return std::int16_t(W(word)); }
    std::uint16_t W(int word) const
    {
        Need(std::int64_t(word) * 2, 2);
        return U16(mP + word * 2);
    }
    std::uint32_t D(int word) const
    {
        Need(std::int64_t(word) * 2, 4);
        return U32(mP + word * 2);
    }
    QColor Color(int word) const
    {
        const char* c = Bytes(std::int64_t(word) * 2, 4);
        return QColor(std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2]));
    }
    QPointF Point(int word) const { return QPointF(S(word + 1), S(word)); } // y first
    // left, top, right, bottom stored as bottom, right, top, left from word.
    QRectF ReversedRect(int word) const
    {
        return QRectF(QPointF(S(word + 3), S(word + 2)), QPointF(S(word + 1), S(word)));
    }
    void Need(std::int64_t at, std::int64_t count) const
    {
        if (at < 0 || count < 0 || at + count > mSize)
            throw TPictureError(QStringLiteral("A metafile record is shorter than its contents"),
                                mOffset);
    }
    std::int64_t Offset() const { return mOffset; }

private:
    const char* mP;
    std::int64_t mSize;
    std::int64_t mOffset;
};

QPolygonF Points(const TRecord& r, std::int64_t at, std::int64_t count)
{
    const char* p = r.Bytes(at, count * 4);
    QPolygonF points;
    points.reserve(qsizetype(count));
    for (std::int64_t i = 0; i < count; ++i)
        points << QPointF(std::int16_t(U16(p + i * 4)), std::int16_t(U16(p + i * 4 + 2)));
    return points;
}

QString FaceName(const char* bytes, std::int64_t max)
{
    std::int64_t n = 0;
    while (n < max && bytes[n] != 0)
        ++n;
    return data::TWin1252::Decode(bytes, qsizetype(n));
}

// The source rectangle of a DIB record in the decoded (top-down) image.
QRectF DibSource(const QImage& image, double x, double y, double w, double h, bool bottomUp)
{
    const double top = bottomUp ? image.height() - y - h : y;
    return QRectF(x, top, w, h);
}

void Record(TGdiContext& dc, std::uint16_t function, const TRecord& r)
{
    switch (function) {
    case kSaveDC:
        dc.SaveDC();
        break;
    case kRestoreDC:
        dc.RestoreDC(r.S(0));
        break;
    case kSetBkMode:
        dc.SetBkMode(r.W(0));
        break;
    case kSetMapMode:
        dc.SetMapMode(r.W(0));
        break;
    case kSetPolyFillMode:
        dc.SetPolyFillMode(r.W(0));
        break;
    case kSetTextAlign:
        dc.SetTextAlign(r.W(0));
        break;
    case kSetBkColor:
        dc.SetBkColor(r.Color(0));
        break;
    case kSetTextColor:
        dc.SetTextColor(r.Color(0));
        break;
    case kSetWindowOrg:
        dc.SetWindowOrg(r.Point(0));
        break;
    case kSetWindowExt:
        dc.SetWindowExt(r.Point(0));
        break;
    case kSetViewportOrg:
        dc.SetViewportOrg(r.Point(0));
        break;
    case kSetViewportExt:
        dc.SetViewportExt(r.Point(0));
        break;
    case kOffsetWindowOrg:
        dc.OffsetWindowOrg(r.Point(0));
        break;
    case kOffsetViewportOrg:
        dc.OffsetViewportOrg(r.Point(0));
        break;
    case kScaleWindowExt:
        dc.ScaleWindowExt(r.S(3), r.S(2), r.S(1), r.S(0));
        break;
    case kScaleViewportExt:
        dc.ScaleViewportExt(r.S(3), r.S(2), r.S(1), r.S(0));
        break;
    case kIntersectClipRect:
        dc.IntersectClipRect(r.ReversedRect(0));
        break;
    case kSelectObject:
        dc.SelectObject(r.W(0));
        break;
    case kDeleteObject:
        dc.DeleteObject(r.W(0));
        break;
    case kCreatePenIndirect: {
        TGdiObject pen;
        pen.kind = TGdiObjectKind::Pen;
        pen.penStyle = TGdiCodes::PenStyle(r.W(0));
        pen.penWidth = r.S(1);
        pen.color = r.Color(3);
        dc.CreateObject(pen);
        break;
    }
    case kCreateBrushIndirect: {
        TGdiObject brush;
        brush.kind = TGdiObjectKind::Brush;
        const std::uint16_t style = r.W(0);
        brush.brush.color = r.Color(1);
        brush.brush.style = style == 1   ? TGdiBrushStyle::Null
                            : style == 2 ? TGdiBrushStyle::Hatched
                                         : TGdiBrushStyle::Solid;
        if (style == 2)
            brush.brush.hatch = TGdiCodes::Hatch(r.W(3));
        dc.CreateObject(brush);
        break;
    }
    case kDibCreatePatternBrush: {
        TGdiObject brush;
        brush.kind = TGdiObjectKind::Brush;
        brush.brush.color = Qt::black;
        if (r.W(0) == 5 && r.Size() > 4) {
            brush.brush.style = TGdiBrushStyle::Pattern;
            brush.brush.pattern = TBmpDecoder::DecodeDib(r.Bytes(4, r.Size() - 4), r.Size() - 4);
        }
        dc.CreateObject(brush);
        break;
    }
    case kCreatePatternBrush: {
        TGdiObject brush;
        brush.kind = TGdiObjectKind::Brush;
        brush.brush.color = Qt::gray;
        dc.CreateObject(brush);
        break;
    }
    case kCreateFontIndirect: {
        TGdiObject font;
        font.kind = TGdiObjectKind::Font;
        font.font.height = r.S(0);
        font.font.angle = r.S(2) / 10.0;
        font.font.weight = r.S(4);
        const char* flags = r.Bytes(10, 8);
        font.font.italic = flags[0] != 0;
        font.font.underline = flags[1] != 0;
        font.font.strikeOut = flags[2] != 0;
        if (r.Size() > 18)
            font.font.face = FaceName(r.Bytes(18, std::min<std::int64_t>(32, r.Size() - 18)),
                                      std::min<std::int64_t>(32, r.Size() - 18));
        if (font.font.face.isEmpty())
            font.font.face = QStringLiteral("Arial");
        dc.CreateObject(font);
        break;
    }
    case kCreatePalette:
    case kCreateBrush:
    case kCreateBitmapIndirect:
    case kCreateBitmap:
    case kCreateRegion:
        // Objects the player does not draw with still take their place in the table.
        dc.CreateObject(TGdiObject());
        break;
    case kMoveTo:
        dc.MoveTo(r.Point(0));
        break;
    case kLineTo:
        dc.LineTo(r.Point(0));
        break;
    case kPolyline:
    case kPolygon: {
        const std::int16_t count = r.S(0);
        if (count < 0)
            throw TPictureError(QStringLiteral("A metafile polygon has a negative point count"),
                                r.Offset());
        const QPolygonF points = Points(r, 2, count);
        if (function == kPolyline)
            dc.Polyline(points);
        else
            dc.Polygons({points});
        break;
    }
    case kPolyPolygon: {
        const std::uint16_t polygons = r.W(0);
        r.Need(2, std::int64_t(polygons) * 2);
        std::int64_t at = 2 + std::int64_t(polygons) * 2;
        QList<QPolygonF> list;
        for (int i = 0; i < polygons; ++i) {
            const std::uint16_t count = r.W(1 + i);
            list.append(Points(r, at, count));
            at += std::int64_t(count) * 4;
        }
        dc.Polygons(list);
        break;
    }
    case kRectangle:
        dc.Rectangle(r.ReversedRect(0));
        break;
    case kEllipse:
        dc.Ellipse(r.ReversedRect(0));
        break;
    case kRoundRect:
        dc.RoundRect(r.ReversedRect(2), QSizeF(r.S(1), r.S(0)));
        break;
    case kArc:
    case kPie:
    case kChord:
        dc.Arc(function == kArc   ? TArcKind::Arc
               : function == kPie ? TArcKind::Pie
                                  : TArcKind::Chord,
               r.ReversedRect(4), r.Point(2), r.Point(0));
        break;
    case kTextOut: {
        const std::int16_t count = r.S(0);
        if (count < 0)
            throw TPictureError(QStringLiteral("A metafile text has a negative length"),
                                r.Offset());
        const std::int64_t padded = (std::int64_t(count) + 1) / 2 * 2;
        const char* text = r.Bytes(2, count);
        const int at = int((2 + padded) / 2);
        dc.Text(r.Point(at), data::TWin1252::Decode(text, count));
        break;
    }
    case kExtTextOut: {
        const QPointF at = r.Point(0);
        const std::int16_t count = r.S(2);
        const std::uint16_t options = r.W(3);
        if (count < 0)
            throw TPictureError(QStringLiteral("A metafile text has a negative length"),
                                r.Offset());
        std::int64_t textAt = 8;
        std::optional<QRectF> clip;
        // The rectangle is there when the options ask for it and the record has room for it.
        const bool hasRect = (options & 0x0006u) && r.Size() >= 16 + count;
        if (hasRect) {
            const QRectF box(QPointF(r.S(4), r.S(5)), QPointF(r.S(6), r.S(7)));
            textAt = 16;
            if (options & 0x0002u)
                dc.FillRect(box, dc.BkColor());
            if (options & 0x0004u)
                clip = box;
        }
        const char* text = r.Bytes(textAt, count);
        dc.Text(at, data::TWin1252::Decode(text, count), clip);
        break;
    }
    case kPatBlt: {
        const std::uint32_t rop = r.D(0);
        const QRectF box(QPointF(r.S(5), r.S(4)), QSizeF(r.S(3), r.S(2)));
        TGdiCodes::PatternBlit(dc, rop, box);
        break;
    }
    case kStretchDib:
    case kDibStretchBlt:
    case kDibBitBlt:
    case kSetDibToDev: {
        double xs, ys, ws, hs, xd, yd, wd, hd;
        std::int64_t dibAt;
        std::uint32_t rop = TGdiCodes::kSrcCopy;
        if (function == kStretchDib) {
            rop = r.D(0);
            hs = r.S(3), ws = r.S(4), ys = r.S(5), xs = r.S(6);
            hd = r.S(7), wd = r.S(8), yd = r.S(9), xd = r.S(10);
            dibAt = 22;
        } else if (function == kDibStretchBlt) {
            rop = r.D(0);
            hs = r.S(2), ws = r.S(3), ys = r.S(4), xs = r.S(5);
            hd = r.S(6), wd = r.S(7), yd = r.S(8), xd = r.S(9);
            dibAt = 20;
        } else if (function == kDibBitBlt) {
            rop = r.D(0);
            ys = r.S(2), xs = r.S(3), hd = hs = r.S(4), wd = ws = r.S(5), yd = r.S(6), xd = r.S(7);
            dibAt = 16;
        } else {
            ys = r.S(3), xs = r.S(4), hd = hs = r.S(5), wd = ws = r.S(6), yd = r.S(7), xd = r.S(8);
            dibAt = 18;
        }
        if (r.Size() <= dibAt + 4)
            break; // a blit without a bitmap: nothing to copy
        if (rop != TGdiCodes::kSrcCopy)
            break; // masks and raster combinations are not reproduced
        const std::int64_t dibSize = r.Size() - dibAt;
        const char* dib = r.Bytes(dibAt, dibSize);
        const TBmpInfo info = TBmpDecoder::CheckDib(dib, dibSize);
        const QImage image = TBmpDecoder::DecodeDib(dib, dibSize);
        dc.Image(QRectF(xd, yd, wd, hd), image, DibSource(image, xs, ys, ws, hs, !info.topDown));
        break;
    }
    default:
        break; // records the player does not know are skipped
    }
}

// Plays the records; draw=false checks only. Throws at the first damaged record.
void Run(const QByteArray& bytes, TMetafileSink& sink, const QRectF& target)
{
    const TWmfHeader header = TWmfPlayer::ReadHeader(bytes);
    TGdiContext dc(sink, header.frame, target, header.unitsPerInch / 25.4, true);
    dc.SetCapacity(header.objects);
    const char* data = bytes.constData();
    const std::int64_t size = bytes.size();
    std::int64_t at = header.recordsAt;
    while (at < size) {
        if (size - at < 6)
            throw TPictureError(QStringLiteral("The metafile ends inside a record"), at);
        const std::uint32_t words = U32(data + at);
        const std::uint16_t function = U16(data + at + 4);
        if (words < 3 || std::int64_t(words) * 2 > size - at)
            throw TPictureError(QStringLiteral("A metafile record has an impossible size"), at);
        if (function == kEof)
            return;
        const TRecord record(data + at + 6, std::int64_t(words) * 2 - 6, at);
        Record(dc, function, record);
        at += std::int64_t(words) * 2;
    }
}

} // namespace

bool TWmfPlayer::LooksLikeWmf(const QByteArray& bytes)
{
    if (bytes.size() >= 4 && U32(bytes.constData()) == kPlaceableKey)
        return true;
    if (bytes.size() < kHeaderSize)
        return false;
    const std::uint16_t type = U16(bytes.constData());
    const std::uint16_t headerWords = U16(bytes.constData() + 2);
    return (type == 1 || type == 2) && headerWords == 9;
}

TWmfHeader TWmfPlayer::ReadHeader(const QByteArray& bytes)
{
    TWmfHeader header;
    const char* data = bytes.constData();
    std::int64_t at = 0;
    if (bytes.size() >= 4 && U32(data) == kPlaceableKey) {
        if (bytes.size() < kPlaceableSize)
            throw TPictureError(QStringLiteral("The metafile header is cut short"), 0);
        header.placeable = true;
        const auto s = [&](int offset) { return double(std::int16_t(U16(data + offset))); };
        header.frame = QRectF(QPointF(s(6), s(8)), QPointF(s(10), s(12))).normalized();
        const std::uint16_t inch = U16(data + 14);
        header.unitsPerInch = inch ? inch : 1440;
        at = kPlaceableSize;
    }
    if (bytes.size() - at < kHeaderSize)
        throw TPictureError(QStringLiteral("The metafile header is cut short"), at);
    const std::uint16_t type = U16(data + at);
    if ((type != 1 && type != 2) || U16(data + at + 2) != 9)
        throw TPictureError(QStringLiteral("The file is not a Windows metafile"), at);
    header.objects = U16(data + at + 10);
    header.recordsAt = at + kHeaderSize;
    // The header says how long the metafile is; less than that is a file cut short, even when
    // the cut falls between two records.
    const std::int64_t declared = std::int64_t(U32(data + at + 6)) * 2;
    if (declared > bytes.size() - at)
        throw TPictureError(QStringLiteral("The metafile is shorter than its header says"), at + 6);
    if (!header.placeable) {
        // A bare metafile says its size through its window.
        QPointF origin, extent;
        bool hasExtent = false;
        std::int64_t r = header.recordsAt;
        while (!hasExtent && bytes.size() - r >= 10) {
            const std::uint32_t words = U32(data + r);
            const std::uint16_t function = U16(data + r + 4);
            if (words < 3 || std::int64_t(words) * 2 > bytes.size() - r || function == kEof)
                break;
            if (words >= 5 && (function == kSetWindowOrg || function == kSetWindowExt)) {
                const QPointF p(std::int16_t(U16(data + r + 8)), std::int16_t(U16(data + r + 6)));
                if (function == kSetWindowOrg)
                    origin = p;
                else {
                    extent = p;
                    hasExtent = true;
                }
            }
            r += std::int64_t(words) * 2;
        }
        if (!hasExtent)
            throw TPictureError(QStringLiteral("The metafile does not say its size"), at);
        header.frame = QRectF(origin, QSizeF(extent.x(), extent.y())).normalized();
    }
    if (header.frame.width() <= 0 || header.frame.height() <= 0)
        throw TPictureError(QStringLiteral("The metafile's picture frame is empty"), 0);
    return header;
}

QSizeF TWmfPlayer::NaturalSize(const QByteArray& bytes, double ppi)
{
    const TWmfHeader header = ReadHeader(bytes);
    return QSizeF(header.frame.width() * ppi / header.unitsPerInch,
                  header.frame.height() * ppi / header.unitsPerInch);
}

void TWmfPlayer::Check(const QByteArray& bytes)
{
    TNullSink sink;
    Run(bytes, sink, QRectF(0, 0, 100, 100));
}

bool TWmfPlayer::Play(const QByteArray& bytes, TMetafileSink& sink, const QRectF& target)
{
    try {
        Run(bytes, sink, target);
        return true;
    } catch (const TPictureError&) {
        return false;
    }
}

} // namespace qm::picture
