#pragma once

// Replays metafile drawing onto the page canvas as the canvas's own primitives (pen, brush,
// rectangles, rounded rectangles, ellipses, polygons, polylines, text, bitmaps), so a printed or
// recorded metafile stays vector drawing at any resolution. Target units are page inches.
//
// Curves (arcs, pies, chords, Bezier paths) are flattened into polygons and polylines. Pen
// widths become hundredths of an inch (at least one), hairlines one device pixel.
//
// Clipping: the page canvas cannot clip drawing, so the sink cuts the figures itself. Drawing is
// kept inside the frame given at construction (the picture object's rectangle) and inside any
// clip rectangle the metafile sets. A figure wholly inside goes to the canvas as it is; one
// wholly outside is left out; one that crosses the edge is cut: its fill and its stroked outline
// become filled polygons of the part inside, texts are drawn clipped to the rectangle
// (TextInRect), and embedded bitmaps are resampled for their visible part.

#include "picture/TMetafileSink.h"

#include <QPainterPath>
#include <QRectF>
#include <memory>
#include <optional>

namespace qm::print {
class TBaseReport;
}

namespace qm::design {

class TPictureCanvasSink : public picture::TMetafileSink {
public:
    // The canvas's pen, brush and font are restored when the sink goes away. frame: inches on
    // the page outside which nothing is drawn (none: no limit but the metafile's own clip).
    explicit TPictureCanvasSink(print::TBaseReport& canvas,
                                const std::optional<QRectF>& frame = std::nullopt);
    ~TPictureCanvasSink() override;
    TPictureCanvasSink(const TPictureCanvasSink&) = delete;
    TPictureCanvasSink& operator=(const TPictureCanvasSink&) = delete;

    void SetPen(const picture::TGdiPen& pen) override;
    void SetBrush(const picture::TGdiBrush& brush) override;
    void SetFont(const picture::TGdiFont& font) override;
    void SetClip(const std::optional<QRectF>& clip) override;
    void Polyline(const QPolygonF& points) override;
    void Polygons(const QList<QPolygonF>& polygons, bool winding) override;
    void Rectangle(const QRectF& rect) override;
    void RoundRect(const QRectF& rect, const QSizeF& corner) override;
    void Ellipse(const QRectF& rect) override;
    void Path(const QPainterPath& path, bool fill, bool stroke) override;
    double Text(const picture::TGdiText& text) override;
    void Image(const QRectF& target, const QImage& image, const QRectF& source) override;

private:
    enum class TPlace { Inside, Outside, Crossing };

    void ApplyPen(bool on);
    void ApplyBrush(bool on);
    // How far the pen's ink reaches past a figure's geometry, in inches (0 without a pen).
    double PenReach() const;
    // Where a figure with these bounds lies against the clip; reach widens the bounds.
    TPlace PlaceOf(const QRectF& bounds, double reach) const;
    // The parts of a figure inside the clip: its fill with the brush, its outline with the pen
    // (both drawn as filled polygons; a closed figure's outline joins its ends).
    void FillClipped(const QPainterPath& figure);
    void StrokeClipped(const QPainterPath& figure);
    // Draws a figure that crosses the clip edge: fill and/or outline, cut.
    void DrawClipped(const QPainterPath& figure, bool fill, bool stroke);
    // The outline of a figure as a filled area, in thousandths of an inch.
    QPainterPath StrokeArea(const QPainterPath& scaledFigure) const;

    print::TBaseReport& mCanvas;
    std::optional<QRectF> mFrame;
    // The clip in force: the frame and the metafile's clip together; an empty rectangle shows
    // nothing.
    std::optional<QRectF> mClip;
    picture::TGdiPen mPen;
    picture::TGdiBrush mBrush;
    picture::TGdiFont mFont;
    // What the canvas had before.
    struct TSaved;
    std::unique_ptr<TSaved> mSaved;
};

} // namespace qm::design
