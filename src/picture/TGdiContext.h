#pragma once

// The playback device context the metafile players share: the object table, the saved states,
// the mapping from logical coordinates to the target and the drawing operations in logical
// coordinates, which it maps and hands to a TMetafileSink.
//
// Mapping: logical --world transform--> page --window/viewport or map mode--> device (the
// metafile's own units: a placeable header's units, or an enhanced metafile's reference-device
// pixels) --frame onto target--> target. The frame is the picture's extent in device units.
//
// Windows metafiles have no device of their own: they are played as if the caller had set
// MM_ANISOTROPIC with the window and the viewport both the frame, so a metafile that sets only its
// window (as clip art does) fills the target. Enhanced metafiles start in MM_TEXT with the world
// transform the identity.
//
// Limits (damaged input): at most kMaxSavedStates saved states (further SaveDC are ignored), object
// indexes below the capacity the header declares (others are ignored), extents of 0 ignored.

#include "picture/TMetafileSink.h"

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace qm::picture {

enum class TGdiObjectKind { Pen, Brush, Font, Other };

struct TGdiObject {
    TGdiObjectKind kind = TGdiObjectKind::Other;
    TGdiPenStyle penStyle = TGdiPenStyle::Solid;
    double penWidth = 0; // logical
    TGdiBrush brush;
    TGdiFont font;            // height logical, signed as stored (negative: character height)
    QColor color = Qt::black; // pen colour
};

enum class TArcKind { Arc, Pie, Chord };

class TGdiContext {
public:
    static constexpr int kMaxSavedStates = 256;

    // Map modes, as the records number them.
    enum : int {
        kMmText = 1,
        kMmLoMetric,
        kMmHiMetric,
        kMmLoEnglish,
        kMmHiEnglish,
        kMmTwips,
        kMmIsotropic,
        kMmAnisotropic
    };

    // frame: the picture in device units; devicePerMm: device units per millimetre (for the
    // metric map modes); windows: Windows metafile playback (see above).
    TGdiContext(TMetafileSink& sink, const QRectF& frame, const QRectF& target, double devicePerMm,
                bool windows);

    // ---- objects
    void SetCapacity(std::uint32_t capacity) { mCapacity = capacity; }
    // Windows metafiles: the lowest free index; false when the table is full.
    bool CreateObject(const TGdiObject& object);
    // Enhanced metafiles: at the record's index.
    void PutObject(std::uint32_t index, const TGdiObject& object);
    void SelectObject(std::uint32_t index);
    void SelectStockObject(std::uint32_t id);
    void DeleteObject(std::uint32_t index);
    const TGdiObject* Object(std::uint32_t index) const;

    // ---- state
    void SetMapMode(int mode);
    void SetWindowOrg(QPointF p);
    void SetWindowExt(QPointF e);
    void SetViewportOrg(QPointF p);
    void SetViewportExt(QPointF e);
    void OffsetWindowOrg(QPointF d);
    void OffsetViewportOrg(QPointF d);
    void ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void SetWorldTransform(const QTransform& t);
    // mode: 1 identity, 2 left multiply, 3 right multiply, 4 set.
    void ModifyWorldTransform(const QTransform& t, int mode);
    void SetTextColor(const QColor& c) { mState.textColor = c; }
    void SetBkColor(const QColor& c) { mState.bkColor = c; }
    const QColor& BkColor() const { return mState.bkColor; }
    void SetBkMode(int mode)
    {
        if (mode == 1 || mode == 2)
            mState.opaque = mode == 2;
    }
    void SetPolyFillMode(int mode)
    {
        if (mode == 1 || mode == 2)
            mState.winding = mode == 2;
    }
    void SetTextAlign(unsigned align) { mState.textAlign = align; }
    void SaveDC();
    // n < 0: that many states back; n > 0: the state of that number (1 the first saved).
    void RestoreDC(int n);
    void IntersectClipRect(const QRectF& logical);
    QPointF Current() const { return mState.current; }

    // ---- drawing, logical coordinates
    void MoveTo(QPointF p);
    void LineTo(QPointF p);
    void Polyline(const QPolygonF& points);
    // Lines from the current position through the points (updates it).
    void PolylineTo(const QPolygonF& points);
    // Bezier curves: the first point, then three points per curve.
    void PolyBezier(const QPolygonF& points);
    void PolyBezierTo(const QPolygonF& points);
    void Polygons(const QList<QPolygonF>& polygons);
    void PolyPolyline(const QList<QPolygonF>& lines);
    void Rectangle(const QRectF& rect);
    void RoundRect(const QRectF& rect, QSizeF corner);
    void Ellipse(const QRectF& rect);
    void Arc(TArcKind kind, const QRectF& rect, QPointF start, QPointF end);
    // Fills a rectangle with a colour, no outline (opaque text backgrounds, pattern blits).
    void FillRect(const QRectF& rect, const QColor& color);
    // A text at p, or at the current position when the alignment says so (then it moves on);
    // clipped to clip (logical) when given.
    void Text(QPointF p, const QString& text, const std::optional<QRectF>& clip = std::nullopt);
    void Image(const QRectF& destination, const QImage& image, const QRectF& source);

    // ---- path bracket (enhanced metafiles)
    void BeginPath();
    void EndPath() { mInPath = false; }
    void CloseFigure() { mPath.closeSubpath(); }
    void AbortPath();
    // Draws the path made since BeginPath and drops it.
    void DrawPath(bool fill, bool stroke);

    const QRectF& Target() const { return mTarget; }

private:
    struct TState {
        int mapMode = kMmText;
        QPointF windowOrg, windowExt{1, 1}, viewportOrg, viewportExt{1, 1};
        QTransform world;
        TGdiObject pen, brush, font;
        QColor textColor = Qt::black, bkColor = Qt::white;
        bool opaque = true;
        bool winding = false;
        unsigned textAlign = 0;
        QPointF current;
        std::optional<QRectF> clip; // target units
    };

    const QTransform& Transform();
    QPointF Map(QPointF p) { return Transform().map(p); }
    bool AxisAligned()
    {
        const QTransform& t = Transform();
        return t.m12() == 0 && t.m21() == 0;
    }
    double MapWidth(double w);
    double MapHeight(double h);
    QRectF MapRect(const QRectF& r);
    void Sync(bool pen, bool brush);
    void SyncFont();
    void Dirty() { mTransformValid = false; }
    QPainterPath ArcPath(TArcKind kind, const QRectF& rect, QPointF start, QPointF end);
    void Figure(const QPainterPath& path, bool fill, bool stroke);

    TMetafileSink& mSink;
    QRectF mFrame;
    QRectF mTarget;
    double mDevicePerMm;
    bool mWindows;
    TState mState;
    std::vector<TState> mSaved;
    std::map<std::uint32_t, TGdiObject> mObjects;
    std::uint32_t mCapacity = 0;
    std::uint32_t mHighWater = 0;
    std::set<std::uint32_t> mFree;
    QTransform mTransform;
    bool mTransformValid = false;
    std::optional<TGdiPen> mSentPen;
    std::optional<TGdiBrush> mSentBrush;
    std::optional<TGdiFont> mSentFont;
    std::optional<QRectF> mSentClip;
    bool mInPath = false;
    QPainterPath mPath;
};

} // namespace qm::picture
