#include "data/TFilterFiles.h"

#include "data/TOutputFile.h"
#include "data/TWin1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qm::data {
namespace {

bool HasFltExtension(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("FLT"), Qt::CaseInsensitive) == 0;
}

} // namespace

TFilterFiles::TTarget TFilterFiles::SaveTarget(const QString& chosen)
{
    if (HasFltExtension(chosen))
        return {chosen, {}};
    if (QDir::fromNativeSeparators(chosen).contains(QLatin1Char('.')))
        return {{}, QStringLiteral("Must have a .FLT extension")};
    return {chosen + QStringLiteral(".FLT"), {}};
}

QString TFilterFiles::RestoreError(const QString& chosen)
{
    return HasFltExtension(chosen) ? QString() : QStringLiteral("Must be a Filter (.FLT) file");
}

QString TFilterFiles::OverwriteQuestion(const QString& path)
{
    return path + QStringLiteral(" already exists.\r\nDo you want to overwrite it?");
}

QString TFilterFiles::Write(const QString& path, const TFilterEntries& filter)
{
    TOutputFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    file.write("\xEF\xBB\xBF");
    file.write(TFilterBuilder::FileText(filter).toUtf8());
    if (!file.commit())
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    return {};
}

bool TFilterFiles::Read(const QString& path, TFilterEntries& filter, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    // UTF-8 when valid (a byte-order mark dropped), else Windows-1252.
    const QString text = data::TWin1252::DecodeTextFile(file.readAll());
    filter = TFilterBuilder::FromFileText(text);
    return true;
}

} // namespace qm::data
