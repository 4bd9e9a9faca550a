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
#include "richtext/ui/TRichEdit.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLineEdit;
class QMenuBar;

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

    richtext::TRichDocument& Document() { return mEditor->Rich(); }
    // Loads the letter's stored text into the editor (its page and line width too).
    richtext::TRtfReadResult LoadRtf(const QByteArray& bytes);
    QString Description() const;
    void SetDescription(const QString& description);
    // A new letter gets the default font when the designer is first shown.
    void SetNewDocument(bool isNew) { mNewDocument = isNew; }
    bool Modified() const;

    void SetClock(TClock clock) { mClock = std::move(clock); }
    void SetFileChooser(TFileChooser chooser) { mFileChooser = std::move(chooser); }
    void SetFontChooser(TFontChooser chooser) { mFontChooser = std::move(chooser); }
    void SetRunHook(TRunHook hook) { mRunHook = std::move(hook); }

    richtext::TRichEdit* Editor() const { return mEditor; }
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
    void FindClick();
    void ReplaceClick();
    void ParagraphClick();
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
    void SetDefaultFontNow();
    void ApplyWordWrap();
    // Reads an RTF file through the reader's limits; false (message shown) when refused.
    bool ReadRtfFile(const QString& path, QByteArray& bytes);
    int Run(QDialog& dialog);
    bool ConfirmDiscard();
    void SavePlacement();

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

    richtext::TRichEdit* mEditor = nullptr;
    QLineEdit* mDescription = nullptr;
    QComboBox* mFields = nullptr;
    QAction* mWordWrapAction = nullptr;
    QAction* mDefaultFontAction = nullptr;
    QAction* mSpellAction = nullptr;
};

} // namespace qm::letters
