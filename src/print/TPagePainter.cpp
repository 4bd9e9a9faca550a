#include "print/TPagePainter.h"

#include "print/TPrintText.h"
#include "print/TSymbolFont.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QVarLengthArray>
#include <cmath>
#include <numbers>

namespace qm::print {
namespace {

Qt::PenStyle QtPenStyle(TPenStyle style)
{
    switch (style) {
    case TPenStyle::psDash:
        return Qt::DashLine;
    case TPenStyle::psDot:
        return Qt::DotLine;
    case TPenStyle::psDashDot:
        return Qt::DashDotLine;
    case TPenStyle::psDashDotDot:
        return Qt::DashDotDotLine;
    case TPenStyle::psClear:
        return Qt::NoPen;
    case TPenStyle::psSolid:
    case TPenStyle::psInsideFrame:
        return Qt::SolidLine;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle QtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::bsSolid:
        return Qt::SolidPattern;
    case TBrushStyle::bsClear:
        return Qt::NoBrush;
    case TBrushStyle::bsHorizontal:
        return Qt::HorPattern;
    case TBrushStyle::bsVertical:
        return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal:
        return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal:
        return Qt::BDiagPattern;
    case TBrushStyle::bsCross:
        return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::NoBrush;
}

// Superscript and subscript text is drawn at two thirds of the height, raised by a third of the
// full height or lowered by a sixth.
constexpr double kScriptSize = 2.0 / 3.0;

} // namespace

QFont MakeDeviceFont(const TPainterFont& f, double pixelHeight, int deviceDpiY)
{
    // A symbol face that is not installed is drawn as pictograms in the fallback face.
    QFont font(TSymbolFont::DisplayFace(f.name));
    if (f.superscript || f.subscript)
        pixelHeight *= kScriptSize;
    // Point size on the device: pixels x 72 / the device's own resolution.
    font.setPointSizeF(std::max(0.01, pixelHeight * 72.0 / std::max(1, deviceDpiY)));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeout);
    if (f.pitch == TFontPitch::fpFixed)
        font.setFixedPitch(true);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

TPagePainter::TPagePainter(QPainter& painter, const TDeviceMapping& mapping)
    : mPainter(painter), mMapping(mapping)
{
}

void TPagePainter::SetScale(double scaleX, double scaleY)
{
    if (scaleX == mMapping.scaleX && scaleY == mMapping.scaleY)
        return;
    mMapping.scaleX = scaleX;
    mMapping.scaleY = scaleY;
    mFontDirty = true;
}

void TPagePainter::SetFont(const TPainterFont& font)
{
    if (font == mFont && !mFontDirty)
        return;
    mFont = font;
    mFontDirty = true;
}

void TPagePainter::SetPen(TColor color, TPenStyle style, TPenMode mode, double widthInches)
{
    // The job turned the width into device pixels, its scale included, when it set the pen; the
    // stream keeps those pixels as inches, so only this device's resolution and zoom apply here.
    const double pixels = widthInches * mMapping.dpiX * mMapping.zoom / 100.0;
    SetPenPixels(color, style, mode,
                 std::isfinite(pixels) && pixels < 1e5 ? int(std::lround(pixels)) : 1);
}

void TPagePainter::SetPenPixels(TColor color, TPenStyle style, TPenMode mode, int widthPixels)
{
    // Pens are whole device pixels, and at least one (a width of 0 draws one pixel wide).
    widthPixels = std::max(1, widthPixels);
    if (color == mPenColor && style == mPenStyle && mode == mPenMode && widthPixels == mPenPixels)
        return;
    mPenColor = color;
    mPenStyle = style;
    mPenMode = mode;
    mPenPixels = widthPixels;
    mPenDirty = true;
}

void TPagePainter::SetBrush(TColor color, TBrushStyle style, const std::optional<QImage>& pattern)
{
    mBrushColor = color;
    mBrushStyle = style;
    mPattern = pattern;
    mBrushDirty = true;
}

void TPagePainter::ApplyMode()
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (mPenMode) {
    case TPenMode::pmXor:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case TPenMode::pmNotXor:
        mode = QPainter::RasterOp_NotSourceXorDestination;
        break;
    case TPenMode::pmNot:
        mode = QPainter::RasterOp_NotDestination;
        break;
    case TPenMode::pmNotCopy:
        mode = QPainter::RasterOp_NotSource;
        break;
    case TPenMode::pmMask:
        mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case TPenMode::pmMerge:
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    default:
        break;
    }
    // Raster operations exist only on raster devices; a printer keeps plain copying.
    if (mode != QPainter::CompositionMode_SourceOver &&
        !mPainter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        mode = QPainter::CompositionMode_SourceOver;
    mPainter.setCompositionMode(mode);
}

void TPagePainter::ApplyPen()
{
    if (!mPenDirty)
        return;
    if (mPenMode == TPenMode::pmNop) {
        mPainter.setPen(Qt::NoPen);
    } else {
        QPen pen(PenColor(), mPenPixels, QtPenStyle(mPenStyle), Qt::SquareCap, Qt::MiterJoin);
        mPainter.setPen(pen);
    }
    ApplyMode();
    mPenDirty = false;
}

void TPagePainter::ApplyBrush()
{
    if (!mBrushDirty)
        return;
    if (mPattern && !mPattern->isNull() && mBrushStyle != TBrushStyle::bsClear)
        mPainter.setBrush(QBrush(*mPattern));
    else
        mPainter.setBrush(QBrush(mBrushColor.ToQColor(), QtBrushStyle(mBrushStyle)));
    mBrushDirty = false;
}

void TPagePainter::ApplyFont()
{
    if (!mFontDirty)
        return;
    const int dpi = mPainter.device() ? mPainter.device()->logicalDpiY() : 96;
    mQFont = MakeDeviceFont(mFont, mMapping.LengthY(mFont.heightInches), dpi);
    mLatin.Clear(QFontMetricsF(mQFont, mPainter.device()));
    mFontDirty = false;
}

void TPagePainter::TLatinMetrics::Clear(const QFontMetricsF& metrics)
{
    advance.fill(kUnknown);
    leftBearing.fill(kUnknown);
    rightBearing.fill(kUnknown);
    ascent = metrics.ascent();
    descent = metrics.descent();
}

bool TPagePainter::InkInside(const QString& text, QPointF origin, const QRect& device)
{
    if (text.isEmpty() || mFont.rotation != 0 || mFont.superscript || mFont.subscript)
        return false;
    // The device rectangle covers its pixels up to, not including, right() + 1 and bottom() + 1.
    if (origin.y() < device.top() ||
        origin.y() + mLatin.ascent + mLatin.descent > device.bottom() + 1)
        return false;
    std::optional<QFontMetricsF> metrics;
    const auto fill = [&](std::array<float, 256>& table, char16_t c, auto measure) {
        float& value = table[c];
        if (value == TLatinMetrics::kUnknown) {
            if (!metrics)
                metrics.emplace(mQFont, mPainter.device());
            value = float(measure(*metrics, QChar(c)));
        }
        return double(value);
    };
    double width = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c > 0xFF)
            return false;
        width += fill(mLatin.advance, c,
                      [](const QFontMetricsF& m, QChar q) { return m.horizontalAdvance(q); });
    }
    const double left = fill(mLatin.leftBearing, text.front().unicode(),
                             [](const QFontMetricsF& m, QChar q) { return m.leftBearing(q); });
    const double right = fill(mLatin.rightBearing, text.back().unicode(),
                              [](const QFontMetricsF& m, QChar q) { return m.rightBearing(q); });
    // A negative bearing is ink beyond the advance (italic overhang, a hanging j).
    const double inkLeft = origin.x() + std::min(0.0, left);
    const double inkRight = origin.x() + width - std::min(0.0, right);
    return inkLeft >= device.left() && inkRight <= device.right() + 1;
}

