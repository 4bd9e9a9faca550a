#include "letters/TMergeTexts.h"

namespace qm::letters {

namespace {

QString RightTrimmed(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

QString LeftTrimmed(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    return text.mid(start);
}

// Blanks only: the record's text keeps any other white space it holds.
QString Trimmed(const QString& text)
{
    return LeftTrimmed(RightTrimmed(text));
}

QString Field(const TMergeTexts::TValue& value, const char* name)
{
    return RightTrimmed(value(QString::fromLatin1(name)));
}

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

const std::vector<QString>& TMergeTexts::MarkerNames()
{
    static const std::vector<QString> names{
        QStringLiteral("Full Name"),    QStringLiteral("First"),
        QStringLiteral("Last"),         QStringLiteral("Middle"),
        QStringLiteral("Prefix"),       QStringLiteral("Title"),
        QStringLiteral("Organization"), QStringLiteral("Street"),
        QStringLiteral("Street 2"),     QStringLiteral("City+State+Zip"),
        QStringLiteral("City"),         QStringLiteral("State"),
        QStringLiteral("Province"),     QStringLiteral("Zip"),
        QStringLiteral("Postal Code"),  QStringLiteral("Country"),
        QStringLiteral("Phone"),        QStringLiteral("Fax"),
        QStringLiteral("E-Mail"),       QStringLiteral("Today's Date"),
        QStringLiteral("Long Date"),    QStringLiteral("Name and Address")};
    return names;
}

const std::vector<QString>& TMergeTexts::InsertFieldNames()
{
    static const std::vector<QString> names{QStringLiteral("Full Name"),
                                            QStringLiteral("Name and Address"),
                                            QStringLiteral("First"),
                                            QStringLiteral("Last"),
                                            QStringLiteral("Middle"),
                                            QStringLiteral("Prefix"),
                                            QStringLiteral("Title"),
                                            QStringLiteral("Organization"),
                                            QStringLiteral("Street"),
                                            QStringLiteral("Street 2"),
                                            QStringLiteral("City+State+Zip"),
                                            QStringLiteral("City"),
                                            QStringLiteral("State"),
                                            QStringLiteral("Province"),
                                            QStringLiteral("Zip"),
                                            QStringLiteral("Postal Code"),
                                            QStringLiteral("Country"),
                                            QStringLiteral("Phone"),
                                            QStringLiteral("Fax"),
                                            QStringLiteral("E-Mail"),
                                            QStringLiteral("Today's Date"),
                                            QStringLiteral("Long Date")};
    return names;
}

QString TMergeTexts::NameLine(const TValue& value)
{
    QString middle = Field(value, "MIDDLE");
    if (!middle.isEmpty())
        middle += QLatin1Char('.');
    QString line;
    for (const QString& part :
         {Field(value, "PREFIX"), Field(value, "FNAME"), middle, Field(value, "LNAME")})
        line += LeftTrimmed(part + QLatin1Char(' '));
    return line;
}

QString TMergeTexts::NameAndAddress(const TValue& value)
{
    QString block;
    const auto addLine = [&block](const QString& line) {
        if (!line.isEmpty())
            block += line + kCrLf;
    };
    addLine(NameLine(value));
    const QString title = Field(value, "TITLE");
    const QString org = Field(value, "ORG");
    if (org.isEmpty())
        addLine(title);
    else if (title.isEmpty())
        addLine(org);
    else
        addLine(title + QStringLiteral(",  ") + org);
    addLine(Field(value, "STREET"));
    addLine(Field(value, "STREET2"));
    const QString city = Field(value, "CITY");
    QString state = Field(value, "STATE");
    if (!state.isEmpty())
        state += QLatin1Char(' ');
    const QString zip = Field(value, "ZIP");
    if (!(city + state + zip).isEmpty())
        addLine(Trimmed(city + QLatin1Char(' ') + state + QLatin1Char(' ') + zip));
    addLine(Field(value, "COUNTRY"));
    return block;
}

TMergeTexts TMergeTexts::FromRecord(const TValue& value, const QDate& today, const QLocale& locale)
{
    const QString city = Field(value, "CITY");
    const QString state = Field(value, "STATE");
    const QString zip = Field(value, "ZIP");
    const QString longDate = locale.monthName(today.month(), QLocale::ShortFormat) +
                             QLatin1Char(' ') + QString::number(today.day()) +
                             QStringLiteral(", ") +
                             QStringLiteral("%1").arg(today.year(), 4, 10, QLatin1Char('0'));
    const QString texts[kCount] = {
        NameLine(value),
        Field(value, "FNAME"),
        Field(value, "LNAME"),
        Field(value, "MIDDLE"),
        Field(value, "PREFIX"),
        Field(value, "TITLE"),
        Field(value, "ORG"),
        Field(value, "STREET"),
        Field(value, "STREET2"),
        Trimmed(city + QLatin1Char(' ') + state + QLatin1Char(' ') + zip),
        city,
        state,
        state,
        zip,
        zip,
        Field(value, "COUNTRY"),
        Field(value, "PHONE"),
        Field(value, "FAX"),
        Field(value, "EMAIL"),
        today.toString(QStringLiteral("MM/dd/yyyy")),
        longDate,
        NameAndAddress(value)};
    TMergeTexts merge;
    merge.mTexts.reserve(kCount);
    for (int i = 0; i < kCount; ++i)
        merge.mTexts.push_back({MarkerNames()[size_t(i)], texts[i]});
    return merge;
}

QString TMergeTexts::Text(const QString& name) const
{
    for (const TMergeText& t : mTexts)
        if (t.name == name)
            return t.text;
    return {};
}

} // namespace qm::letters
