#include "picture/TEmfPlayer.h"

#include "picture/TBmpDecoder.h"
#include "picture/TGdiCodes.h"
#include "picture/TGdiContext.h"
#include "picture/TPictureError.h"

#include "data/TWin1252.h"

#include <QtEndian>
#include <cstring>

namespace qm::picture {

namespace {

enum : std::uint32_t {
    kHeader = 1,
    kPolyBezier = 2,
    kPolygon = 3,
    kPolyline = 4,
    kPolyBezierTo = 5,
    kPolylineTo = 6,
    kPolyPolyline = 7,
    kPolyPolygon = 8,
    kSetWindowExtEx = 9,
    kSetWindowOrgEx = 10,
    kSetViewportExtEx = 11,
    kSetViewportOrgEx = 12,
    kEof = 14,
    kSetMapMode = 17,
    kSetBkMode = 18,
    kSetPolyFillMode = 19,
    kSetTextAlign = 22,
    kSetTextColor = 24,
    kSetBkColor = 25,
    kMoveToEx = 27,
    kIntersectClipRect = 30,
    kScaleViewportExtEx = 31,
    kScaleWindowExtEx = 32,
    kSaveDC = 33,
    kRestoreDC = 34,
    kSetWorldTransform = 35,
    kModifyWorldTransform = 36,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrushIndirect = 39,
    kDeleteObject = 40,
    kEllipse = 42,
    kRectangle = 43,
    kRoundRect = 44,
    kArc = 45,
    kChord = 46,
    kPie = 47,
    kLineTo = 54,
    kBeginPath = 59,
    kEndPath = 60,
    kCloseFigure = 61,
    kFillPath = 62,
    kStrokeAndFillPath = 63,
    kStrokePath = 64,
    kAbortPath = 68,
    kBitBlt = 76,
    kStretchBlt = 77,
    kSetDiBitsToDevice = 80,
    kStretchDiBits = 81,
    kExtCreateFontIndirectW = 82,
    kExtTextOutA = 83,
    kExtTextOutW = 84,
    kPolyBezier16 = 85,
    kPolygon16 = 86,
    kPolyline16 = 87,
    kPolyBezierTo16 = 88,
    kPolylineTo16 = 89,
    kPolyPolyline16 = 90,
    kPolyPolygon16 = 91,
    kCreateMonoBrush = 93,
    kCreateDibPatternBrushPt = 94,
    kExtCreatePen = 95,
};

std::uint32_t U32(const char* p)
{
    return qFromLittleEndian<std::uint32_t>(p);
}

// One record (type and size included), every read checked against its size.
class TRecord {
public:
    TRecord(const char* p, std::int64_t size, std::int64_t offset)
        : mP(p), mSize(size), mOffset(offset)
    {
    }
    std::int64_t Size() const { return mSize; }
    void Need(std::int64_t at, std::int64_t count) const
    {
        if (at < 0 || count < 0 || at > mSize || count > mSize - at)
            throw TPictureError(QStringLiteral("A metafile record is shorter than its contents"),
                                mOffset);
    }
    const char* Bytes(std::int64_t at, std::int64_t count) const
    {
        Need(at, count);
        return mP + at;
    }
    std::uint32_t U(std::int64_t at) const { return U32(Bytes(at, 4)); }
    std::int32_t I(std::int64_t at) const { return std::int32_t(U(at)); }
    std::int16_t S(std::int64_t at) const
    {
        return std::int16_t(qFromLittleEndian<std::uint16_t>(Bytes(at, 2)));
    }
    float F(std::int64_t at) const
    {
        const std::uint32_t bits = U(at);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    QPointF Point(std::int64_t at) const { return QPointF(I(at), I(at + 4)); }
    QRectF Rect(std::int64_t at) const
    {
        return QRectF(QPointF(I(at), I(at + 4)), QPointF(I(at + 8), I(at + 12)));
    }
    QColor Color(std::int64_t at) const
    {
        const char* c = Bytes(at, 4);
        return QColor(std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2]));
    }
    QPolygonF Points(std::int64_t at, std::int64_t count, bool small) const
    {
        const std::int64_t step = small ? 4 : 8;
        if (count < 0 || count > mSize / step)
            Need(at, mSize + 1);
        Need(at, count * step);
        QPolygonF points;
        points.reserve(qsizetype(count));
        for (std::int64_t i = 0; i < count; ++i)
            points << (small ? QPointF(S(at + i * 4), S(at + i * 4 + 2)) : Point(at + i * 8));
        return points;
    }
    // A packed DIB from the header and bits a record points to.
    QImage Dib(std::int64_t bmiOffset, std::int64_t bmiSize, std::int64_t bitsOffset,
               std::int64_t bitsSize) const
    {
        QByteArray dib(Bytes(bmiOffset, bmiSize), qsizetype(bmiSize));
        dib.append(Bytes(bitsOffset, bitsSize), qsizetype(bitsSize));
        return TBmpDecoder::DecodeDib(dib.constData(), dib.size());
    }
    std::int64_t Offset() const { return mOffset; }

private:
    const char* mP;
    std::int64_t mSize;
    std::int64_t mOffset;
};

TGdiBrush Brush(std::uint32_t style, const QColor& color, std::uint32_t hatch)
{
    TGdiBrush brush;
    brush.color = color;
    brush.style = style == 1   ? TGdiBrushStyle::Null
                  : style == 2 ? TGdiBrushStyle::Hatched
                               : TGdiBrushStyle::Solid;
    if (style == 2)
        brush.hatch = TGdiCodes::Hatch(hatch);
    return brush;
}

void PolyRecord(TGdiContext& dc, std::uint32_t type, const TRecord& r)
{
    const bool small = type >= kPolyBezier16;
    const std::uint32_t base = small ? type - kPolyBezier16 + kPolyBezier : type;
    if (base == kPolyPolyline || base == kPolyPolygon) {
        const std::uint32_t polygons = r.U(24);
        r.Need(32, std::int64_t(polygons) * 4);
        std::int64_t at = 32 + std::int64_t(polygons) * 4;
        QList<QPolygonF> list;
        for (std::uint32_t i = 0; i < polygons; ++i) {
            const std::int64_t count = r.U(32 + std::int64_t(i) * 4);
            list.append(r.Points(at, count, small));
            at += count * (small ? 4 : 8);
        }
        if (base == kPolyPolygon)
            dc.Polygons(list);
        else
            dc.PolyPolyline(list);
        return;
    }
    const QPolygonF points = r.Points(28, r.U(24), small);
    switch (base) {
    case kPolyBezier:
        dc.PolyBezier(points);
        break;
    case kPolygon:
        dc.Polygons({points});
        break;
    case kPolyline:
        dc.Polyline(points);
        break;
    case kPolyBezierTo:
        dc.PolyBezierTo(points);
        break;
    case kPolylineTo:
        dc.PolylineTo(points);
        break;
    default:
        break;
    }
}

void TextRecord(TGdiContext& dc, bool wide, const TRecord& r)
{
    const QPointF at = r.Point(36);
    const std::int64_t count = r.U(44);
    const std::int64_t offset = r.U(48);
    const std::uint32_t options = r.U(52);
    if (options & 0x0002u)
        dc.FillRect(r.Rect(56), dc.BkColor());
    if (count == 0)
        return;
    std::optional<QRectF> clip;
    if (options & 0x0004u)
        clip = r.Rect(56);
    QString text;
    if (wide) {
        if (count > r.Size() / 2)
            r.Need(offset, r.Size() + 1);
        const char* p = r.Bytes(offset, count * 2);
        text.resize(qsizetype(count));
        for (std::int64_t i = 0; i < count; ++i)
            text[qsizetype(i)] = QChar(qFromLittleEndian<std::uint16_t>(p + i * 2));
    } else {
        text = data::TWin1252::Decode(r.Bytes(offset, count), qsizetype(count));
    }
    dc.Text(at, text, clip);
}

void BlitRecord(TGdiContext& dc, std::uint32_t type, const TRecord& r)
{
    QRectF destination, source;
    std::uint32_t rop;
    std::int64_t bmiOffset, bmiSize, bitsOffset, bitsSize;
    if (type == kStretchDiBits) {
        destination = QRectF(r.I(24), r.I(28), r.I(72), r.I(76));
        source = QRectF(r.I(32), r.I(36), r.I(40), r.I(44));
        bmiOffset = r.U(48), bmiSize = r.U(52), bitsOffset = r.U(56), bitsSize = r.U(60);
        rop = r.U(68);
    } else if (type == kSetDiBitsToDevice) {
        destination = QRectF(r.I(24), r.I(28), r.I(40), r.I(44));
        source = QRectF(r.I(32), r.I(36), r.I(40), r.I(44));
        bmiOffset = r.U(48), bmiSize = r.U(52), bitsOffset = r.U(56), bitsSize = r.U(60);
        rop = TGdiCodes::kSrcCopy;
    } else { // BitBlt, StretchBlt
        destination = QRectF(r.I(24), r.I(28), r.I(32), r.I(36));
        rop = r.U(40);
        bmiOffset = r.U(84), bmiSize = r.U(88), bitsOffset = r.U(92), bitsSize = r.U(96);
        QSizeF sourceSize = destination.size();
        if (type == kStretchBlt)
            sourceSize = QSizeF(r.I(100), r.I(104));
        source = QRectF(QPointF(r.I(44), r.I(48)), sourceSize);
        if (bmiSize == 0) {
            TGdiCodes::PatternBlit(dc, rop, destination);
            return;
        }
    }
    if (rop != TGdiCodes::kSrcCopy || bmiSize == 0)
        return;
    const QImage image = r.Dib(bmiOffset, bmiSize, bitsOffset, bitsSize);
    // Source rows count from the bitmap's bottom for bottom-up bitmaps.
    const bool bottomUp = r.I(bmiOffset + 8) > 0;
    if (bottomUp && type != kBitBlt && type != kStretchBlt)
        source.moveTop(image.height() - source.top() - source.height());
    dc.Image(destination, image, source);
}

void Record(TGdiContext& dc, std::uint32_t type, const TRecord& r)
{
    switch (type) {
    case kPolyBezier:
    case kPolygon:
    case kPolyline:
    case kPolyBezierTo:
    case kPolylineTo:
    case kPolyPolyline:
    case kPolyPolygon:
    case kPolyBezier16:
    case kPolygon16:
    case kPolyline16:
    case kPolyBezierTo16:
    case kPolylineTo16:
    case kPolyPolyline16:
    case kPolyPolygon16:
        PolyRecord(dc, type, r);
        break;
    case kSetWindowExtEx:
        dc.SetWindowExt(r.Point(8));
        break;
    case kSetWindowOrgEx:
        dc.SetWindowOrg(r.Point(8));
        break;
    case kSetViewportExtEx:
        dc.SetViewportExt(r.Point(8));
        break;
    case kSetViewportOrgEx:
        dc.SetViewportOrg(r.Point(8));
        break;
    case kSetMapMode:
        dc.SetMapMode(int(r.U(8)));
        break;
    case kSetBkMode:
        dc.SetBkMode(int(r.U(8)));
        break;
    case kSetPolyFillMode:
        dc.SetPolyFillMode(int(r.U(8)));
        break;
    case kSetTextAlign:
        dc.SetTextAlign(r.U(8));
        break;
    case kSetTextColor:
        dc.SetTextColor(r.Color(8));
        break;
    case kSetBkColor:
        dc.SetBkColor(r.Color(8));
        break;
    case kMoveToEx:
        dc.MoveTo(r.Point(8));
        break;
    case kLineTo:
        dc.LineTo(r.Point(8));
        break;
    case kIntersectClipRect:
        dc.IntersectClipRect(r.Rect(8));
        break;
    case kScaleViewportExtEx:
        dc.ScaleViewportExt(r.I(8), r.I(12), r.I(16), r.I(20));
        break;
    case kScaleWindowExtEx:
        dc.ScaleWindowExt(r.I(8), r.I(12), r.I(16), r.I(20));
        break;
    case kSaveDC:
        dc.SaveDC();
        break;
    case kRestoreDC:
        dc.RestoreDC(r.I(8));
        break;
    case kSetWorldTransform:
    case kModifyWorldTransform: {
        const QTransform t(r.F(8), r.F(12), r.F(16), r.F(20), r.F(24), r.F(28));
        if (type == kSetWorldTransform)
            dc.SetWorldTransform(t);
        else
            dc.ModifyWorldTransform(t, int(r.U(32)));
        break;
    }
    case kSelectObject: {
        const std::uint32_t index = r.U(8);
        if (index & 0x80000000u)
            dc.SelectStockObject(index & 0x7FFFFFFFu);
        else
            dc.SelectObject(index);
        break;
    }
    case kDeleteObject:
        dc.DeleteObject(r.U(8));
        break;
    case kCreatePen: {
        TGdiObject pen;
        pen.kind = TGdiObjectKind::Pen;
        pen.penStyle = TGdiCodes::PenStyle(r.U(12));
        pen.penWidth = r.I(16);
        pen.color = r.Color(24);
        dc.PutObject(r.U(8), pen);
        break;
    }
    case kExtCreatePen: {
        TGdiObject pen;
        pen.kind = TGdiObjectKind::Pen;
        const std::uint32_t style = r.U(28);
        pen.penStyle = TGdiCodes::PenStyle(style);
        // Cosmetic pens are one device pixel wide whatever their width says.
        pen.penWidth = (style & 0x00010000u) ? double(r.U(32)) : 0.0;
        pen.color = r.Color(40);
        if (r.U(36) == 1)
            pen.penStyle = TGdiPenStyle::Null;
        dc.PutObject(r.U(8), pen);
        break;
    }
    case kCreateBrushIndirect: {
        TGdiObject brush;
        brush.kind = TGdiObjectKind::Brush;
        brush.brush = Brush(r.U(12), r.Color(16), r.U(20));
        dc.PutObject(r.U(8), brush);
        break;
    }
    case kCreateMonoBrush:
    case kCreateDibPatternBrushPt: {
        TGdiObject brush;
        brush.kind = TGdiObjectKind::Brush;
        brush.brush.style = TGdiBrushStyle::Pattern;
        brush.brush.pattern = r.Dib(r.U(16), r.U(20), r.U(24), r.U(28));
        dc.PutObject(r.U(8), brush);
        break;
    }
    case kExtCreateFontIndirectW: {
        TGdiObject font;
        font.kind = TGdiObjectKind::Font;
        font.font.height = r.I(12);
        font.font.angle = r.I(20) / 10.0;
        font.font.weight = r.I(28);
        const char* flags = r.Bytes(32, 8);
        font.font.italic = flags[0] != 0;
        font.font.underline = flags[1] != 0;
        font.font.strikeOut = flags[2] != 0;
        const char* face = r.Bytes(40, 64);
        QString name;
        for (int i = 0; i < 32; ++i) {
            const std::uint16_t c = qFromLittleEndian<std::uint16_t>(face + i * 2);
            if (c == 0)
                break;
            name.append(QChar(c));
        }
        font.font.face = name.isEmpty() ? QStringLiteral("Arial") : name;
        dc.PutObject(r.U(8), font);
        break;
    }
    case kEllipse:
        dc.Ellipse(r.Rect(8));
        break;
    case kRectangle:
        dc.Rectangle(r.Rect(8));
        break;
    case kRoundRect:
        dc.RoundRect(r.Rect(8), QSizeF(r.I(24), r.I(28)));
        break;
    case kArc:
    case kChord:
    case kPie:
        dc.Arc(type == kArc   ? TArcKind::Arc
               : type == kPie ? TArcKind::Pie
                              : TArcKind::Chord,
               r.Rect(8), r.Point(24), r.Point(32));
        break;
    case kBeginPath:
        dc.BeginPath();
        break;
    case kEndPath:
        dc.EndPath();
        break;
    case kCloseFigure:
        dc.CloseFigure();
        break;
    case kAbortPath:
        dc.AbortPath();
        break;
    case kFillPath:
        dc.DrawPath(true, false);
        break;
    case kStrokePath:
        dc.DrawPath(false, true);
        break;
    case kStrokeAndFillPath:
        dc.DrawPath(true, true);
        break;
    case kExtTextOutA:
        TextRecord(dc, false, r);
        break;
    case kExtTextOutW:
        TextRecord(dc, true, r);
        break;
    case kBitBlt:
    case kStretchBlt:
    case kStretchDiBits:
    case kSetDiBitsToDevice:
        BlitRecord(dc, type, r);
        break;
    default:
        break; // records the player does not know are skipped
    }
}

void Run(const QByteArray& bytes, TMetafileSink& sink, const QRectF& target)
{
    const TEmfHeader header = TEmfPlayer::ReadHeader(bytes);
    TGdiContext dc(sink, header.frame, target, header.devicePerMm, false);
    dc.SetCapacity(header.handles);
    const char* data = bytes.constData();
    const std::int64_t size = bytes.size();
    std::int64_t at = header.recordsAt;
    while (at < size) {
        if (size - at < 8)
            throw TPictureError(QStringLiteral("The metafile ends inside a record"), at);
        const std::uint32_t type = U32(data + at);
        const std::uint32_t length = U32(data + at + 4);
        if (length < 8 || length % 4 != 0 || std::int64_t(length) > size - at)
            throw TPictureError(QStringLiteral("A metafile record has an impossible size"), at);
        if (type == kEof)
            return;
        Record(dc, type, TRecord(data + at, length, at));
        at += length;
    }
}

} // namespace

