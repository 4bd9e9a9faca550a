#include "data/ui/TRebuildSystemIndexesDialog.h"

#include "data/TSystemTables.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::data {

TRebuildSystemIndexesDialog::TRebuildSystemIndexesDialog(QString sysdataDir, QWidget* parent)
    : QDialog(parent), mSysdataDir(std::move(sysdataDir))
{
    setObjectName(QStringLiteral("TRebuildSystemIndexesDialog"));
    setWindowTitle(QStringLiteral("Rebuild System Indexes"));

    auto* intro = new QLabel(
        QStringLiteral("Rebuilds the indexes of Quillmark's own tables: letters, labels, label "
                       "sheets, states, envelopes and reports. Press Reindex to start."),
        this);
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
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    mHelpButton = new QPushButton(QStringLiteral("&Help"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mReindexButton);
    buttons->addWidget(mCancelButton);
    buttons->addWidget(mHelpButton);
    connect(mReindexButton, &QPushButton::clicked, this,
            &TRebuildSystemIndexesDialog::ReindexButtonClick);
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

void TRebuildSystemIndexesDialog::ReindexButtonClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mCancelButton->hide();
    mHelpButton->hide();
    mReindexButton->setEnabled(false);
    mProgressBar->show();
    mStatusLabel->show();
    mShownTexts.clear();
    TEventPump pump;
    TSystemTables::RebuildAll(
        mSysdataDir,
        [&](const QString& text) {
            mShownTexts << text;
            mStatusLabel->setText(text);
            mProgressBar->setValue(0);
            pump.Pump(true);
        },
        [&](int percent) {
            mProgressBar->setValue(percent);
            pump.Pump();
        });
    mProgressBar->reset();
    mProgressBar->hide();
    QApplication::restoreOverrideCursor();
    accept();
}

} // namespace qm::data
