#include "transfer/TCopyOutTarget.h"

#include "data/TOutputFile.h"
#include "transfer/TFileIdentity.h"

#include <QFileInfo>

namespace qm::transfer {

TCopyOutTarget::TCheck TCopyOutTarget::Check(const QString& path, TCopyTargetKind kind,
                                             const QString& openAddressFile)
{
    const QFileInfo info(path);
    if (kind == TCopyTargetKind::Dbf &&
        info.suffix().compare(QLatin1String("DBF"), Qt::CaseInsensitive) != 0)
        return {TVerdict::Refused, QStringLiteral("Must have a .DBF extension")};
    if (TFileIdentity::PartOfTable(path, openAddressFile))
        return {TVerdict::Refused, QStringLiteral("Cannot copy a file to itself!")};
    if (const QString refusal = data::TOutputFile::Refusal(path); !refusal.isEmpty())
        return {TVerdict::Refused, path + QStringLiteral(": ") + refusal};
    if (info.exists())
        return {TVerdict::AskOverwrite, OverwriteQuestion(path)};
    return {};
}

QString TCopyOutTarget::WithDefaultExtension(const QString& path, TCopyTargetKind kind)
{
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    switch (kind) {
    case TCopyTargetKind::Dbf:
        return path + QStringLiteral(".DBF");
    case TCopyTargetKind::VCard:
        return path + QStringLiteral(".vcf");
    case TCopyTargetKind::Text:
        break;
    }
    return path + QStringLiteral(".TXT");
}

QString TCopyOutTarget::OverwriteQuestion(const QString& path)
{
    return path + QStringLiteral(" already exists.\r\nDo you want to overwrite it?");
}

} // namespace qm::transfer
