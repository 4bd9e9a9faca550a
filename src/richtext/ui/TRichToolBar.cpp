#include "richtext/ui/TRichToolBar.h"

#include "richtext/ui/TRichEdit.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCharFormat>

namespace qm::richtext {

namespace {

QIcon Swatch(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    if (colour.isValid())
        painter.setBrush(colour);
    painter.drawRect(1, 1, 13, 13);
    if (!colour.isValid())
        painter.drawLine(2, 14, 14, 2);
    return QIcon(pixmap);
}

QString ColourName(const QColor& colour)
{
    static const QList<std::pair<QRgb, const char*>> names = {
        {qRgb(0, 0, 0), "Black"},        {qRgb(128, 0, 0), "Maroon"},
        {qRgb(0, 128, 0), "Green"},      {qRgb(128, 128, 0), "Olive"},
        {qRgb(0, 0, 128), "Navy"},       {qRgb(128, 0, 128), "Purple"},
        {qRgb(0, 128, 128), "Teal"},     {qRgb(128, 128, 128), "Gray"},
        {qRgb(192, 192, 192), "Silver"}, {qRgb(255, 0, 0), "Red"},
        {qRgb(0, 255, 0), "Lime"},       {qRgb(255, 255, 0), "Yellow"},
        {qRgb(0, 0, 255), "Blue"},       {qRgb(255, 0, 255), "Fuchsia"},
        {qRgb(0, 255, 255), "Aqua"},     {qRgb(255, 255, 255), "White"}};
    for (const auto& [rgb, name] : names)
        if (colour.rgb() == rgb)
            return QString::fromLatin1(name);
    return colour.name();
}

} // namespace

QList<int> TRichToolBar::FontSizes()
{
    return {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
}

QList<QColor> TRichToolBar::Colours()
{
    return {QColor(),
            QColor(0, 0, 0),
            QColor(128, 0, 0),
            QColor(0, 128, 0),
            QColor(128, 128, 0),
            QColor(0, 0, 128),
            QColor(128, 0, 128),
            QColor(0, 128, 128),
            QColor(128, 128, 128),
            QColor(192, 192, 192),
            QColor(255, 0, 0),
            QColor(0, 255, 0),
            QColor(255, 255, 0),
            QColor(0, 0, 255),
            QColor(255, 0, 255),
            QColor(0, 255, 255),
            QColor(255, 255, 255)};
}

QComboBox* TRichToolBar::MakeColourBox(const QString& name, const QString& tip)
{
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setAccessibleName(tip);
    for (const QColor& colour : Colours())
        box->addItem(Swatch(colour),
                     colour.isValid() ? ColourName(colour) : QStringLiteral("Automatic"), colour);
    return box;
}

TRichToolBar::TRichToolBar(TRichEdit& editor, QWidget* parent)
    : QToolBar(QStringLiteral("Format"), parent), mEditor(editor)
{
    setObjectName(QStringLiteral("TRichToolBar"));

    auto* fontLabel = new QLabel(QStringLiteral("Font"), this);
    addWidget(fontLabel);
    mFontBox = new QFontComboBox(this);
    mFontBox->setObjectName(QStringLiteral("FontBox"));
    mFontBox->setFontFilters(QFontComboBox::ScalableFonts);
    mFontBox->setToolTip(QStringLiteral("Font"));
    fontLabel->setBuddy(mFontBox);
    addWidget(mFontBox);

    auto* sizeLabel = new QLabel(QStringLiteral("Font Size"), this);
    addWidget(sizeLabel);
    mSizeBox = new QComboBox(this);
    mSizeBox->setObjectName(QStringLiteral("SizeBox"));
    mSizeBox->setEditable(true);
    mSizeBox->setInsertPolicy(QComboBox::NoInsert);
    mSizeBox->setValidator(new QIntValidator(6, 1638, mSizeBox));
    mSizeBox->setToolTip(QStringLiteral("Font Size"));
    for (int size : FontSizes())
        mSizeBox->addItem(QString::number(size));
    sizeLabel->setBuddy(mSizeBox);
    addWidget(mSizeBox);

    mTextColourBox = MakeColourBox(QStringLiteral("TextColourBox"), QStringLiteral("Text colour"));
    addWidget(mTextColourBox);
    mBackColourBox =
        MakeColourBox(QStringLiteral("BackColourBox"), QStringLiteral("Background colour"));
    addWidget(mBackColourBox);
    addSeparator();

    auto action = [this](const QString& text, const QString& icon, const char* name,
                         const QKeySequence& keys) {
        QAction* made = addAction(QIcon::fromTheme(icon), text);
        made->setObjectName(QString::fromLatin1(name));
        made->setToolTip(text);
        if (!keys.isEmpty())
            made->setShortcut(keys);
        return made;
    };
    mNormal =
        action(QStringLiteral("Normal"), QStringLiteral("format-text-clear"), "NormalAction", {});
    mBold = action(QStringLiteral("Bold"), QStringLiteral("format-text-bold"), "BoldAction",
                   QKeySequence::Bold);
    mItalic = action(QStringLiteral("Italic"), QStringLiteral("format-text-italic"), "ItalicAction",
                     QKeySequence::Italic);
    mUnderline = action(QStringLiteral("Underline"), QStringLiteral("format-text-underline"),
                        "UnderlineAction", QKeySequence::Underline);
    for (QAction* style : {mBold, mItalic, mUnderline})
        style->setCheckable(true);
    addSeparator();
    mLeft = action(QStringLiteral("Left"), QStringLiteral("format-justify-left"), "LeftAction", {});
    mRight =
        action(QStringLiteral("Right"), QStringLiteral("format-justify-right"), "RightAction", {});
    mJustify = action(QStringLiteral("Justified"), QStringLiteral("format-justify-fill"),
                      "JustifyAction", {});
    mCentre = action(QStringLiteral("Centre"), QStringLiteral("format-justify-center"),
                     "CentreAction", {});
    auto* alignments = new QActionGroup(this);
    for (QAction* align : {mLeft, mRight, mJustify, mCentre}) {
        align->setCheckable(true);
        alignments->addAction(align);
    }
    addSeparator();
    QAction* copy = action(QStringLiteral("Copy"), QStringLiteral("edit-copy"), "CopyAction", {});
    QAction* cut = action(QStringLiteral("Cut"), QStringLiteral("edit-cut"), "CutAction", {});
    QAction* paste =
        action(QStringLiteral("Paste"), QStringLiteral("edit-paste"), "PasteAction", {});

    connect(mFontBox, &QFontComboBox::textActivated, this, [this](const QString& family) {
        QTextCharFormat format;
        format.setFontFamilies(QStringList{family});
        mEditor.ApplyCharFormat(format);
        mEditor.setFocus();
    });
    connect(mSizeBox, &QComboBox::textActivated, this, &TRichToolBar::SizeChosen);
    connect(mTextColourBox, &QComboBox::activated, this,
            [this] { ColourChosen(mTextColourBox, false); });
    connect(mBackColourBox, &QComboBox::activated, this,
            [this] { ColourChosen(mBackColourBox, true); });
    connect(mNormal, &QAction::triggered, this, [this] {
        QTextCharFormat format;
        format.setFontWeight(QFont::Normal);
        format.setFontItalic(false);
        format.setFontUnderline(false);
        mEditor.ApplyCharFormat(format);
    });
    connect(mBold, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mEditor.ApplyCharFormat(format);
    });
    connect(mItalic, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        mEditor.ApplyCharFormat(format);
    });
    connect(mUnderline, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        mEditor.ApplyCharFormat(format);
    });
    const std::pair<QAction*, Qt::Alignment> aligns[] = {
        {mLeft, Qt::AlignLeft | Qt::AlignAbsolute},
        {mRight, Qt::AlignRight | Qt::AlignAbsolute},
        {mJustify, Qt::AlignJustify},
        {mCentre, Qt::AlignHCenter}};
    for (const auto& [align, value] : aligns)
        connect(align, &QAction::triggered, this,
                [this, value = value] { mEditor.setAlignment(value); });
    connect(copy, &QAction::triggered, &mEditor, &QTextEdit::copy);
    connect(cut, &QAction::triggered, &mEditor, &QTextEdit::cut);
    connect(paste, &QAction::triggered, &mEditor, &QTextEdit::paste);
    connect(&mEditor, &QTextEdit::copyAvailable, copy, &QAction::setEnabled);
    connect(&mEditor, &QTextEdit::copyAvailable, cut, &QAction::setEnabled);
    copy->setEnabled(false);
    cut->setEnabled(false);
    connect(&mEditor, &QTextEdit::currentCharFormatChanged, this, &TRichToolBar::ShowFormat);
    connect(&mEditor, &QTextEdit::cursorPositionChanged, this, &TRichToolBar::ShowAlignment);
    ShowFormat(mEditor.currentCharFormat());
    ShowAlignment();
}

