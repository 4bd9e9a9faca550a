#include "transfer/ui/TCopyOut.h"

#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"
#include "transfer/TVCardCopyOut.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace qm::transfer {

namespace {

// Where the save dialog starts: the program's folder until it was used once.
QString& LastFolder()
{
    static QString folder;
    return folder;
}

} // namespace

TCopyOut::TCopyOut(xbase::TCursor& cursor, uint32_t total, const QString& openPath, QWidget* parent)
    : QDialog(parent), mCursor(cursor), mTotal(total), mOpenPath(openPath)
{
    setObjectName(QStringLiteral("TCopyOut"));
    setWindowTitle(QStringLiteral("Copy Records Out"));
    auto* layout = new QVBoxLayout(this);
    mOptions = new QWidget(this);
    auto* options = new QVBoxLayout(mOptions);
    options->setContentsMargins(0, 0, 0, 0);
    mDbf = new QRadioButton(QStringLiteral("Copy to a &DBF file"), mOptions);
    mDbf->setObjectName(QStringLiteral("DbfOption"));
    mText = new QRadioButton(QStringLiteral("Copy to an &ASCII file (comma delimited)"), mOptions);
    mText->setObjectName(QStringLiteral("TextOption"));
    mDbf->setChecked(true);
    options->addWidget(mDbf);
    options->addWidget(mText);
    // The text file's encoding: the address file's own Windows-1252 first, which older software
    // reads; UTF-8 with a mark for programs that want it.
    mEncoding = new QComboBox(mOptions);
    mEncoding->setObjectName(QStringLiteral("EncodingChoice"));
    for (const TCopyTextEncoding encoding :
         {TCopyTextEncoding::Windows1252, TCopyTextEncoding::Utf8})
        mEncoding->addItem(TCopyOutEncoding::Caption(encoding), int(encoding));
    mEncoding->setCurrentIndex(mEncoding->findData(
        int(TCopyOutEncoding::Stored(data::TProgramHome::Current().SettingsPath()))));
    auto* encodingRow = new QFormLayout;
    encodingRow->setContentsMargins(style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                        style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing),
                                    0, 0, 0);
    auto* encodingLabel = new QLabel(QStringLiteral("&Encoding:"), mOptions);
    encodingLabel->setBuddy(mEncoding);
    encodingRow->addRow(encodingLabel, mEncoding);
    options->addLayout(encodingRow);
    mEncoding->setEnabled(false);
    connect(mText, &QRadioButton::toggled, mEncoding, &QComboBox::setEnabled);
    // Cards for address books and mail programs; 3.0 is the version most of them read.
    mVCard = new QRadioButton(QStringLiteral("Copy to a &vCard file"), mOptions);
    mVCard->setObjectName(QStringLiteral("VCardOption"));
    options->addWidget(mVCard);
    mVCardVersion = new QComboBox(mOptions);
    mVCardVersion->setObjectName(QStringLiteral("VCardVersionChoice"));
    mVCardVersion->addItem(QStringLiteral("3.0"), int(TVCardVersion::V30));
    mVCardVersion->addItem(QStringLiteral("4.0"), int(TVCardVersion::V40));
    auto* versionRow = new QFormLayout;
    versionRow->setContentsMargins(encodingRow->contentsMargins());
    auto* versionLabel = new QLabel(QStringLiteral("vCard ve&rsion:"), mOptions);
    versionLabel->setBuddy(mVCardVersion);
    versionRow->addRow(versionLabel, mVCardVersion);
    options->addLayout(versionRow);
    mVCardVersion->setEnabled(false);
    connect(mVCard, &QRadioButton::toggled, mVCardVersion, &QComboBox::setEnabled);
    layout->addWidget(mOptions);

    mProgress = new QWidget(this);
    auto* progress = new QVBoxLayout(mProgress);
    progress->setContentsMargins(0, 0, 0, 0);
    mCopyingTo = new QLabel(mProgress);
    mCopyingTo->setObjectName(QStringLiteral("CopyingToLabel"));
    mCopyingTo->setWordWrap(true);
    mGauge = new QProgressBar(mProgress);
    mGauge->setObjectName(QStringLiteral("Gauge"));
    mGauge->setRange(0, 100);
    progress->addWidget(mCopyingTo);
    progress->addWidget(mGauge);
    mProgress->hide();
    layout->addWidget(mProgress);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    mSaveAs = new QPushButton(QStringLiteral("Save As"), this);
    mSaveAs->setObjectName(QStringLiteral("SaveAsButton"));
    mSaveAs->setDefault(true);
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    mHelp = new QPushButton(QStringLiteral("Help"), this);
    mHelp->setObjectName(QStringLiteral("HelpButton"));
    buttons->addWidget(mSaveAs);
    buttons->addWidget(mCancel);
    buttons->addWidget(mHelp);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('W')) * 28);
    connect(mSaveAs, &QPushButton::clicked, this, &TCopyOut::SaveAsButtonClick);
    connect(mCancel, &QPushButton::clicked, this, &TCopyOut::CancelButtonClick);
    connect(mHelp, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
}

