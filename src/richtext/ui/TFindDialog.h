#pragma once

// The editor's "Find" and "Replace" dialogs (one class, two modes): the text, Match case, Whole
// word, and Find Next; in the replace mode also the replacement, Replace and Replace All. The
// search starts at the caret and wraps round the letter once; each match is selected in the
// editor. Modeless: the user edits the letter while it is open.

#include "richtext/TTextSearch.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qm::richtext {

class TRichEdit;

class TFindDialog : public QDialog {
public:
    enum class EMode { Find, Replace };
    static constexpr int kFindHelpContext = 2702;
    static constexpr int kReplaceHelpContext = 2703;

    TFindDialog(TRichEdit& editor, EMode mode, QWidget* parent = nullptr);

    QLineEdit* FindEdit() const { return mFindEdit; }
    QLineEdit* ReplaceEdit() const { return mReplaceEdit; }
    QCheckBox* MatchCaseBox() const { return mMatchCaseBox; }
    QCheckBox* WholeWordBox() const { return mWholeWordBox; }

    // True when a match was found and selected.
    bool FindNextClick();
    void ReplaceClick();
    void ReplaceAllClick();

private:
    TSearchOptions Options() const;
    void UpdateButtons();

    TRichEdit& mEditor;
    EMode mMode;
    QLineEdit* mFindEdit = nullptr;
    QLineEdit* mReplaceEdit = nullptr;
    QCheckBox* mMatchCaseBox = nullptr;
    QCheckBox* mWholeWordBox = nullptr;
    QPushButton* mFindNextButton = nullptr;
    QPushButton* mReplaceButton = nullptr;
    QPushButton* mReplaceAllButton = nullptr;
};

} // namespace qm::richtext
