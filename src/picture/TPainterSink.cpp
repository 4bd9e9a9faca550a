#include "picture/TPainterSink.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace qm::picture {

namespace {

// Largest font pixel size drawn; beyond it text is drawn at this size and scaled.
constexpr int kMaxFontPixels = 512;

Qt::BrushStyle HatchStyle(TGdiHatch hatch)
{
    switch (hatch) {
    case TGdiHatch::Horizontal:
        return Qt::HorPattern;
    case TGdiHatch::Vertical:
        return Qt::VerPattern;
    case TGdiHatch::FDiagonal:
        return Qt::FDiagPattern;
    case TGdiHatch::BDiagonal:
        return Qt::BDiagPattern;
    case TGdiHatch::Cross:
        return Qt::CrossPattern;
    case TGdiHatch::DiagCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

} // namespace

TPainterSink::TPainterSink(QPainter& painter) : mPainter(painter)
{
    if (painter.hasClipping())
        mBaseClip = painter.clipPath();
    mPainter.save();
    mPainter.setRenderHint(QPainter::Antialiasing, true);
    SetPen(TGdiPen());
    SetBrush(TGdiBrush());
}

TPainterSink::~TPainterSink()
{
    mPainter.restore();
}

void TPainterSink::SetPen(const TGdiPen& pen)
{
    if (pen.style == TGdiPenStyle::Null) {
        mPen = QPen(Qt::NoPen);
        return;
    }
    mPen = QPen(pen.color);
    mPen.setWidthF(pen.width); // 0: cosmetic, one device pixel
    mPen.setCapStyle(Qt::RoundCap);
    mPen.setJoinStyle(Qt::RoundJoin);
    switch (pen.style) {
    case TGdiPenStyle::Dash:
        mPen.setStyle(Qt::DashLine);
        break;
    case TGdiPenStyle::Dot:
        mPen.setStyle(Qt::DotLine);
        break;
    case TGdiPenStyle::DashDot:
        mPen.setStyle(Qt::DashDotLine);
        break;
    case TGdiPenStyle::DashDotDot:
        mPen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        mPen.setStyle(Qt::SolidLine);
        break;
    }
    if (mPen.style() != Qt::SolidLine)
        mPen.setCapStyle(Qt::FlatCap);
}

void TPainterSink::SetBrush(const TGdiBrush& brush)
{
    switch (brush.style) {
    case TGdiBrushStyle::Null:
        mBrush = QBrush(Qt::NoBrush);
        break;
    case TGdiBrushStyle::Solid:
        mBrush = QBrush(brush.color);
        break;
    case TGdiBrushStyle::Hatched:
        mBrush = QBrush(brush.color, HatchStyle(brush.hatch));
        break;
    case TGdiBrushStyle::Pattern:
        mBrush = brush.pattern.isNull() ? QBrush(brush.color) : QBrush(brush.pattern);
        break;
    }
}

void TPainterSink::SetFont(const TGdiFont& font)
{
    mFont = font;
}

void TPainterSink::SetClip(const std::optional<QRectF>& clip)
{
    if (mBaseClip)
        mPainter.setClipPath(*mBaseClip);
    else
        mPainter.setClipping(false);
    if (clip)
        mPainter.setClipRect(*clip, mBaseClip ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TPainterSink::Polyline(const QPolygonF& points)
{
    if (mPen.style() == Qt::NoPen)
        return;
    mPainter.setPen(mPen);
    mPainter.setBrush(Qt::NoBrush);
    mPainter.drawPolyline(points);
}

void TPainterSink::Polygons(const QList<QPolygonF>& polygons, bool winding)
{
    QPainterPath path;
    path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const QPolygonF& polygon : polygons) {
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    mPainter.setPen(mPen);
    mPainter.setBrush(mBrush);
    mPainter.drawPath(path);
}

void TPainterSink::Rectangle(const QRectF& rect)
{
    mPainter.setPen(mPen);
    mPainter.setBrush(mBrush);
    mPainter.drawRect(rect);
}

void TPainterSink::RoundRect(const QRectF& rect, const QSizeF& corner)
{
    mPainter.setPen(mPen);
    mPainter.setBrush(mBrush);
    mPainter.drawRoundedRect(rect, corner.width() / 2, corner.height() / 2);
}

void TPainterSink::Ellipse(const QRectF& rect)
{
    mPainter.setPen(mPen);
    mPainter.setBrush(mBrush);
    mPainter.drawEllipse(rect);
}

void TPainterSink::Path(const QPainterPath& path, bool fill, bool stroke)
{
    mPainter.setPen(stroke ? mPen : QPen(Qt::NoPen));
    mPainter.setBrush(fill ? mBrush : QBrush(Qt::NoBrush));
    mPainter.drawPath(path);
}

double TPainterSink::Text(const TGdiText& text)
{
    if (!(mFont.height > 0) || !std::isfinite(mFont.height))
        return 0;
    QFont font(mFont.face);
    font.setWeight(QFont::Weight(std::clamp(mFont.weight, 1, 1000)));
    font.setItalic(mFont.italic);
    font.setUnderline(mFont.underline);
    font.setStrikeOut(mFont.strikeOut);
    // Character height is the font's em size; a cell height includes the internal leading.
    double em = mFont.height;
    if (mFont.cellHeight) {
        QFont probe = font;
        probe.setPixelSize(100);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0)
            em = mFont.height * 100 / cell;
    }
    if (!std::isfinite(em) || em <= 0)
        return 0;
    const int pixels = int(std::lround(std::clamp(em, 1.0, double(kMaxFontPixels))));
    const double scale = em / pixels;
    font.setPixelSize(pixels);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text.text);
    double x = 0;
    if (text.hAlign == TGdiHAlign::Center)
        x = -width / 2;
    else if (text.hAlign == TGdiHAlign::Right)
        x = -width;
    double y = 0;
    if (text.vAlign == TGdiVAlign::Top)
        y = metrics.ascent();
    else if (text.vAlign == TGdiVAlign::Bottom)
        y = -metrics.descent();
    mPainter.save();
    mPainter.translate(text.at);
    mPainter.rotate(-mFont.angle);
    mPainter.scale(scale, scale);
    if (text.background)
        mPainter.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()),
                          *text.background);
    mPainter.setFont(font);
    mPainter.setPen(text.color);
    mPainter.drawText(QPointF(x, y), text.text);
    mPainter.restore();
    return width * scale;
}

void TPainterSink::Image(const QRectF& target, const QImage& image, const QRectF& source)
{
    mPainter.drawImage(target, image, source);
}

} // namespace qm::picture
