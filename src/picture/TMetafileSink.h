#pragma once

// Where the metafile players draw. The players do all the mapping (window, viewport, map mode,
// world transform, the frame onto the target rectangle), so every coordinate, width and height a
// sink receives is already in target units: pixels for a painter, inches for the page canvas.
//
// Call order: SetPen, SetBrush and SetFont come before the drawing that uses them (the players
// send the selected objects again after a RestoreDC). A filled figure uses the brush for its
// inside and the pen for its outline; either may be null.

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <optional>

namespace qm::picture {

enum class TGdiPenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Null, InsideFrame };

struct TGdiPen {
    TGdiPenStyle style = TGdiPenStyle::Solid;
    double width = 0; // target units; 0 draws the thinnest line the device has
    QColor color = Qt::black;
    friend bool operator==(const TGdiPen&, const TGdiPen&) = default;
};

enum class TGdiBrushStyle { Solid, Null, Hatched, Pattern };
enum class TGdiHatch { Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

struct TGdiBrush {
    TGdiBrushStyle style = TGdiBrushStyle::Solid;
    TGdiHatch hatch = TGdiHatch::Horizontal;
    QColor color = Qt::white;
    QImage pattern; // Pattern only
    bool operator==(const TGdiBrush& other) const
    {
        return style == other.style && hatch == other.hatch && color == other.color &&
               pattern.cacheKey() == other.pattern.cacheKey();
    }
};

struct TGdiFont {
    QString face = QStringLiteral("Arial");
    double height = 0;       // target units
    bool cellHeight = false; // height is the cell (ascent + descent), not the character height
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    double angle = 0; // degrees counter-clockwise
    friend bool operator==(const TGdiFont&, const TGdiFont&) = default;
};

enum class TGdiHAlign { Left, Center, Right };
enum class TGdiVAlign { Top, Baseline, Bottom };

struct TGdiText {
    QPointF at;
    QString text;
    TGdiHAlign hAlign = TGdiHAlign::Left;
    TGdiVAlign vAlign = TGdiVAlign::Top;
    QColor color = Qt::black;
    std::optional<QColor> background; // opaque background mode
};

class TMetafileSink {
public:
    virtual ~TMetafileSink();

    virtual void SetPen(const TGdiPen& pen) = 0;
    virtual void SetBrush(const TGdiBrush& brush) = 0;
    virtual void SetFont(const TGdiFont& font) = 0;
    // The clip in force from now on; nullopt removes it. Devices without clipping ignore it.
    virtual void SetClip(const std::optional<QRectF>& clip) { (void)clip; }

    virtual void Polyline(const QPolygonF& points) = 0;
    // Filled with the brush (winding or even-odd rule), outlined with the pen.
    virtual void Polygons(const QList<QPolygonF>& polygons, bool winding) = 0;
    virtual void Rectangle(const QRectF& rect) = 0;
    // corner: the width and height of the ellipse that rounds each corner.
    virtual void RoundRect(const QRectF& rect, const QSizeF& corner) = 0;
    virtual void Ellipse(const QRectF& rect) = 0;
    // Arcs, pies, chords and free paths; fill uses the brush, stroke the pen.
    virtual void Path(const QPainterPath& path, bool fill, bool stroke) = 0;
    // Draws a text and returns its advance width in target units.
    virtual double Text(const TGdiText& text) = 0;
    virtual void Image(const QRectF& target, const QImage& image, const QRectF& source) = 0;
};

// Draws nothing: the players check a file's structure by playing it here.
class TNullSink : public TMetafileSink {
public:
    void SetPen(const TGdiPen&) override {}
    void SetBrush(const TGdiBrush&) override {}
    void SetFont(const TGdiFont&) override {}
    void Polyline(const QPolygonF&) override {}
    void Polygons(const QList<QPolygonF>&, bool) override {}
    void Rectangle(const QRectF&) override {}
    void RoundRect(const QRectF&, const QSizeF&) override {}
    void Ellipse(const QRectF&) override {}
    void Path(const QPainterPath&, bool, bool) override {}
    double Text(const TGdiText&) override { return 0; }
    void Image(const QRectF&, const QImage&, const QRectF&) override {}
};

} // namespace qm::picture
