#include "reports/TReportCells.h"

namespace qm::reports {
namespace {

QString LeftTrimmed(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    return text.mid(i);
}

QString Middle(const TReportCells::TValue& value)
{
    const QString middle = value("MIDDLE");
    return middle.isEmpty() ? middle : middle + QLatin1Char('.');
}

} // namespace

QString TReportCells::ListName(const TValue& value)
{
    return LeftTrimmed(value("LNAME") + QStringLiteral(", ")) +
           LeftTrimmed(value("FNAME") + QLatin1Char(' ')) + LeftTrimmed(Middle(value));
}

QString TReportCells::CityStZip(const TValue& value)
{
    QString text;
    if (const QString city = value("CITY"); !city.isEmpty())
        text += city + QStringLiteral(", ");
    if (const QString state = value("STATE"); !state.isEmpty())
        text += state + QStringLiteral("  ");
    if (const QString zip = value("ZIP"); !zip.isEmpty())
        text += zip + QLatin1Char(' ');
    return text;
}

QString TReportCells::FullListName(const TValue& value)
{
    const QString last = value("LNAME");
    if (last.isEmpty())
        return {};
    const QString prefix = value("PREFIX");
    const QString first = value("FNAME");
    const QString p = prefix.isEmpty() && first.isEmpty() ? QString() : prefix + QLatin1Char(' ');
    return LeftTrimmed(last) + QStringLiteral(", ") + p + LeftTrimmed(first + QLatin1Char(' ')) +
           LeftTrimmed(Middle(value));
}

std::vector<TReportLine> TReportCells::Lines(int report, const TValue& value)
{
    switch (report) {
    case 2:
        return {{{1, 2.0, ListName(value)},
                 {2, 2.5, value("ORG")},
                 {3, 1.5, value("PHONE")},
                 {4, 1.35, value("FAX")}}};
    case 3:
        return {{{1, 2.5, value("ORG")},
                 {2, 2.0, ListName(value)},
                 {3, 1.5, value("PHONE")},
                 {4, 1.35, value("FAX")}}};
    case 4: {
        const QString org = value("ORG");
        const QString title = value("TITLE");
        QString titleOrg = !org.isEmpty() && !title.isEmpty() ? title + QStringLiteral(", ") : "";
        titleOrg += org;

        QString place = value("CITY");
        if (const QString state = value("STATE"); !state.isEmpty())
            place += QStringLiteral(", ") + state;
        if (const QString zip = value("ZIP"); !zip.isEmpty())
            place += QStringLiteral(", ") + zip;

        QString phones;
        if (const QString phone = value("PHONE"); !phone.isEmpty())
            phones += QStringLiteral("Ph: ") + phone + QStringLiteral("  ");
        if (const QString fax = value("FAX"); !fax.isEmpty())
            phones += QStringLiteral("Fax: ") + fax + QStringLiteral("  ");

        return {{{1, 2.75, FullListName(value)}, {3, 4.5, titleOrg}},
                {{2, 2.25, value("STREET")}, {3, 3.0, place}, {4, 1.5, value("COUNTRY")}},
                {{2, 2.25, phones}, {3, 3.0, value("EMAIL")}, {4, 1.5, value("DATE")}}};
    }
    default:
        return {{{1, 1.75, ListName(value)},
                 {2, 2.15, value("STREET")},
                 {3, 2.0, CityStZip(value)},
                 {4, 1.5, value("PHONE")}}};
    }
}

} // namespace qm::reports
