#pragma once

// The letter designer ("Letter Designer"): the letter's rich text in an editor with a tool bar,
// ruler and menus, its description, the "Insert field" list of merge markers, and Ok, Cancel,
// Preview and Help. The document is the designer's own; the letters window loads the stored
// letter into it and stores it back on Ok.
//
// After any change, Cancel, Escape and the close button ask "Discard the changes to this
// letter?" (No is the default). Tests replace the file, font and window choices through hooks.

#include "letters/TLetterBounds.h"
#include "richtext/TRichDocument.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QFontComboBox;
class QLineEdit;
class QMenuBar;
class QTextCharFormat;
class QTextEdit;
class QToolBar;

namespace qm::data {
class TDataSet;
}
namespace qm::spelling {
class TSpellChecker;
}

namespace qm::letters {

class TLetterDesign : public QDialog {
public:
    static constexpr int kHelpContext = 7011;
    using TClock = std::function<QDate()>;
    // Chooses a file: save true for "Save as RTF"; returns an empty text when cancelled.
    using TFileChooser = std::function<QString(bool save, const QString& caption)>;
    // Chooses the default font starting from the given one; false when cancelled.
    using TFontChooser = std::function<bool(QFont& font)>;
    using TRunHook = std::function<int(QDialog& dialog)>;

    explicit TLetterDesign(data::TDataSet& addresses, QWidget* parent = nullptr);
    ~TLetterDesign() override;

    richtext::TRichDocument& Document() { return mDocument; }
    QString Description() const;
    void SetDescription(const QString& description);
    // A new letter gets the default font when the designer is first shown.
    void SetNewDocument(bool isNew) { mNewDocument = isNew; }
    bool Modified() const;

    void SetClock(TClock clock) { mClock = std::move(clock); }
    void SetFileChooser(TFileChooser chooser) { mFileChooser = std::move(chooser); }
    void SetFontChooser(TFontChooser chooser) { mFontChooser = std::move(chooser); }
    void SetRunHook(TRunHook hook) { mRunHook = std::move(hook); }

    QTextEdit* Editor() const { return mEditor; }
    QComboBox* InsertFieldList() const { return mFields; }
    QLineEdit* DescriptionEdit() const { return mDescription; }
    QAction* Action(const QString& name) const;

    void InsertField(int index);
    void InsertPageBreakClick();
    void WordWrapClick();
    void DefaultFontClick();
    void PageSettingsClick();
    void SaveAsRtfClick();
    void LoadRtfClick();
    void InsertRtfClick();
    void PreviewClick();
    void SpellCheckClick();
    void OkButtonClick();

    // "&Default Font: " + name + ", " + size + " pt " (+ ", bold", ", italic").
    static QString DefaultFontCaption(const QFont& font);
    // The default font from the settings file (Arial, 10 pt when it names none).
    static QFont StoredDefaultFont();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void BuildMenus(QMenuBar* bar);
    void BuildToolBar(QToolBar* bar, QToolBar* styleBar);
    void SetDefaultFontNow();
    void ApplyWordWrap();
    void ApplyCharFormat(const QTextCharFormat& format);
    void CurrentFormatChanged(const QTextCharFormat& format);
    // Reads an RTF file through the reader's limits; false (message shown) when refused.
    bool ReadRtfFile(const QString& path, QByteArray& bytes);
    int Run(QDialog& dialog);
    bool ConfirmDiscard();
    void SavePlacement();

    richtext::TRichDocument mDocument;
    data::TDataSet& mAddresses;
    std::unique_ptr<spelling::TSpellChecker> mSpelling;
    TClock mClock;
    TFileChooser mFileChooser;
    TFontChooser mFontChooser;
    TRunHook mRunHook;
    QFont mDefaultFont;
    bool mNewDocument = false;
    bool mWordWrap = false;
    bool mActivated = false;
    bool mDescriptionChanged = false;
    bool mClosing = false;

    QTextEdit* mEditor = nullptr;
    QLineEdit* mDescription = nullptr;
    QComboBox* mFields = nullptr;
    QFontComboBox* mFontName = nullptr;
    QComboBox* mFontSize = nullptr;
    QAction* mWordWrapAction = nullptr;
    QAction* mDefaultFontAction = nullptr;
    QAction* mSpellAction = nullptr;
    QAction* mBold = nullptr;
    QAction* mItalic = nullptr;
    QAction* mUnderline = nullptr;
};

} // namespace qm::letters
