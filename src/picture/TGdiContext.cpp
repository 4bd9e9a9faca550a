#include "picture/TGdiContext.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace qm::picture {

namespace {

TGdiObject StockPen(TGdiPenStyle style, const QColor& color)
{
    TGdiObject pen;
    pen.kind = TGdiObjectKind::Pen;
    pen.penStyle = style;
    pen.color = color;
    return pen;
}

TGdiObject StockBrush(TGdiBrushStyle style, const QColor& color)
{
    TGdiObject brush;
    brush.kind = TGdiObjectKind::Brush;
    brush.brush.style = style;
    brush.brush.color = color;
    return brush;
}

TGdiObject StockFont(const char* face, double height)
{
    TGdiObject font;
    font.kind = TGdiObjectKind::Font;
    font.font.face = QString::fromLatin1(face);
    font.font.height = height;
    font.font.cellHeight = true;
    return font;
}

bool Finite(double v)
{
    return std::isfinite(v) && std::abs(v) < 1e9;
}

bool Finite(QPointF p)
{
    return Finite(p.x()) && Finite(p.y());
}

} // namespace

TGdiContext::TGdiContext(TMetafileSink& sink, const QRectF& frame, const QRectF& target,
                         double devicePerMm, bool windows)
    : mSink(sink), mFrame(frame), mTarget(target), mDevicePerMm(devicePerMm), mWindows(windows)
{
    mState.pen = StockPen(TGdiPenStyle::Solid, Qt::black);
    mState.brush = StockBrush(TGdiBrushStyle::Solid, Qt::white);
    mState.font = StockFont("Arial", 16);
    if (windows) {
        mState.mapMode = kMmAnisotropic;
        mState.windowOrg = mState.viewportOrg = frame.topLeft();
        mState.windowExt = mState.viewportExt = QPointF(frame.width(), frame.height());
    }
}

// ---- objects

bool TGdiContext::CreateObject(const TGdiObject& object)
{
    // The lowest free index, as Windows hands them out: a freed index first, else the next
    // never used one.
    std::uint32_t index;
    if (!mFree.empty()) {
        index = *mFree.begin();
        mFree.erase(mFree.begin());
    } else if (mHighWater < mCapacity) {
        index = mHighWater++;
    } else {
        return false;
    }
    mObjects[index] = object;
    return true;
}

void TGdiContext::PutObject(std::uint32_t index, const TGdiObject& object)
{
    if (index < mCapacity)
        mObjects[index] = object;
}

const TGdiObject* TGdiContext::Object(std::uint32_t index) const
{
    const auto it = mObjects.find(index);
    return it == mObjects.end() ? nullptr : &it->second;
}

void TGdiContext::SelectObject(std::uint32_t index)
{
    const TGdiObject* object = Object(index);
    if (!object)
        return;
    switch (object->kind) {
    case TGdiObjectKind::Pen:
        mState.pen = *object;
        break;
    case TGdiObjectKind::Brush:
        mState.brush = *object;
        break;
    case TGdiObjectKind::Font:
        mState.font = *object;
        break;
    case TGdiObjectKind::Other:
        break;
    }
}

void TGdiContext::SelectStockObject(std::uint32_t id)
{
    switch (id) {
    case 0:
        mState.brush = StockBrush(TGdiBrushStyle::Solid, Qt::white);
        break;
    case 1:
        mState.brush = StockBrush(TGdiBrushStyle::Solid, QColor(0xC0, 0xC0, 0xC0));
        break;
    case 2:
        mState.brush = StockBrush(TGdiBrushStyle::Solid, QColor(0x80, 0x80, 0x80));
        break;
    case 3:
        mState.brush = StockBrush(TGdiBrushStyle::Solid, QColor(0x40, 0x40, 0x40));
        break;
    case 4:
        mState.brush = StockBrush(TGdiBrushStyle::Solid, Qt::black);
        break;
    case 5:
        mState.brush = StockBrush(TGdiBrushStyle::Null, Qt::white);
        break;
    case 6:
        mState.pen = StockPen(TGdiPenStyle::Solid, Qt::white);
        break;
    case 7:
        mState.pen = StockPen(TGdiPenStyle::Solid, Qt::black);
        break;
    case 8:
        mState.pen = StockPen(TGdiPenStyle::Null, Qt::black);
        break;
    case 10:
    case 11:
    case 16:
        mState.font = StockFont("Courier New", 16);
        break;
    case 12:
    case 13:
    case 14:
    case 17:
        mState.font = StockFont("Arial", 16);
        break;
    case 18:
        mState.brush = StockBrush(TGdiBrushStyle::Solid, Qt::white);
        break;
    case 19:
        mState.pen = StockPen(TGdiPenStyle::Solid, Qt::black);
        break;
    default:
        break;
    }
}

