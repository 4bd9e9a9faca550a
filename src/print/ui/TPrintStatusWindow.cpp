#include "print/ui/TPrintStatusWindow.h"

#include "data/ui/TMessageService.h"
#include "print/TPdfOutputName.h"
#include "print/TPrintError.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qm::print {

TPrintStatusWindow::TPrintStatusWindow(TBaseReport& job, TPrintStatusMode mode,
                                       TPrintStatusTexts texts, QWidget* parent)
    : QDialog(parent), mJob(job), mMode(mode), mTexts(std::move(texts))
{
    setObjectName(QStringLiteral("TPrintStatusWindow"));
    const bool print = mode == TPrintStatusMode::Print;
    setWindowTitle(!mTexts.caption.isEmpty() ? mTexts.caption
                   : print                   ? QStringLiteral("Print Status")
                                             : QStringLiteral("Preview Status"));
    setModal(true);
    setMinimumSize(300, 130);

    mStatusLabel = new QLabel(this);
    mStatusLabel->setAlignment(Qt::AlignCenter);
    mStatusLabel->setMinimumHeight(mStatusLabel->fontMetrics().lineSpacing() * 4);
    // The final status may name the file written; the user can copy its path.
    mStatusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = mStatusLabel->font();
    bold.setBold(true);
    mStatusLabel->setFont(bold);
    mCancelButton =
        new QPushButton(print ? QStringLiteral("Cancel") : QStringLiteral("Stop"), this);
    mCancelButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mStatusLabel, 1);
    layout->addWidget(mCancelButton, 0, Qt::AlignHCenter);

    connect(mCancelButton, &QPushButton::clicked, this, &TPrintStatusWindow::CancelButtonClick);

    // Carriage returns in the status line break the label's lines. A line wider than the window
    // (the path of the file written) makes it grow, as far as the screen allows.
    mJob.SetStatusLabel([this, label = mStatusLabel](const QString& text) {
        QString lines = text;
        lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        label->setText(lines);
        if (label->sizeHint().width() > label->width())
            adjustSize();
    });
}

void TPrintStatusWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        // The job starts once the window is on screen.
        QTimer::singleShot(0, this, &TPrintStatusWindow::FormActivate);
    }
}

void TPrintStatusWindow::FormActivate()
{
    mRunning = true;
    QString failure;
    try {
        mJob.RunJob();
    } catch (const TPrintError& e) {
        failure = e.Message();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    mRunning = false;
    mFinished = true;
    if (!failure.isEmpty())
        data::TMessageService::Error(this, QStringLiteral("Error"), failure);

    mCancelButton->setText(mTexts.doneButton);
    const bool print = mMode == TPrintStatusMode::Print;
    // A job that never started (no printer) did not complete either.
    const bool aborted = mJob.Aborted() || !failure.isEmpty() || mJob.CurrentPage() == 0;
    QString format;
    if (aborted)
        format = print ? mTexts.printCanceled : mTexts.previewCanceled;
    else if (mStopped)
        format = mTexts.previewStopped;
    else if (print)
        format = mTexts.printCompleted;
    else
        format = mTexts.previewReady;
    // A print that wrote a file says where it went; '%' in the path is not a status code.
    const QString written = print && !aborted ? mJob.OutputFile() : QString();
    if (!written.isEmpty())
        format += QLatin1Char('\r') + TPdfOutputName::WrittenLine(written).replace(
                                          QLatin1Char('%'), QStringLiteral("%%"));
    if (!format.isEmpty())
        mJob.SetStatusFormat(format);
    mJob.UpdateStatus();
    if (!print && !aborted && !mStopped && mTexts.closeAfterPreview)
        accept();
}

void TPrintStatusWindow::CancelButtonClick()
{
    const QString caption = mCancelButton->text().toUpper();
    if (caption != QLatin1String("CANCEL") && caption != QLatin1String("STOP")) {
        accept();
        return;
    }
    if (mMode == TPrintStatusMode::Preview) {
        mStopped = true;
        return;
    }
    if (!mTexts.cancelQuestion.isEmpty() &&
        !data::TMessageService::Ask(this, mTexts.questionCaption, mTexts.cancelQuestion))
        return;
    mJob.AbortJob();
}

void TPrintStatusWindow::reject()
{
    // Escape and the close box act like the button; a running job is never left behind.
    if (mRunning) {
        CancelButtonClick();
        return;
    }
    QDialog::reject();
}

} // namespace qm::print
