#pragma once

// "Spell Check": the unknown word in its paragraph, a replacement and the checker's suggestions,
// and Ignore, Ignore All, Add, Change, Change All and Close. It works on the editor's document
// through a TSpellSession and selects each unknown word in the editor as it goes. At the end it
// says "The spelling check is complete." and closes.

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QTextEdit;

namespace qm::spelling {

class TSpellChecker;
class TSpellSession;

class TSpellDialog : public QDialog {
public:
    static constexpr int kHelpContext = 2701;

    // Checks the editor's text from the start. Returns at once (after the closing message) when
    // every word is known.
    static void Run(TSpellChecker& checker, QTextEdit& editor, QWidget* parent = nullptr);

    TSpellDialog(TSpellChecker& checker, QTextEdit& editor, QWidget* parent = nullptr);
    ~TSpellDialog() override;

    // Moves to the first unknown word; false (and the closing message) when there is none.
    bool Start();

    QString CurrentWord() const;
    QLineEdit* ChangeToEdit() const { return mChangeToEdit; }
    QListWidget* SuggestionList() const { return mSuggestionList; }

    void IgnoreButtonClick();
    void IgnoreAllButtonClick();
    void AddButtonClick();
    void ChangeButtonClick();
    void ChangeAllButtonClick();

private:
    void ShowCurrent();
    void Advance();
    void Finish();

    TSpellChecker& mChecker;
    QTextEdit& mEditor;
    std::unique_ptr<TSpellSession> mSession;
    QTextBrowser* mContextView = nullptr;
    QLineEdit* mChangeToEdit = nullptr;
    QListWidget* mSuggestionList = nullptr;
    QPushButton* mIgnoreButton = nullptr;
    QPushButton* mIgnoreAllButton = nullptr;
    QPushButton* mAddButton = nullptr;
    QPushButton* mChangeButton = nullptr;
    QPushButton* mChangeAllButton = nullptr;
    QPushButton* mCloseButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::spelling
