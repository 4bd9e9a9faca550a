#include "letters/TLetterMerge.h"

#include <QHash>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace qm::letters {

namespace {

struct TFound {
    int position = 0;
    int length = 0;
    const QString* text = nullptr;
};

// Puts text in at the cursor with the given character format; CR LF (and a lone CR or LF)
// start a new paragraph.
void InsertMerged(QTextCursor& cursor, const QString& text, const QTextCharFormat& format)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const QChar c = end ? QChar() : text.at(i);
        if (!end && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        if (i > start)
            cursor.insertText(text.mid(start, i - start), format);
        if (end)
            break;
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        // The new paragraph continues the marker's one: a page break before it stays with the
        // first part only.
        QTextBlockFormat block = cursor.blockFormat();
        block.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
        cursor.insertBlock(block, format);
        start = i + 1;
    }
}

// Replaces the found markers, last first, so the earlier positions stay valid.
int Replace(QTextDocument& document, const std::vector<TFound>& found)
{
    if (found.empty())
        return 0;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        // The format of the marker's first character is the one left of the position behind it.
        cursor.setPosition(it->position + 1);
        const QTextCharFormat format = cursor.charFormat();
        cursor.setPosition(it->position);
        cursor.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        InsertMerged(cursor, *it->text, format);
    }
    cursor.endEditBlock();
    return int(found.size());
}

} // namespace

int TLetterMerge::ReplaceTokens(QTextDocument& document, const TMergeTexts& texts)
{
    QHash<QString, const QString*> byName;
    int longest = 0;
    for (const TMergeText& t : texts.Texts()) {
        byName.insert(t.name, &t.text);
        longest = std::max(longest, int(t.name.size()));
    }
    // Plain text positions are document positions: every paragraph separator and embedded object
    // is one character in both.
    const QString plain = document.toPlainText();
    std::vector<TFound> found;
    qsizetype from = 0;
    while ((from = plain.indexOf(QLatin1Char('['), from)) >= 0) {
        const qsizetype close = plain.indexOf(QLatin1Char(']'), from + 1);
        if (close < 0)
            break;
        // A nearer "[" starts the next candidate: "[[Last]" holds the marker "[Last]".
        const qsizetype inner = plain.lastIndexOf(QLatin1Char('['), close);
        if (inner != from) {
            from = inner;
            continue;
        }
        const qsizetype length = close - from - 1;
        if (length <= longest) {
            const auto hit = byName.constFind(plain.mid(from + 1, length));
            if (hit != byName.constEnd()) {
                found.push_back({int(from), int(length + 2), hit.value()});
                from = close + 1;
                continue;
            }
        }
        from = close + 1;
    }
    return Replace(document, found);
}

int TLetterMerge::DoMerge(QTextDocument& document, const QString& name, const QString& text)
{
    const QString marker = QLatin1Char('[') + name + QLatin1Char(']');
    const QString plain = document.toPlainText();
    std::vector<TFound> found;
    for (qsizetype at = plain.indexOf(marker); at >= 0;
         at = plain.indexOf(marker, at + marker.size()))
        found.push_back({int(at), int(marker.size()), &text});
    return Replace(document, found);
}

} // namespace qm::letters
