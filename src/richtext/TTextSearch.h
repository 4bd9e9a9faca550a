#pragma once

// Find and replace in a document, for the editor's find and replace dialogs: the next match from a
// position (wrapping round to the start once), and Replace All as one undo step. A replacement
// takes the format of the first character of the text it replaces.

#include <QString>
#include <QTextCursor>
#include <QTextDocument>

namespace qm::richtext {

struct TSearchOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool backwards = false;
};

class TTextSearch {
public:
    // The next match after `from` (before it when backwards), wrapping round the document once;
    // a null cursor when the text is nowhere. `wrapped` (if given) tells whether it wrapped.
    static QTextCursor FindNext(const QTextDocument& document, const QString& text, int from,
                                const TSearchOptions& options, bool* wrapped = nullptr);
    // Replaces every match; returns how many.
    static int ReplaceAll(QTextDocument& document, const QString& text, const QString& replacement,
                          const TSearchOptions& options);
    // Replaces the cursor's selection when it is a match of the text; true when it was.
    static bool ReplaceSelection(QTextCursor& cursor, const QString& text,
                                 const QString& replacement, const TSearchOptions& options);
};

} // namespace qm::richtext
