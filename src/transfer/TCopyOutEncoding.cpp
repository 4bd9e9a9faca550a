#include "transfer/TCopyOutEncoding.h"

#include "data/TSettingsFile.h"

namespace qm::transfer {

namespace {

const QString kSection = QStringLiteral("Export");
const QString kKey = QStringLiteral("Encoding");

} // namespace

std::optional<TCopyTextEncoding> TCopyOutEncoding::Parse(const QString& name)
{
    const QString lower = name.trimmed().toLower();
    if (lower == QLatin1String("windows-1252") || lower == QLatin1String("cp1252"))
        return TCopyTextEncoding::Windows1252;
    if (lower == QLatin1String("utf-8") || lower == QLatin1String("utf8"))
        return TCopyTextEncoding::Utf8;
    return std::nullopt;
}

QString TCopyOutEncoding::Name(TCopyTextEncoding encoding)
{
    return encoding == TCopyTextEncoding::Utf8 ? QStringLiteral("utf-8")
                                               : QStringLiteral("windows-1252");
}

QString TCopyOutEncoding::Caption(TCopyTextEncoding encoding)
{
    return encoding == TCopyTextEncoding::Utf8
               ? QStringLiteral("UTF-8 (with byte-order mark)")
               : QStringLiteral("Windows-1252 (as the address file holds it)");
}

TCopyTextEncoding TCopyOutEncoding::Stored(const QString& settingsPath)
{
    const data::TSettingsFile settings(settingsPath);
    return Parse(settings.ReadString(kSection, kKey)).value_or(TCopyTextEncoding::Windows1252);
}

void TCopyOutEncoding::Store(const QString& settingsPath, TCopyTextEncoding encoding)
{
    data::TSettingsFile settings(settingsPath);
    if (settings.ReadString(kSection, kKey) != Name(encoding))
        settings.WriteString(kSection, kKey, Name(encoding));
}

} // namespace qm::transfer
