#pragma once

// The presort file PRESORT.PSL in the program home: the presort list, one marker or key per line,
// each line ended by CR LF, UTF-8 with a byte-order mark as every text file the program writes.
// It is replaced whole: written to a temporary file beside it, then renamed over the old one.

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace qm::labels {

class TPresortFile {
public:
    static QString FileName() { return QStringLiteral("PRESORT.PSL"); }

    static QByteArray Encode(const QStringList& lines);

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
