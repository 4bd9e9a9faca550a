#pragma once

// One value of a layout stream as read: its tag and payload. Property setters of the object kinds
// take a TLayoutValue and ask for the type they expect; asking for another type throws
// TLayoutError (InvalidValue), which the filer reports as "Error reading Name.Prop: Invalid
// property value". The byte layout of every tag is in docs/formats/layout-stream.md.

#include "design/stream/TGColor.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>
#include <vector>

namespace qm::design {

// Value tags, as stored.
enum class TLayoutTag : std::uint8_t {
    vaNull = 0x00,
    vaList = 0x01,
    vaInt8 = 0x02,
    vaInt16 = 0x03,
    vaInt32 = 0x04,
    vaExtended = 0x05,
    vaString = 0x06,
    vaIdent = 0x07,
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaBinary = 0x0A,
    vaSet = 0x0B,
    vaLString = 0x0C,
    vaNil = 0x0D,
    vaCollection = 0x0E,
};

struct TLayoutValue {
    TLayoutTag tag = TLayoutTag::vaNull;
    std::int32_t integer = 0;        // vaInt8, vaInt16, vaInt32
    QByteArray bytes;                // vaString, vaLString, vaIdent, vaBinary, vaExtended (raw)
    QList<QByteArray> members;       // vaSet
    std::vector<TLayoutValue> items; // vaList (without the closing vaNull)

    bool IsInteger() const
    {
        return tag == TLayoutTag::vaInt8 || tag == TLayoutTag::vaInt16 ||
               tag == TLayoutTag::vaInt32;
    }
    bool IsString() const { return tag == TLayoutTag::vaString || tag == TLayoutTag::vaLString; }

    // Each accessor throws TLayoutError(InvalidValue) when the value is not of its type.
    std::int32_t AsInteger() const;
    bool AsBoolean() const;
    // Decoded from Windows-1252.
    QString AsString() const;
    QByteArray AsIdent() const;
    // An integer, or an identifier naming a colour ("clWhite", "clBtnFace", "clNone").
    TGColor AsColor() const;
    QList<QByteArray> AsSet() const;
    // A list whose items are all strings ("Items.Strings").
    QStringList AsStrings() const;
    QByteArray AsBinary() const;
    // An identifier among names (any letter case): its index. Unknown names are invalid values.
    int AsEnum(std::span<const char* const> names) const;
    // A set whose members are all among names: a bit mask (bit i = names[i]).
    unsigned AsSetMask(std::span<const char* const> names) const;
};

} // namespace qm::design
