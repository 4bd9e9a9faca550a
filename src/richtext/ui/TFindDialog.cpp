#include "richtext/ui/TFindDialog.h"

#include "data/TMessageService.h"
#include "data/ui/THelpWindow.h"
#include "richtext/ui/TRichEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::richtext {

TFindDialog::TFindDialog(TRichEdit& editor, EMode mode, QWidget* parent)
    : QDialog(parent), mEditor(editor), mMode(mode)
{
    const bool replace = mode == EMode::Replace;
    setObjectName(replace ? QStringLiteral("TReplaceDialog") : QStringLiteral("TFindDialog"));
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));

    auto* grid = new QGridLayout(this);
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    mFindEdit = new QLineEdit(this);
    mFindEdit->setObjectName(QStringLiteral("FindEdit"));
    findLabel->setBuddy(mFindEdit);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(mFindEdit, 0, 1);
    int row = 1;
    if (replace) {
        auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
        mReplaceEdit = new QLineEdit(this);
        mReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
        replaceLabel->setBuddy(mReplaceEdit);
        grid->addWidget(replaceLabel, row, 0);
        grid->addWidget(mReplaceEdit, row, 1);
        ++row;
    }
    mMatchCaseBox = new QCheckBox(QStringLiteral("Match &case"), this);
    mMatchCaseBox->setObjectName(QStringLiteral("MatchCaseBox"));
    mWholeWordBox = new QCheckBox(QStringLiteral("&Whole word only"), this);
    mWholeWordBox->setObjectName(QStringLiteral("WholeWordBox"));
    grid->addWidget(mWholeWordBox, row++, 0, 1, 2);
    grid->addWidget(mMatchCaseBox, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);

    auto* buttons = new QVBoxLayout;
    mFindNextButton = new QPushButton(QStringLiteral("&Find Next"), this);
    mFindNextButton->setObjectName(QStringLiteral("FindNextButton"));
    mFindNextButton->setDefault(true);
    buttons->addWidget(mFindNextButton);
    if (replace) {
        mReplaceButton = new QPushButton(QStringLiteral("&Replace"), this);
        mReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
        mReplaceAllButton = new QPushButton(QStringLiteral("Replace &All"), this);
        mReplaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
        buttons->addWidget(mReplaceButton);
        buttons->addWidget(mReplaceAllButton);
        connect(mReplaceButton, &QPushButton::clicked, this, &TFindDialog::ReplaceClick);
        connect(mReplaceAllButton, &QPushButton::clicked, this, &TFindDialog::ReplaceAllClick);
    }
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    buttons->addWidget(close);
    buttons->addStretch();
    buttons->addWidget(help);
    grid->addLayout(buttons, 0, 2, row + 1, 1);
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button != mFindNextButton)
            button->setAutoDefault(false);

    connect(mFindNextButton, &QPushButton::clicked, this, &TFindDialog::FindNextClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this, replace] {
        data::THelpWindow::ShowContext(replace ? kReplaceHelpContext : kFindHelpContext, this);
    });
    connect(mFindEdit, &QLineEdit::textChanged, this, &TFindDialog::UpdateButtons);
    // The selected text is the first thing looked for.
    const QString selected = editor.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        mFindEdit->setText(selected);
    mFindEdit->selectAll();
    UpdateButtons();
    setMinimumWidth(380);
}

TSearchOptions TFindDialog::Options() const
{
    TSearchOptions options;
    options.matchCase = mMatchCaseBox->isChecked();
    options.wholeWord = mWholeWordBox->isChecked();
    return options;
}

void TFindDialog::UpdateButtons()
{
    const bool any = !mFindEdit->text().isEmpty();
    mFindNextButton->setEnabled(any);
    if (mReplaceButton) {
        mReplaceButton->setEnabled(any);
        mReplaceAllButton->setEnabled(any);
    }
}

bool TFindDialog::FindNextClick()
{
    const QString text = mFindEdit->text();
    const QTextCursor found = TTextSearch::FindNext(*mEditor.document(), text,
                                                    mEditor.textCursor().selectionEnd(), Options());
    if (found.isNull()) {
        data::TMessageService::Inform(
            this, QStringLiteral("The text \"%1\" was not found.").arg(text), windowTitle());
        return false;
    }
    mEditor.setTextCursor(found);
    mEditor.ensureCursorVisible();
    return true;
}

void TFindDialog::ReplaceClick()
{
    QTextCursor cursor = mEditor.textCursor();
    if (TTextSearch::ReplaceSelection(cursor, mFindEdit->text(), mReplaceEdit->text(), Options()))
        mEditor.setTextCursor(cursor);
    FindNextClick();
}

void TFindDialog::ReplaceAllClick()
{
    const int count = TTextSearch::ReplaceAll(*mEditor.document(), mFindEdit->text(),
                                              mReplaceEdit->text(), Options());
    if (count == 0)
        data::TMessageService::Inform(
            this, QStringLiteral("The text \"%1\" was not found.").arg(mFindEdit->text()),
            windowTitle());
    else
        data::TMessageService::Inform(this,
                                      count == 1
                                          ? QStringLiteral("1 replacement made.")
                                          : QStringLiteral("%1 replacements made.").arg(count),
                                      windowTitle());
}

} // namespace qm::richtext
