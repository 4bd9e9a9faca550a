#include "print/ui/TPreviewForm.h"

#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TMessageService.h"
#include "data/ui/TWindowPlacement.h"
#include "print/TPrintError.h"

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
#include <QToolButton>
#include <QVBoxLayout>

namespace qm::print {
namespace {

const QString kClassName = QStringLiteral("TPreviewForm");

// A magnifying glass drawn at run time, so the cursor needs no resource file.
QCursor MagnifierCursor()
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

QToolButton* MakeToolButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& text,
                            const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setText(text);
    button->setToolTip(tip);
    // The page buttons show only an icon: screen readers need the name.
    button->setAccessibleName(tip);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

std::optional<data::TSettingsFile> Settings()
{
    if (data::TProgramHome::Current().Dir().isEmpty())
        return std::nullopt;
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

} // namespace

TPreviewForm::TPreviewForm(const QByteArray& stream, const QString& caption, int initialZoom,
                           QWidget* parent)
    : QDialog(parent), mStream(stream), mInitialZoom(initialZoom)
{
    setObjectName(kClassName);
    setWindowTitle(caption);
    setSizeGripEnabled(true);
    setMinimumSize(480, 360);
    resize(760, 640);

    mFirstButton =
        MakeToolButton(this, QStyle::SP_MediaSkipBackward, QString(), QStringLiteral("First page"));
    mPrevButton = MakeToolButton(this, QStyle::SP_MediaSeekBackward, QString(),
                                 QStringLiteral("Previous page"));
    mNextButton =
        MakeToolButton(this, QStyle::SP_MediaSeekForward, QString(), QStringLiteral("Next page"));
    mLastButton =
        MakeToolButton(this, QStyle::SP_MediaSkipForward, QString(), QStringLiteral("Last page"));
    mZoomInButton =
        MakeToolButton(this, QStyle::SP_ArrowUp, QStringLiteral("+"), QStringLiteral("Zoom in"));
    mZoomOutButton =
        MakeToolButton(this, QStyle::SP_ArrowDown, QStringLiteral("-"), QStringLiteral("Zoom out"));
    mPageWidthButton =
        MakeToolButton(this, QStyle::SP_TitleBarMaxButton, QString(), QStringLiteral("Page width"));
    mWholePageButton =
        MakeToolButton(this, QStyle::SP_FileIcon, QString(), QStringLiteral("Whole page"));
    mZoom100Button = new QPushButton(QStringLiteral("100%"), this);
    mOkButton = new QPushButton(QStringLiteral("Ok"), this);
    mHelpButton = new QPushButton(QStringLiteral("Help"), this);
    mOkButton->setDefault(true);

    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{
             mFirstButton, mPrevButton, mNextButton, mLastButton, mZoomInButton, mZoomOutButton,
             mPageWidthButton, mWholePageButton, mZoom100Button})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(mOkButton);
    bar->addWidget(mHelpButton);

