#include "design/barcode/TPostNetCode.h"

#include <array>

namespace qm::design {

namespace {

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Full (1) and half (0) bars of each digit, weights 7-4-2-1-0 from the left; 0 is 11000.
constexpr std::array<const char*, 10> kPatterns{"11000", "00011", "00101", "00110", "01001",
                                                "01010", "01100", "10001", "10010", "10100"};

} // namespace

bool TPostNetCode::IsValidZip(const QString& zip)
{
    if (zip.size() < 5)
        return false;
    // Byte order as the stored text has it; anything beyond Latin-1 sorts above every digit.
    QByteArray bytes;
    bytes.reserve(zip.size());
    for (QChar c : zip)
        bytes.append(c.unicode() > 0xFF ? char(0xFF) : char(c.unicode()));
    return bytes.compare(QByteArrayLiteral("00000")) >= 0 &&
           bytes.compare(QByteArrayLiteral("99999-9999")) <= 0;
}

QString TPostNetCode::DeliveryPoint(const QString& address)
{
    const QString a = address.toUpper();
    if (a.contains(QLatin1String("APO")) || a.contains(QLatin1String("FPO")))
        return QStringLiteral("99");

    QChar tens = QLatin1Char(' ');
    QChar units = QLatin1Char(' ');
    bool unitsFound = false;
    bool tensFound = false;
    bool afterSlash = false;
    bool afterSuffix = false;
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        const QChar c = a.at(i);
        if (IsDigit(c)) {
            if (afterSlash || afterSuffix || (unitsFound && tensFound))
                continue;
            if (!unitsFound) {
                units = c;
                unitsFound = true;
            } else {
                tens = c;
                tensFound = true;
            }
        } else if (c == QLatin1Char(' ')) {
            if (unitsFound || tensFound)
                break;
            afterSlash = false;
            afterSuffix = false;
        } else if (c == QLatin1Char('/') && unitsFound) {
            // The numerator of a fraction ("1/2") never supplies digits: start again to its left.
            units = tens = QLatin1Char(' ');
            unitsFound = tensFound = false;
            afterSlash = true;
        } else if (unitsFound && !tensFound) {
            tens = QLatin1Char('0');
            tensFound = true;
        } else {
            const QString pair = a.mid(i, 2);
            if (pair == QLatin1String("ST") || pair == QLatin1String("ND") ||
                pair == QLatin1String("RD") || pair == QLatin1String("TH"))
                afterSuffix = true;
        }
    }
    if (!unitsFound)
        return QStringLiteral("99");
    if (!tensFound)
        tens = QLatin1Char('0');
    return QString(tens) + units;
}

QString TPostNetCode::Digits(const QString& zip, const QString& address, TPostNetType type)
{
    if (!IsValidZip(zip))
        return {};
    QString digits;
    for (QChar c : zip)
        if (IsDigit(c))
            digits += c;
    if (type == TPostNetType::pnbc5Digit)
        digits.truncate(5);
    // The delivery point belongs to a full ZIP+4 only: a 5-digit ZIP with two more digits would
    // make a 7-digit code, which no sorting machine reads.
    if (type == TPostNetType::pnbc11Digit && digits.size() == 9)
        digits += DeliveryPoint(address);
    // Machines read 5, 9 or 11 digits (32, 52 or 62 bars). Any other count keeps the ZIP's
    // first five digits; fewer than five make no code at all.
    if (digits.size() != 5 && digits.size() != 9 && digits.size() != 11)
        digits = digits.size() > 5 ? digits.left(5) : QString();
    return digits;
}

int TPostNetCode::CheckDigit(const QString& digits)
{
    int sum = 0;
    for (QChar c : digits)
        if (IsDigit(c))
            sum += c.unicode() - '0';
    return (10 - sum % 10) % 10;
}

std::vector<bool> TPostNetCode::DigitBars(int digit)
{
    std::vector<bool> bars;
    if (digit < 0 || digit > 9)
        return bars;
    for (const char* p = kPatterns[std::size_t(digit)]; *p; ++p)
        bars.push_back(*p == '1');
    return bars;
}

std::vector<bool> TPostNetCode::Bars(const QString& digits)
{
    std::vector<bool> bars;
    if (digits.isEmpty())
        return bars;
    bars.push_back(true);
    auto add = [&bars](int digit) {
        for (bool full : DigitBars(digit))
            bars.push_back(full);
    };
    for (QChar c : digits)
        if (IsDigit(c))
            add(c.unicode() - '0');
    add(CheckDigit(digits));
    bars.push_back(true);
    return bars;
}

} // namespace qm::design
