#include "envelopes/ui/TEnvelopeDesignScreen.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "design/core/TGDataPanel.h"
#include "design/text/TDesignUnits.h"
#include "design/text/TGFont.h"
#include "design/ui/TDesignFontDialog.h"
#include "design/ui/TImbSettingsDialog.h"
#include "envelopes/ui/TEnvelopeOverlays.h"
#include "envelopes/ui/TEnvelopeSurface.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace qm::envelopes {

namespace {

std::optional<data::TSettingsFile> Settings()
{
    if (data::TProgramHome::Current().Dir().isEmpty())
        return std::nullopt;
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

QToolButton* MakeToggle(QWidget* parent, const char* name, const QString& hint, const QString& text)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setText(text);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton* MakeStep(QWidget* parent, const char* name, const QString& hint,
                      Qt::ArrowType arrow = Qt::NoArrow, const QString& text = {})
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    if (arrow != Qt::NoArrow)
        button->setArrowType(arrow);
    button->setText(text);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TEnvelopeDesignScreen::TEnvelopeDesignScreen(design::TGDataPanel& panel, data::TDataSet* table,
                                             const print::TPageGeometry& printer,
                                             const QString& description, int code,
                                             TEnvelopeFaceSource sizes, QWidget* parent)
    : QDialog(parent), mPanel(panel), mTable(table), mPrinter(printer), mDescription(description),
      mCode(code), mSizes(std::move(sizes))
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Envelope Design Screen"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    OnChooseDefaultFont = [this](const design::TGFont& font) {
        return design::TDesignFontDialog::Choose(font, this);
    };
    BuildControls();
    mPanel.OnLabelChanged = [this] { MarkChanged(); };
    // The template shades areas under the objects, so the design stays visible; the margins are
    // drawn over everything.
    mSurface->OnPaintBackground = [this](QPainter& painter) { PaintTemplate(painter); };
    mSurface->OnPaintOverlay = [this](QPainter& painter) { PaintMargins(painter); };
    mSurface->DroppedObjectEvent = [this](const QRect&) { SelectTool(TEnvelopeTool::Selection); };
    // Every control but the description edit hands the window its keys first.
    for (QWidget* child : findChildren<QWidget*>())
        if (child != mDescriptionEdit)
            child->installEventFilter(this);
    mSaveButton->setVisible(false);
    ShowFont();
    ApplyZoom();
}

TEnvelopeDesignScreen::~TEnvelopeDesignScreen()
{
    mPanel.OnLabelChanged = nullptr;
    mSurface->OnPaintBackground = nullptr;
    mSurface->OnPaintOverlay = nullptr;
    mSurface->DroppedObjectEvent = nullptr;
    for (QWidget* child : findChildren<QWidget*>())
        child->removeEventFilter(this);
}

