#include "design/text/TDateTimeText.h"

namespace qm::design {

QString TDateTimeText::Caption(TDateFormat date, TTimeFormat time, const QDateTime& when,
                               const QLocale& locale)
{
    QString caption;
    switch (date) {
    case TDateFormat::dtfDateShort:
        caption = locale.toString(when.date(), QLocale::ShortFormat);
        break;
    case TDateFormat::dtfDateLong:
        caption = locale.toString(when.date(), QLocale::LongFormat);
        break;
    case TDateFormat::dtfDateNone:
        break;
    }
    if (time == TTimeFormat::dtfTimeShort)
        caption += QLatin1Char(' ') + locale.toString(when.time(), QLocale::ShortFormat);
    else if (time == TTimeFormat::dtfTimeLong)
        caption += QLatin1Char(' ') + locale.toString(when.time(), QLocale::LongFormat);
    return caption;
}

} // namespace qm::design
