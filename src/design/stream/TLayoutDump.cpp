#include "design/stream/TLayoutDump.h"

#include "data/TWin1252.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutReader.h"
#include "design/stream/TLayoutValue.h"

namespace qm::design {

namespace {

QString Quote(const QByteArray& bytes)
{
    const QString text = data::TWin1252::Decode(bytes);
    QString out;
    bool inQuotes = false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20) {
            if (inQuotes) {
                out += QLatin1Char('\'');
                inQuotes = false;
            }
            out += QStringLiteral("#%1").arg(c.unicode());
            continue;
        }
        if (!inQuotes) {
            out += QLatin1Char('\'');
            inQuotes = true;
        }
        out += c;
        if (c == QLatin1Char('\''))
            out += c;
    }
    if (inQuotes)
        out += QLatin1Char('\'');
    return out.isEmpty() ? QStringLiteral("''") : out;
}

QString Hex(const QByteArray& bytes, int limit)
{
    QString out;
    for (int i = 0; i < bytes.size() && i < limit; ++i) {
        if (i)
            out += QLatin1Char(' ');
        out += QStringLiteral("%1").arg(std::uint8_t(bytes[i]), 2, 16, QLatin1Char('0')).toUpper();
    }
    if (bytes.size() > limit)
        out += QStringLiteral(" ...");
    return out;
}

void DumpList(TLayoutReader& in, QStringList& lines)
{
    in.ReadListStart();
    while (!in.AtListEnd()) {
        const qint64 at = in.Position();
        if (in.ReadBytes(4) != QByteArrayView("TPF0", 4))
            throw TLayoutError::InvalidStreamFormat(at);
        const QByteArray className = in.ReadShortString();
        const QByteArray name = in.ReadShortString();
        lines << QStringLiteral("object %1 %2")
                     .arg(QString::fromLatin1(className), data::TWin1252::Decode(name));
        while (!in.AtListEnd()) {
            const QByteArray property = in.ReadShortString();
            const TLayoutValue value = in.ReadValue();
            lines << QStringLiteral("  %1 = %2")
                         .arg(QString::fromLatin1(property), TLayoutDump::FormatValue(value));
        }
        const qint64 childrenAt = in.Position();
        if (in.ReadByte() != 0)
            throw TLayoutError::InvalidStreamFormat(childrenAt);
        lines << QStringLiteral("end");
    }
}

} // namespace

QString TLayoutDump::FormatValue(const TLayoutValue& value)
{
    switch (value.tag) {
    case TLayoutTag::vaInt8:
    case TLayoutTag::vaInt16:
    case TLayoutTag::vaInt32:
        return QString::number(value.integer);
    case TLayoutTag::vaString:
    case TLayoutTag::vaLString:
        return Quote(value.bytes);
    case TLayoutTag::vaIdent:
        return QString::fromLatin1(value.bytes);
    case TLayoutTag::vaFalse:
        return QStringLiteral("False");
    case TLayoutTag::vaTrue:
        return QStringLiteral("True");
    case TLayoutTag::vaNil:
        return QStringLiteral("nil");
    case TLayoutTag::vaNull:
        return QStringLiteral("<end of list>");
    case TLayoutTag::vaExtended:
        return QStringLiteral("{extended %1}").arg(Hex(value.bytes, 10));
    case TLayoutTag::vaBinary:
        return QStringLiteral("{%1 bytes: %2}").arg(value.bytes.size()).arg(Hex(value.bytes, 16));
    case TLayoutTag::vaSet: {
        QStringList members;
        for (const QByteArray& m : value.members)
            members << QString::fromLatin1(m);
        return QStringLiteral("[%1]").arg(members.join(QStringLiteral(", ")));
    }
    case TLayoutTag::vaList: {
        QStringList items;
        for (const TLayoutValue& item : value.items)
            items << FormatValue(item);
        return QStringLiteral("(%1)").arg(items.join(QStringLiteral(", ")));
    }
    case TLayoutTag::vaCollection:
        break;
    }
    return QStringLiteral("?");
}

TLayoutDumpResult TLayoutDump::Dump(const QByteArray& bytes)
{
    TLayoutDumpResult result;
    TLayoutReader in(bytes);
    try {
        DumpList(in, result.lines);
        if (!in.AtEnd()) {
            // A report stream: two more bands, then the settings list.
            result.lines.prepend(QStringLiteral("band 1"));
            for (int band = 2; band <= 3; ++band) {
                result.lines << QStringLiteral("band %1").arg(band);
                DumpList(in, result.lines);
            }
            result.lines << QStringLiteral("settings");
            in.ReadListStart();
            while (!in.AtListEnd())
                result.lines << QStringLiteral("  %1").arg(FormatValue(in.ReadValue()));
        }
        if (!in.AtEnd())
            throw TLayoutError::InvalidStreamFormat(in.Position());
    } catch (const TLayoutError& error) {
        result.error = error.Message();
        result.errorOffset = error.Offset();
    }
    return result;
}

} // namespace qm::design