bool TEmfPlayer::LooksLikeEmf(const QByteArray& bytes)
{
    return bytes.size() >= 44 && U32(bytes.constData()) == kHeader &&
           U32(bytes.constData() + 40) == kSignature;
}

TEmfHeader TEmfPlayer::ReadHeader(const QByteArray& bytes)
{
    if (!LooksLikeEmf(bytes))
        throw TPictureError(QStringLiteral("The file is not an enhanced metafile"), 0);
    const std::uint32_t headerSize = U32(bytes.constData() + 4);
    if (headerSize < 88 || headerSize % 4 != 0 || headerSize > std::uint64_t(bytes.size()))
        throw TPictureError(QStringLiteral("The metafile header has an impossible size"), 4);
    const TRecord r(bytes.constData(), headerSize, 0);
    TEmfHeader header;
    if (std::int64_t(r.U(48)) > bytes.size())
        throw TPictureError(QStringLiteral("The metafile is shorter than its header says"), 48);
    header.handles = std::uint16_t(qFromLittleEndian<std::uint16_t>(r.Bytes(56, 2)));
    const double deviceX = r.I(72), deviceY = r.I(76), mmX = r.I(80), mmY = r.I(84);
    double perMmX = 96 / 25.4, perMmY = 96 / 25.4;
    if (deviceX > 0 && deviceY > 0 && mmX > 0 && mmY > 0) {
        perMmX = deviceX / mmX;
        perMmY = deviceY / mmY;
    }
    header.devicePerMm = perMmX;
    const QRectF frame = r.Rect(24).normalized();
    if (frame.width() > 0 && frame.height() > 0) {
        header.frameMm = QRectF(frame.left() / 100, frame.top() / 100, frame.width() / 100,
                                frame.height() / 100);
        header.frame = QRectF(header.frameMm.left() * perMmX, header.frameMm.top() * perMmY,
                              header.frameMm.width() * perMmX, header.frameMm.height() * perMmY);
    } else {
        header.frame = r.Rect(8).normalized();
        header.frame.setSize(header.frame.size() + QSizeF(1, 1)); // bounds are inclusive
        header.frameMm = QRectF(header.frame.left() / perMmX, header.frame.top() / perMmY,
                                header.frame.width() / perMmX, header.frame.height() / perMmY);
    }
    if (!(header.frame.width() > 0) || !(header.frame.height() > 0))
        throw TPictureError(QStringLiteral("The metafile's picture frame is empty"), 8);
    header.recordsAt = headerSize;
    return header;
}

QSizeF TEmfPlayer::NaturalSize(const QByteArray& bytes, double ppi)
{
    const TEmfHeader header = ReadHeader(bytes);
    return QSizeF(header.frameMm.width() * ppi / 25.4, header.frameMm.height() * ppi / 25.4);
}

void TEmfPlayer::Check(const QByteArray& bytes)
{
    TNullSink sink;
    Run(bytes, sink, QRectF(0, 0, 100, 100));
}

bool TEmfPlayer::Play(const QByteArray& bytes, TMetafileSink& sink, const QRectF& target)
{
    try {
        Run(bytes, sink, target);
        return true;
    } catch (const TPictureError&) {
        return false;
    }
}

} // namespace qm::picture