    mScrollBox = new QScrollArea(this);
    mScrollBox->setAlignment(Qt::AlignCenter);
    mScrollBox->setBackgroundRole(QPalette::Dark);
    mPagePicture = new QLabel;
    mPagePicture->setCursor(MagnifierCursor());
    mPagePicture->installEventFilter(this);
    mScrollBox->setWidget(mPagePicture);
    mScrollBox->setWidgetResizable(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(mScrollBox, 1);

    connect(mFirstButton, &QToolButton::clicked, this, &TPreviewForm::FirstPageButtonClick);
    connect(mPrevButton, &QToolButton::clicked, this, &TPreviewForm::PrevPageButtonClick);
    connect(mNextButton, &QToolButton::clicked, this, &TPreviewForm::NextPageButtonClick);
    connect(mLastButton, &QToolButton::clicked, this, &TPreviewForm::LastPageButtonClick);
    connect(mZoomInButton, &QToolButton::clicked, this, &TPreviewForm::ZoomInButtonClick);
    connect(mZoomOutButton, &QToolButton::clicked, this, &TPreviewForm::ZoomOutButtonClick);
    connect(mPageWidthButton, &QToolButton::clicked, this, &TPreviewForm::PageWidthButtonClick);
    connect(mWholePageButton, &QToolButton::clicked, this, &TPreviewForm::WholePageButtonClick);
    connect(mZoom100Button, &QPushButton::clicked, this, &TPreviewForm::Zoom100ButtonClick);
    connect(mOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(mHelpButton, &QPushButton::clicked, this, &TPreviewForm::HelpButtonClick);
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        FormActivate();
    }
}

void TPreviewForm::FormActivate()
{
    if (auto settings = Settings())
        data::TWindowPlacement::Restore(*this, kClassName, *settings);
    try {
        // The page is laid out at 96 logical pixels per inch and drawn with the screen's own
        // pixels, so 100 % is the real size and text stays sharp on scaled screens.
        mPreview = std::make_unique<TFilePreview>(mStream, 96.0 * devicePixelRatioF());
    } catch (const TPrintError& e) {
        data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    mPreview->SetMarginPercent(2.5);
    mPreview->SetShadowDepth(0);
    UpdateViewport();
    if (mInitialZoom == kWholePage)
        mPreview->SetZoomFactor(-1);
    else if (mInitialZoom == kPageWidth)
        mPreview->SetZoomFactor(-2);
    else
        mPreview->SetZoomFactor(mInitialZoom);
    const bool severalPages = mPreview->PageCount() >= 2;
    for (QToolButton* b : {mFirstButton, mPrevButton, mNextButton, mLastButton})
        b->setVisible(severalPages);
    ShowPage();
}

void TPreviewForm::UpdateViewport()
{
    if (!mPreview)
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize visible = mScrollBox->maximumViewportSize();
    mPreview->SetViewport(QSize(int(visible.width() * ratio), int(visible.height() * ratio)),
                          int(mScrollBox->verticalScrollBar()->sizeHint().width() * ratio));
}

void TPreviewForm::ShowPage()
{
    if (!mPreview)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const QImage page = mPreview->RenderPage();
        const int margin = mPreview->MarginPixels();
        QPixmap picture(page.width() + 2 * margin, page.height() + 2 * margin);
        picture.fill(palette().color(QPalette::Dark));
        QPainter painter(&picture);
        painter.drawImage(margin, margin, page);
        painter.end();
        picture.setDevicePixelRatio(devicePixelRatioF());
        mPagePicture->setPixmap(picture);
        mPagePicture->resize(picture.deviceIndependentSize().toSize());
    } catch (const TPrintError& e) {
        QApplication::restoreOverrideCursor();
        data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
        return;
    }
    QApplication::restoreOverrideCursor();
    UpdateCaption();
}

void TPreviewForm::UpdateCaption()
{
    if (mPreview)
        setWindowTitle(mPreview->Caption());
}

void TPreviewForm::FirstPageButtonClick()
{
    if (mPreview && mPreview->HasPages()) {
        mPreview->GotoFirstPage();
        ShowPage();
    }
}

void TPreviewForm::PrevPageButtonClick()
{
    if (mPreview && mPreview->PrevPage())
        ShowPage();
}

void TPreviewForm::NextPageButtonClick()
{
    if (mPreview && mPreview->NextPage())
        ShowPage();
}

void TPreviewForm::LastPageButtonClick()
{
    if (mPreview && mPreview->HasPages()) {
        mPreview->GotoLastPage();
        ShowPage();
    }
}

void TPreviewForm::ZoomInButtonClick()
{
    if (!mPreview)
        return;
    mPreview->ZoomIn();
    ShowPage();
}

void TPreviewForm::ZoomOutButtonClick()
{
    if (!mPreview)
        return;
    mPreview->ZoomOut();
    ShowPage();
}

void TPreviewForm::PageWidthButtonClick()
{
    if (!mPreview)
        return;
    UpdateViewport();
    mPreview->SetZoomFactor(-2);
    ShowPage();
}

void TPreviewForm::WholePageButtonClick()
{
    if (!mPreview)
        return;
    UpdateViewport();
    mPreview->SetZoomFactor(-1);
    ShowPage();
}

void TPreviewForm::Zoom100ButtonClick()
{
    if (!mPreview)
        return;
    mPreview->SetZoomFactor(100);
    ShowPage();
}

void TPreviewForm::HelpButtonClick()
{
    data::THelpWindow::ShowContext(kHelpContext, this);
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mPagePicture && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            ZoomInButtonClick();
        else
            ZoomOutButtonClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPreviewForm::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = mScrollBox->verticalScrollBar();
    if (event->key() == Qt::Key_Up) {
        bar->setValue(std::max(0, bar->value() - bar->singleStep()));
        return;
    }
    if (event->key() == Qt::Key_Down) {
        bar->setValue(std::min(bar->maximum() - 1, bar->value() + bar->singleStep()));
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPreviewForm::SavePlacement()
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

void TPreviewForm::closeEvent(QCloseEvent* event)
{
    SavePlacement();
    QDialog::closeEvent(event);
}

void TPreviewForm::done(int result)
{
    SavePlacement();
    mPreview.reset(); // the replay ends and the picture goes with the window
    QDialog::done(result);
}

} // namespace qm::print