void TEnvelopeDesignScreen::BuildControls()
{
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("ToolBar"));
    tools->setIconSize(QSize(24, 24));
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    static const char* const names[] = {"SelectionToolButton", "TextToolButton",
                                        "MultiLineToolButton", "RectangleToolButton",
                                        "EllipseToolButton",   "RoundRectangleToolButton",
                                        "LineToolButton",      "ClipArtToolButton",
                                        "PostnetToolButton",   "DatabaseFieldToolButton",
                                        "AddressToolButton",   "FimToolButton",
                                        "ImbToolButton"};
    for (const TEnvelopeToolInfo& info : TEnvelopeTools::Tools()) {
        auto* button = new QToolButton(tools);
        button->setObjectName(QString::fromLatin1(names[int(info.tool)]));
        button->setToolTip(info.hint);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        if (!info.icon.isEmpty())
            button->setIcon(QIcon(info.icon));
        button->setText(info.caption.isEmpty() ? info.hint : info.caption);
        button->setToolButtonStyle(info.icon.isEmpty() ? Qt::ToolButtonTextOnly
                                                       : Qt::ToolButtonIconOnly);
        group->addButton(button);
        tools->addWidget(button);
        mToolButtons[info.tool] = button;
        const TEnvelopeTool tool = info.tool;
        connect(button, &QToolButton::clicked, this, [this, tool] { SelectTool(tool); });
    }
    mToolButtons[TEnvelopeTool::Selection]->setChecked(true);
    tools->addSeparator();

    mGridButton = MakeToggle(tools, "GridButton", QStringLiteral("Show grid"), {});
    mGridButton->setIcon(QIcon(QStringLiteral(":/envelopes/toggle-grid.svg")));
    mSnapButton = MakeToggle(tools, "SnapButton", QStringLiteral("Snap to Grid"), {});
    mSnapButton->setIcon(QIcon(QStringLiteral(":/envelopes/toggle-snap.svg")));
    mFieldNamesButton =
        MakeToggle(tools, "FieldNamesButton",
                   QStringLiteral("Toggle display of field names or field values"), {});
    mFieldNamesButton->setIcon(QIcon(QStringLiteral(":/envelopes/toggle-fields.svg")));
    mMarginsButton = MakeToggle(tools, "MarginsButton", QStringLiteral("Show printer margins"), {});
    mMarginsButton->setIcon(QIcon(QStringLiteral(":/envelopes/toggle-margins.svg")));
    mTemplateButton =
        MakeToggle(tools, "TemplateButton", QStringLiteral("Show USPS Automation Template"), {});
    mTemplateButton->setIcon(QIcon(QStringLiteral(":/envelopes/toggle-template.svg")));
    for (QToolButton* toggle :
         {mGridButton, mSnapButton, mFieldNamesButton, mMarginsButton, mTemplateButton})
        tools->addWidget(toggle);
    connect(mGridButton, &QToolButton::toggled, this,
            [this](bool on) { mSurface->SetShowGrid(on); });
    connect(mSnapButton, &QToolButton::toggled, this,
            [this](bool on) { mSurface->SetSnapToGrid(on); });
    connect(mFieldNamesButton, &QToolButton::toggled, this, [this](bool on) {
        mPanel.SetDisplayDataValues(!on);
        mSurface->update();
    });
    connect(mMarginsButton, &QToolButton::toggled, this, [this] { mSurface->update(); });
    connect(mTemplateButton, &QToolButton::toggled, this, [this] { mSurface->update(); });

    // The second row: font, description, size, zoom, read-out, records.
    mFontButton = new QPushButton(this);
    mFontButton->setObjectName(QStringLiteral("FontButton"));
    mFontButton->setFocusPolicy(Qt::TabFocus);
    connect(mFontButton, &QPushButton::clicked, this, &TEnvelopeDesignScreen::FontButtonClick);

    mDescriptionEdit = new QLineEdit(mDescription.left(kMaxDescription), this);
    mDescriptionEdit->setObjectName(QStringLiteral("DescriptionEdit"));
    mDescriptionEdit->setMaxLength(kMaxDescription);
    // The font button and the description give way down to a few characters on a small screen.
    const int character = mDescriptionEdit->fontMetrics().averageCharWidth();
    mDescriptionEdit->setMinimumWidth(character * 12);
    mFontButton->setMinimumWidth(character * 16);
    connect(mDescriptionEdit, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
    auto* descriptionLabel = new QLabel(QStringLiteral("&Description:"), this);
    descriptionLabel->setBuddy(mDescriptionEdit);

    mImbSettingsButton = new QPushButton(QStringLiteral("&Intelligent Mail..."), this);
    mImbSettingsButton->setObjectName(QStringLiteral("ImbSettingsButton"));
    mImbSettingsButton->setToolTip(QStringLiteral("Intelligent Mail Settings"));
    connect(mImbSettingsButton, &QPushButton::clicked, this, [this] {
        data::TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
        design::TImbSettingsDialog::Edit(settings, this);
    });
    mChangeSizeButton = new QPushButton(QStringLiteral("Change Size"), this);
    mChangeSizeButton->setObjectName(QStringLiteral("ChangeSizeButton"));
    connect(mChangeSizeButton, &QPushButton::clicked, this,
            &TEnvelopeDesignScreen::ChangeSizeClick);

    mZoomOutButton = MakeStep(this, "ZoomOutButton", QStringLiteral("Zoom out"), Qt::DownArrow);
    mZoomInButton = MakeStep(this, "ZoomInButton", QStringLiteral("Zoom in"), Qt::UpArrow);
    connect(mZoomInButton, &QToolButton::clicked, this, &TEnvelopeDesignScreen::ZoomInClick);
    connect(mZoomOutButton, &QToolButton::clicked, this, &TEnvelopeDesignScreen::ZoomOutClick);
    mZoomLabel = new QLabel(this);
    mZoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    mZoomLabel->setMinimumWidth(
        mZoomLabel->fontMetrics().horizontalAdvance(QStringLiteral("140%")));

    mLeftLabel = new QLabel(QStringLiteral("Left: 0.00"), this);
    mLeftLabel->setObjectName(QStringLiteral("LeftLabel"));
    mTopLabel = new QLabel(QStringLiteral("Top: 0.00"), this);
    mTopLabel->setObjectName(QStringLiteral("TopLabel"));
    const int readOut = mLeftLabel->fontMetrics().horizontalAdvance(QStringLiteral("Left: 00.00"));
    mLeftLabel->setMinimumWidth(readOut);
    mTopLabel->setMinimumWidth(readOut);

    mFirstButton = MakeStep(this, "FirstButton", QStringLiteral("First record"), Qt::NoArrow,
                            QStringLiteral("|<"));
    mPriorButton = MakeStep(this, "PriorButton", QStringLiteral("Previous record"), Qt::LeftArrow);
    mNextButton = MakeStep(this, "NextButton", QStringLiteral("Next record"), Qt::RightArrow);
    mLastButton = MakeStep(this, "LastButton", QStringLiteral("Last record"), Qt::NoArrow,
                           QStringLiteral(">|"));
    connect(mFirstButton, &QToolButton::clicked, this,
            [this] { Navigate(data::TRecordStep::First); });
    connect(mPriorButton, &QToolButton::clicked, this,
            [this] { Navigate(data::TRecordStep::Prior); });
    connect(mNextButton, &QToolButton::clicked, this,
            [this] { Navigate(data::TRecordStep::Next); });
    connect(mLastButton, &QToolButton::clicked, this,
            [this] { Navigate(data::TRecordStep::Last); });
    for (QToolButton* b : {mFirstButton, mPriorButton, mNextButton, mLastButton})
        b->setEnabled(mTable != nullptr);

    mSaveButton = new QPushButton(QStringLiteral("&Save"), this);
    mSaveButton->setObjectName(QStringLiteral("SaveButton"));
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    mHelpButton = new QPushButton(QStringLiteral("Help"), this);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    for (QPushButton* b : {mSaveButton, mCancelButton, mHelpButton})
        b->setAutoDefault(false);
    connect(mSaveButton, &QPushButton::clicked, this, &TEnvelopeDesignScreen::SaveButtonClick);
    connect(mCancelButton, &QPushButton::clicked, this, &TEnvelopeDesignScreen::CancelButtonClick);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    mSurface = new TEnvelopeSurface(mPanel);
    mSurface->setObjectName(QStringLiteral("DesignSurface"));
    mWorkArea = new QScrollArea(this);
    mWorkArea->setObjectName(QStringLiteral("WorkArea"));
    mWorkArea->setWidgetResizable(false);
    mWorkArea->setBackgroundRole(QPalette::Dark);
    mWorkArea->setAlignment(Qt::AlignCenter);
    mWorkArea->setWidget(mSurface);

    auto* second = new QHBoxLayout;
    second->addWidget(mFontButton);
    second->addSpacing(8);
    second->addWidget(descriptionLabel);
    second->addWidget(mDescriptionEdit, 1);
    second->addWidget(mChangeSizeButton);
    second->addWidget(mImbSettingsButton);
    second->addSpacing(8);
    second->addWidget(mZoomOutButton);
    second->addWidget(mZoomLabel);
    second->addWidget(mZoomInButton);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(mLeftLabel);
    bottom->addWidget(mTopLabel);
    bottom->addSpacing(12);
    for (QToolButton* b : {mFirstButton, mPriorButton, mNextButton, mLastButton})
        bottom->addWidget(b);
    bottom->addStretch(1);
    bottom->addWidget(mSaveButton);
    bottom->addWidget(mCancelButton);
    bottom->addWidget(mHelpButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addLayout(second);
    layout->addWidget(mWorkArea, 1);
    layout->addLayout(bottom);
    setMinimumSize(640, 420);
    resize(1000, 620);
}

// ---- state

QString TEnvelopeDesignScreen::Description() const
{
    return mDescriptionEdit->text().left(kMaxDescription);
}

bool TEnvelopeDesignScreen::Changed() const
{
    return !mSaveButton->isHidden();
}

bool TEnvelopeDesignScreen::ShowsMargins() const
{
    return mMarginsButton->isChecked();
}

bool TEnvelopeDesignScreen::ShowsTemplate() const
{
    return mTemplateButton->isChecked();
}

void TEnvelopeDesignScreen::MarkChanged()
{
    mSaveButton->setVisible(true);
}

// ---- first showing

void TEnvelopeDesignScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Shown again after a Save that could not be written: closing asks again, and the face goes
    // back to the zoom the read-out shows (closing left it at 100 % for the caller).
    mClosing = false;
    if (!mActivated) {
        mActivated = true;
        FormActivate();
    } else {
        ApplyZoom();
    }
}

