#include "labels/TTemplateLength.h"

namespace qm::labels {
namespace {

constexpr int kDecimals = 9;
constexpr int64_t kMaxNumber = 100'000'000'000'000; // 100,000 with 9 decimals
constexpr int64_t kMaxUnits = 1000 * TTemplateLength::kPerInch;

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Units per 10^-9 of the unit named.
std::optional<int64_t> UnitFactor(QStringView unit)
{
    if (unit.isEmpty() || unit == u"pt")
        return 127;
    if (unit == u"in")
        return 9144;
    if (unit == u"mm")
        return 360;
    if (unit == u"cm")
        return 3600;
    if (unit == u"pc")
        return 1524;
    return std::nullopt;
}

int64_t DivideHalfEven(int64_t value, int64_t divisor)
{
    int64_t quotient = value / divisor;
    int64_t remainder = value % divisor;
    if (remainder < 0) {
        remainder += divisor;
        --quotient;
    }
    if (remainder * 2 > divisor || (remainder * 2 == divisor && (quotient % 2) != 0))
        ++quotient;
    return quotient;
}

} // namespace

std::optional<TTemplateLength> TTemplateLength::Parse(QStringView text, QString* why)
{
    const auto refuse = [why](const char* reason) -> std::optional<TTemplateLength> {
        if (why)
            *why = QString::fromLatin1(reason);
        return std::nullopt;
    };
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == QLatin1Char('-');
    if (negative)
        ++i;

    // The mantissa's digits without the point, and how many of them follow it.
    QString digits;
    int fraction = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (IsDigit(t[i])) {
            if (!(digits.isEmpty() && t[i] == QLatin1Char('0')))
                digits += t[i];
            else if (point)
                digits += t[i];
            fraction += point ? 1 : 0;
            if (digits.size() > 1000)
                return refuse("is out of range");
        } else if (t[i] == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
    }
    // A number needs a digit before or after its point.
    const qsizetype mantissaEnd = i;
    const qsizetype mantissaStart = negative ? 1 : 0;
    bool anyDigit = false;
    for (qsizetype k = mantissaStart; k < mantissaEnd; ++k)
        anyDigit = anyDigit || IsDigit(t[k]);
    if (!anyDigit)
        return refuse("is not a length");

    int exponent = 0;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        qsizetype k = i + 1;
        bool expNegative = false;
        if (k < t.size() && (t[k] == QLatin1Char('-') || t[k] == QLatin1Char('+')))
            expNegative = t[k++] == QLatin1Char('-');
        const qsizetype expStart = k;
        while (k < t.size() && IsDigit(t[k])) {
            if (exponent < 10000)
                exponent = exponent * 10 + t[k].digitValue();
            ++k;
        }
        if (k == expStart)
            return refuse("is not a length");
        exponent = expNegative ? -exponent : exponent;
        i = k;
    }
    while (i < t.size() && t[i].isSpace())
        ++i;
    const qsizetype unitStart = i;
    while (i < t.size() && t[i] >= QLatin1Char('a') && t[i] <= QLatin1Char('z'))
        ++i;
    const QStringView unit = t.mid(unitStart, i - unitStart);
    while (i < t.size() && t[i].isSpace())
        ++i;
    if (i != t.size())
        return refuse("is not a length");
    const std::optional<int64_t> factor = UnitFactor(unit);
    if (!factor)
        return refuse("has a unit that is not in, mm, cm, pt or pc");

    // value = digits x 10^(exponent - fraction); the number with 9 decimals is that times 10^9,
    // rounded half to even where digits fall away.
    const int shift = exponent - fraction + kDecimals;
    int64_t number = 0;
    if (digits.isEmpty()) {
        number = 0;
    } else if (shift >= 0) {
        if (digits.size() + shift > 15)
            return refuse("is out of range");
        for (QChar c : digits)
            number = number * 10 + c.digitValue();
        for (int k = 0; k < shift; ++k)
            number *= 10;
    } else {
        const qsizetype keep = digits.size() + shift; // may be 0 or less
        if (keep > 15)
            return refuse("is out of range");
        for (qsizetype k = 0; k < keep; ++k)
            number = number * 10 + digits[k].digitValue();
        // The dropped digits decide: above half, half, or below.
        const QStringView dropped = keep >= 0 ? QStringView(digits).mid(keep) : QStringView(digits);
        int firstDropped = 0;
        bool restNonZero = false;
        if (keep >= 0) {
            firstDropped = dropped.isEmpty() ? 0 : dropped[0].digitValue();
            for (qsizetype k = 1; k < dropped.size(); ++k)
                restNonZero = restNonZero || dropped[k] != QLatin1Char('0');
        } else {
            // Every digit lies two or more places below the last kept one: below half.
            firstDropped = 0;
            restNonZero = true;
        }
        if (firstDropped > 5 || (firstDropped == 5 && (restNonZero || number % 2 != 0)))
            ++number;
    }
    if (number > kMaxNumber)
        return refuse("is out of range");
    const int64_t units = number * *factor;
    if (units > kMaxUnits)
        return refuse("is out of range");
    return TTemplateLength(negative ? -units : units);
}

int64_t TTemplateLength::RoundedThousandths() const
{
    return DivideHalfEven(mUnits, kPerInch / 1000);
}

QString TTemplateLength::ThreeDecimals() const
{
    const int64_t t = RoundedThousandths();
    const int64_t a = t < 0 ? -t : t;
    return QStringLiteral("%1%2.%3")
        .arg(t < 0 ? QStringLiteral("-") : QString())
        .arg(a / 1000)
        .arg(a % 1000, 3, 10, QLatin1Char('0'));
}

} // namespace qm::labels
