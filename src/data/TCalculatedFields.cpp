#include "data/TCalculatedFields.h"

#include "data/TDataSet.h"
#include "data/TGridModel.h"

#include <QDate>

namespace qm::data {
namespace {

QString LeftTrim(const QString& s)
{
    int i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

QString RightTrim(const QString& s)
{
    int n = int(s.size());
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    return s.left(n);
}

} // namespace

QString TCalculatedFields::DisplayDate(const QString& stored)
{
    const QString digits = stored.left(8);
    if (digits.size() < 8)
        return {};
    for (QChar c : digits)
        if (!c.isDigit())
            return {};
    const QDate date(digits.left(4).toInt(), digits.mid(4, 2).toInt(), digits.mid(6, 2).toInt());
    return date.isValid() ? date.toString(QStringLiteral("MM/dd/yyyy")) : QString();
}

QString TCalculatedFields::FullName(const TValue& v)
{
    return RightTrim(v("FNAME") + " " + v("MIDDLE")) + " " + v("LNAME");
}

QString TCalculatedFields::FullNameWithPrefix(const TValue& v)
{
    return LeftTrim(RightTrim(v("PREFIX") + " " + v("FNAME") + " " + v("MIDDLE"))) + " " +
           v("LNAME");
}

QString TCalculatedFields::CityStateZip(const TValue& v)
{
    return LeftTrim(v("CITY") + " ") + LeftTrim(v("STATE") + " ") + v("ZIP");
}

bool TCalculatedFields::Tagged(const QString& tag, const QString& tagIdentifier)
{
    return RightTrim(tag) == tagIdentifier;
}

void TCalculatedFields::Install(TDataSet& dataSet, const QString* tagIdentifier,
                                const bool* withNames)
{
    dataSet.SetOnCalcFields([tagIdentifier, withNames](TDataSet& ds) {
        const TValue value = [&ds](const QString& field) { return ds.AsString(field); };
        ds.SetCalculatedValue(QStringLiteral("DisplayDate"), DisplayDate(value("DATE")));
        ds.SetCalculatedValue(QStringLiteral("Tagged"), Tagged(value("TAG"), *tagIdentifier));
        if (withNames && *withNames) {
            ds.SetCalculatedValue(QStringLiteral("FullName"), FullName(value));
            ds.SetCalculatedValue(QStringLiteral("FullNameWithPrefix"), FullNameWithPrefix(value));
            ds.SetCalculatedValue(QStringLiteral("CityStateZip"), CityStateZip(value));
        }
    });
}

QString TCalculatedFields::ForGridRow(const TGridRow& row, const QString& field,
                                      const QString& tagIdentifier)
{
    const TValue value = [&row](const QString& f) { return row.Value(f); };
    if (field.compare(QLatin1String("Tagged"), Qt::CaseInsensitive) == 0)
        return Tagged(value("TAG"), tagIdentifier) ? QStringLiteral("Yes") : QStringLiteral("No");
    if (field.compare(QLatin1String("DisplayDate"), Qt::CaseInsensitive) == 0)
        return DisplayDate(value("DATE"));
    if (field.compare(QLatin1String("FullName"), Qt::CaseInsensitive) == 0)
        return FullName(value);
    if (field.compare(QLatin1String("FullNameWithPrefix"), Qt::CaseInsensitive) == 0)
        return FullNameWithPrefix(value);
    if (field.compare(QLatin1String("CityStateZip"), Qt::CaseInsensitive) == 0)
        return CityStateZip(value);
    return {};
}

} // namespace qm::data