void TEnvelopeDesignScreen::FormActivate()
{
    if (auto settings = Settings())
        data::TWindowPlacement::Restore(*this, QString::fromLatin1(kClassName), *settings);
    SizePanel();
    mSaveButton->setVisible(false);
    ShowFont();
    mSurface->setFocus();
}

void TEnvelopeDesignScreen::SizePanel()
{
    if (!mSizes.face)
        return;
    const QSizeF face = mSizes.face(mCode);
    if (face.width() <= 0 || face.height() <= 0)
        return;
    const float scale = mPanel.Scale();
    const int ppi = design::TDesignUnits::Ppi();
    mSurface->SetScale(1.0f);
    mPanel.SetSize(design::TDesignUnits::Round(ppi * face.width()),
                   design::TDesignUnits::Round(ppi * face.height()));
    mSurface->SetScale(1.0f);
    if (scale != 1.0f)
        mSurface->SetScale(scale);
    mSurface->setFixedSize(mSurface->sizeHint());
    mSurface->update();
}

// ---- zoom

void TEnvelopeDesignScreen::ApplyZoom()
{
    if (mPanel.Scale() != mZoom.Scale())
        mSurface->SetScale(mZoom.Scale());
    mSurface->setFixedSize(mSurface->sizeHint());
    mZoomLabel->setText(mZoom.Caption());
    mSurface->update();
}

