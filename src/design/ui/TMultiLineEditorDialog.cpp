#include "design/ui/TMultiLineEditorDialog.h"

#include "data/ui/TWindowPlacement.h"
#include "design/text/TWordWrap.h"
#include "design/ui/TDesignDialogButtons.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

namespace qm::design {

TMultiLineEditorDialog::TMultiLineEditorDialog(const QStringList& lines, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TMultiLineEditorDialog"));
    setWindowTitle(QStringLiteral("Multi-line Text Editor"));
    mMemo = new QPlainTextEdit(this);
    mMemo->setObjectName(QStringLiteral("Memo"));
    mMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Stored lines longer than the editor holds are cut rather than refused.
    QString text = lines.join(QLatin1Char('\n'));
    while (TextLength(TWordWrap::SplitLines(text)) > kMaxLength)
        text.chop(1);
    mMemo->setPlainText(text);
    mLastGood = text;
    mButtons = new TDesignDialogButtons(*this, kHelpContext);
    connect(mMemo, &QPlainTextEdit::textChanged, this, &TMultiLineEditorDialog::MemoChange);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mMemo);
    layout->addWidget(mButtons);
    setMinimumSize(360, 240);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

int TMultiLineEditorDialog::TextLength(const QStringList& lines)
{
    int length = 0;
    for (const QString& line : lines)
        length += int(line.size());
    return length + 2 * std::max(0, int(lines.size()) - 1);
}

void TMultiLineEditorDialog::MemoChange()
{
    const QString text = mMemo->toPlainText();
    if (TextLength(TWordWrap::SplitLines(text)) <= kMaxLength) {
        mLastGood = text;
        return;
    }
    // Typing or pasting past the limit is undone; the caret goes to the end.
    QSignalBlocker block(mMemo);
    mMemo->setPlainText(mLastGood);
    mMemo->moveCursor(QTextCursor::End);
}

QStringList TMultiLineEditorDialog::Lines() const
{
    const QString text = mMemo->toPlainText();
    if (text.isEmpty())
        return {};
    return TWordWrap::SplitLines(text);
}

} // namespace qm::design
