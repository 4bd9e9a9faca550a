#include "addressbook/ui/TTaggingDialog.h"

#include "addressbook/TTagAllRun.h"
#include "data/TMessageService.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qm::addressbook {

TTaggingDialog::TTaggingDialog(TAddressBook& book, QWidget* parent) : QDialog(parent), mBook(book)
{
    setObjectName(QStringLiteral("TTaggingDialog"));
    setWindowTitle(QStringLiteral("Tagging"));
    auto* layout = new QVBoxLayout(this);
    mStatus = new QLabel(this);
    mStatus->setObjectName(QStringLiteral("StatusLabel"));
    mStatus->setAlignment(Qt::AlignCenter);
    mStatus->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("Cancelled before completion")) + 40);
    layout->addWidget(mStatus);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    mOk = new QPushButton(QStringLiteral("Ok"), this);
    mOk->setObjectName(QStringLiteral("OKButton"));
    mOk->hide();
    connect(mCancel, &QPushButton::clicked, this, &TTaggingDialog::CancelButtonClick);
    connect(mOk, &QPushButton::clicked, this, &TTaggingDialog::OKButtonClick);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    buttons->addWidget(mCancel);
    buttons->addWidget(mOk);
    buttons->addWidget(help);
    buttons->addStretch();
    layout->addLayout(buttons);
}

QString TTaggingDialog::StatusText() const
{
    return mStatus->text();
}

void TTaggingDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mStarted) {
        mStarted = true;
        QTimer::singleShot(0, this, &TTaggingDialog::Run);
    }
}

void TTaggingDialog::Run()
{
    mRunning = true;
    data::TEventPump pump;
    TTagAllRun::TOutcome outcome;
    try {
        outcome = TTagAllRun(mBook).Run([&](int tagged) {
            mTagged = tagged;
            mStatus->setText(QString::number(tagged) + QStringLiteral(" tagged"));
            if (mAfterRecord)
                mAfterRecord(tagged);
            pump.Pump();
            return mStop;
        });
    } catch (const std::exception& error) {
        data::TMessageService::Inform(this, QString::fromStdString(error.what()));
        outcome.cancelled = true;
    }
    mRunning = false;
    mStatus->setText(outcome.cancelled ? QStringLiteral("Cancelled before completion")
                                       : QStringLiteral("Complete"));
    mCancel->hide();
    mOk->show();
    mOk->setDefault(true);
    mOk->setFocus();
}

void TTaggingDialog::CancelButtonClick()
{
    if (mRunning && data::TMessageService::Ask(this, QStringLiteral("CANCEL"),
                                               QStringLiteral("Cancel Tagging?")))
        mStop = true;
}

void TTaggingDialog::OKButtonClick()
{
    accept();
}

void TTaggingDialog::reject()
{
    // Esc or the close box while tagging means Cancel; afterwards the window closes like Ok.
    if (mRunning || !mStarted)
        CancelButtonClick();
    else
        QDialog::reject();
}

} // namespace qm::addressbook
