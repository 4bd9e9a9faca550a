#include "print/TPageStreamDump.h"

#include "print/TPageStreamReader.h"
#include "print/TPrintError.h"
#include "print/TPrintText.h"

namespace qm::print {
namespace {

QString Num(double v)
{
    return QString::number(v, 'g', 6);
}

QString Quoted(const QByteArray& bytes)
{
    QString text = DecodePrintText(bytes);
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""));
    QString out;
    for (QChar ch : text) {
        if (ch.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += ch;
    }
    return QLatin1Char('"') + out + QLatin1Char('"');
}

// The stream keeps colours as 0x00BBGGRR; people read them as #RRGGBB. A value with its top
// byte set is not a plain colour (a damaged or foreign stream), so it is shown as stored.
QString Color(std::int32_t v)
{
    const quint32 bits = quint32(v);
    if ((bits >> 24) != 0)
        return QStringLiteral("0x%1").arg(bits, 8, 16, QLatin1Char('0'));
    const quint32 rgb = ((bits & 0xFFu) << 16) | (bits & 0xFF00u) | ((bits >> 16) & 0xFFu);
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0'));
}

QString Point(QPointF p)
{
    return QStringLiteral("(%1,%2)").arg(Num(p.x()), Num(p.y()));
}

} // namespace

QString DumpCommandLine(const TPageCommand& c)
{
    const char* name = stream::CodeName(c.code);
    QString line =
        QString::number(c.code) + QLatin1Char(' ') + QString::fromLatin1(name ? name : "?");
    using stream::TCode;
    const auto code = static_cast<TCode>(c.code);
    auto add = [&](const QString& key, const QString& value) {
        line += QLatin1Char(' ') + key + QLatin1Char('=') + value;
    };
    switch (code) {
    case TCode::TextLeft:
    case TCode::TextCenter:
    case TCode::TextRight:
        add(QStringLiteral("y"), Num(c.f[0]));
        add(QStringLiteral("text"), Quoted(c.text));
        add(QStringLiteral("x"), Num(c.f[1]));
        return line;
    case TCode::TextBlock:
    case TCode::TextBlockOld:
        add(QStringLiteral("y"), Num(c.f[0]));
        add(QStringLiteral("text"), Quoted(c.text));
        add(QStringLiteral("x"), Num(c.f[1]));
        add(QStringLiteral("width"), Num(c.f[2]));
        return line;
    case TCode::TextRect:
        add(QStringLiteral("rect"), Point(c.points[0]) + Point(c.points[1]));
        add(QStringLiteral("x"), Num(c.f[0]));
        add(QStringLiteral("y"), Num(c.f[1]));
        add(QStringLiteral("text"), Quoted(c.text));
        return line;
    case TCode::Font:
        add(QStringLiteral("name"), Quoted(c.text));
        add(QStringLiteral("color"), Color(c.i32));
        add(QStringLiteral("pitch"), QString::number(c.b));
        add(QStringLiteral("height"), Num(c.f[0]));
        add(QStringLiteral("bold"), QString::number(c.flags[0]));
        add(QStringLiteral("italic"), QString::number(c.flags[1]));
        add(QStringLiteral("underline"), QString::number(c.flags[2]));
        add(QStringLiteral("strikeout"), QString::number(c.flags[3]));
        add(QStringLiteral("rotation"), QString::number(c.i16));
        return line;
    case TCode::Pen:
        add(QStringLiteral("color"), Color(c.i32));
        add(QStringLiteral("mode"), QString::number(c.b));
        add(QStringLiteral("style"), QString::number(c.b2));
        add(QStringLiteral("width"), Num(c.f[0]));
        return line;
    case TCode::Brush:
        add(QStringLiteral("color"), Color(c.i32));
        add(QStringLiteral("style"), QString::number(c.b));
        add(QStringLiteral("pattern"), QString::number(c.b2));
        break;
    case TCode::FontSize:
        add(QStringLiteral("height"), Num(c.f[0]));
        add(QStringLiteral("reference"), Num(c.f[1]));
        return line;
    case TCode::LineMetrics:
        add(QStringLiteral("ascent"), Num(c.f[0]));
        add(QStringLiteral("descent"), Num(c.f[1]));
        add(QStringLiteral("height"), Num(c.f[2]));
        return line;
    case TCode::BkColor:
    case TCode::BrushColor:
    case TCode::FontColor:
    case TCode::PenColor:
        add(QStringLiteral("color"), Color(c.i32));
        return line;
    case TCode::FontRotation:
        add(QStringLiteral("degrees"), QString::number(c.i16));
        return line;
    case TCode::RawBlock:
        add(QStringLiteral("length"), QString::number(c.i32));
        return line;
    case TCode::FloodFill:
        add(QStringLiteral("at"), Point(c.points[0]));
        add(QStringLiteral("color"), Color(c.i32));
        add(QStringLiteral("style"), QString::number(c.i32b));
        return line;
    case TCode::BrushPattern:
        add(QStringLiteral("pattern"), QString::number(c.b));
        break;
    case TCode::FontName:
    case TCode::RawText:
    case TCode::SelectBin:
        add(QStringLiteral("text"), Quoted(c.text));
        return line;
    case TCode::ScaleX:
    case TCode::ScaleY:
    case TCode::PenWidth:
        add(QStringLiteral("value"), Num(c.f[0]));
        return line;
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
        add(QStringLiteral("value"), QString::number(c.b));
        return line;
    default:
        break;
    }
    // Shapes, lines, polygons and graphics: their points, corner sizes and graphic.
    if (!c.points.empty()) {
        QString pts;
        for (QPointF p : c.points)
            pts += Point(p);
        add(QStringLiteral("points"), pts);
    }
    for (int i = 0; i < c.floatCount; ++i)
        add(QStringLiteral("f%1").arg(i), Num(c.f[i]));
    if (c.hasGraphic)
        add(QStringLiteral("graphic"),
            QStringLiteral("kind%1:%2bytes").arg(c.graphicKind).arg(c.graphic.size()));
    return line;
}