void TGdiContext::DeleteObject(std::uint32_t index)
{
    if (mObjects.erase(index) && index < mHighWater)
        mFree.insert(index);
}

// ---- state

void TGdiContext::SetMapMode(int mode)
{
    if (mode < kMmText || mode > kMmAnisotropic)
        return;
    // A Windows metafile has no device of its own: MM_TEXT would ignore the window the picture
    // is drawn in, so it keeps the window-to-frame mapping.
    if (mWindows && mode == kMmText)
        mode = kMmAnisotropic;
    mState.mapMode = mode;
    Dirty();
}

void TGdiContext::SetWindowOrg(QPointF p)
{
    if (!Finite(p))
        return;
    mState.windowOrg = p;
    Dirty();
}

void TGdiContext::SetWindowExt(QPointF e)
{
    if (!Finite(e) || e.x() == 0 || e.y() == 0)
        return;
    mState.windowExt = e;
    Dirty();
}

void TGdiContext::SetViewportOrg(QPointF p)
{
    if (!Finite(p))
        return;
    mState.viewportOrg = p;
    Dirty();
}

void TGdiContext::SetViewportExt(QPointF e)
{
    if (!Finite(e) || e.x() == 0 || e.y() == 0)
        return;
    mState.viewportExt = e;
    Dirty();
}

void TGdiContext::OffsetWindowOrg(QPointF d)
{
    SetWindowOrg(mState.windowOrg + d);
}
void TGdiContext::OffsetViewportOrg(QPointF d)
{
    SetViewportOrg(mState.viewportOrg + d);
}

void TGdiContext::ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0)
        return;
    SetWindowExt(
        QPointF(mState.windowExt.x() * xNum / xDenom, mState.windowExt.y() * yNum / yDenom));
}

void TGdiContext::ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0)
        return;
    SetViewportExt(
        QPointF(mState.viewportExt.x() * xNum / xDenom, mState.viewportExt.y() * yNum / yDenom));
}

void TGdiContext::SetWorldTransform(const QTransform& t)
{
    if (!t.isInvertible() || !Finite(t.m11()) || !Finite(t.m12()) || !Finite(t.m21()) ||
        !Finite(t.m22()) || !Finite(t.dx()) || !Finite(t.dy()))
        return;
    mState.world = t;
    Dirty();
}

void TGdiContext::ModifyWorldTransform(const QTransform& t, int mode)
{
    switch (mode) {
    case 1:
        mState.world = QTransform();
        Dirty();
        break;
    case 2:
        SetWorldTransform(t * mState.world);
        break;
    case 3:
        SetWorldTransform(mState.world * t);
        break;
    case 4:
        SetWorldTransform(t);
        break;
    default:
        break;
    }
}

void TGdiContext::SaveDC()
{
    if (int(mSaved.size()) < kMaxSavedStates)
        mSaved.push_back(mState);
}

void TGdiContext::RestoreDC(int n)
{
    const int count = int(mSaved.size());
    const int index = n < 0 ? count + n : n - 1;
    if (index < 0 || index >= count)
        return;
    mState = mSaved[std::size_t(index)];
    mSaved.resize(std::size_t(index));
    Dirty();
}

