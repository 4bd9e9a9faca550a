#include "letters/TPageUnits.h"

#include <QLocale>
#include <cmath>

namespace qm::letters {

QString TPageUnits::Name(TPageUnit unit)
{
    switch (unit) {
    case TPageUnit::Cm:
        return QStringLiteral("Cm");
    case TPageUnit::Twips:
        return QStringLiteral("Twips");
    case TPageUnit::Inch:
        break;
    }
    return QStringLiteral("Inch");
}

TPageUnit TPageUnits::FromName(const QString& name)
{
    if (name == QLatin1String("Cm"))
        return TPageUnit::Cm;
    if (name == QLatin1String("Twips"))
        return TPageUnit::Twips;
    return TPageUnit::Inch;
}

QString TPageUnits::Text(int twips, TPageUnit unit)
{
    switch (unit) {
    case TPageUnit::Cm:
        return QString::number(twips / kTwipsPerCm, 'f', 2);
    case TPageUnit::Twips:
        return QString::number(twips);
    case TPageUnit::Inch:
        break;
    }
    return QString::number(twips / 1440.0, 'f', 2);
}

std::optional<int> TPageUnits::Twips(const QString& text, TPageUnit unit)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    bool ok = false;
    double value = trimmed.toDouble(&ok);
    if (!ok)
        value = QLocale().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double factor = unit == TPageUnit::Cm      ? kTwipsPerCm
                          : unit == TPageUnit::Twips ? 1.0
                                                     : 1440.0;
    const double twips = std::nearbyint(value * factor);
    if (twips < 0 || twips > kMaxTwips)
        return std::nullopt;
    return int(twips);
}

QString TPageUnits::Problem(const TLetterPageTwips& page, TPageUnit unit)
{
    const QString suffix = unit == TPageUnit::Cm      ? QStringLiteral(" cm")
                           : unit == TPageUnit::Twips ? QStringLiteral(" twips")
                                                      : QStringLiteral(" in");
    const auto show = [&](int twips) { return Text(twips, unit) + suffix; };
    if (page.width < 1)
        return QStringLiteral("The paper width %1 is too small.").arg(show(page.width));
    if (page.height < 1)
        return QStringLiteral("The paper height %1 is too small.").arg(show(page.height));
    if (page.width > kMaxTwips || page.height > kMaxTwips)
        return QStringLiteral("The paper may be at most %1 each way.").arg(show(kMaxTwips));
    if (page.left + page.right >= page.width)
        return QStringLiteral("The left margin %1 and the right margin %2 leave no room for text "
                              "on paper %3 wide.")
            .arg(show(page.left), show(page.right), show(page.width));
    if (page.top + page.bottom >= page.height)
        return QStringLiteral("The top margin %1 and the bottom margin %2 leave no room for text "
                              "on paper %3 high.")
            .arg(show(page.top), show(page.bottom), show(page.height));
    return {};
}

} // namespace qm::letters
