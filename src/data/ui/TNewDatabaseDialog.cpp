#include "data/ui/TNewDatabaseDialog.h"

#include "data/TAddressFileNames.h"
#include "data/TSettingsFile.h"
#include "data/ui/TFieldLengthsDialog.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::data {

TNewDatabaseDialog::TNewDatabaseDialog(const QString& proposedName, TSettingsFile& settings,
                                       QWidget* parent)
    : QDialog(parent), mSettings(settings), mLengths(TNewFileFieldLengths::Load(settings))
{
    setObjectName(QStringLiteral("TNewDatabaseDialog"));
    setWindowTitle(QStringLiteral("Create new database"));

    auto* prompt = new QLabel(QStringLiteral("Enter the database name (no extension)"), this);
    mNameEdit = new QLineEdit(proposedName, this);
    mNameEdit->setObjectName(QStringLiteral("NameEdit"));
    mNameEdit->setMaxLength(TAddressFileNames::kMaxNameLength);
    prompt->setBuddy(mNameEdit);
    mInvalidLabel = new QLabel(
        QStringLiteral("Invalid name. Must start with A..Z, followed by A..Z,0..9 or \"_\" "
                       "(underscore)"),
        this);
    mInvalidLabel->setObjectName(QStringLiteral("InvalidLabel"));
    mInvalidLabel->setWordWrap(true);
    QPalette warning = mInvalidLabel->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    mInvalidLabel->setPalette(warning);

    mFieldLengthsButton = new QPushButton(QStringLiteral("Specify &Field Lengths"), this);
    mFieldLengthsButton->setObjectName(QStringLiteral("FieldLengthsButton"));
    auto* buttons = new QDialogButtonBox(this);
    mOKButton = buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton(QDialogButtonBox::Cancel);
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { THelpWindow::ShowContext(kHelpContext, this); });
    connect(mFieldLengthsButton, &QPushButton::clicked, this,
            &TNewDatabaseDialog::FieldLengthsButtonClick);
    connect(mNameEdit, &QLineEdit::textChanged, this, &TNewDatabaseDialog::NameEditChange);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(mNameEdit);
    layout->addWidget(mInvalidLabel);
    layout->addWidget(mFieldLengthsButton, 0, Qt::AlignLeft);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(360);

    NameEditChange();
    mNameEdit->selectAll();
    TWindowPlacement::Centre(*this, parentWidget() ? parentWidget()->window() : nullptr);
}

QString TNewDatabaseDialog::Name() const
{
    return mNameEdit->text();
}

void TNewDatabaseDialog::NameEditChange()
{
    const bool valid = TAddressFileNames::IsValidName(mNameEdit->text());
    mOKButton->setEnabled(valid);
    mInvalidLabel->setVisible(!valid);
}

void TNewDatabaseDialog::FieldLengthsButtonClick()
{
    TFieldLengthsDialog dialog(mLengths, mSettings, this);
    if (dialog.exec() == QDialog::Accepted)
        mLengths = dialog.Lengths();
}

} // namespace qm::data
