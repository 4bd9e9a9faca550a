#pragma once

// Writes layout stream values into a byte buffer (docs/formats/layout-stream.md).
//
// Two levels:
// - values: WriteInteger/WriteString/... append one tagged value (the report settings list uses
//   these directly);
// - properties: the Property* calls append "name, value" entries as the object kinds publish
//   them, applying the writing rules: smallest integer tag, strings up to 255 bytes as 0x06 and
//   longer ones as 0x0C, empty strings left out, named colours as identifiers, sets in the order
//   of their name table. Kinds write their properties in stream order in WriteProperties().
//
// Text is Windows-1252; a text that code page cannot hold throws TLayoutError (Text) naming the
// character, so a layout is never saved with characters silently replaced.

#include "design/stream/TGColor.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>

namespace qm::design {

class TLayoutWriter {
public:
    explicit TLayoutWriter(QByteArray& buffer) : mBuffer(buffer) {}

    QByteArray& Buffer() { return mBuffer; }

    // ---- raw pieces
    void WriteByte(std::uint8_t byte) { mBuffer.append(char(byte)); }
    // One length byte and the bytes; a name longer than 255 bytes throws (never written by the
    // program: class, property and component names are short).
    void WriteShortString(const QByteArray& text);
    void WriteListStart() { WriteByte(0x01); }
    void WriteListEnd() { WriteByte(0x00); }

    // ---- values
    void WriteInteger(std::int32_t value);
    void WriteBoolean(bool value);
    void WriteString(const QString& text);
    void WriteIdent(const QByteArray& ident);
    void WriteColor(TGColor color);
    void WriteBinary(const QByteArray& bytes);
    void WriteSet(const QList<QByteArray>& members);

    // ---- properties (name, then value)
    void PropertyInteger(const char* name, std::int32_t value);
    void PropertyBoolean(const char* name, bool value);
    // Left out when text is empty.
    void PropertyString(const char* name, const QString& text);
    void PropertyIdent(const char* name, const QByteArray& ident);
    // names[index]; the index must be inside the table.
    void PropertyEnum(const char* name, std::span<const char* const> names, int index);
    void PropertyColor(const char* name, TGColor color);
    // Members in table order: bit i of mask is names[i].
    void PropertySet(const char* name, std::span<const char* const> names, unsigned mask);
    // A list of strings; left out when there are no lines.
    void PropertyStrings(const char* name, const QStringList& lines);
    // Left out when bytes is empty.
    void PropertyBinary(const char* name, const QByteArray& bytes);

private:
    QByteArray Encode(const QString& text) const;

    QByteArray& mBuffer;
};

} // namespace qm::design
