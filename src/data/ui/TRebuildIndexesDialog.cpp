#include "data/ui/TRebuildIndexesDialog.h"

#include "data/TAddressFileRebuild.h"
#include "data/TDataSet.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::data {

TRebuildIndexesDialog::TRebuildIndexesDialog(TDataSet& dataSet, QWidget* parent)
    : QDialog(parent), mDataSet(dataSet)
{
    setObjectName(QStringLiteral("TRebuildIndexesDialog"));
    setWindowTitle(QStringLiteral("Rebuild indexes for ") + QFileInfo(dataSet.Path()).fileName());

    auto* intro = new QLabel(
        QStringLiteral("Reindexing removes the records you have deleted for good and builds the "
                       "file's indexes again. Press Reindex to start."),
        this);
    intro->setWordWrap(true);
    mStatusLabel = new QLabel(this);
    mStatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    mProgressBar = new QProgressBar(this);
    mProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    mProgressBar->setRange(0, 100);
    mProgressBar->hide();
    mStatusLabel->hide();

    mReindexButton = new QPushButton(QStringLiteral("&Reindex"), this);
    mReindexButton->setObjectName(QStringLiteral("ReindexButton"));
    mReindexButton->setDefault(true);
    mHelpButton = new QPushButton(QStringLiteral("&Help"), this);
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mReindexButton);
    buttons->addWidget(mHelpButton);
    buttons->addWidget(mCancelButton);
    connect(mReindexButton, &QPushButton::clicked, this, &TRebuildIndexesDialog::ReindexButtonClick);
    connect(mCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { THelpWindow::ShowContext(kHelpContext, this); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(mStatusLabel);
    layout->addWidget(mProgressBar);
    layout->addStretch();
    layout->addLayout(buttons);
    setMinimumWidth(420);
    TWindowPlacement::Centre(*this, parentWidget() ? parentWidget()->window() : nullptr);
}

void TRebuildIndexesDialog::ReindexButtonClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mCancelButton->hide();
    mHelpButton->hide();
    mReindexButton->setEnabled(false);
    mProgressBar->setValue(0);
    mProgressBar->show();
    mStatusLabel->show();
    TEventPump pump;
    pump.Pump(true);
    mFailure = TAddressFileRebuild::Run(
        mDataSet, {[&](const QString& text) {
                       mStatusLabel->setText(text);
                       pump.Pump(true);
                   },
                   [&](int value) {
                       mProgressBar->setValue(value);
                       pump.Pump();
                   }});
    mProgressBar->reset();
    mProgressBar->hide();
    QApplication::restoreOverrideCursor();
    accept();
}

} // namespace qm::data
