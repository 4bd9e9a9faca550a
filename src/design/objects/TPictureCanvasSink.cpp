#include "design/objects/TPictureCanvasSink.h"

#include "print/TBaseReport.h"

#include <QFont>
#include <QFontMetricsF>
#include <cmath>
#include <numbers>

namespace qm::design {

using picture::TGdiBrushStyle;
using picture::TGdiHatch;
using picture::TGdiPenStyle;

struct TPictureCanvasSink::TSaved {
    print::TPenState pen;
    print::TBrushState brush;
    std::optional<QImage> pattern;
    print::TFontState font;
    double y = 0;
};

namespace {

print::TPenStyle PenStyle(TGdiPenStyle style)
{
    switch (style) {
    case TGdiPenStyle::Dash: return print::TPenStyle::psDash;
    case TGdiPenStyle::Dot: return print::TPenStyle::psDot;
    case TGdiPenStyle::DashDot: return print::TPenStyle::psDashDot;
    case TGdiPenStyle::DashDotDot: return print::TPenStyle::psDashDotDot;
    case TGdiPenStyle::Null: return print::TPenStyle::psClear;
    default: return print::TPenStyle::psSolid;
    }
}

print::TBrushStyle HatchStyle(TGdiHatch hatch)
{
    switch (hatch) {
    case TGdiHatch::Horizontal: return print::TBrushStyle::bsHorizontal;
    case TGdiHatch::Vertical: return print::TBrushStyle::bsVertical;
    case TGdiHatch::FDiagonal: return print::TBrushStyle::bsFDiagonal;
    case TGdiHatch::BDiagonal: return print::TBrushStyle::bsBDiagonal;
    case TGdiHatch::Cross: return print::TBrushStyle::bsCross;
    case TGdiHatch::DiagCross: return print::TBrushStyle::bsDiagCross;
    }
    return print::TBrushStyle::bsSolid;
}

std::vector<QPointF> Points(const QPolygonF& polygon)
{
    return std::vector<QPointF>(polygon.begin(), polygon.end());
}

// Qt flattens curves to a fixed tolerance in the path's own units; in inches that would leave a
// circle with a handful of corners. Flattening in thousandths of an inch keeps curves smooth on
// paper.
constexpr double kFlattenScale = 1000;

// Inches.
constexpr double kMaxTextHeight = 20;

QList<QPolygonF> Unscaled(QList<QPolygonF> polygons)
{
    const QTransform back = QTransform::fromScale(1 / kFlattenScale, 1 / kFlattenScale);
    for (QPolygonF& polygon : polygons)
        polygon = back.map(polygon);
    return polygons;
}

} // namespace

TPictureCanvasSink::TPictureCanvasSink(print::TBaseReport& canvas)
    : mCanvas(canvas), mSaved(std::make_unique<TSaved>())
{
    mSaved->pen = canvas.Pen();
    mSaved->brush = canvas.Brush();
    mSaved->pattern = canvas.BrushPattern();
    mSaved->font = canvas.Font();
    mSaved->y = canvas.YPos();
}

TPictureCanvasSink::~TPictureCanvasSink()
{
    const print::TPenState& p = mSaved->pen;
    mCanvas.SetPen(p.color, p.style, p.mode, p.widthPixels);
    mCanvas.SetBrush(mSaved->brush.color, mSaved->brush.style, mSaved->pattern);
    const print::TFontState& f = mSaved->font;
    mCanvas.SetFont(f.name, f.sizePoints);
    mCanvas.SetBold(f.bold);
    mCanvas.SetItalic(f.italic);
    mCanvas.SetUnderline(f.underline);
    mCanvas.SetStrikeout(f.strikeout);
    mCanvas.SetFontColor(f.color);
    mCanvas.SetFontRotation(f.rotation);
    mCanvas.SetYPos(mSaved->y);
}

void TPictureCanvasSink::SetPen(const picture::TGdiPen& pen) { mPen = pen; }
void TPictureCanvasSink::SetBrush(const picture::TGdiBrush& brush) { mBrush = brush; }
void TPictureCanvasSink::SetFont(const picture::TGdiFont& font) { mFont = font; }

void TPictureCanvasSink::ApplyPen(bool on)
{
    const print::TColor color = print::TColor::FromQColor(mPen.color);
    if (!on || mPen.style == TGdiPenStyle::Null) {
        mCanvas.SetPen(color, print::TPenStyle::psClear, print::TPenMode::pmCopy, 0);
        return;
    }
    // Hairlines are one device pixel; others are whole hundredths of an inch, at least one.
    int width = 1;
    if (mPen.width > 0)
        width = -std::max(1, int(std::lround(std::min(mPen.width, 100.0) * 100)));
    mCanvas.SetPen(color, PenStyle(mPen.style), print::TPenMode::pmCopy, width);
}

void TPictureCanvasSink::ApplyBrush(bool on)
{
    const print::TColor color = print::TColor::FromQColor(mBrush.color);
    if (!on || mBrush.style == TGdiBrushStyle::Null) {
        mCanvas.SetBrush(color, print::TBrushStyle::bsClear);
        return;
    }
    if (mBrush.style == TGdiBrushStyle::Hatched)
        mCanvas.SetBrush(color, HatchStyle(mBrush.hatch));
    else if (mBrush.style == TGdiBrushStyle::Pattern && !mBrush.pattern.isNull())
        mCanvas.SetBrush(color, print::TBrushStyle::bsSolid, mBrush.pattern);
    else
        mCanvas.SetBrush(color, print::TBrushStyle::bsSolid);
}

void TPictureCanvasSink::Polyline(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    ApplyPen(true);
    mCanvas.Polyline(Points(points));
}

void TPictureCanvasSink::Polygons(const QList<QPolygonF>& polygons, bool winding)
{
    if (polygons.size() == 1) {
        ApplyPen(true);
        ApplyBrush(true);
        mCanvas.Polygon(Points(polygons.first()));
        return;
    }
    // Several polygons may make holes: the fill goes as the filled shapes of the whole figure,
    // then each outline on its own.
    QPainterPath path;
    path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const QPolygonF& polygon : polygons) {
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    Path(path, true, true);
}

void TPictureCanvasSink::Rectangle(const QRectF& r)
{
    ApplyPen(true);
    ApplyBrush(true);
    mCanvas.DrawRectangle(r.left(), r.top(), r.right(), r.bottom());
}

void TPictureCanvasSink::RoundRect(const QRectF& r, const QSizeF& corner)
{
    ApplyPen(true);
    ApplyBrush(true);
    mCanvas.DrawRoundRect(r.left(), r.top(), r.right(), r.bottom(), corner.width(), corner.height());
}

void TPictureCanvasSink::Ellipse(const QRectF& r)
{
    ApplyPen(true);
    ApplyBrush(true);
    mCanvas.DrawEllipse(r.left(), r.top(), r.right(), r.bottom());
}

void TPictureCanvasSink::Path(const QPainterPath& path, bool fill, bool stroke)
{
    const bool brush = fill && mBrush.style != TGdiBrushStyle::Null;
    const bool pen = stroke && mPen.style != TGdiPenStyle::Null;
    const QTransform scale = QTransform::fromScale(kFlattenScale, kFlattenScale);
    const QList<QPolygonF> outlines = Unscaled(path.toSubpathPolygons(scale));
    if (brush) {
        // One outline that is closed and the only one fills and strokes in one go.
        if (outlines.size() == 1 && outlines.first().isClosed()) {
            ApplyPen(pen);
            ApplyBrush(true);
            mCanvas.Polygon(Points(outlines.first()));
            return;
        }
        ApplyPen(false);
        ApplyBrush(true);
        for (const QPolygonF& polygon : Unscaled(path.toFillPolygons(scale)))
            mCanvas.Polygon(Points(polygon));
    }
    if (pen) {
        ApplyPen(true);
        for (const QPolygonF& line : outlines)
            if (line.size() >= 2)
                mCanvas.Polyline(Points(line));
    }
}

double TPictureCanvasSink::Text(const picture::TGdiText& text)
{
    if (!(mFont.height > 0) || !std::isfinite(mFont.height))
        return 0;
    // Heights arrive in inches; the canvas takes points of character height.
    QFont probe(mFont.face);
    probe.setPixelSize(100);
    probe.setBold(mFont.weight >= 600);
    probe.setItalic(mFont.italic);
    const QFontMetricsF metrics(probe);
    const double cell = metrics.ascent() + metrics.descent();
    double em = mFont.height;
    if (mFont.cellHeight && cell > 0)
        em = mFont.height * 100 / cell;
    // No text is taller than a sheet of paper; larger sizes come only from damaged mappings.
    if (!std::isfinite(em) || em <= 0)
        return 0;
    em = std::min(em, kMaxTextHeight);
    const double ascent = em * metrics.ascent() / 100;
    const double descent = em * metrics.descent() / 100;
    const double width = em * metrics.horizontalAdvance(text.text) / 100;

    mCanvas.SetFont(mFont.face, em * 72);
    mCanvas.SetBold(mFont.weight >= 600);
    mCanvas.SetItalic(mFont.italic);
    mCanvas.SetUnderline(mFont.underline);
    mCanvas.SetStrikeout(mFont.strikeOut);
    mCanvas.SetFontColor(print::TColor::FromQColor(text.color));
    const int rotation = int(std::lround(mFont.angle)) % 360;
    mCanvas.SetFontRotation(rotation < 0 ? rotation + 360 : rotation);

    // The baseline point, measured along the text's direction.
    const double angle = mFont.angle * std::numbers::pi / 180;
    double down = 0;
    if (text.vAlign == picture::TGdiVAlign::Top)
        down = ascent;
    else if (text.vAlign == picture::TGdiVAlign::Bottom)
        down = -descent;
    const QPointF base(text.at.x() + down * std::sin(angle), text.at.y() + down * std::cos(angle));
    if (text.background) {
        ApplyPen(false);
        const QColor saved = mBrush.color;
        const TGdiBrushStyle style = mBrush.style;
        mBrush.color = *text.background;
        mBrush.style = TGdiBrushStyle::Solid;
        ApplyBrush(true);
        if (rotation == 0) {
            double left = base.x();
            if (text.hAlign == picture::TGdiHAlign::Center)
                left -= width / 2;
            else if (text.hAlign == picture::TGdiHAlign::Right)
                left -= width;
            mCanvas.FillRect(left, base.y() - ascent, left + width, base.y() + descent);
        }
        mBrush.color = saved;
        mBrush.style = style;
    }
    mCanvas.SetYPos(base.y());
    switch (text.hAlign) {
    case picture::TGdiHAlign::Left: mCanvas.TextLeft(text.text, base.x()); break;
    case picture::TGdiHAlign::Center: mCanvas.TextCenter(text.text, base.x()); break;
    case picture::TGdiHAlign::Right: mCanvas.TextRight(text.text, base.x()); break;
    }
    return width;
}

void TPictureCanvasSink::Image(const QRectF& target, const QImage& image, const QRectF& source)
{
    const QImage part = source == QRectF(image.rect()) ? image : image.copy(source.toAlignedRect());
    if (part.isNull())
        return;
    mCanvas.DrawBitmap(target.left(), target.top(), target.right(), target.bottom(), part);
}

} // namespace qm::design
