#pragma once

// Names of layout files. Each stored design has one file in sysdata/ named "BIN" + five digits +
// ".L" (label), ".E" (envelope) or ".R" (report); the design's table row holds the bare name.
// A name taken from a table row is accepted only in exactly that form (any letter case, trailing
// blanks of the column dropped); anything else (a path, "..", another name) is refused with
// TLayoutError(FileName) before any file is opened, so nothing outside sysdata/ is touched.

#include <QString>
#include <QStringList>

namespace qm::design {

enum class TLayoutKind { Label, Envelope, Report };

class TLayoutFileNames {
public:
    static constexpr int kMaxNumber = 99999;

    // 'L', 'E' or 'R'.
    static QChar Extension(TLayoutKind kind);
    // "BIN" + number with five digits + "." + extension.
    static QString Name(int number, TLayoutKind kind);

    // True for "BIN" + five digits + ".L"/".E"/".R" in any letter case.
    static bool IsLayoutName(const QString& name);
    // The same, and of the given kind.
    static bool IsLayoutName(const QString& name, TLayoutKind kind);

    // The first of BIN00001 .. BIN99999 with the kind's extension that does not exist in
    // sysdataDir (in any letter case); BIN00000 when all are taken.
    static QString NewName(const QString& sysdataDir, TLayoutKind kind);
    // The same, also avoiding every name in held (the names a table's rows still hold, whether
    // their files exist or not; any letter case, trailing blanks ignored), so two rows never
    // come to share a file.
    static QString NewName(const QString& sysdataDir, TLayoutKind kind, const QStringList& held);
    // True for BIN00000 of the kind (any letter case, trailing blanks ignored): NewName's answer
    // when no number is free. That file may belong to a layout already, so a new or cloned
    // layout is never written to it.
    static bool IsNoFreeName(const QString& name, TLayoutKind kind);

    // The path of a stored name inside sysdataDir: the existing file in any letter case, else the
    // path it would have. Throws TLayoutError(FileName) for a name that is not a layout name.
    static QString PathFor(const QString& sysdataDir, const QString& storedName);
};

} // namespace qm::design