double TPagePainter::TextWidthPixels(const QByteArray& text)
{
    ApplyFont();
    return QFontMetricsF(mQFont, mPainter.device())
        .horizontalAdvance(DecodePrintText(text, mFont.name));
}

double TPagePainter::AscentPixels()
{
    ApplyFont();
    return QFontMetricsF(mQFont, mPainter.device()).ascent();
}

double TPagePainter::DescentPixels()
{
    ApplyFont();
    return QFontMetricsF(mQFont, mPainter.device()).descent();
}

QPointF TPagePainter::Text(TTextAlign align, double x, double y, const QByteArray& bytes)
{
    ApplyFont();
    const QString text = DecodePrintText(bytes, mFont.name);
    const QFontMetricsF metrics(mQFont, mPainter.device());
    const double width = metrics.horizontalAdvance(text);
    double shift = 0;
    if (align == TTextAlign::Center)
        shift = -width / 2;
    else if (align == TTextAlign::Right)
        shift = -width;
    double rise = 0;
    const double full = mMapping.LengthY(mFont.heightInches);
    if (mFont.superscript)
        rise = -full / 3.0;
    else if (mFont.subscript)
        rise = full / 6.0;

    mPainter.save();
    mPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    mPainter.setFont(mQFont);
    mPainter.setPen(mFont.color.ToQColor());
    if (mBkMode == TBkMode::bkOpaque) {
        mPainter.setBackgroundMode(Qt::OpaqueMode);
        mPainter.setBackground(mBkColor.ToQColor());
    } else {
        mPainter.setBackgroundMode(Qt::TransparentMode);
    }
    if (mHasClip)
        mPainter.setClipRect(mMapping.Rect(mClip));
    mPainter.translate(mMapping.X(x), mMapping.Y(y));
    if (mFont.rotation != 0)
        mPainter.rotate(-mFont.rotation);
    mPainter.drawText(QPointF(shift, rise), text);
    mPainter.restore();

    // Where the text ends along its direction, in inches.
    const double angle = mFont.rotation * std::numbers::pi / 180.0;
    const double end = shift + width;
    return QPointF(x + end * std::cos(angle) / mMapping.LengthX(1.0),
                   y - end * std::sin(angle) / mMapping.LengthY(1.0));
}

