#include "design/text/TWordWrap.h"

namespace qm::design {

namespace {

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString TrimRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && IsBlank(text.at(end - 1)))
        --end;
    return text.left(end);
}

} // namespace

QStringList TWordWrap::SplitLines(const QString& text)
{
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(current);
            current.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            current.append(c);
        }
    }
    lines.append(current);
    return lines;
}

QStringList TWordWrap::WrapLine(const QString& line, double width, const TMeasure& measure)
{
    if (width <= 0 || measure(line) <= width)
        return {line};

    QStringList out;
    QString rest = line;
    while (!rest.isEmpty()) {
        if (measure(rest) <= width) {
            out.append(rest);
            break;
        }
        // The longest prefix that fits (widths grow with the prefix).
        qsizetype lo = 0, hi = rest.size();
        while (lo < hi) {
            const qsizetype mid = (lo + hi + 1) / 2;
            if (measure(rest.left(mid)) <= width)
                lo = mid;
            else
                hi = mid - 1;
        }
        qsizetype fit = lo;
        // Break after the last blank run inside the part that fits, when there is one and the
        // next character is not a blank already.
        qsizetype cut = fit;
        if (fit < rest.size() && !IsBlank(rest.at(fit))) {
            qsizetype b = fit;
            while (b > 0 && !IsBlank(rest.at(b - 1)))
                --b;
            if (b > 0)
                cut = b;
        }
        if (cut == 0)
            cut = 1; // one character wider than the object: a line of its own
        QString piece = TrimRight(rest.left(cut));
        qsizetype next = cut;
        while (next < rest.size() && IsBlank(rest.at(next)))
            ++next;
        if (piece.isEmpty() && next > 0) {
            // A leading run of blanks wider than the width: drop it.
            rest = rest.mid(next);
            continue;
        }
        out.append(piece);
        rest = rest.mid(next);
    }
    if (out.isEmpty())
        out.append(QString());
    return out;
}

QStringList TWordWrap::Wrap(const QStringList& lines, double width, const TMeasure& measure)
{
    QStringList out;
    for (const QString& line : lines)
        out.append(WrapLine(line, width, measure));
    return out;
}

} // namespace qm::design