void TGdiContext::IntersectClipRect(const QRectF& logical)
{
    const QRectF r = MapRect(logical);
    mState.clip = mState.clip ? mState.clip->intersected(r) : r;
}

// ---- mapping

const QTransform& TGdiContext::Transform()
{
    if (mTransformValid)
        return mTransform;
    const TState& s = mState;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
    case kMmText:
        break;
    case kMmLoMetric:
        sx = mDevicePerMm / 10;
        sy = -sx;
        break;
    case kMmHiMetric:
        sx = mDevicePerMm / 100;
        sy = -sx;
        break;
    case kMmLoEnglish:
        sx = mDevicePerMm * 25.4 / 100;
        sy = -sx;
        break;
    case kMmHiEnglish:
        sx = mDevicePerMm * 25.4 / 1000;
        sy = -sx;
        break;
    case kMmTwips:
        sx = mDevicePerMm * 25.4 / 1440;
        sy = -sx;
        break;
    case kMmIsotropic:
    case kMmAnisotropic:
        sx = s.viewportExt.x() / s.windowExt.x();
        sy = s.viewportExt.y() / s.windowExt.y();
        if (s.mapMode == kMmIsotropic) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    default:
        break;
    }
    // page -> device
    const QTransform page(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                          s.viewportOrg.y() - s.windowOrg.y() * sy);
    // device -> target
    const double fx = mTarget.width() / mFrame.width();
    const double fy = mTarget.height() / mFrame.height();
    const QTransform frame(fx, 0, 0, fy, mTarget.left() - mFrame.left() * fx,
                           mTarget.top() - mFrame.top() * fy);
    mTransform = s.world * page * frame;
    mTransformValid = true;
    return mTransform;
}

double TGdiContext::MapWidth(double w)
{
    const QTransform& t = Transform();
    return std::abs(w) * std::hypot(t.m11(), t.m12());
}

double TGdiContext::MapHeight(double h)
{
    const QTransform& t = Transform();
    return std::abs(h) * std::hypot(t.m21(), t.m22());
}

QRectF TGdiContext::MapRect(const QRectF& r)
{
    return Transform().mapRect(r.normalized());
}

void TGdiContext::Sync(bool pen, bool brush)
{
    if (mSentClip != mState.clip) {
        mSink.SetClip(mState.clip);
        mSentClip = mState.clip;
    }
    if (pen) {
        TGdiPen p;
        p.style = mState.pen.penStyle;
        p.width = MapWidth(mState.pen.penWidth);
        p.color = mState.pen.color;
        if (mSentPen != p) {
            mSink.SetPen(p);
            mSentPen = p;
        }
    }
    if (brush && mSentBrush != mState.brush.brush) {
        mSink.SetBrush(mState.brush.brush);
        mSentBrush = mState.brush.brush;
    }
}

void TGdiContext::SyncFont()
{
    TGdiFont f = mState.font.font;
    f.cellHeight = f.height > 0;
    // Height 0 asks for the default size, about 12 points on a 96 DPI screen.
    f.height = f.height == 0 ? MapHeight(16) : MapHeight(f.height);
    if (mSentFont != f) {
        mSink.SetFont(f);
        mSentFont = f;
    }
}

// ---- drawing

void TGdiContext::Figure(const QPainterPath& path, bool fill, bool stroke)
{
    if (mInPath) {
        mPath.addPath(path);
        return;
    }
    Sync(stroke, fill);
    mSink.Path(path, fill, stroke);
}

void TGdiContext::MoveTo(QPointF p)
{
    mState.current = p;
    if (mInPath)
        mPath.moveTo(Map(p));
}

void TGdiContext::LineTo(QPointF p)
{
    if (mInPath) {
        if (mPath.elementCount() == 0)
            mPath.moveTo(Map(mState.current));
        mPath.lineTo(Map(p));
    } else {
        Sync(true, false);
        mSink.Polyline(QPolygonF({Map(mState.current), Map(p)}));
    }
    mState.current = p;
}

