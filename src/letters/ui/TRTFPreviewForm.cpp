#include "letters/ui/TRTFPreviewForm.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TRecordMove.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "letters/TLetterMerge.h"
#include "letters/TMergeTexts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

namespace qm::letters {

// The white page: paints the page and passes clicks on as zoom requests.
class TLetterPageView : public QWidget {
public:
    explicit TLetterPageView(TRTFPreviewForm* form) : QWidget(nullptr), mForm(form)
    {
        setObjectName(QStringLiteral("PagePanel"));
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, Qt::white);
        setPalette(palette);
        setCursor(MagnifierCursor());
    }
    QRect textArea;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        mForm->DrawPage(painter, textArea);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            mForm->ZoomInClick();
        else
            mForm->ZoomOutClick();
    }

private:
    // A magnifying glass drawn at run time, so the cursor needs no resource file.
    static QCursor MagnifierCursor()
    {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 5));
        p.drawEllipse(QRectF(3, 3, 16, 16));
        p.drawLine(QPointF(17, 17), QPointF(28, 28));
        p.setPen(QPen(Qt::black, 2.5));
        p.drawEllipse(QRectF(3, 3, 16, 16));
        p.drawLine(QPointF(17, 17), QPointF(28, 28));
        return QCursor(pixmap, 11, 11);
    }

    TRTFPreviewForm* mForm;
};

