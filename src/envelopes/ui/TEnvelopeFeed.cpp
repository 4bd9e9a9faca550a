#include "envelopes/ui/TEnvelopeFeed.h"

#include "data/ui/THelpWindow.h"
#include "envelopes/ui/TEnvelopeFeedPicture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::envelopes {

namespace {

QRadioButton* Choice(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QGroupBox* Group(const QString& title, const char* name, std::initializer_list<QWidget*> items,
                 QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(box);
    for (QWidget* item : items) {
        item->setParent(box);
        layout->addWidget(item);
    }
    layout->addStretch(1);
    return box;
}

} // namespace

TEnvelopeFeed::TEnvelopeFeed(const TEnvelopeFeedMethod& feed, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TEnvelopeFeed"));
    setWindowTitle(QStringLiteral("Paper Feed Method"));

    mLeft = Choice(QStringLiteral("&Left"), "LeftButton", this);
    mRight = Choice(QStringLiteral("&Right"), "RightButton", this);
    mCenter = Choice(QStringLiteral("&Center"), "CenterButton", this);
    mPortrait = Choice(QStringLiteral("&Portrait"), "PortraitButton", this);
    mLandscape = Choice(QStringLiteral("&Landscape"), "LandscapeButton", this);
    mUp = Choice(QStringLiteral("&Up"), "UpButton", this);
    mDown = Choice(QStringLiteral("&Down"), "DownButton", this);
    mClockwise = new QCheckBox(QStringLiteral("Clock&wise Rotation"), this);
    mClockwise->setObjectName(QStringLiteral("ClockwiseBox"));
    // Each group is its own set of choices.
    for (auto buttons : {std::initializer_list<QRadioButton*>{mLeft, mRight, mCenter},
                         std::initializer_list<QRadioButton*>{mPortrait, mLandscape},
                         std::initializer_list<QRadioButton*>{mUp, mDown}}) {
        auto* group = new QButtonGroup(this);
        for (QRadioButton* b : buttons)
            group->addButton(b);
    }

    (feed.position == TFeedPosition::Left    ? mLeft
     : feed.position == TFeedPosition::Right ? mRight
                                             : mCenter)
        ->setChecked(true);
    (feed.orientation == TFeedOrientation::Portrait ? mPortrait : mLandscape)->setChecked(true);
    (feed.facing == TFeedFacing::Up ? mUp : mDown)->setChecked(true);
    mClockwise->setChecked(feed.clockwise);

    auto* intro = new QLabel(
        QStringLiteral("Please indicate how you normally feed envelopes into your printer:"), this);
    intro->setWordWrap(true);
    auto* note = new QLabel(QStringLiteral("(note: there are many printers and many ways to feed "
                                           "envelopes - this may take some experimenting)"),
                            this);
    note->setObjectName(QStringLiteral("NoteLabel"));
    note->setWordWrap(true);
    mPicture = new TEnvelopeFeedPicture(this);

    auto* orientationBox = Group(QStringLiteral("Orientation"), "OrientationBox",
                                 {mPortrait, mLandscape, mClockwise}, this);
    auto* choices = new QGridLayout;
    choices->addWidget(
        Group(QStringLiteral("Position"), "PositionBox", {mLeft, mRight, mCenter}, this), 0, 0);
    choices->addWidget(orientationBox, 0, 1);
    choices->addWidget(Group(QStringLiteral("Facing"), "FacingBox", {mUp, mDown}, this), 0, 2);
    choices->addWidget(mPicture, 0, 3, Qt::AlignTop | Qt::AlignHCenter);
    choices->setColumnMinimumWidth(3, TEnvelopeFeedPicture::kPageSize.width() + 16);

    auto* buttons = new QDialogButtonBox(this);
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

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(choices);
    layout->addWidget(note);
    layout->addWidget(buttons);

    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             mLeft, mRight, mCenter, mPortrait, mLandscape, mUp, mDown, mClockwise})
        connect(b, &QAbstractButton::clicked, this, &TEnvelopeFeed::Refresh);
    Refresh();
}

TEnvelopeFeedMethod TEnvelopeFeed::Feed() const
{
    TEnvelopeFeedMethod feed;
    feed.position = mLeft->isChecked()    ? TFeedPosition::Left
                    : mRight->isChecked() ? TFeedPosition::Right
                                          : TFeedPosition::Centre;
    feed.orientation =
        mPortrait->isChecked() ? TFeedOrientation::Portrait : TFeedOrientation::Landscape;
    feed.facing = mUp->isChecked() ? TFeedFacing::Up : TFeedFacing::Down;
    feed.clockwise = mClockwise->isChecked();
    return feed;
}

void TEnvelopeFeed::Refresh()
{
    // The rotation only means something for envelopes fed sideways.
    mClockwise->setVisible(mLandscape->isChecked());
    mPicture->SetFeed(Feed());
}

} // namespace qm::envelopes
