#include "print/TPageStreamWriter.h"

#include "print/TPrintError.h"

#include <QIODevice>
#include <cstring>

namespace qm::print {

TPageStreamWriter::TPageStreamWriter(QIODevice* device) : mDevice(device)
{
    if (!mDevice)
        throw TPrintError(TPrintErrorKind::Stream, QString::fromLatin1(msg::kNoStream));
    mBase = mDevice->pos();
    mBuffer = std::make_unique<std::uint8_t[]>(stream::kBufferSize);
}

TPageStreamWriter::~TPageStreamWriter()
{
    try {
        Flush();
    } catch (...) {
        // A destructor must not throw; Finish() reports write errors to the job.
    }
}

void TPageStreamWriter::Int16(std::int16_t value)
{
    const auto v = static_cast<std::uint16_t>(value);
    Byte(std::uint8_t(v & 0xFF));
    Byte(std::uint8_t(v >> 8));
}

void TPageStreamWriter::Int32(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {std::uint8_t(v & 0xFF), std::uint8_t((v >> 8) & 0xFF),
                                   std::uint8_t((v >> 16) & 0xFF), std::uint8_t(v >> 24)};
    if (mUsed + 4 < stream::kBufferSize) {
        std::memcpy(mBuffer.get() + mUsed, bytes, 4);
        mUsed += 4;
        return;
    }
    Bytes(reinterpret_cast<const char*>(bytes), 4);
}

void TPageStreamWriter::Float(float value)
{
    std::uint32_t bits;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    Int32(static_cast<std::int32_t>(bits));
}

void TPageStreamWriter::Text(const QByteArray& text)
{
    const std::size_t n = std::min<std::size_t>(std::size_t(text.size()), stream::kMaxTextLength);
    Byte(std::uint8_t(n));
    Bytes(text.constData(), n);
}

void TPageStreamWriter::Graphic(std::uint8_t kind, const QByteArray& bytes)
{
    Byte(kind);
    Int32(std::int32_t(bytes.size()));
    Bytes(bytes.constData(), std::size_t(bytes.size()));
}

void TPageStreamWriter::Bytes(const char* data, std::size_t size)
{
    if (size > stream::kBufferSize) {
        // A large operand bypasses the block buffer.
        Flush();
        if (mDevice->write(data, qint64(size)) != qint64(size))
            throw TPrintError(TPrintErrorKind::Stream, mDevice->errorString());
        mFlushed += std::int64_t(size);
        return;
    }
    const auto* p = reinterpret_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const std::size_t room = stream::kBufferSize - mUsed;
        const std::size_t n = std::min(room, size);
        std::memcpy(mBuffer.get() + mUsed, p, n);
        mUsed += n;
        p += n;
        size -= n;
        if (mUsed >= stream::kBufferSize)
            Flush();
    }
}

void TPageStreamWriter::Flush()
{
    if (mUsed == 0)
        return;
    const auto n = qint64(mUsed);
    if (mDevice->write(reinterpret_cast<const char*>(mBuffer.get()), n) != n)
        throw TPrintError(TPrintErrorKind::Stream, mDevice->errorString());
    mFlushed += n;
    mUsed = 0;
}

void TPageStreamWriter::PatchInt16(std::int64_t position, std::int16_t value)
{
    const auto v = static_cast<std::uint16_t>(value);
    const char bytes[2] = {char(v & 0xFF), char(v >> 8)};
    PatchBytes(position, bytes, 2);
}

void TPageStreamWriter::PatchInt32(std::int64_t position, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                           char((v >> 24) & 0xFF)};
    PatchBytes(position, bytes, 4);
}

void TPageStreamWriter::PatchBytes(std::int64_t position, const char* data, std::size_t size)
{
    if (position >= mFlushed) {
        std::memcpy(mBuffer.get() + (position - mFlushed), data, size);
        return;
    }
    // The field straddles or precedes the buffer: put the buffer out first, then seek.
    Flush();
    const qint64 end = mDevice->pos();
    if (!mDevice->seek(mBase + position) || mDevice->write(data, qint64(size)) != qint64(size) ||
        !mDevice->seek(end))
        throw TPrintError(TPrintErrorKind::Stream, mDevice->errorString());
}

} // namespace qm::print
