#include "data/ui/TReindexDialog.h"

#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::data {

TReindexDialog::TReindexDialog(const QString& title, const QString& introduction, int helpContext,
                               TButtonOrder order, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    auto* intro = new QLabel(introduction, this);
    intro->setWordWrap(true);
    mStatusLabel = new QLabel(this);
    mStatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    mStatusLabel->hide();
    mProgressBar = new QProgressBar(this);
    mProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    mProgressBar->setRange(0, 100);
    mProgressBar->hide();

    mReindexButton = new QPushButton(QStringLiteral("&Reindex"), this);
    mReindexButton->setObjectName(QStringLiteral("ReindexButton"));
    mReindexButton->setDefault(true);
    mHelpButton = new QPushButton(QStringLiteral("&Help"), this);
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mReindexButton);
    if (order == TButtonOrder::ReindexHelpCancel) {
        buttons->addWidget(mHelpButton);
        buttons->addWidget(mCancelButton);
    } else {
        buttons->addWidget(mCancelButton);
        buttons->addWidget(mHelpButton);
    }
    connect(mReindexButton, &QPushButton::clicked, this, &TReindexDialog::ReindexButtonClick);
    connect(mCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this, helpContext] { THelpWindow::ShowContext(helpContext, this); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(mStatusLabel);
    layout->addWidget(mProgressBar);
    layout->addStretch();
    layout->addLayout(buttons);
    setMinimumWidth(420);
    TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

void TReindexDialog::ReindexButtonClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mCancelButton->hide();
    mHelpButton->hide();
    mReindexButton->setEnabled(false);
    mProgressBar->setValue(0);
    mProgressBar->show();
    mStatusLabel->show();
    Reindex();
    mProgressBar->reset();
    mProgressBar->hide();
    QApplication::restoreOverrideCursor();
    accept();
}

} // namespace qm::data
