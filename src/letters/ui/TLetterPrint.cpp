#include "letters/ui/TLetterPrint.h"

#include "data/TMessageService.h"
#include "data/ui/TEventPump.h"
#include "letters/TDataSetLetterRecords.h"
#include "letters/TLetterPageSink.h"
#include "letters/TRichLetterSource.h"
#include "print/TPdfOutputName.h"
#include "richtext/TRichDocument.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qm::letters {

TLetterPrint::TLetterPrint(const richtext::TRichDocument& letterTemplate, data::TDataSet& addresses,
                           TLetterPageSink& sink, int copies, bool onlyCurrent, QWidget* parent)
    : QDialog(parent), mTemplate(letterTemplate), mAddresses(addresses), mSink(sink),
      mCopies(copies), mOnlyCurrent(onlyCurrent), mClock([] { return QDate::currentDate(); })
{
    setObjectName(QStringLiteral("TLetterPrint"));
    setWindowTitle(QStringLiteral("Print Status Screen"));
    setModal(true);
    setMinimumSize(320, 130);

    mStatusLabel = new QLabel(this);
    mStatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    mStatusLabel->setAlignment(Qt::AlignCenter);
    mStatusLabel->setMinimumHeight(mStatusLabel->fontMetrics().lineSpacing() * 3);
    mStatusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = mStatusLabel->font();
    bold.setBold(true);
    mStatusLabel->setFont(bold);
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    mCancelButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mStatusLabel, 1);
    layout->addWidget(mCancelButton, 0, Qt::AlignHCenter);
    connect(mCancelButton, &QPushButton::clicked, this, &TLetterPrint::CancelButtonClick);
}

void TLetterPrint::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        // The run starts once the window is on screen.
        QTimer::singleShot(0, this, &TLetterPrint::FormActivate);
    }
}

bool TLetterPrint::AfterRecord(const QString& status)
{
    mStatusLabel->setText(status);
    mPump.Pump();
    if (!mCancelRequested)
        return false;
    if (data::TMessageService::Ask(this, QStringLiteral("CANCEL"),
                                   QStringLiteral("Cancel print job?")))
        return true;
    mCancelRequested = false;
    return false;
}

void TLetterPrint::FormActivate()
{
    QCoreApplication::processEvents();
    mRunning = true;
    TDataSetLetterRecords records(mAddresses);
    const TClock clock = mClock;
    TRichLetterSource source(mTemplate, [&records, clock] { return records.Texts(clock()); });
    TLetterRunOptions options;
    options.copies = mCopies;
    options.onlyCurrent = mOnlyCurrent;
    const richtext::TPageLayout& page = mTemplate.PageLayout();
    options.page = {page.paperWidth,  page.paperHeight, page.marginLeft,
                    page.marginRight, page.marginTop,   page.marginBottom};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mOutcome = TLetterRun(records, source, mSink).Run(options, [this](const QString& status, int) {
        return AfterRecord(status);
    });
    QApplication::restoreOverrideCursor();
    mRunning = false;
    mFinished = true;
    mCancelButton->setText(QStringLiteral("OK"));
    QString status = mOutcome.StatusText();
    // A print to a file says where it went.
    const bool written = !mOutcome.failed && !mOutcome.cancelled && !mSink.OutputFile().isEmpty();
    if (written)
        status += QLatin1Char('\n') + print::TPdfOutputName::WrittenLine(mSink.OutputFile());
    mStatusLabel->setText(status);
    if (written)
        adjustSize(); // the whole path, as far as the screen allows
    if (mOutcome.failed)
        data::TMessageService::Error(this, QStringLiteral("Error"), mOutcome.error);
}

void TLetterPrint::CancelButtonClick()
{
    const QString caption = mCancelButton->text().toUpper();
    if (caption == QLatin1String("CANCEL") || caption == QLatin1String("STOP")) {
        mCancelRequested = true;
        return;
    }
    accept();
}

void TLetterPrint::reject()
{
    // Escape and the close box act like the button; a running job is never left behind.
    if (mRunning || !mFinished) {
        CancelButtonClick();
        return;
    }
    QDialog::reject();
}

} // namespace qm::letters