TPageStreamDump DumpPageStream(const QByteArray& bytes)
{
    TPageStreamDump dump;
    TPageStreamReader reader(bytes);
    try {
        const TPageStreamHeader h = reader.ReadHeader();
        dump.lines << QStringLiteral(
                          "header pages=%1 first=%2 last=%3 size=%4x%5 waste=%6,%7,%8,%9 "
                          "orientation=%10 source=%11 collate=%12 duplex=%13 copies=%14 "
                          "paper=%15 paper-size=%16x%17 device=%18")
                          .arg(h.pageCount)
                          .arg(h.firstPage)
                          .arg(h.lastPage)
                          .arg(Num(h.pageWidth), Num(h.pageHeight), Num(h.leftWaste),
                               Num(h.rightWaste), Num(h.topWaste), Num(h.bottomWaste))
                          .arg(h.orientation)
                          .arg(h.paperSource)
                          .arg(h.collate)
                          .arg(h.duplex)
                          .arg(h.copies)
                          .arg(h.paperSize)
                          .arg(h.paperWidth)
                          .arg(h.paperLength)
                          .arg(Quoted(h.deviceName));
        std::int64_t at = h.firstPageOffset;
        const std::int64_t maxPages = bytes.size() / std::int64_t(stream::kPageRecordSize) + 1;
        for (std::int64_t n = 0; h.pageCount > 0 && at != 0 && n < maxPages; ++n) {
            if (at < h.firstPageOffset)
                reader.Fail();
            reader.Seek(at);
            const TPageRecord r = reader.ReadPageRecord();
            dump.lines << QStringLiteral("page number=%1 at=%2 previous=%3 next=%4 size=%5x%6")
                              .arg(r.pageNumber)
                              .arg(r.offset)
                              .arg(r.previous)
                              .arg(r.next)
                              .arg(Num(r.width), Num(r.height));
            TPageCommand c;
            do {
                reader.ReadCommand(c);
                dump.lines << DumpCommandLine(c);
            } while (c.code != stream::kEndOfPage);
            at = r.next;
        }
    } catch (const TPrintError& e) {
        dump.error = e.Message();
        dump.errorOffset = e.Offset();
    }
    return dump;
}

} // namespace qm::print
