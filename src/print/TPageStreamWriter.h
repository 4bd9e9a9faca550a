#pragma once

// Writes the bytes of a page stream (docs/formats/page-stream.md) into a caller's device.
//
// Contract:
// - The device is not owned; it must be open for writing, seekable, and outlive the writer.
//   Positions are counted from where the device stood when the writer was made (the header's
//   first byte is position 0).
// - Output is collected in blocks of stream::kBufferSize bytes; an operand larger than a block
//   goes to the device directly. Finish() (or Flush()) must run before the device is read.
// - Link and count fields written as placeholders are filled in with PatchInt16/PatchInt32,
//   which work whether the position is still buffered or already in the device.
// - Texts are cut to 255 bytes here; callers that must keep longer texts split them first.

#include "print/TPageStreamFormat.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;

namespace qm::print {

class TPageStreamWriter {
public:
    explicit TPageStreamWriter(QIODevice* device);
    TPageStreamWriter(const TPageStreamWriter&) = delete;
    TPageStreamWriter& operator=(const TPageStreamWriter&) = delete;
    ~TPageStreamWriter();

    // Absolute position of the next byte written.
    std::int64_t Position() const { return mFlushed + std::int64_t(mUsed); }

    void Code(stream::TCode code) { Byte(static_cast<std::uint8_t>(code)); }
    void Byte(std::uint8_t value)
    {
        mBuffer[mUsed++] = value;
        if (mUsed >= stream::kBufferSize)
            Flush();
    }
    void Int16(std::int16_t value);
    void Int32(std::int32_t value);
    void Float(float value);
    void Float(double value) { Float(static_cast<float>(value)); }
    void Point(QPointF p)
    {
        Float(p.x());
        Float(p.y());
    }
    void Rect(const QRectF& r)
    {
        Point(r.topLeft());
        Point(r.bottomRight());
    }
    // A length byte and at most 255 bytes of text.
    void Text(const QByteArray& text);
    // Kind byte, int32 byte count, the bytes.
    void Graphic(std::uint8_t kind, const QByteArray& bytes);
    void Bytes(const char* data, std::size_t size);

    void PatchInt16(std::int64_t position, std::int16_t value);
    void PatchInt32(std::int64_t position, std::int32_t value);

    // Hands the buffered bytes to the device.
    void Flush();

private:
    void PatchBytes(std::int64_t position, const char* data, std::size_t size);

    QIODevice* mDevice;
    std::unique_ptr<std::uint8_t[]> mBuffer; // stream::kBufferSize bytes
    std::size_t mUsed = 0;
    std::int64_t mBase = 0;    // device position of stream position 0
    std::int64_t mFlushed = 0; // stream position of mBuffer[0]
};

} // namespace qm::print
