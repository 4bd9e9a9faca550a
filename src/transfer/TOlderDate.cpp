#include "transfer/TOlderDate.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace qm::transfer {

std::string TOlderDate::Convert(std::string_view value)
{
    const QString text = QString::fromLatin1(value.data(), qsizetype(value.size())).trimmed();
    if (text.isEmpty())
        return {};
    if (text.size() >= 8) {
        bool okYear = false, okMonth = false, okDay = false;
        const int year = text.left(4).toInt(&okYear);
        const int month = text.mid(4, 2).toInt(&okMonth);
        const int day = text.mid(6, 2).toInt(&okDay);
        const bool digits =
            std::all_of(text.begin(), text.begin() + 8, [](QChar c) { return c.isDigit(); });
        if (digits && okYear && okMonth && okDay && QDate(year, month, day).isValid())
            return text.toStdString();
    }
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() == 3) {
        bool okMonth = false, okDay = false, okYear = false;
        const int month = parts[0].toInt(&okMonth);
        const int day = parts[1].toInt(&okDay);
        int year = parts[2].toInt(&okYear);
        const qsizetype yearDigits = parts[2].size();
        if (okMonth && okDay && okYear && parts[0].size() <= 2 && parts[1].size() <= 2 &&
            (yearDigits == 4 || yearDigits == 2)) {
            if (yearDigits == 2)
                year += year < 50 ? 2000 : 1900;
            const QDate date(year, month, day);
            if (date.isValid())
                return date.toString(QStringLiteral("yyyyMMdd")).toStdString();
        }
    }
    return {};
}

} // namespace qm::transfer
