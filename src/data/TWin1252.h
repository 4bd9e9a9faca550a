#pragma once

// Conversion between QString and the single-byte Windows-1252 text that tables, layout streams
// and older settings files hold. Encoding never replaces a character silently: a character the
// code page cannot hold is reported so the caller can refuse the text.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <optional>

namespace qm::data {

class TWin1252 {
public:
    static QString Decode(const QByteArray& bytes);
    static QString Decode(const char* data, qsizetype size);

    // The bytes, or nothing when some character cannot be held; then *bad (if given) is the first
    // such character.
    static std::optional<QByteArray> Encode(const QString& text, QChar* bad = nullptr);

    static bool CanEncode(const QString& text, QChar* bad = nullptr);

    // Upper case as the table engine's UPPER() makes it: every Windows-1252 letter to its capital,
    // length kept (ß and µ stay); characters outside the code page are left as they are.
    static QString Upper(const QString& text);

    // True when the bytes form valid UTF-8 (text files are read as UTF-8 when they are).
    static bool IsValidUtf8(const QByteArray& bytes);

    // Text read from a file: UTF-8 (a byte-order mark is dropped) when valid, else Windows-1252.
    static QString DecodeTextFile(const QByteArray& bytes);
};

} // namespace qm::data
