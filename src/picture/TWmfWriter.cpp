#include "picture/TWmfWriter.h"

#include <QtEndian>
#include <algorithm>

namespace qm::picture {

namespace {

void Put16(QByteArray& out, std::uint16_t v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void Put32(QByteArray& out, std::uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void PutColor(QByteArray& out, const QColor& c)
{
    out.append(char(c.red()));
    out.append(char(c.green()));
    out.append(char(c.blue()));
    out.append('\0');
}

} // namespace

TWmfWriter::TWmfWriter(const QRect& frame, int unitsPerInch)
    : mFrame(frame), mUnitsPerInch(unitsPerInch)
{
}

void TWmfWriter::Bytes(std::uint16_t function, const QByteArray& params)
{
    QByteArray p = params;
    if (p.size() % 2)
        p.append('\0');
    const std::uint32_t words = 3 + std::uint32_t(p.size() / 2);
    Put32(mRecords, words);
    Put16(mRecords, function);
    mRecords.append(p);
    mMaxRecordWords = std::max(mMaxRecordWords, words);
}

void TWmfWriter::Record(std::uint16_t function, const std::vector<std::int16_t>& words)
{
    QByteArray params;
    for (std::int16_t w : words)
        Put16(params, std::uint16_t(w));
    Bytes(function, params);
}

void TWmfWriter::SetTextColor(const QColor& color)
{
    QByteArray p;
    PutColor(p, color);
    Bytes(0x0209, p);
}

void TWmfWriter::SetBkColor(const QColor& color)
{
    QByteArray p;
    PutColor(p, color);
    Bytes(0x0201, p);
}

int TWmfWriter::Allocate()
{
    int index = 0;
    while (mUsed.contains(index))
        ++index;
    mUsed.insert(index);
    mMaxObjects = std::max(mMaxObjects, index + 1);
    return index;
}

int TWmfWriter::CreatePen(int style, int width, const QColor& color)
{
    QByteArray p;
    Put16(p, std::uint16_t(style));
    Put16(p, std::uint16_t(width));
    Put16(p, 0);
    PutColor(p, color);
    Bytes(0x02FA, p);
    return Allocate();
}

int TWmfWriter::CreateBrush(int style, const QColor& color, int hatch)
{
    QByteArray p;
    Put16(p, std::uint16_t(style));
    PutColor(p, color);
    Put16(p, std::uint16_t(hatch));
    Bytes(0x02FC, p);
    return Allocate();
}

int TWmfWriter::CreateFont(int height, int weight, bool italic, const QString& face, int escapement)
{
    QByteArray p;
    Put16(p, std::uint16_t(height));
    Put16(p, 0);
    Put16(p, std::uint16_t(escapement));
    Put16(p, std::uint16_t(escapement));
    Put16(p, std::uint16_t(weight));
    p.append(char(italic ? 1 : 0)); // italic
    p.append('\0');                 // underline
    p.append('\0');                 // strike-out
    p.append('\0');                 // character set
    p.append(4, '\0');              // precisions, quality, pitch and family
    QByteArray name = face.toLatin1().left(31);
    name.append('\0');
    p.append(name);
    Bytes(0x02FB, p);
    return Allocate();
}

void TWmfWriter::Delete(int index)
{
    Record(0x01F0, {std::int16_t(index)});
    mUsed.erase(index);
}

void TWmfWriter::Rectangle(const QRect& r)
{
    Record(0x041B, {Word(r.bottom() + 1), Word(r.right() + 1), Word(r.top()), Word(r.left())});
}

void TWmfWriter::Ellipse(const QRect& r)
{
    Record(0x0418, {Word(r.bottom() + 1), Word(r.right() + 1), Word(r.top()), Word(r.left())});
}

void TWmfWriter::RoundRect(const QRect& r, int cornerWidth, int cornerHeight)
{
    Record(0x061C, {Word(cornerHeight), Word(cornerWidth), Word(r.bottom() + 1),
                    Word(r.right() + 1), Word(r.top()), Word(r.left())});
}

void TWmfWriter::ArcLike(std::uint16_t function, const QRect& r, QPoint start, QPoint end)
{
    Record(function, {Word(end.y()), Word(end.x()), Word(start.y()), Word(start.x()),
                      Word(r.bottom() + 1), Word(r.right() + 1), Word(r.top()), Word(r.left())});
}

void TWmfWriter::Poly(std::uint16_t function, const QPolygon& points)
{
    std::vector<std::int16_t> words{Word(int(points.size()))};
    for (const QPoint& p : points) {
        words.push_back(Word(p.x()));
        words.push_back(Word(p.y()));
    }
    Record(function, words);
}

void TWmfWriter::PolyPolygon(const std::vector<QPolygon>& polygons)
{
    std::vector<std::int16_t> words{Word(int(polygons.size()))};
    for (const QPolygon& polygon : polygons)
        words.push_back(Word(int(polygon.size())));
    for (const QPolygon& polygon : polygons)
        for (const QPoint& p : polygon) {
            words.push_back(Word(p.x()));
            words.push_back(Word(p.y()));
        }
    Record(0x0538, words);
}

void TWmfWriter::TextOut(int x, int y, const QByteArray& text)
{
    QByteArray p;
    Put16(p, std::uint16_t(text.size()));
    p.append(text);
    if (text.size() % 2)
        p.append('\0');
    Put16(p, std::uint16_t(y));
    Put16(p, std::uint16_t(x));
    Bytes(0x0521, p);
}

void TWmfWriter::ExtTextOut(int x, int y, const QByteArray& text)
{
    QByteArray p;
    Put16(p, std::uint16_t(y));
    Put16(p, std::uint16_t(x));
    Put16(p, std::uint16_t(text.size()));
    Put16(p, 0);
    p.append(text);
    Bytes(0x0A32, p);
}

QByteArray TWmfWriter::PackedDib(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const int stride = (image.width() * 3 + 3) / 4 * 4;
    QByteArray dib;
    Put32(dib, 40);
    Put32(dib, std::uint32_t(image.width()));
    Put32(dib, std::uint32_t(image.height()));
    Put16(dib, 1);
    Put16(dib, 24);
    Put32(dib, 0);
    Put32(dib, std::uint32_t(stride * image.height()));
    Put32(dib, 3780);
    Put32(dib, 3780);
    Put32(dib, 0);
    Put32(dib, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        const uchar* line = image.constScanLine(y);
        QByteArray row(stride, '\0');
        for (int x = 0; x < image.width(); ++x) {
            row[x * 3] = char(line[x * 3 + 2]);
            row[x * 3 + 1] = char(line[x * 3 + 1]);
            row[x * 3 + 2] = char(line[x * 3]);
        }
        dib.append(row);
    }
    return dib;
}

void TWmfWriter::StretchDib(const QRect& d, const QImage& image)
{
    QByteArray p;
    Put32(p, 0x00CC0020u);
    Put16(p, 0); // colour usage: RGB
    for (int v : {image.height(), image.width(), 0, 0, d.height(), d.width(), d.top(), d.left()})
        Put16(p, std::uint16_t(v));
    p.append(PackedDib(image));
    Bytes(0x0F43, p);
}

QByteArray TWmfWriter::Finish()
{
    QByteArray records = mRecords;
    Put32(records, 3);
    Put16(records, 0);

    QByteArray file;
    Put32(file, 0x9AC6CDD7u);
    Put16(file, 0);
    Put16(file, std::uint16_t(mFrame.left()));
    Put16(file, std::uint16_t(mFrame.top()));
    Put16(file, std::uint16_t(mFrame.right() + 1));
    Put16(file, std::uint16_t(mFrame.bottom() + 1));
    Put16(file, std::uint16_t(mUnitsPerInch));
    Put32(file, 0);
    std::uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<std::uint16_t>(file.constData() + i * 2);
    Put16(file, checksum);

    Put16(file, 1); // in memory
    Put16(file, 9); // header words
    Put16(file, 0x0300);
    Put32(file, std::uint32_t((18 + records.size()) / 2));
    Put16(file, std::uint16_t(mMaxObjects));
    Put32(file, mMaxRecordWords);
    Put16(file, 0);
    file.append(records);
    return file;
}

} // namespace qm::picture
