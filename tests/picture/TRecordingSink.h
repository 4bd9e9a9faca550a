// A metafile sink that writes down what it is asked to draw, one line per call, with
// coordinates rounded to two decimals, so tests compare drawing as text.

#pragma once

#include "picture/TMetafileSink.h"

#include <QImage>
#include <QStringList>

namespace qm::picture::test {

class TRecordingSink : public TMetafileSink {
public:
    QStringList calls;
    QImage lastImage; // the pixels of the last Image call
    TGdiPen pen;
    TGdiBrush brush;
    TGdiFont font;

    static QString N(double v) { return QString::number(std::round(v * 100) / 100); }
    static QString P(QPointF p) { return N(p.x()) + "," + N(p.y()); }
    static QString R(const QRectF& r) { return P(r.topLeft()) + " " + P(r.bottomRight()); }

    void SetPen(const TGdiPen& p) override { pen = p; }
    void SetBrush(const TGdiBrush& b) override { brush = b; }
    void SetFont(const TGdiFont& f) override { font = f; }
    void Polyline(const QPolygonF& points) override
    {
        QStringList ps;
        for (QPointF p : points)
            ps << P(p);
        calls << "polyline " + ps.join(' ');
    }
    void Polygons(const QList<QPolygonF>& polygons, bool winding) override
    {
        QStringList all;
        for (const QPolygonF& polygon : polygons) {
            QStringList ps;
            for (QPointF p : polygon)
                ps << P(p);
            all << ps.join(' ');
        }
        calls << QString("polygons%1 ").arg(winding ? " winding" : "") + all.join(" | ");
    }
    void Rectangle(const QRectF& r) override { calls << "rectangle " + R(r); }
    void RoundRect(const QRectF& r, const QSizeF& c) override
    {
        calls << "roundrect " + R(r) + " " + N(c.width()) + "x" + N(c.height());
    }
    void Ellipse(const QRectF& r) override { calls << "ellipse " + R(r); }
    void Path(const QPainterPath& path, bool fill, bool stroke) override
    {
        calls << QString("path%1%2 ").arg(fill ? " fill" : "", stroke ? " stroke" : "") +
                     R(path.boundingRect());
    }
    double Text(const TGdiText& t) override
    {
        calls << "text " + P(t.at) + " " + t.text;
        return 10;
    }
    void Image(const QRectF& target, const QImage& image, const QRectF& source) override
    {
        calls << QString("image %1 %2x%3 from %4")
                     .arg(R(target))
                     .arg(image.width())
                     .arg(image.height())
                     .arg(R(source));
        lastImage = image;
    }
    int Count(const QString& prefix) const
    {
        int n = 0;
        for (const QString& c : calls)
            n += c.startsWith(prefix);
        return n;
    }
};

} // namespace qm::picture::test
