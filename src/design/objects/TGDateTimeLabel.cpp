#include "design/objects/TGDateTimeLabel.h"

#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"

namespace qm::design {

namespace {

TGDateTimeLabel::TClock& Clock()
{
    static TGDateTimeLabel::TClock clock;
    return clock;
}

QLocale& Locale()
{
    static QLocale locale = QLocale::system();
    return locale;
}

} // namespace

void TGDateTimeLabel::SetClock(TClock clock)
{
    Clock() = std::move(clock);
}

void TGDateTimeLabel::SetLocale(const QLocale& locale)
{
    Locale() = locale;
}

void TGDateTimeLabel::SetDateFormat(TDateFormat format)
{
    mDateFormat = format;
    TextChanged();
}

void TGDateTimeLabel::SetTimeFormat(TTimeFormat format)
{
    mTimeFormat = format;
    TextChanged();
}

QString TGDateTimeLabel::CurrentCaption() const
{
    const QDateTime now = Clock() ? Clock()() : QDateTime::currentDateTime();
    return TDateTimeText::Caption(mDateFormat, mTimeFormat, now, Locale());
}

void TGDateTimeLabel::FitWidth()
{
    const QString caption = CurrentCaption();
    if (caption != Caption())
        SetCaption(caption);
    mText.FitWidth(*this, Caption());
}

void TGDateTimeLabel::Paint(QPainter& painter)
{
    const QString caption = CurrentCaption();
    if (caption != Caption())
        SetCaption(caption);
    mText.Paint(*this, painter, Caption());
}

void TGDateTimeLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    const QString caption = CurrentCaption();
    if (caption != Caption())
        SetCaption(caption);
    mText.Print(*this, canvas, x, y, Caption());
}

void TGDateTimeLabel::WriteProperties(TLayoutWriter& out) const
{
    TGBaseLabel::WriteProperties(out);
    out.PropertyEnum("DateFormat", kDateFormatNames, int(mDateFormat));
    out.PropertyEnum("TimeFormat", kTimeFormatNames, int(mTimeFormat));
}

bool TGDateTimeLabel::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "DateFormat"))
        SetDateFormat(TDateFormat(value.AsEnum(kDateFormatNames)));
    else if (SameName(name, "TimeFormat"))
        SetTimeFormat(TTimeFormat(value.AsEnum(kTimeFormatNames)));
    else
        return TGBaseLabel::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
