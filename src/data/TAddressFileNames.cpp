#include "data/TAddressFileNames.h"

#include <QDir>
#include <QSet>

namespace qm::data {
namespace {

bool IsAsciiLetter(QChar c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

QString TAddressFileNames::ProposeNewName(const QString& dataDir)
{
    // One listing of the folder instead of 9,999 lookups; names compared in upper case.
    QSet<QString> taken;
    const QStringList entries = QDir(dataDir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        taken.insert(entry.toUpper());
    for (int n = 1; n <= 9999; ++n) {
        const QString name = QStringLiteral("ADD%1").arg(n, 4, 10, QLatin1Char('0'));
        if (!taken.contains(name + QStringLiteral(".DBF")))
            return name;
    }
    return QStringLiteral("ADD0001");
}

bool TAddressFileNames::IsValidName(const QString& name)
{
    if (name.isEmpty() || name.size() > kMaxNameLength)
        return false;
    if (!IsAsciiLetter(name[0]) && name[0] != '_')
        return false;
    for (QChar c : name)
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '_')
            return false;
    return true;
}

} // namespace qm::data
