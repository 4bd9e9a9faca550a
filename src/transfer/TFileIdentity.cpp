#include "transfer/TFileIdentity.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace qm::transfer {

bool TFileIdentity::Same(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    std::error_code error;
    const bool same = std::filesystem::equivalent(std::filesystem::path(a.toStdU16String()),
                                                  std::filesystem::path(b.toStdU16String()), error);
    if (!error)
        return same;
    // One of them does not exist (yet): the same name in the same folder is still the same file.
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

bool TFileIdentity::PartOfTable(const QString& path, const QString& table)
{
    if (Same(path, table))
        return true;
    if (path.isEmpty() || table.isEmpty())
        return false;
    const QFileInfo out(path);
    const QFileInfo in(table);
    if (out.completeBaseName().compare(in.completeBaseName(), Qt::CaseInsensitive) != 0)
        return false;
    const QString suffix = out.suffix();
    bool tableFile = false;
    for (const char* kind : {"DBF", "FPT", "DBT", "CDX", "MDX", "IDX"})
        tableFile = tableFile || suffix.compare(QLatin1String(kind), Qt::CaseInsensitive) == 0;
    return tableFile && Same(out.absolutePath(), in.absolutePath());
}

} // namespace qm::transfer
