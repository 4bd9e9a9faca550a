#include "addressbook/ui/TNewRecordDialog.h"

#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::addressbook {

TNewRecordDialog::TNewRecordDialog(bool askNames, bool askZip, int lastWidth, int firstWidth,
                                   int zipWidth, QWidget* parent)
    : QDialog(parent), mAskZip(askZip)
{
    setObjectName(QStringLiteral("TNewRecordDialog"));
    setWindowTitle(QStringLiteral("New Record"));
    auto* form = new QFormLayout;
    // The ZIP entry takes the place of the name entries when those are not asked.
    if (askZip && !askNames) {
        mZip = new QLineEdit(this);
        form->addRow(QStringLiteral("&Zip Code or Postal Code"), mZip);
    }
    if (askNames) {
        mLastName = new QLineEdit(this);
        mLastName->setObjectName(QStringLiteral("LastNameEdit"));
        mLastName->setMaxLength(lastWidth);
        mFirstName = new QLineEdit(this);
        mFirstName->setObjectName(QStringLiteral("FirstNameEdit"));
        mFirstName->setMaxLength(firstWidth);
        form->addRow(QStringLiteral("&Last Name"), mLastName);
        form->addRow(QStringLiteral("&First Name"), mFirstName);
        if (!askZip)
            mFirstName->installEventFilter(this);
    }
    if (askZip && askNames) {
        mZip = new QLineEdit(this);
        form->addRow(QStringLiteral("&Zip Code or Postal Code"), mZip);
    }
    if (mZip) {
        mZip->setObjectName(QStringLiteral("ZipEdit"));
        mZip->setMaxLength(zipWidth);
        connect(mZip, &QLineEdit::returnPressed, this, &QDialog::accept);
    }

    auto* buttons = new QDialogButtonBox(this);
    mOkButton = buttons->addButton(QStringLiteral("Ok [PgDn]"), QDialogButtonBox::AcceptRole);
    mOkButton->setObjectName(QStringLiteral("OkButton"));
    buttons->addButton(QDialogButtonBox::Cancel);
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

TNewRecordInput TNewRecordDialog::Input() const
{
    TNewRecordInput input;
    if (mLastName)
        input.lastName = mLastName->text();
    if (mFirstName)
        input.firstName = mFirstName->text();
    if (mZip)
        input.zip = mZip->text();
    return input;
}

void TNewRecordDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageDown) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TNewRecordDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the first name (Tab or Enter) confirms when no ZIP is asked.
    if (watched == mFirstName && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qm::addressbook
