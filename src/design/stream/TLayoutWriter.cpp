#include "design/stream/TLayoutWriter.h"

#include "data/TWin1252.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutValue.h"

#include <QtEndian>

namespace qm::design {

namespace {
void AppendLe32(QByteArray& buffer, std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    buffer.append(bytes, 4);
}
} // namespace

void TLayoutWriter::WriteShortString(const QByteArray& text)
{
    if (text.size() > 255)
        throw TLayoutError(TLayoutErrorKind::Text,
                           QStringLiteral("The name \"%1\" is longer than 255 characters")
                               .arg(QString::fromLatin1(text.left(40))));
    WriteByte(std::uint8_t(text.size()));
    mBuffer.append(text);
}

void TLayoutWriter::WriteInteger(std::int32_t value)
{
    if (value >= -128 && value <= 127) {
        WriteByte(std::uint8_t(TLayoutTag::vaInt8));
        WriteByte(std::uint8_t(std::int8_t(value)));
    } else if (value >= -32768 && value <= 32767) {
        WriteByte(std::uint8_t(TLayoutTag::vaInt16));
        char bytes[2];
        qToLittleEndian(std::int16_t(value), bytes);
        mBuffer.append(bytes, 2);
    } else {
        WriteByte(std::uint8_t(TLayoutTag::vaInt32));
        AppendLe32(mBuffer, std::uint32_t(value));
    }
}

void TLayoutWriter::WriteBoolean(bool value)
{
    WriteByte(std::uint8_t(value ? TLayoutTag::vaTrue : TLayoutTag::vaFalse));
}

QByteArray TLayoutWriter::Encode(const QString& text) const
{
    QChar bad;
    const auto bytes = data::TWin1252::Encode(text, &bad);
    if (!bytes)
        throw TLayoutError(
            TLayoutErrorKind::Text,
            QStringLiteral("The character \"%1\" (U+%2) cannot be stored in a layout")
                .arg(bad)
                .arg(bad.unicode(), 4, 16, QLatin1Char('0')));
    return *bytes;
}

void TLayoutWriter::WriteString(const QString& text)
{
    const QByteArray bytes = Encode(text);
    if (bytes.size() <= 255) {
        WriteByte(std::uint8_t(TLayoutTag::vaString));
        WriteShortString(bytes);
    } else {
        WriteByte(std::uint8_t(TLayoutTag::vaLString));
        AppendLe32(mBuffer, std::uint32_t(bytes.size()));
        mBuffer.append(bytes);
    }
}

void TLayoutWriter::WriteIdent(const QByteArray& ident)
{
    WriteByte(std::uint8_t(TLayoutTag::vaIdent));
    WriteShortString(ident);
}

void TLayoutWriter::WriteColor(TGColor color)
{
    if (const auto name = color.Name())
        WriteIdent(*name);
    else
        WriteInteger(color.value);
}

void TLayoutWriter::WriteBinary(const QByteArray& bytes)
{
    WriteByte(std::uint8_t(TLayoutTag::vaBinary));
    AppendLe32(mBuffer, std::uint32_t(bytes.size()));
    mBuffer.append(bytes);
}

void TLayoutWriter::WriteSet(const QList<QByteArray>& members)
{
    WriteByte(std::uint8_t(TLayoutTag::vaSet));
    for (const QByteArray& member : members)
        WriteShortString(member);
    WriteByte(0);
}

void TLayoutWriter::PropertyInteger(const char* name, std::int32_t value)
{
    WriteShortString(name);
    WriteInteger(value);
}

void TLayoutWriter::PropertyBoolean(const char* name, bool value)
{
    WriteShortString(name);
    WriteBoolean(value);
}

void TLayoutWriter::PropertyString(const char* name, const QString& text)
{
    if (text.isEmpty())
        return;
    const QByteArray bytes = Encode(text); // refuse before the name is written
    Q_UNUSED(bytes);
    WriteShortString(name);
    WriteString(text);
}

void TLayoutWriter::PropertyIdent(const char* name, const QByteArray& ident)
{
    WriteShortString(name);
    WriteIdent(ident);
}

void TLayoutWriter::PropertyEnum(const char* name, std::span<const char* const> names, int index)
{
    Q_ASSERT(index >= 0 && std::size_t(index) < names.size());
    PropertyIdent(name, QByteArray(names[std::size_t(index)]));
}

void TLayoutWriter::PropertyColor(const char* name, TGColor color)
{
    WriteShortString(name);
    WriteColor(color);
}

void TLayoutWriter::PropertySet(const char* name, std::span<const char* const> names, unsigned mask)
{
    QList<QByteArray> members;
    for (std::size_t i = 0; i < names.size() && i < 32; ++i)
        if (mask & (1u << i))
            members.append(QByteArray(names[i]));
    WriteShortString(name);
    WriteSet(members);
}

void TLayoutWriter::PropertyStrings(const char* name, const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    WriteShortString(name);
    WriteListStart();
    for (const QString& line : lines)
        WriteString(line);
    WriteListEnd();
}

void TLayoutWriter::PropertyBinary(const char* name, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    WriteShortString(name);
    WriteBinary(bytes);
}

} // namespace qm::design
