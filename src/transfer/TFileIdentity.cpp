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

} // namespace qm::transfer
