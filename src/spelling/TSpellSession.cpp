#include "spelling/TSpellSession.h"

#include "spelling/TSpellChecker.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <vector>

namespace qm::spelling {

namespace {

struct TRange {
    int start;
    int end;
};

// The "[...]" markers of one paragraph's text.
std::vector<TRange> Markers(const QString& text)
{
    std::vector<TRange> markers;
    qsizetype open = text.indexOf(QLatin1Char('['));
    while (open >= 0) {
        const qsizetype close = text.indexOf(QLatin1Char(']'), open + 1);
        if (close < 0)
            break;
        markers.push_back({static_cast<int>(open), static_cast<int>(close)});
        open = text.indexOf(QLatin1Char('['), close + 1);
    }
    return markers;
}

bool HasLetter(QStringView word)
{
    for (const QChar c : word)
        if (c.isLetter())
            return true;
    return false;
}

} // namespace

TSpellSession::TSpellSession(TSpellChecker& checker, QTextDocument& document, int start)
    : mChecker(checker), mDocument(document), mPosition(start)
{
}

bool TSpellSession::Next()
{
    mCurrent = QTextCursor();
    for (QTextBlock block = mDocument.findBlock(mPosition); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const int from = std::max(0, mPosition - block.position());
        const std::vector<TRange> markers = Markers(text);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
        finder.setPosition(from);
        if (!finder.isAtBoundary())
            finder.toNextBoundary();
        while (finder.position() >= 0 && finder.position() < text.size()) {
            const int start = static_cast<int>(finder.position());
            const bool startsWord = finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem;
            const int end = static_cast<int>(finder.toNextBoundary());
            if (!startsWord || end <= start)
                continue;
            const QString word = text.mid(start, end - start);
            if (!HasLetter(word) || TSpellChecker::IsSkipped(word) || mIgnored.contains(word))
                continue;
            bool inMarker = false;
            for (const TRange& marker : markers)
                if (start > marker.start && start < marker.end)
                    inMarker = true;
            if (inMarker || mChecker.IsCorrect(word))
                continue;
            mCurrent = QTextCursor(&mDocument);
            mCurrent.setPosition(block.position() + start);
            mCurrent.setPosition(block.position() + end, QTextCursor::KeepAnchor);
            mPosition = block.position() + end;
            return true;
        }
        mPosition = block.position() + block.length();
    }
    mPosition = mDocument.characterCount();
    return false;
}

QString TSpellSession::Context() const
{
    return mCurrent.isNull() ? QString() : mCurrent.block().text();
}

int TSpellSession::ContextOffset() const
{
    return mCurrent.isNull() ? -1 : mCurrent.selectionStart() - mCurrent.block().position();
}

QStringList TSpellSession::Suggestions() const
{
    return mCurrent.isNull() ? QStringList() : mChecker.Suggestions(Word());
}

void TSpellSession::IgnoreAll()
{
    if (!mCurrent.isNull())
        mIgnored.insert(Word());
}

bool TSpellSession::Add()
{
    if (mCurrent.isNull())
        return true;
    mIgnored.insert(Word());
    return mChecker.AddWord(Word());
}

namespace {

// Replaces the selection with text in the format of its first character.
void Replace(QTextCursor& cursor, const QString& replacement)
{
    QTextCursor first(cursor.document());
    first.setPosition(cursor.selectionStart() + 1);
    const QTextCharFormat format = first.charFormat();
    cursor.insertText(replacement, format);
}

} // namespace

void TSpellSession::Change(const QString& replacement)
{
    if (mCurrent.isNull())
        return;
    Replace(mCurrent, replacement);
    mPosition = mCurrent.position();
}

int TSpellSession::ChangeAll(const QString& replacement)
{
    if (mCurrent.isNull())
        return 0;
    const QString word = Word();
    const int wordStart = mCurrent.selectionStart();
    int count = 0;
    int shiftBeforeCurrent = 0;
    QTextCursor edit(&mDocument);
    edit.beginEditBlock();
    QTextCursor found =
        mDocument.find(word, 0, QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords);
    while (!found.isNull()) {
        const bool before = found.selectionStart() < wordStart;
        Replace(found, replacement);
        if (before)
            shiftBeforeCurrent += static_cast<int>(replacement.size() - word.size());
        ++count;
        found = mDocument.find(word, found.position(),
                               QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords);
    }
    edit.endEditBlock();
    mPosition = wordStart + shiftBeforeCurrent + static_cast<int>(replacement.size());
    mCurrent = QTextCursor();
    return count;
}

} // namespace qm::spelling
