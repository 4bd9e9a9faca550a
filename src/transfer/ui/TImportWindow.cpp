#include "transfer/ui/TImportWindow.h"

#include "data/TMessageService.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::transfer {

TImportWindow::TImportWindow(const QString& caption, const QString& fileCaption,
                             const QString& selectText, bool withMatch, int helpContext,
                             QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    auto* fileCaptionLabel = new QLabel(fileCaption, this);
    mFileName = new QLabel(QStringLiteral("(none)"), this);
    mFileName->setObjectName(QStringLiteral("FileNameLabel"));
    mFileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mFileName->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('W')) * 24);
    fileRow->addWidget(fileCaptionLabel);
    fileRow->addWidget(mFileName, 1);
    layout->addLayout(fileRow);
    mStatus = new QLabel(this);
    mStatus->setObjectName(QStringLiteral("StatusLabel"));
    layout->addWidget(mStatus);
    mGauge = new QProgressBar(this);
    mGauge->setObjectName(QStringLiteral("Gauge"));
    mGauge->setRange(0, 100);
    mGauge->hide();
    layout->addWidget(mGauge);

    auto* buttons = new QHBoxLayout;
    mSelect = new QPushButton(selectText, this);
    mSelect->setObjectName(QStringLiteral("SelectButton"));
    buttons->addWidget(mSelect);
    if (withMatch) {
        mMatch = new QPushButton(QStringLiteral("Match Fields"), this);
        mMatch->setObjectName(QStringLiteral("MatchButton"));
        mMatch->setEnabled(false);
        buttons->addWidget(mMatch);
        connect(mMatch, &QPushButton::clicked, this, [this] { MatchButtonClick(); });
    }
    mImport = new QPushButton(QStringLiteral("Import"), this);
    mImport->setObjectName(QStringLiteral("ImportButton"));
    mImport->setEnabled(false);
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    mHelp = new QPushButton(QStringLiteral("Help"), this);
    mHelp->setObjectName(QStringLiteral("HelpButton"));
    buttons->addWidget(mImport);
    buttons->addWidget(mCancel);
    buttons->addWidget(mHelp);
    layout->addLayout(buttons);
    connect(mSelect, &QPushButton::clicked, this, [this] { SelectFileClick(); });
    connect(mImport, &QPushButton::clicked, this, &TImportWindow::ImportButtonClick);
    connect(mCancel, &QPushButton::clicked, this, &TImportWindow::CancelButtonClick);
    connect(mHelp, &QPushButton::clicked, this,
            [this, helpContext] { data::THelpWindow::ShowContext(helpContext, this); });
    mSelect->setDefault(true);
}

QString TImportWindow::FileNameText() const
{
    return mFileName->text();
}
QString TImportWindow::StatusText() const
{
    return mStatus->text();
}

QString TImportWindow::ChooseFile(const QString& filter, const QString& initialName)
{
    if (mChooser)
        return mChooser();
    // The working folder is the program's business: the dialog does not move it.
    const QString working = QDir::currentPath();
    const QString chosen = QFileDialog::getOpenFileName(this, windowTitle(), initialName, filter);
    QDir::setCurrent(working);
    return chosen;
}

void TImportWindow::SetFileName(const QString& path)
{
    mFileName->setText(path.isEmpty() ? QStringLiteral("(none)") : QFileInfo(path).fileName());
    mFileName->setToolTip(path);
}

void TImportWindow::SetStatusText(const QString& text)
{
    mStatus->setText(text);
}

void TImportWindow::ShowRunning(bool running)
{
    mSelect->setVisible(!running);
    if (mMatch)
        mMatch->setVisible(!running);
    mImport->setVisible(!running);
    mHelp->setVisible(!running);
    mGauge->setVisible(running);
    mGauge->setValue(0);
}

void TImportWindow::ImportButtonClick()
{
    if (mImporting || mRebuilding)
        return;
    std::unique_ptr<TImportSource> source = MakeSource();
    if (!source)
        return;
    TImportRun run(Target(), *source);
    ShowRunning(true);
    mImporting = true;
    mStop = false;
    data::TEventPump pump;
    TImportRun::TCallbacks callbacks;
    callbacks.status = [this](const QString& text) {
        mStatus->setText(text);
        QCoreApplication::processEvents();
    };
    callbacks.checkTick = [&] {
        pump.Pump();
        return mStop;
    };
    callbacks.afterRecord = [&](int64_t imported, int percent) {
        mGauge->setValue(percent);
        if (mAfterRecord)
            mAfterRecord(imported);
        pump.Pump();
        return mStop;
    };
    const TImportOutcome outcome = run.Import(callbacks);
    mImporting = false;
    mStop = false;
    mStatus->clear();
    data::TMessageService::Inform(this, outcome.ClosingMessage(Kind()));
    if (!outcome.changed) {
        // Nothing was appended and the index is untouched: the user may choose again.
        ShowRunning(false);
        if (outcome.refusal.isEmpty())
            accept();
        return;
    }

    mRebuilding = true;
    mStatus->setText(QStringLiteral("Rebuilding Indexes "));
    mCancel->hide();
    mGauge->setValue(0);
    const QString failure = run.Rebuild([&](int percent) {
        mGauge->setValue(percent);
        pump.Pump();
    });
    mRebuilding = false;
    if (!failure.isEmpty())
        data::TMessageService::Inform(this, failure);
    mGauge->setValue(0);
    mCancel->show();
    mGauge->hide();
    accept();
}

void TImportWindow::CancelButtonClick()
{
    if (mRebuilding)
        return;
    if (mImporting) {
        mStop = true;
        return;
    }
    QDialog::reject();
}

void TImportWindow::reject()
{
    // Esc and the close box behave as "Cancel".
    CancelButtonClick();
}

} // namespace qm::transfer
