#include "design/core/TLayoutFileNames.h"

#include "data/TFileFinder.h"
#include "design/stream/TLayoutError.h"

#include <QDir>
#include <QSet>

namespace qm::design {

QChar TLayoutFileNames::Extension(TLayoutKind kind)
{
    switch (kind) {
    case TLayoutKind::Label:
        return QLatin1Char('L');
    case TLayoutKind::Envelope:
        return QLatin1Char('E');
    case TLayoutKind::Report:
        return QLatin1Char('R');
    }
    return QLatin1Char('L');
}

QString TLayoutFileNames::Name(int number, TLayoutKind kind)
{
    return QStringLiteral("BIN%1.%2").arg(number, 5, 10, QLatin1Char('0')).arg(Extension(kind));
}

bool TLayoutFileNames::IsLayoutName(const QString& name)
{
    if (name.size() != 10 || !name.startsWith(QLatin1String("BIN"), Qt::CaseInsensitive) ||
        name[8] != QLatin1Char('.'))
        return false;
    for (int i = 3; i < 8; ++i)
        if (name[i] < QLatin1Char('0') || name[i] > QLatin1Char('9'))
            return false;
    const QChar ext = name[9].toUpper();
    return ext == QLatin1Char('L') || ext == QLatin1Char('E') || ext == QLatin1Char('R');
}

bool TLayoutFileNames::IsLayoutName(const QString& name, TLayoutKind kind)
{
    return IsLayoutName(name) && name[9].toUpper() == Extension(kind);
}

QString TLayoutFileNames::NewName(const QString& sysdataDir, TLayoutKind kind)
{
    return NewName(sysdataDir, kind, {});
}

QString TLayoutFileNames::NewName(const QString& sysdataDir, TLayoutKind kind,
                                  const QStringList& held)
{
    // One listing of the folder instead of 99999 look-ups.
    QSet<QString> taken;
    for (const QString& name : held)
        taken.insert(name.trimmed().toUpper());
    for (const QString& entry :
         QDir(sysdataDir).entryList(QDir::Files | QDir::Hidden | QDir::System))
        taken.insert(entry.toUpper());
    for (int n = 1; n <= kMaxNumber; ++n) {
        const QString name = Name(n, kind);
        if (!taken.contains(name))
            return name;
    }
    return Name(0, kind);
}

bool TLayoutFileNames::IsNoFreeName(const QString& name, TLayoutKind kind)
{
    return name.trimmed().compare(Name(0, kind), Qt::CaseInsensitive) == 0;
}

QString TLayoutFileNames::PathFor(const QString& sysdataDir, const QString& storedName)
{
    QString name = storedName;
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (!IsLayoutName(name))
        throw TLayoutError(
            TLayoutErrorKind::FileName,
            QStringLiteral("\"%1\" is not a layout file name. Layout files are named "
                           "BIN followed by five digits and .L, .E or .R, and are "
                           "kept in the sysdata folder.")
                .arg(storedName));
    const QString found = data::TFileFinder::FindInDir(sysdataDir, name);
    return found.isEmpty() ? QDir(sysdataDir).filePath(name.toUpper()) : found;
}

} // namespace qm::design
