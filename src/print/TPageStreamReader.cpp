#include "print/TPageStreamReader.h"

#include "print/TPrintError.h"

#include <cstring>

namespace qm::print {

using stream::TCode;

void TPageStreamReader::Fail() const
{
    throw TPrintError(TPrintErrorKind::DamagedStream, QString::fromLatin1(msg::kUnexpectedCode),
                      mPos);
}

void TPageStreamReader::Need(std::int64_t bytes) const
{
    if (bytes < 0 || mPos > mSize || bytes > mSize - mPos)
        Fail();
}

void TPageStreamReader::Seek(std::int64_t position)
{
    if (position < 0 || position > mSize) {
        mPos = position < 0 ? 0 : mSize;
        Fail();
    }
    mPos = position;
}

std::uint8_t TPageStreamReader::Byte()
{
    Need(1);
    return static_cast<std::uint8_t>(mData[mPos++]);
}

std::int16_t TPageStreamReader::Int16()
{
    Need(2);
    const auto* p = reinterpret_cast<const std::uint8_t*>(mData + mPos);
    mPos += 2;
    return static_cast<std::int16_t>(std::uint16_t(p[0] | (p[1] << 8)));
}

std::int32_t TPageStreamReader::Int32()
{
    Need(4);
    const auto* p = reinterpret_cast<const std::uint8_t*>(mData + mPos);
    mPos += 4;
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) |
                                     (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24));
}

