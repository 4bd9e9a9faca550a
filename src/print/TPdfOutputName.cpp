#include "print/TPdfOutputName.h"

#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qm::print {
namespace {

constexpr qsizetype kMaxBaseName = 100;

const QString& Section()
{
    static const QString section = QStringLiteral("Printing");
    return section;
}

const QString& Key()
{
    static const QString key = QStringLiteral("PdfFolder");
    return key;
}

bool IsUnsafe(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c);
}

} // namespace

QString TPdfOutputName::FileName(const QString& jobName)
{
    QString name;
    name.reserve(jobName.size());
    for (const QChar c : jobName)
        name += c.isSpace() ? QLatin1Char(' ') : IsUnsafe(c) ? QLatin1Char('-') : c;
    name = name.simplified();
    // A leading dot would hide the file, and a trailing one is lost on some file systems.
    const auto edge = [](QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(' '); };
    while (!name.isEmpty() && edge(name.front()))
        name.remove(0, 1);
    name.truncate(kMaxBaseName);
    while (!name.isEmpty() && edge(name.back()))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("Quillmark");
    return name + QStringLiteral(".pdf");
}

QString TPdfOutputName::LastFolder()
{
    const QString home = data::TProgramHome::Current().Dir();
    if (!home.isEmpty()) {
        const data::TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
        const QString folder = settings.ReadString(Section(), Key());
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return QDir::cleanPath(folder);
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void TPdfOutputName::RememberFolder(const QString& filePath)
{
    if (data::TProgramHome::Current().Dir().isEmpty())
        return;
    data::TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
    settings.WriteString(Section(), Key(), QFileInfo(filePath).absolutePath());
}

QString TPdfOutputName::Suggested(const QString& jobName)
{
    return QDir(LastFolder()).filePath(FileName(jobName));
}

QString TPdfOutputName::WrittenLine(const QString& filePath)
{
    return QStringLiteral("Written to ") + QDir::toNativeSeparators(filePath);
}

} // namespace qm::print
