#pragma once

// The caption of a date and time object: the date in the user's short or long regional format,
// then, when a time is wanted, one blank and the time in the short or long regional format.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace qm::design {

// Numbered in stream order.
enum class TDateFormat { dtfDateNone = 0, dtfDateShort, dtfDateLong };
enum class TTimeFormat { dtfTimeNone = 0, dtfTimeShort, dtfTimeLong };

class TDateTimeText {
public:
    // With no date and a time the caption begins with the blank.
    static QString Caption(TDateFormat date, TTimeFormat time, const QDateTime& when,
                           const QLocale& locale = QLocale::system());
};

} // namespace qm::design