TVCardVersion TCopyOut::VCardVersion() const
{
    return TVCardVersion(mVCardVersion->currentData().toInt());
}

TCopyTextEncoding TCopyOut::Encoding() const
{
    return TCopyTextEncoding(mEncoding->currentData().toInt());
}

QString TCopyOut::ProgressText() const
{
    return mCopyingTo->text();
}

QString TCopyOut::ChooseFile(TCopyTargetKind kind)
{
    if (mChooser)
        return mChooser(kind);
    const bool dbf = kind == TCopyTargetKind::Dbf;
    const bool vcard = kind == TCopyTargetKind::VCard;
    const QString extension = dbf     ? QStringLiteral("DBF")
                              : vcard ? QStringLiteral("vcf")
                                      : QStringLiteral("TXT");
    if (LastFolder().isEmpty())
        LastFolder() = data::TProgramHome::Current().Dir();
    QFileDialog dialog(this, windowTitle(), LastFolder(),
                       dbf     ? QStringLiteral("DBF files (*.DBF *.dbf)")
                       : vcard ? QStringLiteral("vCard files (*.vcf *.VCF)")
                               : QStringLiteral("Text files (*.TXT *.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(extension);
    dialog.selectFile(QStringLiteral("*.") + extension);
    // The overwrite question is ours.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().first();
    LastFolder() = QFileInfo(chosen).absolutePath();
    return chosen;
}

void TCopyOut::SaveAsButtonClick()
{
    if (mCopying)
        return;
    const TCopyTargetKind kind = mDbf->isChecked()     ? TCopyTargetKind::Dbf
                                 : mVCard->isChecked() ? TCopyTargetKind::VCard
                                                       : TCopyTargetKind::Text;
    const QString working = QDir::currentPath();
    const QString chosen = ChooseFile(kind);
    QDir::setCurrent(working);
    if (chosen.isEmpty())
        return;
    const TCopyOutTarget::TCheck check = TCopyOutTarget::Check(chosen, kind, mOpenPath);
    if (check.verdict == TCopyOutTarget::TVerdict::Refused) {
        data::TMessageService::Inform(this, check.message);
        return;
    }
    if (check.verdict == TCopyOutTarget::TVerdict::AskOverwrite &&
        !data::TMessageService::Ask(this, QStringLiteral("Warning!"), check.message, false))
        return;

    if (kind == TCopyTargetKind::Text) {
        try {
            TCopyOutEncoding::Store(data::TProgramHome::Current().SettingsPath(), Encoding());
        } catch (const data::TSettingsWriteError& error) {
            // The copy is still made; only the choice is not kept for next time.
            data::TMessageService::Inform(this, error.Message());
        }
    }

    mCopying = true;
    mStop = false;
    mOptions->hide();
    mSaveAs->hide();
    mHelp->hide();
    mCopyingTo->setText(QStringLiteral("Copying to ") + chosen);
    mProgress->show();
    data::TEventPump pump;
    pump.Pump(true);
    const auto after = [&](int64_t copied, int percent) {
        mGauge->setValue(percent);
        if (mAfterRecord)
            mAfterRecord(copied);
        pump.Pump();
        return mStop;
    };
    if (kind == TCopyTargetKind::Dbf)
        mOutcome = TCopyOutRun::CopyDbf(mCursor, chosen, mTotal, after);
    else if (kind == TCopyTargetKind::VCard)
        mOutcome = TVCardCopyOut::Copy(mCursor, chosen, VCardVersion(), mTotal, after);
    else
        mOutcome = TCopyOutRun::CopyText(mCursor, chosen, Encoding() == TCopyTextEncoding::Utf8,
                                         mTotal, after);
    mCopying = false;
    if (!mOutcome.error.isEmpty())
        data::TMessageService::Inform(this, mOutcome.error);
    accept();
}

void TCopyOut::CancelButtonClick()
{
    if (mCopying) {
        if (data::TMessageService::Ask(this, QStringLiteral("Cancel"),
                                       QStringLiteral("Cancel copy?"), false))
            mStop = true;
        return;
    }
    QDialog::reject();
}

void TCopyOut::reject()
{
    CancelButtonClick();
}

} // namespace qm::transfer
