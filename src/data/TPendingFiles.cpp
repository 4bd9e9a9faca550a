#include "data/TPendingFiles.h"

#include "data/TOutputFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace qm::data {
namespace {

const QString kMarker = QStringLiteral(".qm-pending");

} // namespace

QString TPendingFiles::MarkerPath(const QString& path)
{
    return path + kMarker;
}

bool TPendingFiles::Mark(const QString& path, QString* reason)
{
    QFile marker(MarkerPath(path));
    if (!marker.open(QIODevice::WriteOnly)) {
        if (reason)
            *reason = marker.errorString();
        return false;
    }
    marker.close();
    return true;
}

void TPendingFiles::Clear(const QString& path)
{
    QFile::remove(MarkerPath(path));
}

QStringList TPendingFiles::Settle(const QString& folder, const QString& wildcard,
                                  const std::function<bool(const QString& name)>& held)
{
    QStringList removed;
    const QDir dir(folder);
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QRegularExpression::wildcardToRegularExpression(
            wildcard, QRegularExpression::UnanchoredWildcardConversion)),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList markers =
        dir.entryList({QStringLiteral("*") + kMarker}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& marker : markers) {
        const QString name = marker.left(marker.size() - kMarker.size());
        if (!pattern.match(name).hasMatch())
            continue;
        const QString path = dir.filePath(name);
        if (!held(name)) {
            TOutputFile::RemoveLeftovers(path);
            if (QFile::exists(path) && QFile::remove(path))
                removed << name;
        }
        QFile::remove(dir.filePath(marker));
    }
    return removed;
}

} // namespace qm::data
