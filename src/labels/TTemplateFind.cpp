#include "labels/TTemplateFind.h"

namespace qm::labels {
namespace {

bool WordCharacter(QChar c)
{
    return c.isLetterOrNumber();
}

// 2: a word of the description equals the word; 1: the word starts a word of it; 0: neither.
int Fit(const QString& description, const QString& word)
{
    int best = 0;
    for (qsizetype at = description.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
         at = description.indexOf(word, at + 1, Qt::CaseInsensitive)) {
        if (at > 0 && WordCharacter(description[at - 1]))
            continue;
        const qsizetype end = at + word.size();
        if (end == description.size() || !WordCharacter(description[end]))
            return 2;
        best = 1;
    }
    return best;
}

} // namespace

TTemplateFind::TResult TTemplateFind::Narrow(const QStringList& descriptions, const QString& text)
{
    TResult result;
    const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    result.rows.reserve(size_t(descriptions.size()));
    if (words.isEmpty()) {
        for (int i = 0; i < descriptions.size(); ++i)
            result.rows.push_back(i);
        return result;
    }
    int wordStart = -1;
    for (int i = 0; i < descriptions.size(); ++i) {
        const QString& description = descriptions[i];
        bool all = true;
        for (const QString& word : words)
            if (!description.contains(word, Qt::CaseInsensitive)) {
                all = false;
                break;
            }
        if (!all)
            continue;
        result.rows.push_back(i);
        if (result.current >= 0)
            continue;
        const int fit = Fit(description, words.front());
        if (fit == 2)
            result.current = int(result.rows.size()) - 1;
        else if (fit == 1 && wordStart < 0)
            wordStart = int(result.rows.size()) - 1;
    }
    if (result.current < 0)
        result.current = wordStart >= 0 ? wordStart : (result.rows.empty() ? -1 : 0);
    return result;
}

} // namespace qm::labels
