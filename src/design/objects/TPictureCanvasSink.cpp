#include "design/objects/TPictureCanvasSink.h"

#include "print/TBaseReport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

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
    case TGdiPenStyle::Dash:
        return print::TPenStyle::psDash;
    case TGdiPenStyle::Dot:
        return print::TPenStyle::psDot;
    case TGdiPenStyle::DashDot:
        return print::TPenStyle::psDashDot;
    case TGdiPenStyle::DashDotDot:
        return print::TPenStyle::psDashDotDot;
    case TGdiPenStyle::Null:
        return print::TPenStyle::psClear;
    default:
        return print::TPenStyle::psSolid;
    }
}

print::TBrushStyle HatchStyle(TGdiHatch hatch)
{
    switch (hatch) {
    case TGdiHatch::Horizontal:
        return print::TBrushStyle::bsHorizontal;
    case TGdiHatch::Vertical:
        return print::TBrushStyle::bsVertical;
    case TGdiHatch::FDiagonal:
        return print::TBrushStyle::bsFDiagonal;
    case TGdiHatch::BDiagonal:
        return print::TBrushStyle::bsBDiagonal;
    case TGdiHatch::Cross:
        return print::TBrushStyle::bsCross;
    case TGdiHatch::DiagCross:
        return print::TBrushStyle::bsDiagCross;
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

// Figures whose edges meet the clip edge count as inside; the frame and the mapped metafile
// frame agree only to rounding.
constexpr double kEdgeSlack = 1e-9;

// A bitmap cut at the clip edge is resampled at the device resolution, at most this many pixels
// a side.
constexpr int kMaxCutBitmapSide = 2048;

// The part of segment a-b inside r (Liang-Barsky), if any.
std::optional<QLineF> ClipSegment(QPointF a, QPointF b, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return std::nullopt;
    }
    return QLineF(a + (b - a) * t0, a + (b - a) * t1);
}

// The lines of a figure (flattened) that lie inside r, as open runs; a closed outline wholly
// inside r stays closed.
QPainterPath NearPart(const QPainterPath& figure, const QRectF& r)
{
    QPainterPath near;
    for (const QPolygonF& line : figure.toSubpathPolygons()) {
        if (line.size() < 2)
            continue;
        if (r.contains(line.boundingRect())) {
            near.addPolygon(line);
            if (line.isClosed())
                near.closeSubpath();
            continue;
        }
        bool open = false; // a run is being extended
        for (qsizetype i = 1; i < line.size(); ++i) {
            const std::optional<QLineF> piece = ClipSegment(line[i - 1], line[i], r);
            if (!piece) {
                open = false;
                continue;
            }
            if (!open || near.currentPosition() != piece->p1())
                near.moveTo(piece->p1());
            near.lineTo(piece->p2());
            open = piece->p2() == line[i];
        }
    }
    return near;
}

// Hundredths of an inch of a pen as the canvas gets it (ApplyPen).
int PenHundredths(double width)
{
    return std::max(1, int(std::lround(std::min(width, 100.0) * 100)));
}

} // namespace

TPictureCanvasSink::TPictureCanvasSink(print::TBaseReport& canvas,
                                       const std::optional<QRectF>& frame)
    : mCanvas(canvas), mFrame(frame ? std::optional<QRectF>(frame->normalized()) : std::nullopt),
      mClip(mFrame), mSaved(std::make_unique<TSaved>())
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

void TPictureCanvasSink::SetPen(const picture::TGdiPen& pen)
{
    mPen = pen;
}
void TPictureCanvasSink::SetBrush(const picture::TGdiBrush& brush)
{
    mBrush = brush;
}
void TPictureCanvasSink::SetFont(const picture::TGdiFont& font)
{
    mFont = font;
}

void TPictureCanvasSink::SetClip(const std::optional<QRectF>& clip)
{
    if (!clip) {
        mClip = mFrame;
        return;
    }
    const QRectF wanted = clip->normalized();
    if (!mFrame) {
        mClip = wanted;
        return;
    }
    const QRectF both = mFrame->intersected(wanted);
    mClip = both.isValid() ? both : QRectF(); // no overlap: nothing shows
}

double TPictureCanvasSink::PenReach() const
{
    if (mPen.style == TGdiPenStyle::Null)
        return 0;
    // The full width covers square caps and mitred corners as the canvas draws them.
    if (mPen.width > 0)
        return PenHundredths(mPen.width) / 100.0;
    return 1.0 / std::max(1.0, mCanvas.XDpi());
}

TPictureCanvasSink::TPlace TPictureCanvasSink::PlaceOf(const QRectF& bounds, double reach) const
{
    if (!mClip)
        return TPlace::Inside;
    const QRectF& c = *mClip;
    if (!(c.width() > 0) || !(c.height() > 0))
        return TPlace::Outside;
    const QRectF b = bounds.normalized();
    const double l = b.left() - reach, t = b.top() - reach;
    const double r = b.right() + reach, bottom = b.bottom() + reach;
    if (l >= c.left() - kEdgeSlack && t >= c.top() - kEdgeSlack && r <= c.right() + kEdgeSlack &&
        bottom <= c.bottom() + kEdgeSlack)
        return TPlace::Inside;
    if (r <= c.left() || l >= c.right() || bottom <= c.top() || t >= c.bottom())
        return TPlace::Outside;
    return TPlace::Crossing;
}

