#include "addressbook/TColumnOrder.h"

#include "data/TOutputFile.h"
#include "data/TProgramHome.h"
#include "data/TWin1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace qm::addressbook {

QString TColumnOrder::FilePath()
{
    return QDir(data::TProgramHome::Current().SysDataDir()).filePath(QStringLiteral("FIELDS.LST"));
}

QStringList TColumnOrder::Apply(const QStringList& fields, const QStringList& lines)
{
    QStringList order = fields;
    for (qsizetype line = 0; line < lines.size(); ++line) {
        const QString name = lines[line].trimmed();
        if (name.isEmpty())
            continue;
        const auto it = std::find_if(order.begin(), order.end(), [&](const QString& f) {
            return f.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it == order.end())
            continue;
        order.move(qsizetype(it - order.begin()), std::min(line, order.size() - 1));
    }
    return order;
}

QStringList TColumnOrder::Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = data::TWin1252::DecodeTextFile(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString TColumnOrder::Write(const QString& path, const QStringList& fields)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    data::TOutputFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    file.write("\xEF\xBB\xBF");
    for (const QString& f : fields)
        file.write((f + QStringLiteral("\r\n")).toUtf8());
    if (!file.commit())
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace qm::addressbook
