#include "letters/TRichLetterSource.h"

#include "letters/TLetterMerge.h"

#include <QTextDocument>

namespace qm::letters {

void TRichLetterSource::MergeCurrent()
{
    mLetter.CopyFrom(mTemplate);
    // The merged copy is never undone: keeping its history would only cost time and memory.
    mLetter.Document().setUndoRedoEnabled(false);
    TLetterMerge::ReplaceTokens(mLetter.Document(), mTexts());
}

int TRichLetterSource::DrawPage(QPainter& painter, const QRect& rect, int start)
{
    return mLetter.DrawPage(painter, QRectF(rect), 100.0, start);
}

} // namespace qm::letters
