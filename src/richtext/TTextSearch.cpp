#include "richtext/TTextSearch.h"

#include "richtext/TRichDocument.h"

namespace qm::richtext {

namespace {

QTextDocument::FindFlags Flags(const TSearchOptions& options)
{
    QTextDocument::FindFlags flags;
    if (options.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (options.wholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (options.backwards)
        flags |= QTextDocument::FindBackward;
    return flags;
}

} // namespace

QTextCursor TTextSearch::FindNext(const QTextDocument& document, const QString& text, int from,
                                  const TSearchOptions& options, bool* wrapped)
{
    if (wrapped)
        *wrapped = false;
    if (text.isEmpty())
        return {};
    QTextCursor found = document.find(text, from, Flags(options));
    if (found.isNull()) {
        const int restart = options.backwards ? document.characterCount() - 1 : 0;
        found = document.find(text, restart, Flags(options));
        if (!found.isNull() && wrapped)
            *wrapped = true;
    }
    return found;
}

int TTextSearch::ReplaceAll(QTextDocument& document, const QString& text,
                            const QString& replacement, const TSearchOptions& options)
{
    if (text.isEmpty())
        return 0;
    TSearchOptions forward = options;
    forward.backwards = false;
    int count = 0;
    QTextCursor edit(&document);
    edit.beginEditBlock();
    QTextCursor found = document.find(text, 0, Flags(forward));
    while (!found.isNull()) {
        TRichDocument::ReplaceSelection(found, replacement);
        ++count;
        // The search goes on behind the replacement, which is never searched itself.
        found = document.find(text, found.position(), Flags(forward));
    }
    edit.endEditBlock();
    return count;
}

bool TTextSearch::ReplaceSelection(QTextCursor& cursor, const QString& text,
                                   const QString& replacement, const TSearchOptions& options)
{
    if (!cursor.hasSelection() || text.isEmpty())
        return false;
    // The selection is a match when searching from its start finds exactly it.
    TSearchOptions forward = options;
    forward.backwards = false;
    const QTextCursor match =
        cursor.document()->find(text, cursor.selectionStart(), Flags(forward));
    if (match.isNull() || match.selectionStart() != cursor.selectionStart() ||
        match.selectionEnd() != cursor.selectionEnd())
        return false;
    TRichDocument::ReplaceSelection(cursor, replacement);
    return true;
}

} // namespace qm::richtext
