#pragma once

// Draws page-canvas operations onto any QPainter (printer, PDF writer, screen picture, PNG).
// Shared by the live printer job and by page-stream replay, so both draw the same pixels.
//
// Contract:
// - Coordinates are page inches (origin offsets already added); the mapping turns them into
//   device pixels. Font heights and pen widths are inches too, except SetPenPixels.
// - State setters only note the new value; it reaches the painter before the next drawing.
// - Text is single-byte Windows-1252; drawing on a baseline at y.
// - The painter is not owned and must be active while drawing runs.

#include "print/TDeviceMapping.h"
#include "print/TPrintTypes.h"

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <array>
#include <optional>
#include <span>
#include <vector>

class QFontMetricsF;
class QPainter;

namespace qm::print {

struct TPainterFont {
    QString name = QStringLiteral("Arial");
    double heightInches = 10.0 / 72.0;
    TColor color = kBlack;
    TFontPitch pitch = TFontPitch::fpDefault;
    bool bold = false, italic = false, underline = false, strikeout = false;
    bool superscript = false, subscript = false;
    int rotation = 0;
    friend bool operator==(const TPainterFont&, const TPainterFont&) = default;
};

// A QFont for a height in device pixels, sized for the given paint device's resolution.
QFont MakeDeviceFont(const TPainterFont& font, double pixelHeight, int deviceDpiY);

class TPagePainter {
public:
    TPagePainter(QPainter& painter, const TDeviceMapping& mapping);

    const TDeviceMapping& Mapping() const { return mMapping; }
    void SetScale(double scaleX, double scaleY);

    void SetFont(const TPainterFont& font);
    const TPainterFont& Font() const { return mFont; }
    // A pen as the stream records it: the job's device pixels as inches (at scale 100), so it
    // does not follow the scale of what it draws; drawn in whole device pixels, at least one.
    void SetPen(TColor color, TPenStyle style, TPenMode mode, double widthInches);
    void SetPenPixels(TColor color, TPenStyle style, TPenMode mode, int widthPixels);
    void SetBrush(TColor color, TBrushStyle style, const std::optional<QImage>& pattern = {});
    void SetBkMode(TBkMode mode)
    {
        mBkMode = mode;
        mTextDirty = true;
    }
    void SetBkColor(TColor color)
    {
        mBkColor = color;
        mTextDirty = true;
    }

    // Width of a text in device pixels with the current font (unscaled by rotation).
    double TextWidthPixels(const QByteArray& text);
    // Ascent and descent of the current font in device pixels.
    double AscentPixels();
    double DescentPixels();

    // Draws text on the baseline y; returns the point (inches) where the text ends.
    QPointF Text(TTextAlign align, double x, double y, const QByteArray& text);
    // Text spread across a width (block justification).
    void TextBlock(double x, double y, double width, const QByteArray& text);
    // Text with its top-left corner at (x, y), clipped to a rectangle; the rectangle is filled
    // with the brush first unless the brush is clear. A rotated font turns the text
    // counter-clockwise about (x, y); the clip rectangle does not turn.
    void TextInRect(const QRectF& clip, double x, double y, const QByteArray& text);

    // Rectangles, ellipses and rounded rectangles cover the device pixels from the top-left
    // corner up to, not including, the bottom-right one, filled with the brush; a one-pixel pen
    // outlines them inside that area. A wider pen is centred on the edge (w / 2 pixels outside
    // at left and top, w - 1 - w / 2 at right and bottom) unless its style is inside-frame,
    // which keeps it inside. Corner sizes of rounded rectangles are the corner ellipse's width
    // and height, in inches.
    void Shape(TShape shape, const QRectF& rect, double cornerW = 0, double cornerH = 0);
    // The pixels Shape fills for each rectangle as a FillRect, in one painter call: one path and
    // one fill in a PDF rather than a brush change and a fill per rectangle.
    void FillRects(std::span<const QRectF> rects);
    void MoveTo(QPointF p) { mPenPos = p; }
    void LineTo(QPointF p);
    void Polygon(const std::vector<QPointF>& points, bool closed);
    void Arc(int kind, const std::vector<QPointF>& points); // 1 arc, 3 chord, 13 pie
    void Image(const QRectF& rect, const QImage& image);
    void ImageAt(QPointF p, const QImage& image, double scaleX, double scaleY);
    void SetClip(const QRectF& rect)
    {
        mClip = rect;
        mHasClip = true;
    }

private:
    struct TOutline {
        QColor color;
        int width = 1; // device pixels
        Qt::PenStyle style = Qt::SolidLine;
        bool insideFrame = false;
    };

    // Per-character metrics of the current font for Latin-1 text, filled as characters are met:
    // enough to tell whether a text's ink stays inside a rectangle without shaping it.
    struct TLatinMetrics {
        static constexpr float kUnknown = -1e30f;
        std::array<float, 256> advance;
        std::array<float, 256> leftBearing;
        std::array<float, 256> rightBearing;
        double ascent = 0;
        double descent = 0;
        void Clear(const QFontMetricsF& metrics);
    };

    QColor PenColor() const;
    // The device pixels of a rectangle in inches: left and top inclusive, right and bottom
    // exclusive, whichever way round its corners are given.
    QRect DeviceArea(const QRectF& rect) const;
    // Whether text drawn with its top-left corner at origin (device pixels) stays inside the
    // device rectangle, judged from its characters' advances and bearings; false when unsure.
    bool InkInside(const QString& text, QPointF origin, const QRect& device);
    void Figure(TShape shape, const QRect& area, double rx, double ry,
                const std::optional<TOutline>& outline, const std::optional<QBrush>& brush);
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();
    void ApplyMode();

    QPainter& mPainter;
    TDeviceMapping mMapping;
    TPainterFont mFont;
    QFont mQFont;
    TLatinMetrics mLatin;
    bool mFontDirty = true;
    TColor mPenColor = kBlack;
    TPenStyle mPenStyle = TPenStyle::psSolid;
    TPenMode mPenMode = TPenMode::pmCopy;
    int mPenPixels = 1;
    bool mPenDirty = true;
    TColor mBrushColor = kBlack;
    TBrushStyle mBrushStyle = TBrushStyle::bsClear;
    std::optional<QImage> mPattern;
    bool mBrushDirty = true;
    TBkMode mBkMode = TBkMode::bkTransparent;
    TColor mBkColor = kWhite;
    bool mTextDirty = true;
    QPointF mPenPos;
    QRectF mClip;
    bool mHasClip = false;
};

} // namespace qm::print