void TPagePainter::TextBlock(double x, double y, double width, const QByteArray& bytes)
{
    ApplyFont();
    const QString text = DecodePrintText(bytes, mFont.name);
    const double target = mMapping.LengthX(width);
    const double natural = QFontMetricsF(mQFont, mPainter.device()).horizontalAdvance(text);
    QFont font = mQFont;
    const int spaces = int(text.count(QLatin1Char(' ')));
    if (target > natural && spaces > 0)
        font.setWordSpacing((target - natural) / spaces);
    else if (text.size() > 1 && std::abs(target - natural) > 0.5)
        font.setLetterSpacing(QFont::AbsoluteSpacing, (target - natural) / (text.size() - 1));
    mPainter.save();
    mPainter.setFont(font);
    mPainter.setPen(mFont.color.ToQColor());
    mPainter.setBackgroundMode(mBkMode == TBkMode::bkOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
    mPainter.setBackground(mBkColor.ToQColor());
    mPainter.translate(mMapping.X(x), mMapping.Y(y));
    if (mFont.rotation != 0)
        mPainter.rotate(-mFont.rotation);
    mPainter.drawText(QPointF(0, 0), text);
    mPainter.restore();
}

void TPagePainter::TextInRect(const QRectF& clip, double x, double y, const QByteArray& bytes)
{
    ApplyFont();
    const QRect device = mMapping.Rect(clip);
    const QString text = DecodePrintText(bytes, mFont.name);
    const QPointF origin(mMapping.X(x), mMapping.Y(y));
    // Most cells hold text that fits: drawn without a clip, a page holds far fewer state
    // changes, which is most of what a PDF page of a long list costs.
    if (mBrushStyle == TBrushStyle::bsClear && InkInside(text, origin, device)) {
        mPainter.setFont(mQFont);
        mPainter.setPen(mFont.color.ToQColor());
        mPenDirty = true; // the painter's pen is the text colour now
        mPainter.drawText(QPointF(origin.x(), origin.y() + mLatin.ascent), text);
        return;
    }
    mPainter.save();
    if (mBrushStyle != TBrushStyle::bsClear)
        mPainter.fillRect(device, mBrushColor.ToQColor());
    mPainter.setClipRect(device);
    mPainter.setFont(mQFont);
    mPainter.setPen(mFont.color.ToQColor());
    // (x, y) is the top-left corner of the text's cell before it is turned; a rotated text turns
    // about that point, counter-clockwise, and stays clipped to the unturned device rectangle.
    mPainter.translate(origin);
    if (mFont.rotation != 0)
        mPainter.rotate(-mFont.rotation);
    mPainter.drawText(QPointF(0, mLatin.ascent), text);
    mPainter.restore();
}

QColor TPagePainter::PenColor() const
{
    if (mPenMode == TPenMode::pmBlack)
        return Qt::black;
    if (mPenMode == TPenMode::pmWhite)
        return Qt::white;
    return mPenColor.ToQColor();
}

namespace {

// The outline of a figure in device pixels; radii apply to rounded rectangles only.
QPainterPath FigurePath(TShape shape, const QRectF& r, double rx, double ry)
{
    QPainterPath path;
    if (shape == TShape::Ellipse)
        path.addEllipse(r);
    else if (shape == TShape::RoundRect && rx > 0 && ry > 0)
        path.addRoundedRect(r, std::min(rx, r.width() / 2), std::min(ry, r.height() / 2));
    else
        path.addRect(r);
    return path;
}

} // namespace

void TPagePainter::Figure(TShape shape, const QRect& area, double rx, double ry,
                          const std::optional<TOutline>& outline,
                          const std::optional<QBrush>& brush)
{
    // Every edge below lies on a pixel boundary, so the painter covers whole pixels, with or
    // without anti-aliasing, and a figure covers exactly the pixels its edges name.
    if (area.isEmpty())
        return;
    if (!outline) {
        if (brush)
            mPainter.fillPath(FigurePath(shape, QRectF(area), rx, ry), *brush);
        return;
    }
    // The drawing this canvas copies puts a pen of w pixels centred on the figure's edge: it
    // covers w / 2 pixels outside the left and top edges and w - 1 - w / 2 beyond the exclusive
    // right and bottom ones, so a one-pixel pen stays exactly inside. An inside-frame pen keeps
    // every width inside.
    const int w = outline->width;
    QRectF outer(area);
    if (!outline->insideFrame) {
        const int before = w / 2;
        const int after = w - 1 - before;
        outer.adjust(-before, -before, after, after);
    }
    const double grow = (outer.width() - area.width()) / 2;
    const double orx = rx > 0 ? rx + grow : 0;
    const double ory = ry > 0 ? ry + grow : 0;
    const QRectF inner = outer.adjusted(w, w, -w, -w);
    QPainterPath innerPath;
    if (inner.width() > 0 && inner.height() > 0)
        innerPath = FigurePath(shape, inner, std::max(0.0, orx - w), std::max(0.0, ory - w));
    if (brush && !innerPath.isEmpty())
        mPainter.fillPath(innerPath, *brush);
    const QPainterPath outerPath = FigurePath(shape, outer, orx, ory);
    if (outline->style == Qt::SolidLine) {
        QPainterPath ring = outerPath;
        ring.addPath(innerPath);
        ring.setFillRule(Qt::OddEvenFill);
        mPainter.fillPath(ring, outline->color);
        return;
    }
    // Styled lines: the dashes of a pen whose centre runs half a pen inside the outer edge.
    const double half = w / 2.0;
    QPainterPathStroker stroker;
    stroker.setWidth(w);
    stroker.setDashPattern(outline->style);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    const QPainterPath centre = FigurePath(shape, outer.adjusted(half, half, -half, -half),
                                           std::max(0.0, orx - half), std::max(0.0, ory - half));
    mPainter.fillPath(stroker.createStroke(centre), outline->color);
}

QRect TPagePainter::DeviceArea(const QRectF& rect) const
{
    const QPoint a = mMapping.Point(rect.topLeft());
    const QPoint b = mMapping.Point(rect.bottomRight());
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()) - 1, std::max(a.y(), b.y()) - 1));
}

