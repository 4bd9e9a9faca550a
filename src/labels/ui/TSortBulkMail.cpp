#include "labels/ui/TSortBulkMail.h"

#include "data/ui/TMessageService.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qm::labels {

TSortBulkMail::TSortBulkMail(data::TApollo& apollo, const QString& presortPath, QWidget* parent)
    : QDialog(parent), mRun(apollo, presortPath)
{
    setObjectName(QStringLiteral("TSortBulkMail"));
    setWindowTitle(QStringLiteral("Bulk Mail Presorting"));
    setModal(true);
    setMinimumSize(320, 120);

    mStatusLabel = new QLabel(this);
    mStatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    mStatusLabel->setAlignment(Qt::AlignCenter);
    mStatusLabel->setMinimumWidth(mStatusLabel->fontMetrics().horizontalAdvance(
                                      QStringLiteral("Reading database records...")) +
                                  40);
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mStatusLabel, 1);
    layout->addWidget(mCancelButton, 0, Qt::AlignHCenter);

    connect(mCancelButton, &QPushButton::clicked, this, &TSortBulkMail::CancelButtonClick);
}

void TSortBulkMail::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        // The run starts once the window is on screen.
        QTimer::singleShot(0, this, &TSortBulkMail::FormActivate);
    }
}

void TSortBulkMail::FormActivate()
{
    mRunning = true;
    // Window messages run whenever the status changes (every 100 records) and once the list is
    // written, so Cancel is seen before the run ends.
    const auto pump = [] { QCoreApplication::processEvents(); };
    const auto status = [this](const QString& text) {
        mStatusLabel->setText(text);
        mStatusLabel->repaint();
    };
    const TPresortRun::TOutcome outcome = mRun.Run(mCancel, status, pump);
    mRunning = false;
    mFinished = true;
    if (outcome == TPresortRun::TOutcome::Failed)
        data::TMessageService::Error(this, QStringLiteral("Error"), mRun.Error());
    mSucceeded = outcome == TPresortRun::TOutcome::Finished;
    if (mSucceeded)
        accept();
    else
        QDialog::reject();
}

void TSortBulkMail::CancelButtonClick()
{
    if (mFinished) {
        QDialog::reject();
        return;
    }
    // Before the run has started the flag ends it after its first record.
    if (data::TMessageService::Ask(this, QStringLiteral("CANCEL"),
                                   QStringLiteral("Cancel PRESORT?")))
        mCancel = true;
}

void TSortBulkMail::reject()
{
    // Escape and the close box ask as the button does; a running presort is never left behind.
    CancelButtonClick();
}

} // namespace qm::labels
