#pragma once

// Reads a page stream (docs/formats/page-stream.md) held in memory: the header, page records and
// one command at a time. Every read is bounds-checked; anything that does not read as the format
// (a wrong header or page code, an unknown command code, a field running past the end, a graphic
// or point count larger than the bytes left) throws TPrintError with "Unexpected code found in
// report file." and the offset, so damaged input never allocates more than the input's size.
//
// The reader does not own the bytes; they must outlive it.

#include "print/TPageStreamFormat.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <vector>

namespace qm::print {

struct TPageStreamHeader {
    std::int16_t pageCount = 0;
    std::int16_t firstPage = 1;
    std::int16_t lastPage = 9999;
    float pageWidth = 0, pageHeight = 0;
    float leftWaste = 0, rightWaste = 0, topWaste = 0, bottomWaste = 0;
    std::uint8_t orientation = 2;
    std::int16_t paperSource = 0;
    std::uint8_t collate = 0;
    std::uint8_t duplex = 0;
    std::int16_t copies = 1;
    std::int16_t paperSize = 0;
    std::int16_t paperWidth = 0, paperLength = 0;
    QByteArray deviceName;
    std::int64_t firstPageOffset = 0; // where the first page record begins
};

struct TPageRecord {
    std::int64_t offset = 0;
    std::int32_t previous = 0;
    std::int32_t next = 0;
    std::int16_t pageNumber = 0;
    float width = 0, height = 0;
    std::int64_t commandsOffset = 0; // first command after the record
};

// One decoded command. Which members carry operands depends on the code (see the format page).
struct TPageCommand {
    std::uint8_t code = 0;
    std::int64_t offset = 0;
    std::vector<QPointF> points; // points and rectangle corners, in order
    float f[4] = {0, 0, 0, 0};   // float operands after the points (x, width, scales, corners)
    int floatCount = 0;
    std::int32_t i32 = 0;  // colour or length operand
    std::int32_t i32b = 0; // second int32 (flood fill style)
    std::int16_t i16 = 0;  // rotation
    std::uint8_t b = 0;    // byte operand
    QByteArray text;
    std::uint8_t graphicKind = 0;
    QByteArray graphic;
    bool hasGraphic = false;
    // Codes 50 and 40/70 carry several fields; they are spread over the members above:
    // font: text = name, i32 = colour, b = pitch, f[0] = size, flags = bold,italic,underline,strike
    std::uint8_t flags[4] = {0, 0, 0, 0};
    std::uint8_t b2 = 0; // pen style / brush pattern flag
};

class TPageStreamReader {
public:
    TPageStreamReader(const char* data, std::int64_t size) : mData(data), mSize(size) {}
    explicit TPageStreamReader(const QByteArray& bytes)
        : mData(bytes.constData()), mSize(bytes.size())
    {
    }

    std::int64_t Size() const { return mSize; }
    std::int64_t Position() const { return mPos; }
    void Seek(std::int64_t position);
    bool AtEnd() const { return mPos >= mSize; }

    TPageStreamHeader ReadHeader();
    // Reads the page record at the current position.
    TPageRecord ReadPageRecord();
    // Decodes the next command; code 82 ends a page.
    void ReadCommand(TPageCommand& command);

    std::uint8_t Byte();
    std::int16_t Int16();
    std::int32_t Int32();
    float Float();
    QPointF Point();
    QByteArray Text();

    [[noreturn]] void Fail() const;

private:
    void Need(std::int64_t bytes) const;
    void Graphic(TPageCommand& command);
    void Points(TPageCommand& command, int count);
    void PointList(TPageCommand& command);

    const char* mData;
    std::int64_t mSize;
    std::int64_t mPos = 0;
};

} // namespace qm::print