void TEnvelopeDesignScreen::ZoomInClick()
{
    if (mZoom.ZoomIn())
        ApplyZoom();
}

void TEnvelopeDesignScreen::ZoomOutClick()
{
    if (mZoom.ZoomOut())
        ApplyZoom();
}

// ---- commands

void TEnvelopeDesignScreen::ShowFont()
{
    const design::TGFont& font = mSurface->PanelFont();
    QString text = QStringLiteral("Default Font: ") + font.Name() + QStringLiteral(", ") +
                   QString::number(font.PointSize()) + QStringLiteral(" pt ");
    if (font.Bold())
        text += QStringLiteral(", bold");
    if (font.Italic())
        text += QStringLiteral(", italic");
    mFontButton->setText(text);
    mFontButton->setToolTip(text);
}

void TEnvelopeDesignScreen::FontButtonClick()
{
    if (!OnChooseDefaultFont)
        return;
    if (const auto font = OnChooseDefaultFont(mSurface->PanelFont())) {
        mSurface->SetPanelFont(*font);
        ShowFont();
    }
}

void TEnvelopeDesignScreen::ChangeSizeClick()
{
    if (!mSizes.choose || !mSizes.face)
        return;
    const std::optional<int> code = mSizes.choose(mCode, this);
    if (!code)
        return;
    const QSizeF face = mSizes.face(*code);
    if (face.width() <= 0 || face.height() <= 0)
        return;
    mCode = *code;
    SizePanel();
    mPanel.PullObjectsInside();
    MarkChanged();
    mSurface->update();
}

void TEnvelopeDesignScreen::SelectTool(TEnvelopeTool tool)
{
    const QSizeF face = mSizes.face ? mSizes.face(mCode) : QSizeF();
    if (const QString refusal = TEnvelopeTools::Refusal(tool, face.width()); !refusal.isEmpty()) {
        data::TMessageService::Inform(this, refusal);
        tool = TEnvelopeTool::Selection;
    }
    mToolButtons.at(tool)->setChecked(true);
    mSurface->SetEnvelopeTool(tool);
}

void TEnvelopeDesignScreen::Navigate(data::TRecordStep step)
{
    if (mTable == nullptr || mTable->IsEmpty())
        return;
    if (const QString failure = data::TRecordMove::Step(*mTable, step); !failure.isEmpty())
        data::TMessageService::Inform(this, failure);
    mPanel.RefreshData();
    mSurface->update();
}

void TEnvelopeDesignScreen::ShowPosition(const QPoint& panelPoint)
{
    QPoint at = panelPoint;
    if (mPanel.Selection().size() == 1) {
        const design::TGGraphicControl* object = mPanel.Selection().front();
        at = QPoint(object->Left(), object->Top());
    }
    // Pixels of the zoomed face: one inch is PPI x scale of them.
    const double perInch = design::TDesignUnits::Ppi() * double(mPanel.Scale());
    mLeftLabel->setText(QStringLiteral("Left: ") + QString::number(at.x() / perInch, 'f', 2));
    mTopLabel->setText(QStringLiteral("Top: ") + QString::number(at.y() / perInch, 'f', 2));
}

