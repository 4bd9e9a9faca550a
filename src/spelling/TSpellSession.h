#pragma once

// One spelling check through a document: walks its words from a start position to the end, stops
// at each word the checker does not know, and carries out the user's answer (ignore, ignore all,
// add, change, change all). The spell dialog is a thin view over this class.
//
// Words inside merge markers ("[Full Name]", a "[" and the next "]" in one paragraph) and words
// holding a digit are passed over. Replacements take the format of the word they replace.

#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextCursor>

class QTextDocument;

namespace qm::spelling {

class TSpellChecker;

class TSpellSession {
public:
    TSpellSession(TSpellChecker& checker, QTextDocument& document, int start = 0);

    // Moves to the next unknown word after the current one. False at the end of the document.
    bool Next();

    // The unknown word found by the last Next, selected in the document.
    const QTextCursor& Current() const { return mCurrent; }
    QString Word() const { return mCurrent.selectedText(); }
    // The paragraph holding the word, and the word's place in it.
    QString Context() const;
    int ContextOffset() const;
    QStringList Suggestions() const;

    // Leaves this occurrence.
    void Ignore() {}
    // Leaves every occurrence of the word (same letters, same case) for the rest of the session.
    void IgnoreAll();
    // Adds the word to the user's words. False when the file could not be written (the word is
    // still accepted for this session).
    bool Add();
    // Replaces this occurrence; the check goes on behind the replacement.
    void Change(const QString& replacement);
    // Replaces every occurrence of the word as a whole word, same case, in the whole document;
    // returns how many.
    int ChangeAll(const QString& replacement);

private:
    TSpellChecker& mChecker;
    QTextDocument& mDocument;
    QTextCursor mCurrent;
    int mPosition;
    QSet<QString> mIgnored;
};

} // namespace qm::spelling