void TPagePainter::FillRects(std::span<const QRectF> rects)
{
    if (mBrushStyle == TBrushStyle::bsClear)
        return;
    QVarLengthArray<QRect, 128> areas;
    for (const QRectF& rect : rects) {
        const QRect area = DeviceArea(rect);
        if (!area.isEmpty())
            areas.append(area);
    }
    if (areas.isEmpty())
        return;
    // The painter's pen and brush become this fill's; the next shape sets its own again. Left
    // alone when they already are: a PDF page gets no colour change for a run of barcodes.
    if (mPainter.pen().style() != Qt::NoPen) {
        mPainter.setPen(Qt::NoPen);
        mPenDirty = true;
    }
    const QBrush brush(mBrushColor.ToQColor(), QtBrushStyle(mBrushStyle));
    if (mPainter.brush() != brush) {
        mPainter.setBrush(brush);
        mBrushDirty = true;
    }
    mPainter.drawRects(areas.data(), int(areas.size()));
}

void TPagePainter::Shape(TShape shape, const QRectF& rect, double cornerW, double cornerH)
{
    QRect area = DeviceArea(rect);
    if (shape == TShape::FillRect) {
        mPainter.fillRect(area, QBrush(mBrushColor.ToQColor(), QtBrushStyle(mBrushStyle)));
        return;
    }
    ApplyPen();
    ApplyBrush();
    std::optional<TOutline> outline;
    if (mPenStyle != TPenStyle::psClear && mPenMode != TPenMode::pmNop)
        outline = TOutline{PenColor(), mPenPixels, QtPenStyle(mPenStyle),
                           mPenStyle == TPenStyle::psInsideFrame};
    std::optional<QBrush> brush;
    if (mBrushStyle != TBrushStyle::bsClear)
        brush = mPainter.brush();
    switch (shape) {
    case TShape::FocusRect:
        Figure(TShape::Rectangle, area, 0, 0, TOutline{Qt::black, 1, Qt::DotLine, true}, {});
        return;
    case TShape::FrameRect:
        Figure(TShape::Rectangle, area, 0, 0, outline, {});
        return;
    case TShape::TabRectangle:
        area.adjust(0, 0, 1, 1); // one pixel larger at right and bottom
        Figure(TShape::Rectangle, area, 0, 0, outline, brush);
        return;
    case TShape::RoundRect:
        Figure(shape, area, mMapping.LengthX(cornerW) / 2, mMapping.LengthY(cornerH) / 2, outline,
               brush);
        return;
    default:
        Figure(shape, area, 0, 0, outline, brush);
        return;
    }
}

