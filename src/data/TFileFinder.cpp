#include "data/TFileFinder.h"

#include <QDir>
#include <QFileInfo>

namespace qm::data {

QString TFileFinder::FindInDir(const QString& dir, const QString& name)
{
    const QDir d(dir);
    if (QFileInfo::exists(d.filePath(name)))
        return d.filePath(name);
    const QStringList entries =
        d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return d.filePath(entry);
    return {};
}

QString TFileFinder::Find(const QString& base, const QString& relativePath)
{
    QString current = base;
    const QStringList parts =
        QDir::fromNativeSeparators(relativePath).split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        current = FindInDir(current, part);
        if (current.isEmpty())
            return {};
    }
    return current;
}

QString TFileFinder::FindCompanion(const QString& path, const QString& extension)
{
    const QFileInfo info(path);
    QString ext = extension;
    if (ext.startsWith('.'))
        ext.remove(0, 1);
    return FindInDir(info.absolutePath(), info.completeBaseName() + '.' + ext);
}

} // namespace qm::data
