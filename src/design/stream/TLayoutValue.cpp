#include "design/stream/TLayoutValue.h"

#include "data/TWin1252.h"
#include "design/stream/TLayoutError.h"

namespace qm::design {

std::int32_t TLayoutValue::AsInteger() const
{
    if (!IsInteger())
        throw TLayoutError::InvalidValue();
    return integer;
}

bool TLayoutValue::AsBoolean() const
{
    if (tag == TLayoutTag::vaTrue)
        return true;
    if (tag == TLayoutTag::vaFalse)
        return false;
    throw TLayoutError::InvalidValue();
}

QString TLayoutValue::AsString() const
{
    if (!IsString())
        throw TLayoutError::InvalidValue();
    return data::TWin1252::Decode(bytes);
}

QByteArray TLayoutValue::AsIdent() const
{
    if (tag != TLayoutTag::vaIdent)
        throw TLayoutError::InvalidValue();
    return bytes;
}

TGColor TLayoutValue::AsColor() const
{
    if (IsInteger())
        return TGColor{integer};
    if (tag == TLayoutTag::vaIdent)
        if (const auto color = TGColor::FromName(bytes))
            return *color;
    throw TLayoutError::InvalidValue();
}

QList<QByteArray> TLayoutValue::AsSet() const
{
    if (tag != TLayoutTag::vaSet)
        throw TLayoutError::InvalidValue();
    return members;
}

QStringList TLayoutValue::AsStrings() const
{
    if (tag != TLayoutTag::vaList)
        throw TLayoutError::InvalidValue();
    QStringList lines;
    lines.reserve(qsizetype(items.size()));
    for (const TLayoutValue& item : items)
        lines.append(item.AsString());
    return lines;
}

QByteArray TLayoutValue::AsBinary() const
{
    if (tag != TLayoutTag::vaBinary)
        throw TLayoutError::InvalidValue();
    return bytes;
}

int TLayoutValue::AsEnum(std::span<const char* const> names) const
{
    const QByteArray ident = AsIdent();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (ident.compare(names[i], Qt::CaseInsensitive) == 0)
            return int(i);
    throw TLayoutError::InvalidValue();
}

unsigned TLayoutValue::AsSetMask(std::span<const char* const> names) const
{
    unsigned mask = 0;
    for (const QByteArray& member : AsSet()) {
        bool found = false;
        for (std::size_t i = 0; i < names.size() && i < 32; ++i) {
            if (member.compare(names[i], Qt::CaseInsensitive) == 0) {
                mask |= 1u << i;
                found = true;
                break;
            }
        }
        if (!found)
            throw TLayoutError::InvalidValue();
    }
    return mask;
}

} // namespace qm::design