void TGdiContext::Polyline(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    const QPolygonF mapped = Transform().map(points);
    if (mInPath) {
        mPath.moveTo(mapped.first());
        for (qsizetype i = 1; i < mapped.size(); ++i)
            mPath.lineTo(mapped[i]);
        return;
    }
    Sync(true, false);
    mSink.Polyline(mapped);
}

void TGdiContext::PolylineTo(const QPolygonF& points)
{
    if (points.isEmpty())
        return;
    QPolygonF all;
    all.reserve(points.size() + 1);
    all << mState.current;
    all += points;
    Polyline(all);
    mState.current = points.last();
}

void TGdiContext::PolyBezier(const QPolygonF& points)
{
    if (points.size() < 4)
        return;
    mState.current = points.first();
    PolyBezierTo(points.mid(1));
}

void TGdiContext::PolyBezierTo(const QPolygonF& points)
{
    if (points.size() < 3)
        return;
    QPainterPath path(Map(mState.current));
    for (qsizetype i = 0; i + 2 < points.size(); i += 3)
        path.cubicTo(Map(points[i]), Map(points[i + 1]), Map(points[i + 2]));
    mState.current = points[(points.size() / 3) * 3 - 1];
    if (mInPath) {
        if (mPath.elementCount() == 0)
            mPath.moveTo(path.elementAt(0));
        mPath.connectPath(path);
        return;
    }
    Figure(path, false, true);
}

void TGdiContext::Polygons(const QList<QPolygonF>& polygons)
{
    QList<QPolygonF> mapped;
    for (const QPolygonF& polygon : polygons)
        if (polygon.size() >= 2)
            mapped.append(Transform().map(polygon));
    if (mapped.isEmpty())
        return;
    if (mInPath) {
        for (const QPolygonF& polygon : mapped) {
            mPath.addPolygon(polygon);
            mPath.closeSubpath();
        }
        return;
    }
    Sync(true, true);
    mSink.Polygons(mapped, mState.winding);
}

void TGdiContext::PolyPolyline(const QList<QPolygonF>& lines)
{
    for (const QPolygonF& line : lines)
        Polyline(line);
}

void TGdiContext::Rectangle(const QRectF& rect)
{
    if (!AxisAligned() || mInPath) {
        Polygons({QPolygonF(rect.normalized())});
        return;
    }
    Sync(true, true);
    mSink.Rectangle(MapRect(rect));
}

void TGdiContext::RoundRect(const QRectF& rect, QSizeF corner)
{
    if (!AxisAligned() || mInPath) {
        QPainterPath path;
        path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2,
                            std::abs(corner.height()) / 2);
        Figure(Transform().map(path), true, true);
        return;
    }
    Sync(true, true);
    mSink.RoundRect(MapRect(rect), QSizeF(MapWidth(corner.width()), MapHeight(corner.height())));
}

void TGdiContext::Ellipse(const QRectF& rect)
{
    if (!AxisAligned() || mInPath) {
        QPainterPath path;
        path.addEllipse(rect.normalized());
        Figure(Transform().map(path), true, true);
        return;
    }
    Sync(true, true);
    mSink.Ellipse(MapRect(rect));
}

QPainterPath TGdiContext::ArcPath(TArcKind kind, const QRectF& rect, QPointF start, QPointF end)
{
    // Angles are taken where the figure is drawn, so arcs keep their counter-clockwise sense on
    // the page whatever way the window's axes point.
    const bool device = AxisAligned();
    const QRectF box = device ? MapRect(rect) : rect.normalized();
    const QPointF s = device ? Map(start) : start;
    const QPointF e = device ? Map(end) : end;
    const QPointF c = box.center();
    const double rx = box.width() / 2, ry = box.height() / 2;
    QPainterPath path;
    if (rx <= 0 || ry <= 0)
        return path;
    auto angleOf = [&](QPointF p) {
        return qRadiansToDegrees(std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx));
    };
    const double a1 = angleOf(s);
    double sweep = angleOf(e) - a1;
    while (sweep <= 0)
        sweep += 360;
    if (sweep > 360)
        sweep = 360;
    if (kind == TArcKind::Pie) {
        path.moveTo(c);
        path.arcTo(box, a1, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, a1);
        path.arcTo(box, a1, sweep);
        if (kind == TArcKind::Chord)
            path.closeSubpath();
    }
    return device ? path : Transform().map(path);
}

