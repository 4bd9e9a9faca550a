#pragma once

// The presort file PRESORT.PSL in the program home: the presort list, one marker or key per line,
// each line ended by CR LF, in Windows-1252 without a byte-order mark, so that every key holds
// the very bytes of the address file's ZIP field. Lists written with a UTF-8 byte-order mark (as
// earlier versions did) are still read. It is replaced whole: written to a temporary file beside
// it, then renamed over the old one.

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>

namespace qm::labels {

class TPresortFile {
public:
    static QString FileName() { return QStringLiteral("PRESORT.PSL"); }

    // The file's bytes; nothing when a line holds a character Windows-1252 has not (then *bad,
    // if given, is that character). Keys come from the address file, so theirs always fit.
    static std::optional<QByteArray> Encode(const QStringList& lines, QChar* bad = nullptr);
    // The lines of a file's bytes: UTF-8 after a UTF-8 byte-order mark, else Windows-1252; lines
    // end in CR LF or LF, and a missing last line end is accepted.
    static QStringList Decode(const QByteArray& bytes);

    // Writes the list to path. When the cancel flag is set before the new file is in place the
    // old file is kept; when it is set by the time the rename is done, the new file is removed
    // again, so a cancelled run never leaves its list behind. False, with *error, on a failure;
    // false without an error when cancelled.
    static bool Write(const QString& path, const QStringList& lines, QString* error,
                      const std::atomic<bool>* cancel = nullptr);
    // The same with the cancel question asked by a function: once before the rename and once
    // after it.
    static bool Write(const QString& path, const QStringList& lines, QString* error,
                      const std::function<bool()>& cancelled);
};

} // namespace qm::labels