void TEnvelopeDesignScreen::PaintTemplate(QPainter& painter) const
{
    if (!ShowsTemplate())
        return;
    const int ppi = design::TDesignUnits::Ppi();
    TEnvelopeOverlays::PaintTemplate(
        painter,
        TEnvelopeOverlays::TemplateAreas(mPanel.Width(), mPanel.Height(), ppi, mPanel.Scale()),
        mPanel.Scale());
}

void TEnvelopeDesignScreen::PaintMargins(QPainter& painter) const
{
    if (!ShowsMargins())
        return;
    TEnvelopeOverlays::PaintPrinterMargins(
        painter,
        TEnvelopeOverlays::PrinterMargins(mPrinter, design::TDesignUnits::Ppi(), mPanel.Scale()));
}

// ---- keys

bool TEnvelopeDesignScreen::ScrollKey(int key)
{
    QScrollBar* bar = mWorkArea->verticalScrollBar();
    switch (key) {
    case Qt::Key_PageUp:
        bar->setValue(bar->value() - bar->singleStep());
        return true;
    case Qt::Key_PageDown:
        bar->setValue(bar->value() + bar->singleStep());
        return true;
    case Qt::Key_Home:
        bar->setValue(bar->minimum());
        return true;
    case Qt::Key_End:
        bar->setValue(bar->maximum());
        return true;
    default:
        return false;
    }
}

bool TEnvelopeDesignScreen::WindowKeyPress(const QKeyEvent& event)
{
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (keypad && event.key() == Qt::Key_Plus) {
        ZoomInClick();
        return true;
    }
    if (keypad && event.key() == Qt::Key_Minus) {
        ZoomOutClick();
        return true;
    }
    return ScrollKey(event.key());
}

bool TEnvelopeDesignScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mSurface && event->type() == QEvent::MouseMove)
        ShowPosition(static_cast<QMouseEvent*>(event)->position().toPoint());
    const bool press = event->type() == QEvent::KeyPress;
    if ((press || event->type() == QEvent::KeyRelease) && watched != mDescriptionEdit) {
        // The window sees the keys first; the surface's keys reach it from every other control
        // by a direct call (the surface gets its own events as they are).
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (press && WindowKeyPress(key))
            return true;
        if (watched != mSurface)
            return press ? mSurface->SurfaceKeyPress(key) : mSurface->SurfaceKeyRelease(key);
    }
    return QDialog::eventFilter(watched, event);
}

void TEnvelopeDesignScreen::keyPressEvent(QKeyEvent* event)
{
    // Keys the description edit let pass (the arrows up and down) are not the face's.
    if (focusWidget() == mDescriptionEdit ||
        (!WindowKeyPress(*event) && !mSurface->SurfaceKeyPress(*event)))
        QDialog::keyPressEvent(event);
}

void TEnvelopeDesignScreen::keyReleaseEvent(QKeyEvent* event)
{
    if (focusWidget() == mDescriptionEdit || !mSurface->SurfaceKeyRelease(*event))
        QDialog::keyReleaseEvent(event);
}

// ---- closing

void TEnvelopeDesignScreen::SaveButtonClick()
{
    mClosing = true;
    accept();
}

void TEnvelopeDesignScreen::CancelButtonClick()
{
    reject();
}

void TEnvelopeDesignScreen::reject()
{
    if (!mClosing && Changed() &&
        !data::TMessageService::Ask(this, QStringLiteral("CANCEL"),
                                    QStringLiteral("Discard the changes to this envelope?"), false))
        return;
    mClosing = true;
    QDialog::reject();
}

void TEnvelopeDesignScreen::done(int result)
{
    // The caller stores the design at 100 %.
    mSurface->SetScale(1.0f);
    SizePanel();
    if (result == QDialog::Accepted)
        mPanel.DropOutsideObjects();
    if (!mPlacementSaved && mActivated) {
        mPlacementSaved = true;
        if (auto settings = Settings()) {
            try {
                data::TWindowPlacement::Save(*this, QString::fromLatin1(kClassName), *settings);
            } catch (const data::TSettingsWriteError& e) {
                data::TMessageService::Error(this, QStringLiteral("Error"), e.Message());
            }
        }
    }
    QDialog::done(result);
}

} // namespace qm::envelopes
