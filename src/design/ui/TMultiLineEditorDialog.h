#pragma once

// "Multi-line Text Editor": a memo of at most 254 characters (a line break counts two) holding
// the lines of a fixed multi-line text. Lines() after Ok; the caller applies them
// (TGMultiLineLabel::ApplyLines).

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

namespace qm::design {

class TDesignDialogButtons;

class TMultiLineEditorDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1206;
    static constexpr int kMaxLength = 254;

    explicit TMultiLineEditorDialog(const QStringList& lines, QWidget* parent = nullptr);

    QStringList Lines() const;
    // Length of lines joined with CR LF.
    static int TextLength(const QStringList& lines);

    QPlainTextEdit* Memo() const { return mMemo; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

private:
    void MemoChange();

    QPlainTextEdit* mMemo;
    TDesignDialogButtons* mButtons;
    QString mLastGood;
};

} // namespace qm::design
