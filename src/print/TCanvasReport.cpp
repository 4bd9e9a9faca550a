#include "print/TCanvasReport.h"

#include "print/TPrintError.h"

namespace qm::print {

TCanvasReport::~TCanvasReport()
{
    if (mPainter.isActive())
        mPainter.end();
}

QPainter& TCanvasReport::Canvas()
{
    if (!mPageActive || !mPainter.isActive())
        throw TPrintError(TPrintErrorKind::WrongState, QString::fromLatin1(msg::kCanvasNotActive));
    return mPainter;
}

TDeviceMapping TCanvasReport::Mapping() const
{
    const TPageGeometry& g = Geometry();
    return TDeviceMapping{g.dpiX, g.dpiY, g.leftWaste, g.topWaste, 100, ScaleX(), ScaleY()};
}

void TCanvasReport::StartOutput()
{
    mDevice = BeginDevice();
    mPageActive = false;
    mDeviceBegun = false;
}

void TCanvasReport::StartPage()
{
    if (!mPainter.isActive()) {
        if (!mDevice || !mPainter.begin(mDevice))
            throw TPrintError(
                TPrintErrorKind::Device,
                QStringLiteral("The printer \"%1\" could not be started.").arg(DeviceName()));
        mDeviceBegun = true;
    } else {
        NewDevicePage();
    }
    mPagePainter = std::make_unique<TPagePainter>(mPainter, Mapping());
    mPageActive = true;
}

void TCanvasReport::EndPage()
{
    mPageActive = false;
    mPagePainter.reset();
}

void TCanvasReport::EndOutput(bool aborted)
{
    mPagePainter.reset();
    mPageActive = false;
    if (aborted)
        AbortDevice();
    if (mPainter.isActive())
        mPainter.end();
    EndDevice(aborted);
    mDevice = nullptr;
}

TPainterFont TCanvasReport::PainterFont() const
{
    const TFontState& f = Font();
    TPainterFont p;
    p.name = f.name;
    p.heightInches = f.sizePoints / 72.0;
    p.color = f.color;
    p.pitch = f.pitch;
    p.bold = f.bold;
    p.italic = f.italic;
    p.underline = f.underline;
    p.strikeout = f.strikeout;
    p.superscript = f.superscript;
    p.subscript = f.subscript;
    p.rotation = f.rotation;
    return p;
}

double TCanvasReport::MeasureText(const QByteArray& text)
{
    mMeasure.SetDpi(Geometry().dpiY);
    TPainterFont font = PainterFont();
    font.rotation = 0;
    font.color = kBlack;
    mMeasure.SetFont(font);
    return mMeasure.Width(text);
}

void TCanvasReport::MeasureFont(double& ascent, double& descent)
{
    mMeasure.SetDpi(Geometry().dpiY);
    TPainterFont font = PainterFont();
    font.rotation = 0;
    font.color = kBlack;
    mMeasure.SetFont(font);
    ascent = mMeasure.Ascent();
    descent = mMeasure.Descent();
}

TPagePainter& TCanvasReport::Sync()
{
    if (!mPagePainter)
        throw TPrintError(TPrintErrorKind::WrongState, QString::fromLatin1(msg::kCanvasNotActive));
    TPagePainter& p = *mPagePainter;
    p.SetScale(ScaleX(), ScaleY());
    p.SetFont(PainterFont());
    p.SetPenPixels(Pen().color, Pen().style, Pen().mode, Pen().widthPixels);
    p.SetBrush(Brush().color, Brush().style, BrushPattern());
    p.SetBkMode(TextBKMode());
    return p;
}

void TCanvasReport::OutText(TTextAlign align, double x, double y, const QByteArray& text)
{
    Sync().Text(align, x, y, text);
}

void TCanvasReport::OutTextBlock(double x, double y, double width, const QByteArray& text)
{
    Sync().TextBlock(x, y, width, text);
}

void TCanvasReport::OutTextRect(const QRectF& clip, double x, double y, const QByteArray& text)
{
    Sync().TextInRect(clip, x, y, text);
}

void TCanvasReport::OutShape(TShape shape, const QRectF& rect, double cw, double ch)
{
    Sync().Shape(shape, rect, cw, ch);
}

void TCanvasReport::OutFillRects(std::span<const QRectF> rects)
{
    Sync().FillRects(rects);
}

void TCanvasReport::OutMoveTo(QPointF p)
{
    Sync().MoveTo(p);
}
void TCanvasReport::OutLineTo(QPointF p)
{
    Sync().LineTo(p);
}

void TCanvasReport::OutPolygon(const std::vector<QPointF>& points, bool closed)
{
    Sync().Polygon(points, closed);
}

void TCanvasReport::OutBitmap(const QRectF& rect, const QImage& image)
{
    Sync().Image(rect, image);
}
void TCanvasReport::OutGraphic(const QRectF& rect, const QImage& image)
{
    Sync().Image(rect, image);
}

} // namespace qm::print
