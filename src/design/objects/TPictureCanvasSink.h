#pragma once

// Replays metafile drawing onto the page canvas as the canvas's own primitives (pen, brush,
// rectangles, rounded rectangles, ellipses, polygons, polylines, text, bitmaps), so a printed or
// recorded metafile stays vector drawing at any resolution. Target units are page inches.
//
// Curves (arcs, pies, chords, Bezier paths) are flattened into polygons and polylines; the
// canvas has no clipping, so clip rectangles are not applied on paper. Pen widths become
// hundredths of an inch (at least one), hairlines one device pixel.

#include "picture/TMetafileSink.h"

#include <memory>

namespace qm::print {
class TBaseReport;
}

namespace qm::design {

class TPictureCanvasSink : public picture::TMetafileSink {
public:
    // The canvas's pen, brush and font are restored when the sink goes away.
    explicit TPictureCanvasSink(print::TBaseReport& canvas);
    ~TPictureCanvasSink() override;
    TPictureCanvasSink(const TPictureCanvasSink&) = delete;
    TPictureCanvasSink& operator=(const TPictureCanvasSink&) = delete;

    void SetPen(const picture::TGdiPen& pen) override;
    void SetBrush(const picture::TGdiBrush& brush) override;
    void SetFont(const picture::TGdiFont& font) override;
    void Polyline(const QPolygonF& points) override;
    void Polygons(const QList<QPolygonF>& polygons, bool winding) override;
    void Rectangle(const QRectF& rect) override;
    void RoundRect(const QRectF& rect, const QSizeF& corner) override;
    void Ellipse(const QRectF& rect) override;
    void Path(const QPainterPath& path, bool fill, bool stroke) override;
    double Text(const picture::TGdiText& text) override;
    void Image(const QRectF& target, const QImage& image, const QRectF& source) override;

private:
    void ApplyPen(bool on);
    void ApplyBrush(bool on);

    print::TBaseReport& mCanvas;
    picture::TGdiPen mPen;
    picture::TGdiBrush mBrush;
    picture::TGdiFont mFont;
    // What the canvas had before.
    struct TSaved;
    std::unique_ptr<TSaved> mSaved;
};

} // namespace qm::design