void TGdiContext::Arc(TArcKind kind, const QRectF& rect, QPointF start, QPointF end)
{
    const QPainterPath path = ArcPath(kind, rect, start, end);
    if (path.isEmpty())
        return;
    Figure(path, kind != TArcKind::Arc, true);
}

void TGdiContext::FillRect(const QRectF& rect, const QColor& color)
{
    if (mInPath)
        return;
    TGdiBrush brush;
    brush.color = color;
    TGdiPen none;
    none.style = TGdiPenStyle::Null;
    Sync(false, false);
    mSink.SetPen(none);
    mSink.SetBrush(brush);
    mSentPen = none;
    mSentBrush = brush;
    QPolygonF polygon = Transform().map(QPolygonF(rect.normalized()));
    mSink.Polygons({polygon}, false);
}

void TGdiContext::Text(QPointF p, const QString& text, const std::optional<QRectF>& clip)
{
    if (mInPath || text.isEmpty())
        return;
    const std::optional<QRectF> savedClip = mState.clip;
    if (clip) {
        const QRectF r = MapRect(*clip);
        mState.clip = savedClip ? savedClip->intersected(r) : r;
    }
    const bool updateCp = mState.textAlign & 1u;
    TGdiText t;
    t.at = Map(updateCp ? mState.current : p);
    t.text = text;
    switch (mState.textAlign & 6u) {
    case 2:
        t.hAlign = TGdiHAlign::Right;
        break;
    case 6:
        t.hAlign = TGdiHAlign::Center;
        break;
    default:
        t.hAlign = TGdiHAlign::Left;
        break;
    }
    switch (mState.textAlign & 24u) {
    case 8:
        t.vAlign = TGdiVAlign::Bottom;
        break;
    case 24:
        t.vAlign = TGdiVAlign::Baseline;
        break;
    default:
        t.vAlign = TGdiVAlign::Top;
        break;
    }
    t.color = mState.textColor;
    if (mState.opaque)
        t.background = mState.bkColor;
    Sync(false, false);
    SyncFont();
    const double advance = mSink.Text(t);
    mState.clip = savedClip; // sent again before the next drawing
    if (updateCp) {
        const QTransform& m = Transform();
        const double scale = std::hypot(m.m11(), m.m12());
        if (scale > 0)
            mState.current.rx() += advance / scale;
    }
}

void TGdiContext::Image(const QRectF& destination, const QImage& image, const QRectF& source)
{
    if (mInPath || image.isNull())
        return;
    Sync(false, false);
    QRectF target = MapRect(destination);
    QImage shown = image;
    // A negative extent in the record mirrors the picture.
    const QTransform& t = Transform();
    const bool flipX = (destination.width() < 0) != (t.m11() < 0);
    const bool flipY = (destination.height() < 0) != (t.m22() < 0);
    // Only the part of the source inside the bitmap is ever copied.
    QRectF from = source.normalized().intersected(QRectF(image.rect()));
    if (from.isEmpty())
        return;
    if (flipX || flipY) {
        shown = image.copy(from.toAlignedRect()).mirrored(flipX, flipY);
        from = QRectF(QPointF(0, 0), shown.size());
    }
    mSink.Image(target, shown, from);
}

void TGdiContext::BeginPath()
{
    mInPath = true;
    mPath = QPainterPath();
}

void TGdiContext::AbortPath()
{
    mInPath = false;
    mPath = QPainterPath();
}

void TGdiContext::DrawPath(bool fill, bool stroke)
{
    mInPath = false;
    QPainterPath path = mPath;
    mPath = QPainterPath();
    if (path.isEmpty())
        return;
    path.setFillRule(mState.winding ? Qt::WindingFill : Qt::OddEvenFill);
    Figure(path, fill, stroke);
}

} // namespace qm::picture
