#include "letters/ui/TLetterDesign.h"

#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "letters/TMergeTexts.h"
#include "letters/ui/TPagePropertiesDialog.h"
#include "letters/ui/TRTFPreviewForm.h"
#include "richtext/TRtfReader.h"
#include "spelling/TSpellChecker.h"
#include "spelling/ui/TSpellDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
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

QIcon ColourIcon(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

const std::vector<std::pair<const char*, QColor>>& Colours()
{
    static const std::vector<std::pair<const char*, QColor>> colours = {
        {"Black", Qt::black},
        {"Maroon", QColor(128, 0, 0)},
        {"Green", QColor(0, 128, 0)},
        {"Olive", QColor(128, 128, 0)},
        {"Navy", QColor(0, 0, 128)},
        {"Purple", QColor(128, 0, 128)},
        {"Teal", QColor(0, 128, 128)},
        {"Gray", QColor(128, 128, 128)},
        {"Silver", QColor(192, 192, 192)},
        {"Red", Qt::red},
        {"Lime", Qt::green},
        {"Yellow", Qt::yellow},
        {"Blue", Qt::blue},
        {"Fuchsia", Qt::magenta},
        {"Aqua", Qt::cyan},
        {"White", Qt::white}};
    return colours;
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
    resize(900, 700);

    mSpelling = std::make_unique<spelling::TSpellChecker>(data::TProgramHome::Current().Dir());
    mEditor = new QTextEdit(this);
    mEditor->setObjectName(QStringLiteral("Editor"));
    mEditor->setDocument(&mDocument.Document());
    mEditor->setAcceptRichText(true);

    auto* menuBar = new QMenuBar(this);
    BuildMenus(menuBar);
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    auto* styleBar = new QToolBar(this);
    styleBar->setObjectName(QStringLiteral("StyleBar"));
    BuildToolBar(toolBar, styleBar);

    mDescription = new QLineEdit(this);
    mDescription->setObjectName(QStringLiteral("DescriptionEdit"));
    mDescription->setMaxLength(50);
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
    layout->addWidget(styleBar);
    layout->addWidget(mEditor, 1);
    layout->addLayout(bottom);

    connect(mEditor, &QTextEdit::currentCharFormatChanged, this,
            &TLetterDesign::CurrentFormatChanged);
}

TLetterDesign::~TLetterDesign()
{
    // The editor shows the designer's document, which goes first.
    mEditor->setDocument(new QTextDocument(mEditor));
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
    QAction* find = edit->addAction(QStringLiteral("&Find"));
    find->setObjectName(QStringLiteral("FindItem"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    QAction* replace = edit->addAction(QStringLiteral("&Replace"));
    replace->setObjectName(QStringLiteral("ReplaceItem"));
    replace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    mSpellAction = edit->addAction(QStringLiteral("&Spell Check"));
    mSpellAction->setObjectName(QStringLiteral("SpellCheckItem"));
    mSpellAction->setShortcut(QKeySequence(Qt::Key_F7));
    // Only with a dictionary: the home's own, else the system's.
    mSpellAction->setEnabled(mSpelling && mSpelling->IsLoaded());
    connect(mSpellAction, &QAction::triggered, this, &TLetterDesign::SpellCheckClick);
    add(edit, "InsertPageBreakItem", QStringLiteral("&Insert Page Break"),
        &TLetterDesign::InsertPageBreakClick);
    QMenu* settings = bar->addMenu(QStringLiteral("&Settings"));
    QAction* paragraph = settings->addAction(QStringLiteral("&Paragraph Settings"));
    paragraph->setObjectName(QStringLiteral("ParagraphItem"));
    add(settings, "PageSettingsItem", QStringLiteral("Pa&ge Settings"),
        &TLetterDesign::PageSettingsClick);
    mWordWrapAction = add(settings, "WordWrapItem", QStringLiteral("&Word Wrap is OFF"),
                          &TLetterDesign::WordWrapClick);
    mDefaultFontAction = add(settings, "DefaultFontItem", DefaultFontCaption(mDefaultFont),
                             &TLetterDesign::DefaultFontClick);
}

void TLetterDesign::BuildToolBar(QToolBar* bar, QToolBar* styleBar)
{
    bar->addWidget(new QLabel(QStringLiteral("Font "), bar));
    mFontName = new QFontComboBox(bar);
    mFontName->setObjectName(QStringLiteral("FontNameList"));
    mFontName->setFontFilters(QFontComboBox::ScalableFonts);
    mFontName->setToolTip(QStringLiteral("Font"));
    bar->addWidget(mFontName);
    bar->addWidget(new QLabel(QStringLiteral(" Font Size "), bar));
    mFontSize = new QComboBox(bar);
    mFontSize->setObjectName(QStringLiteral("FontSizeList"));
    mFontSize->setEditable(true);
    mFontSize->setToolTip(QStringLiteral("Font Size"));
    for (int size : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        mFontSize->addItem(QString::number(size));
    bar->addWidget(mFontSize);
    connect(mFontName, &QFontComboBox::currentFontChanged, this, [this](const QFont& font) {
        QTextCharFormat format;
        format.setFontFamilies({font.family()});
        ApplyCharFormat(format);
    });
    connect(mFontSize, &QComboBox::textActivated, this, [this](const QString& text) {
        bool ok = false;
        const double size = text.toDouble(&ok);
        if (!ok || size < 6 || size > 1638)
            return;
        QTextCharFormat format;
        format.setFontPointSize(size);
        ApplyCharFormat(format);
    });

    const auto colourList = [this, bar](const char* name, const QString& tip, bool background) {
        auto* list = new QComboBox(bar);
        list->setObjectName(QString::fromLatin1(name));
        list->setToolTip(tip);
        for (const auto& [colourName, colour] : Colours())
            list->addItem(ColourIcon(colour), QString::fromLatin1(colourName), colour);
        list->setCurrentIndex(background ? int(Colours().size()) - 1 : 0);
        connect(list, &QComboBox::activated, this, [this, list, background](int index) {
            QTextCharFormat format;
            const QColor colour = list->itemData(index).value<QColor>();
            if (background)
                format.setBackground(colour);
            else
                format.setForeground(colour);
            ApplyCharFormat(format);
        });
        bar->addWidget(list);
    };
    colourList("TextColourList", QStringLiteral("Text colour"), false);
    colourList("BackgroundColourList", QStringLiteral("Background colour"), true);
    bar = styleBar;

    QAction* normal = bar->addAction(QStringLiteral("N"));
    normal->setObjectName(QStringLiteral("NormalButton"));
    normal->setToolTip(QStringLiteral("Normal"));
    connect(normal, &QAction::triggered, this, [this] {
        QTextCharFormat format;
        format.setFontWeight(QFont::Normal);
        format.setFontItalic(false);
        format.setFontUnderline(false);
        ApplyCharFormat(format);
    });
    const auto toggle = [this, bar](const char* name, const QString& text, const QString& tip,
                                    auto apply) {
        QAction* action = bar->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(tip);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, apply](bool on) {
            QTextCharFormat format;
            apply(format, on);
            ApplyCharFormat(format);
        });
        return action;
    };
    mBold = toggle(
        "BoldButton", QStringLiteral("B"), QStringLiteral("Bold"),
        [](QTextCharFormat& f, bool on) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
    mItalic = toggle("ItalicButton", QStringLiteral("I"), QStringLiteral("Italic"),
                     [](QTextCharFormat& f, bool on) { f.setFontItalic(on); });
    mUnderline = toggle("UnderlineButton", QStringLiteral("U"), QStringLiteral("Underline"),
                        [](QTextCharFormat& f, bool on) { f.setFontUnderline(on); });
    QFont boldFont = mBold->font();
    boldFont.setBold(true);
    mBold->setFont(boldFont);
    bar->addSeparator();
    const auto align = [this, bar](const char* name, const QString& tip, const char* theme,
                                   Qt::Alignment alignment) {
        QAction* action = bar->addAction(QIcon::fromTheme(QString::fromLatin1(theme)), tip);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                [this, alignment] { mEditor->setAlignment(alignment); });
    };
    align("LeftButton", QStringLiteral("Left"), "format-justify-left", Qt::AlignLeft);
    align("RightButton", QStringLiteral("Right"), "format-justify-right", Qt::AlignRight);
    align("JustifyButton", QStringLiteral("Justified"), "format-justify-fill", Qt::AlignJustify);
    align("CenterButton", QStringLiteral("Centre"), "format-justify-center", Qt::AlignHCenter);
    bar->addSeparator();
    QAction* copy =
        bar->addAction(QIcon::fromTheme(QStringLiteral("edit-copy")), QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("CopyButton"));
    connect(copy, &QAction::triggered, mEditor, &QTextEdit::copy);
    QAction* cut =
        bar->addAction(QIcon::fromTheme(QStringLiteral("edit-cut")), QStringLiteral("Cut"));
    cut->setObjectName(QStringLiteral("CutButton"));
    connect(cut, &QAction::triggered, mEditor, &QTextEdit::cut);
    QAction* paste =
        bar->addAction(QIcon::fromTheme(QStringLiteral("edit-paste")), QStringLiteral("Paste"));
    paste->setObjectName(QStringLiteral("PasteButton"));
    connect(paste, &QAction::triggered, mEditor, &QTextEdit::paste);
}

void TLetterDesign::ApplyCharFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = mEditor->textCursor();
    cursor.mergeCharFormat(format);
    mEditor->mergeCurrentCharFormat(format);
    mEditor->setFocus();
}

void TLetterDesign::CurrentFormatChanged(const QTextCharFormat& format)
{
    const QSignalBlocker nameBlock(mFontName);
    const QSignalBlocker sizeBlock(mFontSize);
    if (!format.fontFamilies().toStringList().isEmpty())
        mFontName->setCurrentFont(QFont(format.fontFamilies().toStringList().first()));
    if (format.fontPointSize() > 0)
        mFontSize->setEditText(QString::number(format.fontPointSize()));
    mBold->setChecked(format.fontWeight() >= QFont::Bold);
    mItalic->setChecked(format.fontItalic());
    mUnderline->setChecked(format.fontUnderline());
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
    return mDescriptionChanged || mDocument.Document().isModified();
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
    mDocument.Document().setModified(false);
    mDescriptionChanged = false;
    if (auto settings = Settings())
        data::TWindowPlacement::Restore(*this, kClassName, *settings);
    mEditor->setFocus();
}

void TLetterDesign::ApplyWordWrap()
{
    if (mWordWrap) {
        mEditor->setLineWrapMode(QTextEdit::WidgetWidth);
    } else {
        // Lines break where the page will: at the page's text width on the screen.
        const richtext::TPageLayout& page = mDocument.PageLayout();
        const int dpi = mEditor->logicalDpiX() > 0 ? mEditor->logicalDpiX() : 96;
        mEditor->setLineWrapMode(QTextEdit::FixedPixelWidth);
        mEditor->setLineWrapColumnOrWidth(std::max(1, int(int64_t(page.TextWidth()) * dpi / 1440)));
    }
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
    QTextCursor cursor = mEditor->textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
    mEditor->mergeCurrentCharFormat(format);
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
    mDocument.SetPageBreakBefore(mEditor->textCursor().position(), true);
    mDocument.Document().setModified(true);
}

void TLetterDesign::PageSettingsClick()
{
    const richtext::TPageLayout& p = mDocument.PageLayout();
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
    if (layout == mDocument.PageLayout())
        return;
    if (!mDocument.SetPageLayout(layout)) {
        data::TMessageService::Inform(
            this, TPageUnits::Problem(page, TPagePropertiesDialog::RememberedUnit()));
        return;
    }
    mDocument.Document().setModified(true);
    ApplyWordWrap();
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
    const richtext::TRtfReadResult read = mDocument.LoadRtf(bytes);
    if (!read.ok) {
        data::TMessageService::Inform(this, QStringLiteral("%1 cannot be read: %2")
                                                .arg(QDir::toNativeSeparators(path), read.error));
        return;
    }
    mDocument.Document().setModified(true);
    ApplyWordWrap();
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
    QTextCursor cursor = mEditor->textCursor();
    const richtext::TRtfReadResult read = mDocument.InsertRtf(cursor, bytes);
    if (!read.ok) {
        data::TMessageService::Inform(this, QStringLiteral("%1 cannot be read: %2")
                                                .arg(QDir::toNativeSeparators(path), read.error));
        return;
    }
    mEditor->setTextCursor(cursor);
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
    const QByteArray rtf = mDocument.SaveRtf();
    QSaveFile file(path);
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

void TLetterDesign::PreviewClick()
{
    TRTFPreviewForm preview(mDocument, mAddresses, this);
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
