#pragma once

// A metafile sink that paints on a QPainter (screen, image, PDF). Target units are the painter's
// logical units. The painter's state is saved on construction and restored on destruction. A
// clip the painter has on construction (the picture object's frame) stays in force: the
// metafile's own clip rectangles narrow it, and removing them goes back to it.

#include "picture/TMetafileSink.h"

#include <QBrush>
#include <QPainterPath>
#include <QPen>

class QPainter;

namespace qm::picture {

class TPainterSink : public TMetafileSink {
public:
    explicit TPainterSink(QPainter& painter);
    ~TPainterSink() override;
    TPainterSink(const TPainterSink&) = delete;
    TPainterSink& operator=(const TPainterSink&) = delete;

    void SetPen(const TGdiPen& pen) override;
    void SetBrush(const TGdiBrush& brush) override;
    void SetFont(const TGdiFont& font) override;
    void SetClip(const std::optional<QRectF>& clip) override;
    void Polyline(const QPolygonF& points) override;
    void Polygons(const QList<QPolygonF>& polygons, bool winding) override;
    void Rectangle(const QRectF& rect) override;
    void RoundRect(const QRectF& rect, const QSizeF& corner) override;
    void Ellipse(const QRectF& rect) override;
    void Path(const QPainterPath& path, bool fill, bool stroke) override;
    double Text(const TGdiText& text) override;
    void Image(const QRectF& target, const QImage& image, const QRectF& source) override;

private:
    QPainter& mPainter;
    QPen mPen;
    QBrush mBrush;
    TGdiFont mFont;
    std::optional<QPainterPath> mBaseClip; // the painter's clip on construction
};

} // namespace qm::picture
