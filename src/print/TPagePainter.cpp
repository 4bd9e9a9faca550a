#include "print/TPagePainter.h"

#include "print/TPrintText.h"
#include "print/TSymbolFont.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace qm::print {
namespace {

Qt::PenStyle QtPenStyle(TPenStyle style)
{
    switch (style) {
    case TPenStyle::psDash: return Qt::DashLine;
    case TPenStyle::psDot: return Qt::DotLine;
    case TPenStyle::psDashDot: return Qt::DashDotLine;
    case TPenStyle::psDashDotDot: return Qt::DashDotDotLine;
    case TPenStyle::psClear: return Qt::NoPen;
    case TPenStyle::psSolid:
    case TPenStyle::psInsideFrame: return Qt::SolidLine;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle QtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::bsSolid: return Qt::SolidPattern;
    case TBrushStyle::bsClear: return Qt::NoBrush;
    case TBrushStyle::bsHorizontal: return Qt::HorPattern;
    case TBrushStyle::bsVertical: return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal: return Qt::BDiagPattern;
    case TBrushStyle::bsCross: return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross: return Qt::DiagCrossPattern;
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
    SetPenPixels(color, style, mode, 0);
    mPenPixels = mMapping.LengthX(widthInches);
}

void TPagePainter::SetPenPixels(TColor color, TPenStyle style, TPenMode mode, int widthPixels)
{
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
    case TPenMode::pmXor: mode = QPainter::RasterOp_SourceXorDestination; break;
    case TPenMode::pmNotXor: mode = QPainter::RasterOp_NotSourceXorDestination; break;
    case TPenMode::pmNot: mode = QPainter::RasterOp_NotDestination; break;
    case TPenMode::pmNotCopy: mode = QPainter::RasterOp_NotSource; break;
    case TPenMode::pmMask: mode = QPainter::RasterOp_SourceAndDestination; break;
    case TPenMode::pmMerge: mode = QPainter::RasterOp_SourceOrDestination; break;
    default: break;
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
        QColor color = mPenColor.ToQColor();
        if (mPenMode == TPenMode::pmBlack)
            color = Qt::black;
        else if (mPenMode == TPenMode::pmWhite)
            color = Qt::white;
        QPen pen(color, std::max(1.0, mPenPixels), QtPenStyle(mPenStyle), Qt::SquareCap,
                 Qt::MiterJoin);
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
    mFontDirty = false;
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
    mPainter.drawText(QPointF(mMapping.X(x), mMapping.Y(y)), text);
    mPainter.restore();
}

void TPagePainter::TextInRect(const QRectF& clip, double x, double y, const QByteArray& bytes)
{
    ApplyFont();
    const QRect device = mMapping.Rect(clip);
    mPainter.save();
    if (mBrushStyle != TBrushStyle::bsClear)
        mPainter.fillRect(device, mBrushColor.ToQColor());
    mPainter.setClipRect(device);
    mPainter.setFont(mQFont);
    mPainter.setPen(mFont.color.ToQColor());
    const QFontMetricsF metrics(mQFont, mPainter.device());
    mPainter.drawText(QPointF(mMapping.X(x), mMapping.Y(y) + metrics.ascent()),
                      DecodePrintText(bytes, mFont.name));
    mPainter.restore();
}

void TPagePainter::Shape(TShape shape, const QRectF& rect, double cornerW, double cornerH)
{
    const QPoint tl = mMapping.Point(rect.topLeft());
    const QPoint br = mMapping.Point(rect.bottomRight());
    QRect r(tl, br - QPoint(1, 1));
    switch (shape) {
    case TShape::FillRect:
        mPainter.fillRect(QRect(tl, br - QPoint(1, 1)),
                          QBrush(mBrushColor.ToQColor(), QtBrushStyle(mBrushStyle)));
        return;
    case TShape::FrameRect:
    case TShape::FocusRect:
        ApplyPen();
        mPainter.save();
        mPainter.setBrush(Qt::NoBrush);
        if (shape == TShape::FocusRect)
            mPainter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        mPainter.drawRect(r);
        mPainter.restore();
        return;
    case TShape::TabRectangle:
        r = QRect(tl, br); // one pixel larger at right and bottom
        break;
    default:
        break;
    }
    ApplyPen();
    ApplyBrush();
    switch (shape) {
    case TShape::Ellipse: mPainter.drawEllipse(r); break;
    case TShape::RoundRect:
        mPainter.drawRoundedRect(r, mMapping.LengthX(cornerW) / 2, mMapping.LengthY(cornerH) / 2);
        break;
    default: mPainter.drawRect(r); break;
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
    const QSize size(int(std::lround(image.width() * scaleX)), int(std::lround(image.height() * scaleY)));
    mPainter.drawImage(QRect(tl, size), image);
}

} // namespace qm::print
