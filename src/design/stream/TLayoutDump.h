#pragma once

// A layout stream as text, for people and tests: one block per object with its class, its stored
// name and its property entries in stream order, read without the class registry (any stream
// can be dumped, also one naming kinds this build lacks). A report stream shows its three bands
// and the settings list.
//
//   band 1                       (only for report streams)
//   object TGPLabel Component3
//     Left = 10
//     Caption = 'Hello'          (strings quoted, '' for a quote, #nn for control bytes)
//     Font.Color = clBlack       (identifiers bare)
//     Font.Style = []            (sets in brackets)
//     Items.Strings = ('a', 'b') (lists in parentheses)
//     Picture.Data = {1234 bytes: 07 54 42 ...}
//   end

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qm::design {

struct TLayoutValue;

struct TLayoutDumpResult {
    QStringList lines;
    QString error; // empty when the whole stream was read
    qint64 errorOffset = -1;
};

class TLayoutDump {
public:
    static TLayoutDumpResult Dump(const QByteArray& bytes);
    // One value as the dump shows it.
    static QString FormatValue(const TLayoutValue& value);
};

} // namespace qm::design
