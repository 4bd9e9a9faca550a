#include "envelopes/ui/TEnvelopePrePrint.h"

#include "data/ui/THelpWindow.h"
#include "envelopes/TEnvelopePlacement.h"
#include "envelopes/TJobPrinterPort.h"
#include "envelopes/ui/TEnvelopeFeed.h"
#include "envelopes/ui/TEnvelopeFeedPicture.h"
#include "print/TBaseReport.h"
#include "print/TRPDevice.h"
#include "print/ui/TPrintDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::envelopes {

namespace {

QLabel* Value(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The dialogs show "\r\n" line ends as plain line breaks.
QString Lines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

TEnvelopePrePrint::TEnvelopePrePrint(print::TBaseReport& job, const TEnvelopeFeedMethod& feed,
                                     int code, QWidget* parent)
    : QDialog(parent), mJob(job), mFeed(feed), mCode(code)
{
    setObjectName(QStringLiteral("TEnvelopePrePrint"));
    setWindowTitle(QStringLiteral("Envelope Print"));
    OnPrinterSetup = [](QWidget* owner) { return print::ShowPrinterSetup(owner); };
    OnChooseFeed = [](const TEnvelopeFeedMethod& current,
                      QWidget* owner) -> std::optional<TEnvelopeFeedMethod> {
        TEnvelopeFeed dialog(current, owner);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Feed();
    };

    auto* printerBox = new QGroupBox(QStringLiteral("Printer Setup"), this);
    printerBox->setObjectName(QStringLiteral("PrinterBox"));
    mPrinter = Value("PrinterLabel", printerBox);
    mSource = Value("SourceLabel", printerBox);
    mPaper = Value("PaperLabel", printerBox);
    mOrientation = Value("OrientationLabel", printerBox);
    mWarning = Value("WarningLabel", printerBox);
    mWarning->setWordWrap(true);
    QPalette red = mWarning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    mWarning->setPalette(red);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Printer:"), mPrinter);
    form->addRow(QStringLiteral("Source:"), mSource);
    form->addRow(QStringLiteral("Paper:"), mPaper);
    form->addRow(QStringLiteral("Orientation:"), mOrientation);
    auto* printerLayout = new QVBoxLayout(printerBox);
    printerLayout->addLayout(form);
    printerLayout->addWidget(mWarning);
    printerLayout->addStretch(1);

    auto* feedBox = new QGroupBox(QStringLiteral("Paper Feed"), this);
    feedBox->setObjectName(QStringLiteral("FeedBox"));
    mPicture = new TEnvelopeFeedPicture(feedBox);
    mFeedText = Value("FeedLabel", feedBox);
    mFeedText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* feedLayout = new QHBoxLayout(feedBox);
    feedLayout->addWidget(mPicture, 0, Qt::AlignTop);
    feedLayout->addWidget(mFeedText, 1);

    mSetupButton = new QPushButton(QStringLiteral("Printer Setup"), this);
    mSetupButton->setObjectName(QStringLiteral("PrinterSetupButton"));
    mFeedButton = new QPushButton(QStringLiteral("Paper Feed Method"), this);
    mFeedButton->setObjectName(QStringLiteral("FeedButton"));
    connect(mSetupButton, &QPushButton::clicked, this, &TEnvelopePrePrint::PrinterSetupClick);
    connect(mFeedButton, &QPushButton::clicked, this, &TEnvelopePrePrint::FeedButtonClick);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(mSetupButton, QDialogButtonBox::ActionRole);
    buttons->addButton(mFeedButton, QDialogButtonBox::ActionRole);
    mOkButton = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    mOkButton->setObjectName(QStringLiteral("OkButton"));
    mOkButton->setDefault(true);
    mCancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    QPushButton* help = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("HelpButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    auto* panels = new QHBoxLayout;
    panels->addWidget(printerBox, 3);
    panels->addWidget(feedBox, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panels);
    layout->addWidget(buttons);
    setMinimumWidth(560);

    RefreshPrinter();
    RefreshFeed();
}

void TEnvelopePrePrint::RefreshPrinter()
{
    const TJobPrinterPort port(mJob);
    mPrinter->setText(port.PrinterText());
    mSource->setText(port.BinText());
    mPaper->setText(port.PaperText());
    mOrientation->setText(port.Landscape() ? QStringLiteral("Landscape")
                                           : QStringLiteral("Portrait"));
    const std::optional<TEnvelopeFace> face = TEnvelopeSizes::Face(mCode);
    const print::TPageGeometry page = print::TRPDevice::Instance().Geometry();
    const bool mismatch =
        face && TEnvelopePlacement::PaperMismatch(page.pageWidth, page.pageHeight, *face);
    mWarning->setText(mismatch ? Lines(TEnvelopePlacement::MismatchWarning()) : QString());
    mWarning->setVisible(mismatch);
}

void TEnvelopePrePrint::RefreshFeed()
{
    mPicture->SetFeed(mFeed);
    mFeedText->setText(Lines(mFeed.Description()));
}

void TEnvelopePrePrint::TurnJob(print::TBaseReport& job, TFeedOrientation orientation)
{
    const print::TOrientation turned = orientation == TFeedOrientation::Landscape
                                           ? print::TOrientation::poLandScape
                                           : print::TOrientation::poPortrait;
    job.SetOrientation(turned);
    print::TRPDevice::Instance().SetOrientation(turned);
}

void TEnvelopePrePrint::PrinterSetupClick()
{
    if (OnPrinterSetup)
        OnPrinterSetup(this);
    RefreshPrinter();
}

void TEnvelopePrePrint::FeedButtonClick()
{
    if (!OnChooseFeed)
        return;
    const std::optional<TEnvelopeFeedMethod> feed = OnChooseFeed(mFeed, this);
    if (!feed)
        return;
    mFeed = *feed;
    TurnJob(mJob, mFeed.orientation);
    RefreshPrinter();
    RefreshFeed();
}

} // namespace qm::envelopes
