#include "addressbook/TRecentFiles.h"

#include "data/TSettingsFile.h"

namespace qm::addressbook {
namespace {

QString Key(int n)
{
    return QStringLiteral("Item%1").arg(n);
}

} // namespace

QStringList TRecentFiles::Load(const data::TSettingsFile& settings)
{
    QStringList paths;
    for (int n = 1; n <= kMaxEntries; ++n) {
        const QString path = settings.ReadString(QStringLiteral("MRU"), Key(n));
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

void TRecentFiles::Push(data::TSettingsFile& settings, const QString& path)
{
    QStringList list{path};
    for (const QString& old : Load(settings))
        if (old != path)
            list << old;
    while (list.size() > kMaxEntries)
        list.removeLast();
    for (int i = 0; i < list.size(); ++i)
        settings.WriteString(QStringLiteral("MRU"), Key(i + 1), list[i]);
}

} // namespace qm::addressbook
