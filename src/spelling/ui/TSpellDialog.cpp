#include "spelling/ui/TSpellDialog.h"

#include "data/TMessageService.h"
#include "data/ui/THelpWindow.h"
#include "spelling/TSpellChecker.h"
#include "spelling/TSpellSession.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextEdit>
#include <QVBoxLayout>

namespace qm::spelling {

void TSpellDialog::Run(TSpellChecker& checker, QTextEdit& editor, QWidget* parent)
{
    TSpellDialog dialog(checker, editor, parent);
    if (dialog.Start())
        dialog.exec();
}

TSpellDialog::TSpellDialog(TSpellChecker& checker, QTextEdit& editor, QWidget* parent)
    : QDialog(parent), mChecker(checker), mEditor(editor)
{
    setObjectName(QStringLiteral("TSpellDialog"));
    setWindowTitle(QStringLiteral("Spell Check"));

    auto* notFound = new QLabel(QStringLiteral("Not in dictionary:"), this);
    mContextView = new QTextBrowser(this);
    mContextView->setObjectName(QStringLiteral("ContextView"));
    mContextView->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    mContextView->setMaximumHeight(fontMetrics().lineSpacing() * 7);
    mContextView->setFocusPolicy(Qt::NoFocus);
    auto* changeTo = new QLabel(QStringLiteral("C&hange to:"), this);
    mChangeToEdit = new QLineEdit(this);
    mChangeToEdit->setObjectName(QStringLiteral("ChangeToEdit"));
    changeTo->setBuddy(mChangeToEdit);
    auto* suggestions = new QLabel(QStringLiteral("&Suggestions:"), this);
    mSuggestionList = new QListWidget(this);
    mSuggestionList->setObjectName(QStringLiteral("SuggestionList"));
    suggestions->setBuddy(mSuggestionList);

    auto makeButton = [this](const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    mIgnoreButton = makeButton(QStringLiteral("&Ignore"), "IgnoreButton");
    mIgnoreAllButton = makeButton(QStringLiteral("I&gnore All"), "IgnoreAllButton");
    mAddButton = makeButton(QStringLiteral("&Add"), "AddButton");
    mChangeButton = makeButton(QStringLiteral("&Change"), "ChangeButton");
    mChangeAllButton = makeButton(QStringLiteral("Change A&ll"), "ChangeAllButton");
    mCloseButton = makeButton(QStringLiteral("Close"), "CloseButton");
    mHelpButton = makeButton(QStringLiteral("Help"), "HelpButton");
    mChangeButton->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(notFound, 0, 0);
    grid->addWidget(mContextView, 1, 0);
    grid->addWidget(changeTo, 2, 0);
    grid->addWidget(mChangeToEdit, 3, 0);
    grid->addWidget(suggestions, 4, 0);
    grid->addWidget(mSuggestionList, 5, 0);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(mIgnoreButton);
    buttons->addWidget(mIgnoreAllButton);
    buttons->addWidget(mAddButton);
    buttons->addSpacing(8);
    buttons->addWidget(mChangeButton);
    buttons->addWidget(mChangeAllButton);
    buttons->addStretch();
    buttons->addWidget(mCloseButton);
    buttons->addWidget(mHelpButton);
    grid->addLayout(buttons, 0, 1, 6, 1);
    grid->setRowStretch(5, 1);
    setMinimumSize(440, 320);

    connect(mIgnoreButton, &QPushButton::clicked, this, &TSpellDialog::IgnoreButtonClick);
    connect(mIgnoreAllButton, &QPushButton::clicked, this, &TSpellDialog::IgnoreAllButtonClick);
    connect(mAddButton, &QPushButton::clicked, this, &TSpellDialog::AddButtonClick);
    connect(mChangeButton, &QPushButton::clicked, this, &TSpellDialog::ChangeButtonClick);
    connect(mChangeAllButton, &QPushButton::clicked, this, &TSpellDialog::ChangeAllButtonClick);
    connect(mCloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    connect(mSuggestionList, &QListWidget::currentTextChanged, mChangeToEdit, &QLineEdit::setText);
    connect(mSuggestionList, &QListWidget::itemDoubleClicked, this,
            &TSpellDialog::ChangeButtonClick);
    mSession = std::make_unique<TSpellSession>(mChecker, *mEditor.document(), 0);
}

TSpellDialog::~TSpellDialog() = default;

bool TSpellDialog::Start()
{
    if (!mSession->Next()) {
        Finish();
        return false;
    }
    ShowCurrent();
    return true;
}

QString TSpellDialog::CurrentWord() const
{
    return mSession->Word();
}

void TSpellDialog::ShowCurrent()
{
    const QString context = mSession->Context();
    const int offset = mSession->ContextOffset();
    const QString word = mSession->Word();
    mContextView->setHtml(context.left(offset).toHtmlEscaped() +
                          QStringLiteral("<b><font color=\"#c00000\">") + word.toHtmlEscaped() +
                          QStringLiteral("</font></b>") +
                          context.mid(offset + word.size()).toHtmlEscaped());
    const QStringList suggestions = mSession->Suggestions();
    mSuggestionList->blockSignals(true);
    mSuggestionList->clear();
    mSuggestionList->addItems(suggestions);
    mSuggestionList->blockSignals(false);
    if (!suggestions.isEmpty()) {
        mSuggestionList->setCurrentRow(0);
        mChangeToEdit->setText(suggestions.first());
    } else
        mChangeToEdit->setText(word);
    mChangeToEdit->selectAll();
    mChangeToEdit->setFocus();
    mEditor.setTextCursor(mSession->Current());
    mEditor.ensureCursorVisible();
}

void TSpellDialog::Advance()
{
    if (mSession->Next())
        ShowCurrent();
    else
        Finish();
}

void TSpellDialog::Finish()
{
    QTextCursor cursor = mEditor.textCursor();
    cursor.clearSelection();
    mEditor.setTextCursor(cursor);
    data::TMessageService::Inform(this, QStringLiteral("The spelling check is complete."));
    accept();
}

void TSpellDialog::IgnoreButtonClick()
{
    mSession->Ignore();
    Advance();
}

void TSpellDialog::IgnoreAllButtonClick()
{
    mSession->IgnoreAll();
    Advance();
}

void TSpellDialog::AddButtonClick()
{
    if (!mSession->Add())
        data::TMessageService::Warn(this, QStringLiteral("Spell Check"), mChecker.Error());
    Advance();
}

void TSpellDialog::ChangeButtonClick()
{
    mSession->Change(mChangeToEdit->text());
    Advance();
}

void TSpellDialog::ChangeAllButtonClick()
{
    mSession->ChangeAll(mChangeToEdit->text());
    Advance();
}

} // namespace qm::spelling