QPainterPath TPictureCanvasSink::StrokeArea(const QPainterPath& scaledFigure) const
{
    QPainterPathStroker stroker;
    const double width =
        mPen.width > 0 ? PenHundredths(mPen.width) / 100.0 : 1.0 / std::max(1.0, mCanvas.XDpi());
    stroker.setWidth(width * kFlattenScale);
    // As the canvas's pens draw: square ends, mitred corners.
    stroker.setCapStyle(Qt::SquareCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    switch (mPen.style) {
    case TGdiPenStyle::Dash:
        stroker.setDashPattern(Qt::DashLine);
        break;
    case TGdiPenStyle::Dot:
        stroker.setDashPattern(Qt::DotLine);
        break;
    case TGdiPenStyle::DashDot:
        stroker.setDashPattern(Qt::DashDotLine);
        break;
    case TGdiPenStyle::DashDotDot:
        stroker.setDashPattern(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    return stroker.createStroke(scaledFigure);
}

void TPictureCanvasSink::FillClipped(const QPainterPath& figure)
{
    const QTransform up = QTransform::fromScale(kFlattenScale, kFlattenScale);
    QPainterPath clip;
    clip.addRect(up.mapRect(*mClip));
    const QPainterPath inside = up.map(figure).intersected(clip);
    if (inside.isEmpty())
        return;
    ApplyPen(false);
    ApplyBrush(true);
    for (const QPolygonF& polygon : Unscaled(inside.toFillPolygons()))
        if (polygon.size() >= 3)
            mCanvas.Polygon(Points(polygon));
}

void TPictureCanvasSink::StrokeClipped(const QPainterPath& figure)
{
    const QTransform up = QTransform::fromScale(kFlattenScale, kFlattenScale);
    const QRectF box = up.mapRect(*mClip);
    QPainterPath clip;
    clip.addRect(box);
    // Only the outline near the clip is stroked: a mapping may blow a line up to miles, and a
    // dashed pen along it would make millions of dashes.
    const double margin = 2 * PenReach() * kFlattenScale;
    const QPainterPath near =
        NearPart(up.map(figure), box.adjusted(-margin, -margin, margin, margin));
    if (near.isEmpty())
        return;
    const QPainterPath inside = StrokeArea(near).intersected(clip);
    if (inside.isEmpty())
        return;
    // The outline's ink as an area of the pen's colour.
    ApplyPen(false);
    mCanvas.SetBrush(print::TColor::FromQColor(mPen.color), print::TBrushStyle::bsSolid);
    for (const QPolygonF& polygon : Unscaled(inside.toFillPolygons()))
        if (polygon.size() >= 3)
            mCanvas.Polygon(Points(polygon));
}

void TPictureCanvasSink::DrawClipped(const QPainterPath& figure, bool fill, bool stroke)
{
    if (fill && mBrush.style != TGdiBrushStyle::Null)
        FillClipped(figure);
    if (stroke && mPen.style != TGdiPenStyle::Null)
        StrokeClipped(figure);
}

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
    const TPlace place = PlaceOf(points.boundingRect(), PenReach());
    if (place == TPlace::Outside)
        return;
    if (place == TPlace::Crossing) {
        QPainterPath path;
        path.addPolygon(points);
        DrawClipped(path, false, true);
        return;
    }
    ApplyPen(true);
    mCanvas.Polyline(Points(points));
}

void TPictureCanvasSink::Polygons(const QList<QPolygonF>& polygons, bool winding)
{
    QRectF bounds;
    for (const QPolygonF& polygon : polygons)
        bounds = bounds.united(polygon.boundingRect());
    const TPlace place = PlaceOf(bounds, PenReach());
    if (place == TPlace::Outside)
        return;
    if (place == TPlace::Crossing) {
        QPainterPath path;
        path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
        for (const QPolygonF& polygon : polygons) {
            path.addPolygon(polygon);
            path.closeSubpath();
        }
        DrawClipped(path, true, true);
        return;
    }
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
    const TPlace place = PlaceOf(r, PenReach());
    if (place == TPlace::Outside)
        return;
    if (place == TPlace::Crossing) {
        QPainterPath path;
        path.addRect(r.normalized());
        DrawClipped(path, true, true);
        return;
    }
    ApplyPen(true);
    ApplyBrush(true);
    mCanvas.DrawRectangle(r.left(), r.top(), r.right(), r.bottom());
}

void TPictureCanvasSink::RoundRect(const QRectF& r, const QSizeF& corner)
{
    const TPlace place = PlaceOf(r, PenReach());
    if (place == TPlace::Outside)
        return;
    if (place == TPlace::Crossing) {
        QPainterPath path;
        path.addRoundedRect(r.normalized(), std::abs(corner.width()) / 2,
                            std::abs(corner.height()) / 2);
        DrawClipped(path, true, true);
        return;
    }
    ApplyPen(true);
    ApplyBrush(true);
    mCanvas.DrawRoundRect(r.left(), r.top(), r.right(), r.bottom(), corner.width(),
                          corner.height());
}

void TPictureCanvasSink::Ellipse(const QRectF& r)
{
    const TPlace place = PlaceOf(r, PenReach());
    if (place == TPlace::Outside)
        return;
    if (place == TPlace::Crossing) {
        QPainterPath path;
        path.addEllipse(r.normalized());
        DrawClipped(path, true, true);
        return;
    }
    ApplyPen(true);
    ApplyBrush(true);
    mCanvas.DrawEllipse(r.left(), r.top(), r.right(), r.bottom());
}

void TPictureCanvasSink::Path(const QPainterPath& path, bool fill, bool stroke)
{
    const bool brush = fill && mBrush.style != TGdiBrushStyle::Null;
    const bool pen = stroke && mPen.style != TGdiPenStyle::Null;
    const TPlace place = PlaceOf(path.boundingRect(), pen ? PenReach() : 0);
    if (place == TPlace::Outside)
        return;
    if (place == TPlace::Crossing) {
        DrawClipped(path, brush, pen);
        return;
    }
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

    // The text's box: its top-left corner, and the directions along and down the text.
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPointF downward(std::sin(angle), std::cos(angle));
    double shift = 0;
    if (text.hAlign == picture::TGdiHAlign::Center)
        shift = width / 2;
    else if (text.hAlign == picture::TGdiHAlign::Right)
        shift = width;
    const QPointF topLeft = base - along * shift - downward * ascent;
    const QPolygonF box({topLeft, topLeft + along * width,
                         topLeft + along * width + downward * (ascent + descent),
                         topLeft + downward * (ascent + descent)});
    // Glyphs may reach a little past their advance (italics, underline).
    const TPlace place = PlaceOf(box.boundingRect(), em * 0.2);
    if (place == TPlace::Outside)
        return width;

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
            QRectF back(QPointF(left, base.y() - ascent),
                        QPointF(left + width, base.y() + descent));
            if (mClip)
                back = back.intersected(*mClip);
            if (back.isValid())
                mCanvas.FillRect(back.left(), back.top(), back.right(), back.bottom());
        }
        mBrush.color = saved;
        mBrush.style = style;
    }
    if (place == TPlace::Crossing) {
        // Drawn from its top-left corner and clipped by the canvas; a brush that is not clear
        // would fill the whole rectangle first.
        ApplyBrush(false);
        const QRectF& c = *mClip;
        mCanvas.TextInRect(mCanvas.MakeRect(c.left(), c.top(), c.right(), c.bottom()), topLeft.x(),
                           topLeft.y(), text.text);
        return width;
    }
    mCanvas.SetYPos(base.y());
    switch (text.hAlign) {
    case picture::TGdiHAlign::Left:
        mCanvas.TextLeft(text.text, base.x());
        break;
    case picture::TGdiHAlign::Center:
        mCanvas.TextCenter(text.text, base.x());
        break;
    case picture::TGdiHAlign::Right:
        mCanvas.TextRight(text.text, base.x());
        break;
    }
    return width;
}

