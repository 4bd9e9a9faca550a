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
    mBuffer.reserve(stream::kBufferSize);
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
    for (int i = 0; i < 4; ++i)
        Byte(std::uint8_t((v >> (8 * i)) & 0xFF));
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
        const std::size_t room = stream::kBufferSize - mBuffer.size();
        const std::size_t n = std::min(room, size);
        mBuffer.insert(mBuffer.end(), p, p + n);
        p += n;
        size -= n;
        if (mBuffer.size() >= stream::kBufferSize)
            Flush();
    }
}

void TPageStreamWriter::Flush()
{
    if (mBuffer.empty())
        return;
    const auto n = qint64(mBuffer.size());
    if (mDevice->write(reinterpret_cast<const char*>(mBuffer.data()), n) != n)
        throw TPrintError(TPrintErrorKind::Stream, mDevice->errorString());
    mFlushed += n;
    mBuffer.clear();
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
        std::memcpy(mBuffer.data() + (position - mFlushed), data, size);
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
