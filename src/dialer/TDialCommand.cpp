#include "dialer/TDialCommand.h"

#include <QList>

namespace qm::dialer {

QByteArray TDialCommand::Dial(TDialMethod method, const QString& number)
{
    QByteArray command = method == TDialMethod::dmPulse ? "ATDP" : "ATDT";
    // Callers check FirstRefused() first, so Latin-1 is plain ASCII here.
    command += number.toLatin1();
    command += "\r\n";
    return command;
}

QByteArray TDialCommand::HangUp()
{
    return QByteArrayLiteral("ATH\r\n");
}

std::optional<char32_t> TDialCommand::FirstRefused(const QString& number)
{
    for (const char32_t c : number.toUcs4())
        if (c < 0x20 || c > 0x7E)
            return c;
    return std::nullopt;
}

QString TDialCommand::CharacterName(char32_t c)
{
    if (QChar::isPrint(c) && !QChar::isSpace(c))
        return QString::fromUcs4(&c, 1);
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

QString TDialCommand::RefusalText(char32_t c)
{
    return QStringLiteral("The number contains a character that cannot be dialled: ") +
           CharacterName(c);
}

} // namespace qm::dialer