void TPictureCanvasSink::Image(const QRectF& target, const QImage& image, const QRectF& source)
{
    const TPlace place = PlaceOf(target, 0);
    if (place == TPlace::Outside)
        return;
    if (place == TPlace::Crossing) {
        // The visible part, resampled at the device resolution as the canvas would stretch it.
        const QRectF whole = target.normalized();
        const QRectF visible = whole.intersected(*mClip);
        if (!visible.isValid() || image.isNull() || !(whole.width() > 0) || !(whole.height() > 0))
            return;
        const double sx = source.width() / whole.width();
        const double sy = source.height() / whole.height();
        const QRectF from(source.left() + (visible.left() - whole.left()) * sx,
                          source.top() + (visible.top() - whole.top()) * sy, visible.width() * sx,
                          visible.height() * sy);
        const int w =
            std::clamp(int(std::lround(visible.width() * mCanvas.XDpi())), 1, kMaxCutBitmapSide);
        const int h =
            std::clamp(int(std::lround(visible.height() * mCanvas.YDpi())), 1, kMaxCutBitmapSide);
        QImage cut(w, h, QImage::Format_ARGB32_Premultiplied);
        cut.fill(Qt::transparent);
        {
            QPainter painter(&cut);
            painter.drawImage(QRectF(0, 0, w, h), image, from);
        }
        mCanvas.DrawBitmap(visible.left(), visible.top(), visible.right(), visible.bottom(), cut);
        return;
    }
    const QImage part = source == QRectF(image.rect()) ? image : image.copy(source.toAlignedRect());
    if (part.isNull())
        return;
    mCanvas.DrawBitmap(target.left(), target.top(), target.right(), target.bottom(), part);
}

} // namespace qm::design