QAction* TRichToolBar::AlignAction(Qt::Alignment alignment) const
{
    if (alignment & Qt::AlignRight)
        return mRight;
    if (alignment & Qt::AlignHCenter)
        return mCentre;
    if (alignment & Qt::AlignJustify)
        return mJustify;
    return mLeft;
}

void TRichToolBar::ShowFormat(const QTextCharFormat& format)
{
    mShowing = true;
    const QFont font = format.font();
    const QStringList families = format.fontFamilies().toStringList();
    mFontBox->setCurrentFont(
        QFont(families.isEmpty() ? mEditor.document()->defaultFont().family() : families.first()));
    const double points = format.fontPointSize() > 0
                              ? format.fontPointSize()
                              : mEditor.document()->defaultFont().pointSizeF();
    mSizeBox->setEditText(QString::number(points));
    mBold->setChecked(format.fontWeight() >= QFont::DemiBold);
    mItalic->setChecked(format.fontItalic());
    mUnderline->setChecked(format.fontUnderline());
    auto showColour = [](QComboBox* box, const QColor& colour) {
        const int index = box->findData(colour);
        box->setCurrentIndex(index >= 0 ? index : 0);
    };
    showColour(mTextColourBox, format.hasProperty(QTextFormat::ForegroundBrush)
                                   ? format.foreground().color()
                                   : QColor());
    showColour(mBackColourBox, format.hasProperty(QTextFormat::BackgroundBrush)
                                   ? format.background().color()
                                   : QColor());
    mShowing = false;
}

