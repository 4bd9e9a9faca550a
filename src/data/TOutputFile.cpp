#include "data/TOutputFile.h"

#include <QFileInfo>

namespace qm::data {

QString TOutputFile::Refusal(const QString& name)
{
    const QFileInfo target(name);
    if (target.exists() && !target.isFile())
        return QStringLiteral("it is not a regular file (a folder, a device or a pipe)");
    return {};
}

bool TOutputFile::open(OpenMode mode)
{
    if (const QString refusal = Refusal(fileName()); !refusal.isEmpty()) {
        setErrorString(refusal);
        return false;
    }
    return QSaveFile::open(mode);
}

} // namespace qm::data
