// Shared by the shape, line and barcode tests: the drawing commands of a recorded page stream,
// each with the pen and brush in force when it was drawn.

#pragma once

#include "TTextObjectFixture.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGLabelObjectFiler.h"
#include "print/TPageStreamFormat.h"
#include "print/TPageStreamReader.h"

#include <QPainter>
#include <QPointF>
#include <vector>

namespace qm::design::test {

struct TDrawing {
    print::stream::TCode code{};
    std::vector<QPointF> points; // rectangle corners or the point of a move/line
    float f[2] = {0, 0};         // corner sizes of a rounded rectangle
    std::uint32_t penColor = 0;
    int penStyle = 0;
    int penMode = 0;
    double penWidth = 0; // inches
    std::uint32_t brushColor = 0;
    int brushStyle = 0;

    double Left() const { return points.at(0).x(); }
    double Top() const { return points.at(0).y(); }
    double Right() const { return points.at(1).x(); }
    double Bottom() const { return points.at(1).y(); }
};

// The figures and line commands of the first page, in order.
inline std::vector<TDrawing> Drawings(const QByteArray& bytes)
{
    using print::stream::TCode;
    std::vector<TDrawing> out;
    print::TPageStreamReader reader(bytes);
    const print::TPageStreamHeader header = reader.ReadHeader();
    if (header.pageCount < 1)
        return out;
    reader.Seek(header.firstPageOffset);
    reader.ReadPageRecord();
    TDrawing state;
    print::TPageCommand c;
    for (;;) {
        reader.ReadCommand(c);
        const TCode code = TCode(c.code);
        switch (code) {
        case TCode::PenColor:
            state.penColor = std::uint32_t(c.i32);
            break;
        case TCode::PenStyle:
            state.penStyle = c.b;
            break;
        case TCode::PenMode:
            state.penMode = c.b;
            break;
        case TCode::PenWidth:
            state.penWidth = c.f[0];
            break;
        case TCode::BrushColor:
            state.brushColor = std::uint32_t(c.i32);
            break;
        case TCode::BrushStyle:
            state.brushStyle = c.b;
            break;
        case TCode::Rectangle:
        case TCode::FillRect:
        case TCode::Ellipse:
        case TCode::RoundRect:
        case TCode::MoveTo:
        case TCode::LineTo: {
            TDrawing d = state;
            d.code = code;
            d.points = c.points;
            d.f[0] = c.f[0];
            d.f[1] = c.f[1];
            out.push_back(d);
            break;
        }
        default:
            break;
        }
        if (code == TCode::EndOfPage)
            break;
    }
    return out;
}

// Records one job on the built-in PDF printer (300 dots per inch), so that pen widths in
// hundredths of an inch survive the canvas's rounding to device pixels.
inline QByteArray RecordOnPdf(const std::function<void(print::TBaseReport&)>& draw)
{
    qunsetenv("QUILLMARK_NO_PDF_PRINTER");
    print::TRPDevice::Instance().ReloadWith({});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    print::TReportFiler filer;
    filer.SetStream(&buffer);
    filer.OnPrint = draw;
    filer.RunJob();
    qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
    print::TRPDevice::Instance().ReloadWith({});
    return bytes;
}

// The object painted alone on a white image of the given size, its corner at the origin.
inline QImage PaintAlone(TGGraphicControl& object, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    object.Paint(painter);
    return image;
}

inline bool IsBlack(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}
inline bool IsWhite(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == qRgb(255, 255, 255);
}

// Makes every host's kinds readable (the registry is shared by the whole run).
inline void RegisterAllHosts()
{
    for (TGHostKind host : {TGHostKind::Label, TGHostKind::Envelope, TGHostKind::Report})
        TGClassRegistry::Instance().RegisterHostKinds(host);
}

// The stream bytes of one object, and the object read back from them onto a panel.
inline QByteArray StreamOf(const TGGraphicControl& object)
{
    return TGLabelObjectFiler::PanelBytes(std::vector<const TGGraphicControl*>{&object});
}

template <class T> T* ReadBack(const QByteArray& bytes, TGBasePanel& panel)
{
    const auto read = TGLabelObjectFiler::ReadPanelBytes(bytes, panel.Owner(), panel);
    return read.size() == 1 ? dynamic_cast<T*>(read.front()) : nullptr;
}

} // namespace qm::design::test