void TRichToolBar::ShowAlignment()
{
    AlignAction(mEditor.alignment())->setChecked(true);
}

void TRichToolBar::SizeChosen(const QString& text)
{
    bool ok = false;
    const int size = text.toInt(&ok);
    if (!ok || size < 6 || size > 1638)
        return; // the validator lets no other number through; an empty text changes nothing
    QTextCharFormat format;
    format.setFontPointSize(size);
    mEditor.ApplyCharFormat(format);
    mEditor.setFocus();
}

void TRichToolBar::ColourChosen(QComboBox* box, bool background)
{
    if (mShowing)
        return;
    const QColor colour = box->currentData().value<QColor>();
    QTextCursor cursor = mEditor.textCursor();
    const QTextFormat::Property property =
        background ? QTextFormat::BackgroundBrush : QTextFormat::ForegroundBrush;
    if (colour.isValid()) {
        QTextCharFormat format;
        if (background)
            format.setBackground(colour);
        else
            format.setForeground(colour);
        mEditor.ApplyCharFormat(format);
    } else {
        // Automatic: the property is removed, not set to a colour.
        if (cursor.hasSelection()) {
            QTextCharFormat cleared;
            cleared.setProperty(property, QVariant());
            cursor.beginEditBlock();
            for (int at = cursor.selectionStart(); at < cursor.selectionEnd(); ++at) {
                QTextCursor one(mEditor.document());
                one.setPosition(at);
                one.setPosition(at + 1, QTextCursor::KeepAnchor);
                QTextCharFormat format = one.charFormat();
                format.clearProperty(property);
                one.setCharFormat(format);
            }
            cursor.endEditBlock();
        }
        QTextCharFormat current = mEditor.currentCharFormat();
        current.clearProperty(property);
        mEditor.setCurrentCharFormat(current);
    }
    mEditor.setFocus();
}

} // namespace qm::richtext
