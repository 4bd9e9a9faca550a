#include "data/TTagIdentifier.h"

#include "data/TSettingsFile.h"

namespace qm::data {
namespace {

constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr qint64 kSixDigits = 36LL * 36 * 36 * 36 * 36 * 36;

} // namespace

QString TTagIdentifier::Base36(qint64 value)
{
    value %= kSixDigits;
    if (value < 0)
        value += kSixDigits;
    QString digits;
    while (value > 0) {
        digits.prepend(QLatin1Char(kDigits[value % 36]));
        value /= 36;
    }
    return digits;
}

QString TTagIdentifier::MakeNew(const QDateTime& now)
{
    const QDate d = now.date();
    const QTime t = now.time();
    const qint64 stamp = qint64(d.month()) * 100000000LL + qint64(d.day()) * 1000000LL +
                         t.hour() * 10000LL + t.minute() * 100LL + t.second();
    return Base36(d.year() - 1995) + Base36(stamp);
}

QString TTagIdentifier::LoadAndStore(TSettingsFile& settings, const QDateTime& now)
{
    QString id = settings.ReadString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId"));
    if (id.isEmpty())
        id = MakeNew(now);
    settings.WriteString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId"), id);
    return id;
}

QString TTagIdentifier::Renew(TSettingsFile& settings, const QDateTime& now)
{
    const QString id = MakeNew(now);
    settings.WriteString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId"), id);
    return id;
}

} // namespace qm::data