namespace {

const QString kClassName = QStringLiteral("TRTFPreviewForm");

std::optional<data::TSettingsFile> Settings()
{
    if (data::TProgramHome::Current().Dir().isEmpty())
        return std::nullopt;
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

QToolButton* MakeButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                        const QString& text, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setText(text);
    button->setToolTip(tip);
    button->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly
                                              : Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TRTFPreviewForm::TRTFPreviewForm(const richtext::TRichDocument& letterTemplate,
                                 data::TDataSet& addresses, QWidget* parent)
    : QDialog(parent), mAddresses(addresses), mClock([] { return QDate::currentDate(); })
{
    setObjectName(kClassName);
    setWindowTitle(QStringLiteral("Preview Letters"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setMinimumSize(520, 400);
    resize(760, 640);
    mTemplate.CopyFrom(letterTemplate);

    mZoomInButton =
        MakeButton(this, "ZoomInButton", QStyle::SP_ArrowUp, {}, QStringLiteral("Zoom in"));
    mZoomOutButton =
        MakeButton(this, "ZoomOutButton", QStyle::SP_ArrowDown, {}, QStringLiteral("Zoom out"));
    mPageWidthButton = MakeButton(this, "PageWidthButton", QStyle::SP_TitleBarMaxButton, {},
                                  QStringLiteral("Page width"));
    mWholePageButton =
        MakeButton(this, "WholePageButton", QStyle::SP_FileIcon, {}, QStringLiteral("Whole page"));
    mPriorPageButton = MakeButton(this, "PriorPageButton", QStyle::SP_ArrowLeft, {},
                                  QStringLiteral("Previous page"));
    mNextPageButton =
        MakeButton(this, "NextPageButton", QStyle::SP_ArrowRight, {}, QStringLiteral("Next page"));
    mFirstRecordButton = MakeButton(this, "FirstRecordButton", QStyle::SP_MediaSkipBackward, {},
                                    QStringLiteral("First record"));
    mPriorRecordButton = MakeButton(this, "PriorRecordButton", QStyle::SP_MediaSeekBackward, {},
                                    QStringLiteral("Previous record"));
    mNextRecordButton = MakeButton(this, "NextRecordButton", QStyle::SP_MediaSeekForward, {},
                                   QStringLiteral("Next record"));
    mLastRecordButton = MakeButton(this, "LastRecordButton", QStyle::SP_MediaSkipForward, {},
                                   QStringLiteral("Last record"));
    mZoomLabel = new QLabel(this);
    mZoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    mOkButton = new QPushButton(QStringLiteral("Ok"), this);
    mOkButton->setObjectName(QStringLiteral("OkButton"));
    auto* helpButton = new QPushButton(QStringLiteral("Help"), this);
    helpButton->setObjectName(QStringLiteral("HelpButton"));
    helpButton->setAutoDefault(false);

    auto* bar = new QHBoxLayout;
    for (QToolButton* b : {mZoomInButton, mZoomOutButton, mPageWidthButton, mWholePageButton})
        bar->addWidget(b);
    bar->addWidget(mZoomLabel);
    bar->addSpacing(12);
    bar->addWidget(mPriorPageButton);
    bar->addWidget(mNextPageButton);
    bar->addSpacing(12);
    for (QToolButton* b :
         {mFirstRecordButton, mPriorRecordButton, mNextRecordButton, mLastRecordButton})
        bar->addWidget(b);
    bar->addStretch(1);
    bar->addWidget(mOkButton);
    bar->addWidget(helpButton);

    mPage = new TLetterPageView(this);
    mScrollBox = new QScrollArea(this);
    mScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    mScrollBox->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    mScrollBox->setBackgroundRole(QPalette::Dark);
    mScrollBox->setWidget(mPage);
    mScrollBox->setWidgetResizable(false);
    mScrollBox->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(mScrollBox, 1);

    connect(mZoomInButton, &QToolButton::clicked, this, &TRTFPreviewForm::ZoomInClick);
    connect(mZoomOutButton, &QToolButton::clicked, this, &TRTFPreviewForm::ZoomOutClick);
    connect(mPageWidthButton, &QToolButton::clicked, this, &TRTFPreviewForm::PageWidthClick);
    connect(mWholePageButton, &QToolButton::clicked, this, &TRTFPreviewForm::WholePageClick);
    connect(mPriorPageButton, &QToolButton::clicked, this, &TRTFPreviewForm::PriorPageClick);
    connect(mNextPageButton, &QToolButton::clicked, this, &TRTFPreviewForm::NextPageClick);
    connect(mFirstRecordButton, &QToolButton::clicked, this, &TRTFPreviewForm::FirstRecordClick);
    connect(mPriorRecordButton, &QToolButton::clicked, this, &TRTFPreviewForm::PriorRecordClick);
    connect(mNextRecordButton, &QToolButton::clicked, this, &TRTFPreviewForm::NextRecordClick);
    connect(mLastRecordButton, &QToolButton::clicked, this, &TRTFPreviewForm::LastRecordClick);
    connect(mOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(helpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    // The window's width over the page's width on the screen, as a zoom.
    const QSize onScreen = TLetterPreviewState::PageSizeOnScreen(Page(), ScreenDpi());
    mState.SetZoom(TLetterPreviewState::FitZoom(width(), onScreen.width()));
    UpdateButtons();
}

TRTFPreviewForm::~TRTFPreviewForm() = default;

QWidget* TRTFPreviewForm::PagePanel() const
{
    return mPage;
}

int TRTFPreviewForm::ScreenDpi() const
{
    return logicalDpiX() > 0 ? logicalDpiX() : 96;
}

TLetterPageTwips TRTFPreviewForm::Page() const
{
    const richtext::TPageLayout& p = mTemplate.PageLayout();
    return {p.paperWidth, p.paperHeight, p.marginLeft, p.marginRight, p.marginTop, p.marginBottom};
}

void TRTFPreviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        FormActivate();
    }
}

void TRTFPreviewForm::FormActivate()
{
    Merge();
    mReady = true;
    ZoomChanged();
    if (auto settings = Settings())
        data::TWindowPlacement::Restore(*this, kClassName, *settings);
}

void TRTFPreviewForm::Merge()
{
    mFinal.CopyFrom(mTemplate);
    mFinal.Document().setUndoRedoEnabled(false);
    if (mAddresses.Active() && !mAddresses.IsEmpty()) {
        const TMergeTexts texts = TMergeTexts::FromRecord(
            [this](const QString& field) { return mAddresses.AsString(field); }, mClock());
        TLetterMerge::ReplaceTokens(mFinal.Document(), texts);
    }
}

void TRTFPreviewForm::ZoomChanged()
{
    const TLetterPageTwips page = Page();
    mPage->setFixedSize(TLetterPreviewState::PanelSize(page, ScreenDpi(), mState.Zoom()));
    mPage->textArea = TLetterPreviewState::TextArea(page, ScreenDpi(), mState.Zoom());
    mZoomLabel->setText(QString::number(mState.Zoom()) + QLatin1Char('%'));
    mPage->setVisible(true);
    mPage->update();
    UpdateButtons();
}

void TRTFPreviewForm::DrawPage(QPainter& painter, const QRect& textArea)
{
    if (!mReady)
        return;
    try {
        const int following =
            mFinal.DrawPage(painter, QRectF(textArea), mState.Zoom(), mState.Start());
        mState.SetFollowing(following);
    } catch (const std::exception&) {
        if (!mDrawErrorShown) {
            mDrawErrorShown = true;
            data::TMessageService::Inform(this,
                                          QStringLiteral("There was an error drawing the preview"));
        }
    }
    UpdateButtons();
}

void TRTFPreviewForm::UpdateButtons()
{
    mPriorPageButton->setEnabled(mState.HasPreviousPage());
    mNextPageButton->setEnabled(mState.HasNextPage());
    mZoomInButton->setEnabled(mState.Zoom() < 150);
    mZoomOutButton->setEnabled(mState.Zoom() > 50);
}

void TRTFPreviewForm::ZoomInClick()
{
    if (mState.ZoomIn())
        ZoomChanged();
}

void TRTFPreviewForm::ZoomOutClick()
{
    if (mState.ZoomOut())
        ZoomChanged();
}

void TRTFPreviewForm::PageWidthClick()
{
    const QSize onScreen = TLetterPreviewState::PageSizeOnScreen(Page(), ScreenDpi());
    mState.SetZoom(TLetterPreviewState::FitZoom(mScrollBox->viewport()->width(), onScreen.width()));
    ZoomChanged();
}

void TRTFPreviewForm::WholePageClick()
{
    const QSize onScreen = TLetterPreviewState::PageSizeOnScreen(Page(), ScreenDpi());
    mState.SetZoom(
        TLetterPreviewState::FitZoom(mScrollBox->viewport()->height(), onScreen.height()));
    ZoomChanged();
}

void TRTFPreviewForm::NextPageClick()
{
    // The following page is known once the page shown has been drawn.
    if (!mState.HasNextPage())
        mState.SetFollowing(mFinal.NextPageStart(mState.Start()));
    if (!mState.NextPage())
        return;
    setWindowTitle(mState.Caption());
    mPage->update();
    UpdateButtons();
}

void TRTFPreviewForm::PriorPageClick()
{
    if (!mState.PreviousPage())
        return;
    setWindowTitle(mState.Caption());
    mState.SetFollowing(mFinal.NextPageStart(mState.Start()));
    mPage->update();
    UpdateButtons();
}

void TRTFPreviewForm::MoveRecord(data::TRecordStep step)
{
    if (const QString failure = data::TRecordMove::Step(mAddresses, step); !failure.isEmpty())
        data::TMessageService::Inform(this, failure);
    RecordMoved();
}

void TRTFPreviewForm::RecordMoved()
{
    mState.Reset();
    setWindowTitle(mState.Caption());
    Merge();
    mState.SetFollowing(mFinal.NextPageStart(0));
    mPage->update();
    UpdateButtons();
}

void TRTFPreviewForm::FirstRecordClick()
{
    MoveRecord(data::TRecordStep::First);
}

void TRTFPreviewForm::PriorRecordClick()
{
    MoveRecord(data::TRecordStep::Prior);
}

void TRTFPreviewForm::NextRecordClick()
{
    MoveRecord(data::TRecordStep::Next);
}

void TRTFPreviewForm::LastRecordClick()
{
    MoveRecord(data::TRecordStep::Last);
}

void TRTFPreviewForm::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = mScrollBox->verticalScrollBar();
    if (event->key() == Qt::Key_Up) {
        bar->setValue(std::max(bar->minimum(), bar->value() - bar->singleStep()));
        return;
    }
    if (event->key() == Qt::Key_Down) {
        bar->setValue(std::min(bar->maximum(), bar->value() + bar->singleStep()));
        return;
    }
    QDialog::keyPressEvent(event);
}

void TRTFPreviewForm::SavePlacement()
{
    if (mPlacementSaved || !mActivated)
        return;
    mPlacementSaved = true;
    if (auto settings = Settings()) {
        try {
            data::TWindowPlacement::Save(*this, kClassName, *settings);
        } catch (const data::TSettingsWriteError& e) {
            data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        }
    }
}

void TRTFPreviewForm::closeEvent(QCloseEvent* event)
{
    SavePlacement();
    QDialog::closeEvent(event);
}

void TRTFPreviewForm::done(int result)
{
    SavePlacement();
    QDialog::done(result);
}

} // namespace qm::letters
