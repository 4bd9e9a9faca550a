#include "data/TRecordText.h"

#include "data/TWin1252.h"

#include <QStringList>

namespace qm::data {
namespace {

QString LeftTrim(const QString& s)
{
    int i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

QString Fit(const QString& s, int width)
{
    return s.left(width).leftJustified(width, QLatin1Char(' '));
}

} // namespace

QString TRecordText::ClipboardText(const TValue& v, const TClipboardParts& parts)
{
    QStringList lines;
    if (parts.names) {
        const QString middle = v("MIDDLE").trimmed().isEmpty() ? v("MIDDLE") : v("MIDDLE") + ".";
        lines << LeftTrim(v("PREFIX") + " ") + LeftTrim(v("FNAME") + " ") + LeftTrim(middle + " ") +
                     LeftTrim(v("LNAME") + " ");
        lines << v("TITLE") << v("ORG");
    }
    if (parts.address) {
        lines << v("STREET") << v("STREET2");
        lines << LeftTrim(v("CITY") + " ") + " " + LeftTrim(v("STATE") + " ") + LeftTrim(v("ZIP"));
        lines << LeftTrim(v("COUNTRY") + " ");
    }
    if (parts.phones) {
        if (!v("PHONE").isEmpty())
            lines << "Phone  :" + v("PHONE");
        if (!v("PHONE2").isEmpty())
            lines << "Phone 2:" + v("PHONE2");
    }
    if (parts.codes && !v("CODES").isEmpty())
        lines << "Codes :" + v("CODES");
    if (parts.comments) {
        if (!v("USER1").isEmpty())
            lines << "Comment 1 :" + v("USER1");
        if (!v("USER2").isEmpty())
            lines << "Comment 2 :" + v("USER2");
    }
    QString text;
    for (const QString& line : lines)
        if (!line.isEmpty())
            text += line + QStringLiteral("\r\n");
    return text.left(kMaxClipboardText);
}

QString TRecordText::StoredMemo(const QString& text)
{
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = normal.split(QLatin1Char('\n'));
    QString stored = lines.join(QStringLiteral("\r\n"));
    if (!stored.isEmpty() && stored.size() % 4 == 0)
        stored += QLatin1Char(' ');
    return stored;
}

QString TRecordText::DuplicateKey(const QString& last, const QString& first, int lastWidth,
                                  int firstWidth)
{
    return data::TWin1252::Upper(Fit(last, lastWidth) + Fit(first, firstWidth));
}

QString TRecordText::DuplicateQuestion(const TValue& v)
{
    return QStringLiteral("Possible duplicate: \r\n\r\n") + v("FNAME") + " " + v("LNAME") + "\r\n" +
           v("STREET") + "\r\n" + v("CITY") + "," + v("STATE") + " " + v("ZIP") +
           QStringLiteral("\r\n\r\nContinue adding?");
}

} // namespace qm::data
