#include "design/objects/TImbSettings.h"

#include "data/TSettingsFile.h"
#include "design/barcode/TImbCode.h"

namespace qm::design {

namespace {

QString Section()
{
    return QString::fromLatin1(TImbSettings::kSection);
}

} // namespace

std::int64_t TImbSettings::ParseSerial(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 9)
        return -1;
    std::int64_t value = 0;
    for (const QChar c : trimmed) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

TImbSettings TImbSettings::Read(const data::TSettingsFile& settings)
{
    TImbSettings values;
    const QString section = Section();
    values.barcodeId =
        settings.ReadString(section, QStringLiteral("BarcodeId"), values.barcodeId).trimmed();
    values.serviceType = settings.ReadString(section, QStringLiteral("ServiceType")).trimmed();
    values.mailerId = settings.ReadString(section, QStringLiteral("MailerId")).trimmed();
    const std::int64_t next =
        ParseSerial(settings.ReadString(section, QStringLiteral("NextSerial")));
    values.nextSerial = next < 0 ? 0 : next;
    return values;
}

void TImbSettings::Write(data::TSettingsFile& settings) const
{
    const QString section = Section();
    settings.WriteString(section, QStringLiteral("BarcodeId"), barcodeId);
    settings.WriteString(section, QStringLiteral("ServiceType"), serviceType);
    settings.WriteString(section, QStringLiteral("MailerId"), mailerId);
    WriteNextSerial(settings, nextSerial);
}

void TImbSettings::WriteNextSerial(data::TSettingsFile& settings, std::int64_t next)
{
    settings.WriteString(Section(), QStringLiteral("NextSerial"), QString::number(next));
}

QString TImbSettings::Problem() const
{
    for (const QString& problem :
         {TImbCode::BarcodeIdProblem(barcodeId), TImbCode::ServiceTypeProblem(serviceType),
          TImbCode::MailerIdProblem(mailerId),
          NextSerialProblem(QString::number(nextSerial), mailerId)})
        if (!problem.isEmpty())
            return problem;
    return {};
}

QString TImbSettings::NextSerialProblem(const QString& text, const QString& mailerId)
{
    const std::int64_t value = ParseSerial(text);
    if (value < 0)
        return QStringLiteral("The next serial number \"%1\" is not a whole number of at most "
                              "nine digits.")
            .arg(text);
    if (TImbCode::MailerIdProblem(mailerId).isEmpty() && value > TImbCode::MaxSerial(mailerId))
        return QStringLiteral("The next serial number %1 does not fit the %2 digits the mailer "
                              "identifier %3 leaves for it.")
            .arg(value)
            .arg(TImbCode::SerialWidth(mailerId))
            .arg(mailerId);
    return {};
}

} // namespace qm::design
