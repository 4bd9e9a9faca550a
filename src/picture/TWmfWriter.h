#pragma once

// Writes placeable Windows metafiles record by record: the sample clip art, test pictures and
// the fuzz seeds are made with it. Objects get the lowest free index, as Windows hands them out.
// Coordinates are 16-bit logical units; the caller keeps them in range.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <cstdint>
#include <set>
#include <vector>

namespace qm::picture {

class TWmfWriter {
public:
    // frame: the placeable box in logical units; unitsPerInch: the header's "inch" field.
    explicit TWmfWriter(const QRect& frame, int unitsPerInch = 1440);

    // A record as it is: function and 16-bit parameter words.
    void Record(std::uint16_t function, const std::vector<std::int16_t>& words);

    void SetMapMode(int mode) { Record(0x0103, {std::int16_t(mode)}); }
    void SetWindowOrg(int x, int y) { Record(0x020B, {Word(y), Word(x)}); }
    void SetWindowExt(int x, int y) { Record(0x020C, {Word(y), Word(x)}); }
    void SetViewportOrg(int x, int y) { Record(0x020D, {Word(y), Word(x)}); }
    void SetViewportExt(int x, int y) { Record(0x020E, {Word(y), Word(x)}); }
    void SetBkMode(int mode) { Record(0x0102, {std::int16_t(mode)}); }
    void SetPolyFillMode(int mode) { Record(0x0106, {std::int16_t(mode)}); }
    void SetTextAlign(int align) { Record(0x012E, {std::int16_t(align)}); }
    void SetTextColor(const QColor& color);
    void SetBkColor(const QColor& color);
    void SaveDC() { Record(0x001E, {}); }
    void RestoreDC(int n) { Record(0x0127, {std::int16_t(n)}); }

    // Each returns the object's index.
    int CreatePen(int style, int width, const QColor& color);
    int CreateBrush(int style, const QColor& color, int hatch = 0);
    int CreateFont(int height, int weight, bool italic, const QString& face, int escapement = 0);
    void Select(int index) { Record(0x012D, {std::int16_t(index)}); }
    void Delete(int index);

    void MoveTo(int x, int y) { Record(0x0214, {Word(y), Word(x)}); }
    void LineTo(int x, int y) { Record(0x0213, {Word(y), Word(x)}); }
    void Rectangle(const QRect& r);
    void Ellipse(const QRect& r);
    void RoundRect(const QRect& r, int cornerWidth, int cornerHeight);
    // function: 0x0817 arc, 0x081A pie, 0x0830 chord.
    void ArcLike(std::uint16_t function, const QRect& r, QPoint start, QPoint end);
    void Polyline(const QPolygon& points) { Poly(0x0325, points); }
    void Polygon(const QPolygon& points) { Poly(0x0324, points); }
    void PolyPolygon(const std::vector<QPolygon>& polygons);
    void TextOut(int x, int y, const QByteArray& text);
    void ExtTextOut(int x, int y, const QByteArray& text);
    // StretchDIBits of the whole image, 24 bits per pixel, SRCCOPY.
    void StretchDib(const QRect& destination, const QImage& image);

    // Appends the end record and returns the file.
    QByteArray Finish();

    // A bottom-up 24-bit packed DIB of the image (header and pixels).
    static QByteArray PackedDib(const QImage& image);

private:
    static std::int16_t Word(int v) { return std::int16_t(v); }
    int Allocate();
    void Poly(std::uint16_t function, const QPolygon& points);
    void Bytes(std::uint16_t function, const QByteArray& params);

    QRect mFrame;
    int mUnitsPerInch;
    QByteArray mRecords;
    std::uint32_t mMaxRecordWords = 3;
    std::set<int> mUsed;
    int mMaxObjects = 0;
};

} // namespace qm::picture