void TPagePainter::LineTo(QPointF p)
{
    ApplyPen();
    mPainter.drawLine(mMapping.Point(mPenPos), mMapping.Point(p));
    mPenPos = p;
}

void TPagePainter::Polygon(const std::vector<QPointF>& points, bool closed)
{
    ApplyPen();
    ApplyBrush();
    QPolygon poly;
    for (QPointF p : points)
        poly << mMapping.Point(p);
    if (closed)
        mPainter.drawPolygon(poly);
    else
        mPainter.drawPolyline(poly);
}

void TPagePainter::Arc(int kind, const std::vector<QPointF>& pts)
{
    if (pts.size() < 4)
        return;
    ApplyPen();
    ApplyBrush();
    const QRectF r = QRectF(QPointF(mMapping.Point(pts[0])), QPointF(mMapping.Point(pts[1])));
    const QPointF c = r.center();
    auto angleOf = [&](QPointF p) {
        const QPointF d = QPointF(mMapping.Point(p)) - c;
        return std::atan2(-d.y(), d.x()) * 180.0 / std::numbers::pi;
    };
    const double a1 = angleOf(pts[2]);
    double span = angleOf(pts[3]) - a1;
    if (span <= 0)
        span += 360;
    const int start16 = int(std::lround(a1 * 16));
    const int span16 = int(std::lround(span * 16));
    if (kind == 1)
        mPainter.drawArc(r, start16, span16);
    else if (kind == 3)
        mPainter.drawChord(r, start16, span16);
    else
        mPainter.drawPie(r, start16, span16);
}

void TPagePainter::Image(const QRectF& rect, const QImage& image)
{
    if (image.isNull())
        return;
    const QPoint tl = mMapping.Point(rect.topLeft());
    const QPoint br = mMapping.Point(rect.bottomRight());
    mPainter.drawImage(QRect(tl, br - QPoint(1, 1)), image);
}

void TPagePainter::ImageAt(QPointF p, const QImage& image, double scaleX, double scaleY)
{
    if (image.isNull())
        return;
    const QPoint tl = mMapping.Point(p);
    const QSize size(int(std::lround(image.width() * scaleX)),
                     int(std::lround(image.height() * scaleY)));
    mPainter.drawImage(QRect(tl, size), image);
}

} // namespace qm::print
