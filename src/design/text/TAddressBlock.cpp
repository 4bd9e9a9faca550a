#include "design/text/TAddressBlock.h"

namespace qm::design {

namespace {

// Thrown inside Compose when a field is missing; never leaves this file.
struct TMissingField {};

class TComposer {
public:
    TComposer(const TAddressBlock::TFieldReader& read, QStringList& lines)
        : mRead(read), mLines(lines)
    {
    }

    QString F(const char* name) const
    {
        std::optional<QString> value = mRead(QString::fromLatin1(name));
        if (!value)
            throw TMissingField{};
        return *value;
    }
    void Add(const QString& line) const
    {
        if (!line.isEmpty())
            mLines.append(line);
    }

private:
    const TAddressBlock::TFieldReader& mRead;
    QStringList& mLines;
};

QString T(const QString& text)
{
    return TAddressBlock::LeftTrim(text);
}

bool IsBlank(const QString& text)
{
    return T(text).isEmpty();
}

const QString kBlank = QStringLiteral(" ");

} // namespace

QString TAddressBlock::LeftTrim(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    return text.mid(i);
}

QStringList TAddressBlock::Compose(const TAddressBlockOptions& o, const TFieldReader& read)
{
    QStringList lines;
    const TComposer c(read, lines);
    try {
        if (o.useName) {
            const QString middle = c.F("MIDDLE");
            const QString m = IsBlank(middle) ? middle : middle + QLatin1Char('.');
            c.Add(T(c.F("PREFIX") + kBlank) + T(c.F("FNAME") + kBlank) + T(m + kBlank) +
                  T(c.F("LNAME") + kBlank));
        }
        if (o.useTitle)
            c.Add(c.F("TITLE"));
        if (o.useCompany)
            c.Add(c.F("ORG"));
        if (o.useStreet)
            c.Add(c.F("STREET"));
        if (o.useStreet2)
            c.Add(c.F("STREET2"));

        const bool zipByState =
            o.zipOptions == TZipOptions::zoAfterState || o.zipOptions == TZipOptions::zoBeforeCity;
        if (o.useCityState) {
            const QString city = c.F("CITY");
            const QString state = c.F("STATE");
            if (o.useZip && o.zipOptions == TZipOptions::zoAfterState) {
                const QString line = T(city + kBlank) + kBlank + T(state + kBlank) + T(c.F("ZIP"));
                if (!IsBlank(line))
                    c.Add(line);
            } else if (o.useZip && o.zipOptions == TZipOptions::zoBeforeCity) {
                c.Add(T(c.F("ZIP") + kBlank) + T(city + kBlank) + T(state + kBlank));
            } else {
                c.Add(T(city + kBlank) + T(state));
            }
        } else if (o.useZip && zipByState) {
            c.Add(T(c.F("ZIP")));
        }

        if (o.useCountry) {
            const QString country = c.F("COUNTRY");
            if (o.useZip && o.zipOptions == TZipOptions::zoAfterCountry)
                c.Add(T(country + kBlank) + T(c.F("ZIP")));
            else if (o.useZip && o.zipOptions == TZipOptions::zoBeforeCountry)
                c.Add(T(c.F("ZIP") + kBlank) + T(country));
            else
                c.Add(T(country));
        } else if (o.useZip && !zipByState) {
            c.Add(T(c.F("ZIP")));
        }

        if (o.usePhone)
            c.Add(c.F("PHONE"));
        if (o.upperCase)
            for (QString& line : lines)
                line = line.toUpper();
    } catch (const TMissingField&) {
        // The composition ends here; the lines made so far stay as they were composed.
    }
    return lines;
}

} // namespace qm::design
