#include "design/stream/TLayoutReader.h"

#include "design/stream/TLayoutError.h"

#include <QtEndian>

namespace qm::design {

void TLayoutReader::Need(qint64 count) const
{
    if (count < 0 || count > Remaining())
        throw TLayoutError::StreamRead(mPos);
}

std::uint8_t TLayoutReader::ReadByte()
{
    Need(1);
    return std::uint8_t(mBytes[mPos++]);
}

std::uint8_t TLayoutReader::PeekByte() const
{
    Need(1);
    return std::uint8_t(mBytes[mPos]);
}

QByteArray TLayoutReader::ReadBytes(qint64 count)
{
    Need(count);
    QByteArray bytes = mBytes.mid(mPos, count);
    mPos += count;
    return bytes;
}

std::uint32_t TLayoutReader::ReadLe32()
{
    Need(4);
    const std::uint32_t value = qFromLittleEndian<std::uint32_t>(mBytes.constData() + mPos);
    mPos += 4;
    return value;
}

QByteArray TLayoutReader::ReadShortString()
{
    const std::uint8_t length = ReadByte();
    return ReadBytes(length);
}

bool TLayoutReader::AtListEnd()
{
    if (PeekByte() != 0)
        return false;
    ++mPos;
    return true;
}

void TLayoutReader::ReadListStart()
{
    const qint64 at = mPos;
    if (ReadByte() != std::uint8_t(TLayoutTag::vaList))
        throw TLayoutError::InvalidStreamFormat(at);
}

void TLayoutReader::ReadListEnd()
{
    const qint64 at = mPos;
    if (ReadByte() != std::uint8_t(TLayoutTag::vaNull))
        throw TLayoutError::InvalidStreamFormat(at);
}

TLayoutValue TLayoutReader::ReadValue()
{
    return ReadValue(0);
}

TLayoutValue TLayoutReader::ReadValue(int depth)
{
    const qint64 at = mPos;
    TLayoutValue value;
    value.tag = TLayoutTag(ReadByte());
    switch (value.tag) {
    case TLayoutTag::vaNull:
    case TLayoutTag::vaFalse:
    case TLayoutTag::vaTrue:
    case TLayoutTag::vaNil:
        break;
    case TLayoutTag::vaList:
        if (depth >= kMaxDepth)
            throw TLayoutError::InvalidValue(at);
        while (!AtListEnd())
            value.items.push_back(ReadValue(depth + 1));
        break;
    case TLayoutTag::vaInt8:
        value.integer = std::int8_t(ReadByte());
        break;
    case TLayoutTag::vaInt16: {
        const QByteArray b = ReadBytes(2);
        value.integer = qFromLittleEndian<std::int16_t>(b.constData());
        break;
    }
    case TLayoutTag::vaInt32:
        value.integer = std::int32_t(ReadLe32());
        break;
    case TLayoutTag::vaExtended:
        value.bytes = ReadBytes(10);
        break;
    case TLayoutTag::vaString:
    case TLayoutTag::vaIdent:
        value.bytes = ReadShortString();
        break;
    case TLayoutTag::vaBinary:
    case TLayoutTag::vaLString: {
        const std::uint32_t length = ReadLe32();
        // Checked against the bytes left before anything is allocated.
        value.bytes = ReadBytes(qint64(length));
        break;
    }
    case TLayoutTag::vaSet:
        for (;;) {
            QByteArray member = ReadShortString();
            if (member.isEmpty())
                break;
            value.members.append(std::move(member));
        }
        break;
    default:
        // Collections are never written by design objects; unknown tags cannot be skipped.
        throw TLayoutError::InvalidValue(at);
    }
    return value;
}

} // namespace qm::design
