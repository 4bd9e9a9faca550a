#include "letters/ui/TLetterDesign.h"

#include "data/TMessageService.h"
#include "data/TOutputFile.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "letters/TLetterStore.h"
#include "letters/TMergeTexts.h"
#include "letters/ui/TPagePropertiesDialog.h"
#include "letters/ui/TRTFPreviewForm.h"
#include "richtext/TParagraphSettings.h"
#include "richtext/TRtfReader.h"
#include "richtext/ui/TFindDialog.h"
#include "richtext/ui/TParagraphDialog.h"
#include "richtext/ui/TRichToolBar.h"
#include "richtext/ui/TRuler.h"
#include "spelling/TSpellChecker.h"
#include "spelling/ui/TSpellDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <optional>

namespace qm::letters {

namespace {

const QString kClassName = QStringLiteral("TLetterDesign");
const QString kSection = QStringLiteral("Letter");

std::optional<data::TSettingsFile> Settings()
{
    if (data::TProgramHome::Current().Dir().isEmpty())
        return std::nullopt;
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

} // namespace

QFont TLetterDesign::StoredDefaultFont()
{
    QFont font(QStringLiteral("Arial"), 10);
    if (auto settings = Settings()) {
        font.setFamily(settings->ReadString(kSection, QStringLiteral("DefaultFontName"),
                                            QStringLiteral("Arial")));
        const int size = settings->ReadInteger(kSection, QStringLiteral("DefaultFontSize"), 10);
        font.setPointSize(size >= 1 && size <= 1638 ? size : 10);
        font.setBold(settings->ReadBool(kSection, QStringLiteral("DefaultFontBold"), false));
        font.setItalic(settings->ReadBool(kSection, QStringLiteral("DefaultFontItalic"), false));
    }
    return font;
}

QString TLetterDesign::DefaultFontCaption(const QFont& font)
{
    QString caption = QStringLiteral("&Default Font: ") + font.family() + QStringLiteral(", ") +
                      QString::number(font.pointSize()) + QStringLiteral(" pt ");
    if (font.bold())
        caption += QStringLiteral(", bold");
    if (font.italic())
        caption += QStringLiteral(", italic");
    return caption;
}

TLetterDesign::TLetterDesign(data::TDataSet& addresses, QWidget* parent)
    : QDialog(parent), mAddresses(addresses), mClock([] { return QDate::currentDate(); }),
      mDefaultFont(StoredDefaultFont())
{
    setObjectName(kClassName);
    setWindowTitle(QStringLiteral("Letter Designer"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setMinimumSize(640, 480);
    resize(1040, 720);

    mSpelling = std::make_unique<spelling::TSpellChecker>(data::TProgramHome::Current().Dir());
    mEditor = new richtext::TRichEdit(this);
    mEditor->setObjectName(QStringLiteral("Editor"));

    auto* menuBar = new QMenuBar(this);
    BuildMenus(menuBar);
    auto* toolBar = new richtext::TRichToolBar(*mEditor, this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    auto* ruler = new richtext::TRuler(*mEditor, this);
    ruler->setObjectName(QStringLiteral("Ruler"));

    mDescription = new QLineEdit(this);
    mDescription->setObjectName(QStringLiteral("DescriptionEdit"));
    mDescription->setMaxLength(50);
    mDescription->setMinimumWidth(mDescription->fontMetrics().averageCharWidth() * 18);
    auto* descriptionLabel = new QLabel(QStringLiteral("&Description"), this);
    descriptionLabel->setBuddy(mDescription);
    connect(mDescription, &QLineEdit::textEdited, this, [this] { mDescriptionChanged = true; });

    mFields = new QComboBox(this);
    mFields->setObjectName(QStringLiteral("InsertFieldList"));
    for (const QString& name : TMergeTexts::InsertFieldNames())
        mFields->addItem(name);
    mFields->setCurrentIndex(0);
    auto* fieldLabel = new QLabel(QStringLiteral("Insert &field"), this);
    fieldLabel->setBuddy(mFields);
    // activated: choosing the entry already shown inserts it too.
    connect(mFields, &QComboBox::activated, this, &TLetterDesign::InsertField);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* preview = new QPushButton(QStringLiteral("Pre&view"), this);
    preview->setObjectName(QStringLiteral("PreviewButton"));
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    for (QPushButton* b : {ok, cancel, preview, help})
        b->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TLetterDesign::OkButtonClick);
    connect(cancel, &QPushButton::clicked, this, &TLetterDesign::reject);
    connect(preview, &QPushButton::clicked, this, &TLetterDesign::PreviewClick);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(descriptionLabel);
    bottom->addWidget(mDescription, 2);
    bottom->addSpacing(12);
    bottom->addWidget(fieldLabel);
    bottom->addWidget(mFields, 1);
    bottom->addSpacing(12);
    for (QPushButton* b : {ok, cancel, preview, help})
        bottom->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(toolBar);
    layout->addWidget(ruler);
    layout->addWidget(mEditor, 1);
    layout->addLayout(bottom);
}

TLetterDesign::~TLetterDesign() = default;

richtext::TRtfReadResult TLetterDesign::LoadRtf(const QByteArray& bytes)
{
    const richtext::TRtfReadResult read = mEditor->LoadRtf(bytes);
    if (read.ok)
        mEditor->document()->setModified(false);
    return read;
}

QAction* TLetterDesign::Action(const QString& name) const
{
    return findChild<QAction*>(name);
}

void TLetterDesign::BuildMenus(QMenuBar* bar)
{
    const auto add = [this](QMenu* menu, const char* name, const QString& text, auto slot,
                            const QKeySequence& keys = {}) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    add(file, "SaveAsRtfItem", QStringLiteral("&Save as RTF"), &TLetterDesign::SaveAsRtfClick);
    add(file, "LoadRtfItem", QStringLiteral("&Load RTF"), &TLetterDesign::LoadRtfClick);
    add(file, "InsertRtfItem", QStringLiteral("&Insert RTF"), &TLetterDesign::InsertRtfClick);
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    add(edit, "FindItem", QStringLiteral("&Find"), &TLetterDesign::FindClick,
        QKeySequence(Qt::CTRL | Qt::Key_F));
    add(edit, "ReplaceItem", QStringLiteral("&Replace"), &TLetterDesign::ReplaceClick,
        QKeySequence(Qt::CTRL | Qt::Key_R));
    mSpellAction = edit->addAction(QStringLiteral("&Spell Check"));
    mSpellAction->setObjectName(QStringLiteral("SpellCheckItem"));
    mSpellAction->setShortcut(QKeySequence(Qt::Key_F7));
    // Only with a dictionary: the home's own, else the system's.
    mSpellAction->setEnabled(mSpelling && mSpelling->IsLoaded());
    connect(mSpellAction, &QAction::triggered, this, &TLetterDesign::SpellCheckClick);
    add(edit, "InsertPageBreakItem", QStringLiteral("&Insert Page Break"),
        &TLetterDesign::InsertPageBreakClick);
    QMenu* settings = bar->addMenu(QStringLiteral("&Settings"));
    add(settings, "ParagraphItem", QStringLiteral("&Paragraph Settings"),
        &TLetterDesign::ParagraphClick);
    add(settings, "PageSettingsItem", QStringLiteral("Pa&ge Settings"),
        &TLetterDesign::PageSettingsClick);
    mWordWrapAction = add(settings, "WordWrapItem", QStringLiteral("&Word Wrap is OFF"),
                          &TLetterDesign::WordWrapClick);
    mDefaultFontAction = add(settings, "DefaultFontItem", DefaultFontCaption(mDefaultFont),
                             &TLetterDesign::DefaultFontClick);
}

QString TLetterDesign::Description() const
{
    return mDescription->text();
}

void TLetterDesign::SetDescription(const QString& description)
{
    mDescription->setText(description);
    mDescriptionChanged = false;
}

bool TLetterDesign::Modified() const
{
    return mDescriptionChanged || mEditor->document()->isModified();
}

void TLetterDesign::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        FormActivate();
    }
}

void TLetterDesign::FormActivate()
{
    mWordWrap = false;
    ApplyWordWrap();
    if (mNewDocument) {
        SetDefaultFontNow();
        mNewDocument = false;
    }
    mEditor->document()->setModified(false);
    mDescriptionChanged = false;
    if (auto settings = Settings())
        data::TWindowPlacement::Restore(*this, kClassName, *settings);
    mEditor->setFocus();
}

void TLetterDesign::ApplyWordWrap()
{
    // Off: lines break where the page will (the page's text width); on: at the window's edge.
    mEditor->SetWordWrap(mWordWrap);
    mWordWrapAction->setText(mWordWrap ? QStringLiteral("&Word Wrap is ON")
                                       : QStringLiteral("&Word Wrap is OFF"));
}

void TLetterDesign::WordWrapClick()
{
    mWordWrap = !mWordWrap;
    ApplyWordWrap();
}

void TLetterDesign::SetDefaultFontNow()
{
    QTextCharFormat format;
    format.setFontFamilies({mDefaultFont.family()});
    format.setFontPointSize(mDefaultFont.pointSize());
    format.setFontWeight(mDefaultFont.bold() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(mDefaultFont.italic());
    mEditor->ApplyCharFormat(format);
}

void TLetterDesign::DefaultFontClick()
{
    QFont font = mDefaultFont;
    const bool chosen = mFontChooser ? mFontChooser(font) : [&] {
        bool ok = false;
        const QFont picked = QFontDialog::getFont(&ok, mDefaultFont, this);
        if (ok)
            font = picked;
        return ok;
    }();
    if (chosen) {
        mDefaultFont = font;
        SetDefaultFontNow();
    }
    mDefaultFontAction->setText(DefaultFontCaption(mDefaultFont));
    if (auto settings = Settings()) {
        try {
            settings->WriteString(kSection, QStringLiteral("DefaultFontName"),
                                  mDefaultFont.family());
            settings->WriteInteger(kSection, QStringLiteral("DefaultFontSize"),
                                   mDefaultFont.pointSize());
            settings->WriteBool(kSection, QStringLiteral("DefaultFontBold"), mDefaultFont.bold());
            settings->WriteBool(kSection, QStringLiteral("DefaultFontItalic"),
                                mDefaultFont.italic());
        } catch (const data::TSettingsWriteError& e) {
            data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        }
    }
}

void TLetterDesign::InsertField(int index)
{
    if (index < 0 || index >= mFields->count())
        return;
    mEditor->textCursor().insertText(QLatin1Char('[') + mFields->itemText(index) +
                                     QLatin1Char(']'));
    mEditor->setFocus();
}

void TLetterDesign::InsertPageBreakClick()
{
    if (!data::TMessageService::Ask(this, QStringLiteral("PAGE BREAK"),
                                    QStringLiteral("Insert a page break?")))
        return;
    mEditor->InsertPageBreak();
    mEditor->document()->setModified(true);
}

void TLetterDesign::PageSettingsClick()
{
    const richtext::TPageLayout& p = Document().PageLayout();
    TPagePropertiesDialog dialog(
        {p.paperWidth, p.paperHeight, p.marginLeft, p.marginRight, p.marginTop, p.marginBottom},
        this);
    if (Run(dialog) != QDialog::Accepted)
        return;
    const TLetterPageTwips page = dialog.Page();
    richtext::TPageLayout layout;
    layout.paperWidth = page.width;
    layout.paperHeight = page.height;
    layout.marginLeft = page.left;
    layout.marginRight = page.right;
    layout.marginTop = page.top;
    layout.marginBottom = page.bottom;
    if (layout == Document().PageLayout())
        return;
    if (!mEditor->SetPageLayout(layout)) {
        data::TMessageService::Inform(
            this, TPageUnits::Problem(page, TPagePropertiesDialog::RememberedUnit()));
        return;
    }
    mEditor->document()->setModified(true);
}

bool TLetterDesign::ReadRtfFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        data::TMessageService::Inform(this,
                                      QStringLiteral("Unable to read %1: %2")
                                          .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    if (file.size() > richtext::TRtfReader::MaxInputBytes) {
        data::TMessageService::Inform(
            this, QStringLiteral("%1 is larger than the 16 MB a letter may hold.")
                      .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    bytes = file.readAll();
    return true;
}

void TLetterDesign::LoadRtfClick()
{
    const QString path = mFileChooser
                             ? mFileChooser(false, QStringLiteral("Load RTF"))
                             : QFileDialog::getOpenFileName(
                                   this, QStringLiteral("Load RTF"), QString(),
                                   QStringLiteral("Rich text (*.rtf *.RTF);;All files (*)"));
    QByteArray bytes;
    if (path.isEmpty() || !ReadRtfFile(path, bytes))
        return;
    const richtext::TRtfReadResult read = mEditor->LoadRtf(bytes);
    if (!read.ok) {
        data::TMessageService::Inform(this, QStringLiteral("%1 cannot be read: %2")
                                                .arg(QDir::toNativeSeparators(path), read.error));
        return;
    }
    mEditor->document()->setModified(true);
    if (!read.dropped.isEmpty())
        data::TMessageService::Inform(this, QStringLiteral("%1: these were left out: %2.")
                                                .arg(QDir::toNativeSeparators(path),
                                                     read.dropped.join(QStringLiteral(", "))));
}

void TLetterDesign::InsertRtfClick()
{
    const QString path = mFileChooser
                             ? mFileChooser(false, QStringLiteral("Insert RTF"))
                             : QFileDialog::getOpenFileName(
                                   this, QStringLiteral("Insert RTF"), QString(),
                                   QStringLiteral("Rich text (*.rtf *.RTF);;All files (*)"));
    QByteArray bytes;
    if (path.isEmpty() || !ReadRtfFile(path, bytes))
        return;
    const richtext::TRtfReadResult read = mEditor->InsertRtf(bytes);
    if (!read.ok) {
        data::TMessageService::Inform(this, QStringLiteral("%1 cannot be read: %2")
                                                .arg(QDir::toNativeSeparators(path), read.error));
        return;
    }
    if (!read.dropped.isEmpty())
        data::TMessageService::Inform(this, QStringLiteral("%1: these were left out: %2.")
                                                .arg(QDir::toNativeSeparators(path),
                                                     read.dropped.join(QStringLiteral(", "))));
}

void TLetterDesign::SaveAsRtfClick()
{
    const QString path =
        mFileChooser ? mFileChooser(true, QStringLiteral("Save as RTF"))
                     : QFileDialog::getSaveFileName(this, QStringLiteral("Save as RTF"), QString(),
                                                    QStringLiteral("Rich text (*.rtf *.RTF)"));
    if (path.isEmpty())
        return;
    const QByteArray rtf = mEditor->SaveRtf();
    data::TOutputFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit())
        data::TMessageService::Inform(this,
                                      QStringLiteral("Unable to write %1: %2")
                                          .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void TLetterDesign::SpellCheckClick()
{
    if (!mSpelling || !mSpelling->IsLoaded())
        return;
    spelling::TSpellDialog::Run(*mSpelling, *mEditor, this);
}

void TLetterDesign::FindClick()
{
    auto* dialog = new richtext::TFindDialog(*mEditor, richtext::TFindDialog::EMode::Find, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void TLetterDesign::ReplaceClick()
{
    auto* dialog = new richtext::TFindDialog(*mEditor, richtext::TFindDialog::EMode::Replace, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void TLetterDesign::ParagraphClick()
{
    QTextCursor cursor = mEditor->textCursor();
    richtext::TParagraphDialog dialog(richtext::TParagraphSettings::From(cursor.blockFormat()),
                                      Document().PageLayout().TextWidth(), this);
    if (Run(dialog) != QDialog::Accepted)
        return;
    dialog.Settings().ApplyTo(cursor);
    mEditor->setTextCursor(cursor);
}

void TLetterDesign::PreviewClick()
{
    TRTFPreviewForm preview(Document(), mAddresses, this);
    preview.SetClock(mClock);
    Run(preview);
}

int TLetterDesign::Run(QDialog& dialog)
{
    if (mRunHook)
        return mRunHook(dialog);
    return dialog.exec();
}

void TLetterDesign::OkButtonClick()
{
    // A text the letter reader would refuse is never stored: the designer stays open with it.
    const QString tooLarge =
        TLetterStore::SizeProblem(TLetterStore::StoredText(mEditor->SaveRtf()).size());
    if (!tooLarge.isEmpty()) {
        data::TMessageService::Inform(this, tooLarge);
        return;
    }
    mClosing = true;
    SavePlacement();
    QDialog::accept();
}

bool TLetterDesign::ConfirmDiscard()
{
    if (!Modified())
        return true;
    return data::TMessageService::Ask(this, QStringLiteral("CANCEL"),
                                      QStringLiteral("Discard the changes to this letter?"), false);
}

void TLetterDesign::reject()
{
    if (mClosing)
        return QDialog::reject();
    if (!ConfirmDiscard())
        return;
    mClosing = true;
    SavePlacement();
    QDialog::reject();
}

void TLetterDesign::SavePlacement()
{
    if (!mActivated)
        return;
    if (auto settings = Settings()) {
        try {
            data::TWindowPlacement::Save(*this, kClassName, *settings);
        } catch (const data::TSettingsWriteError& e) {
            data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        }
    }
}

} // namespace qm::letters