float TPageStreamReader::Float()
{
    const auto bits = static_cast<std::uint32_t>(Int32());
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QPointF TPageStreamReader::Point()
{
    const float x = Float();
    const float y = Float();
    return QPointF(x, y);
}

QByteArray TPageStreamReader::Text()
{
    const std::uint8_t n = Byte();
    Need(n);
    QByteArray text(mData + mPos, n);
    mPos += n;
    return text;
}

TPageStreamHeader TPageStreamReader::ReadHeader()
{
    Seek(0);
    TPageStreamHeader h;
    if (Byte() != stream::kHeaderCode) {
        mPos = 0;
        Fail();
    }
    h.pageCount = Int16();
    h.firstPage = Int16();
    h.lastPage = Int16();
    h.pageWidth = Float();
    h.pageHeight = Float();
    h.leftWaste = Float();
    h.rightWaste = Float();
    h.topWaste = Float();
    h.bottomWaste = Float();
    h.orientation = Byte();
    h.paperSource = Int16();
    h.collate = Byte();
    h.duplex = Byte();
    h.copies = Int16();
    h.paperSize = Int16();
    h.paperWidth = Int16();
    h.paperLength = Int16();
    h.deviceName = Text();
    h.firstPageOffset = mPos;
    return h;
}

TPageRecord TPageStreamReader::ReadPageRecord()
{
    TPageRecord r;
    r.offset = mPos;
    if (Byte() != stream::kPageCode) {
        mPos = r.offset;
        Fail();
    }
    r.previous = Int32();
    r.next = Int32();
    r.pageNumber = Int16();
    r.width = Float();
    r.height = Float();
    r.commandsOffset = mPos;
    return r;
}

void TPageStreamReader::Graphic(TPageCommand& c)
{
    c.graphicKind = Byte();
    const std::int32_t n = Int32();
    Need(n); // also refuses negative counts, so nothing is allocated beyond the input
    c.graphic = QByteArray(mData + mPos, n);
    c.hasGraphic = true;
    mPos += n;
}

void TPageStreamReader::Points(TPageCommand& c, int count)
{
    for (int i = 0; i < count; ++i)
        c.points.push_back(Point());
}

void TPageStreamReader::PointList(TPageCommand& c)
{
    const int count = int(Int16()) + 1;
    if (count < 1)
        Fail();
    Need(std::int64_t(count) * 8);
    Points(c, count);
}

void TPageStreamReader::ReadCommand(TPageCommand& c)
{
    c.offset = mPos;
    c.code = Byte();
    c.points.clear();
    c.floatCount = 0;
    c.text.clear();
    c.graphic.clear();
    c.hasGraphic = false;
    auto floats = [&](int n) {
        for (int i = 0; i < n; ++i)
            c.f[i] = Float();
        c.floatCount = n;
    };
    switch (static_cast<TCode>(c.code)) {
    case TCode::Arc:
    case TCode::Chord:
    case TCode::Pie:
        Points(c, 4);
        break;
    case TCode::BrushCopy:
        Graphic(c);
        Points(c, 4);
        c.i32 = Int32();
        break;
    case TCode::DrawAtPoint:
        Graphic(c);
        Points(c, 1);
        break;
    case TCode::FocusRect:
    case TCode::Ellipse:
    case TCode::FillRect:
    case TCode::FrameRect:
    case TCode::Rectangle:
    case TCode::TabRectangle:
    case TCode::ClipRect:
    case TCode::ClipEllipse:
        Points(c, 2);
        break;
    case TCode::FloodFill:
        Points(c, 1);
        c.i32 = Int32();
        c.i32b = Int32();
        break;
    case TCode::LineTo:
    case TCode::MoveTo:
        Points(c, 1);
        break;
    case TCode::Polygon:
    case TCode::Polyline:
    case TCode::ClipPolygon:
        PointList(c);
        break;
    case TCode::BitmapScaled:
        Graphic(c);
        Points(c, 1);
        floats(2);
        break;
    case TCode::BitmapRect:
        Graphic(c);
        Points(c, 2);
        break;
    case TCode::RoundRect:
    case TCode::ClipRoundRect:
        Points(c, 2);
        floats(2);
        break;
    case TCode::GraphicRect:
        Points(c, 2);
        Graphic(c);
        break;
    case TCode::TextRect:
        Points(c, 2);
        floats(2);
        c.text = Text();
        break;
    case TCode::TextCenter:
    case TCode::TextLeft:
    case TCode::TextRight:
        c.f[0] = Float(); // y
        c.text = Text();
        c.f[1] = Float(); // x
        c.floatCount = 2;
        break;
    case TCode::TextBlockOld:
    case TCode::TextBlock:
        c.f[0] = Float();
        c.text = Text();
        c.f[1] = Float();
        c.f[2] = Float(); // width
        c.floatCount = 3;
        break;
    case TCode::TextBkMode:
    case TCode::BitmapMode:
    case TCode::BrushStyle:
    case TCode::FontPitch:
    case TCode::FontBold:
    case TCode::FontUnderline:
    case TCode::FontItalic:
    case TCode::FontStrikeout:
    case TCode::FontSubscript:
    case TCode::FontSuperscript:
    case TCode::FontAlign:
    case TCode::PenMode:
    case TCode::PenStyle:
    case TCode::Orientation:
        c.b = Byte();
        break;
    case TCode::BkColor:
    case TCode::BrushColor:
    case TCode::FontColor:
    case TCode::PenColor:
        c.i32 = Int32();
        break;
    case TCode::ScaleX:
    case TCode::ScaleY:
    case TCode::PenWidth:
        floats(1);
        break;
    case TCode::RawText:
    case TCode::FontName:
    case TCode::SelectBin:
        c.text = Text();
        break;
    case TCode::RawBlock: {
        const std::int32_t n = Int32();
        Need(n);
        c.i32 = n;
        mPos += n; // raw printer data is not shown or replayed on a canvas
        break;
    }
    case TCode::BrushPattern:
        c.b = Byte();
        if (c.b == 1)
            Graphic(c);
        break;
    case TCode::Brush:
        c.i32 = Int32();
        c.b = Byte();  // style
        c.b2 = Byte(); // pattern flag
        if (c.b2 == 1)
            Graphic(c);
        break;
    case TCode::Font:
        c.text = Text();
        c.i32 = Int32();
        c.b = Byte();
        floats(1);
        for (auto& flag : c.flags)
            flag = Byte();
        c.i16 = Int16();
        break;
    case TCode::FontSize:
        floats(2);
        break;
    case TCode::FontRotation:
        c.i16 = Int16();
        break;
    case TCode::Pen:
        c.i32 = Int32();
        c.b = Byte();  // mode
        c.b2 = Byte(); // style
        floats(1);
        break;
    case TCode::EndOfPage:
    case TCode::OutputSelect1:
    case TCode::OutputSelect2:
    case TCode::OutputSelect3:
    case TCode::ClipOp1:
    case TCode::ClipOp2:
    case TCode::ClipOp3:
        break;
    case TCode::LineMetrics:
        floats(3);
        break;
    case TCode::CopyRect:
    default:
        mPos = c.offset;
        Fail();
    }
}

} // namespace qm::print
