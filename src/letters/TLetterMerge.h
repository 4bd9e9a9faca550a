#pragma once

// Merging a record into a letter: every marker "[name]" of the merge table in the document is
// replaced by its text in one pass from the start of the document to its end. Text put in is
// never searched again, so a record value that itself reads "[Last]" stays as typed. Bracketed
// text that names no marker ("[sic]") stays; an empty text removes its marker. The inserted text
// takes the character format of the marker's first character, and each CR LF in it becomes a
// paragraph break (in the paragraph format of the marker's paragraph).

#include "letters/TMergeTexts.h"

class QTextDocument;

namespace qm::letters {

class TLetterMerge {
public:
    // Replaces every marker of the table; returns the number of markers replaced. The document's
    // undo stack is left as it was (the merge is one edit block).
    static int ReplaceTokens(QTextDocument& document, const TMergeTexts& texts);

    // Replaces one marker name's occurrences by text, searching from the start; returns the
    // number replaced. The search goes on behind each inserted text.
    static int DoMerge(QTextDocument& document, const QString& name, const QString& text);
};

} // namespace qm::letters
