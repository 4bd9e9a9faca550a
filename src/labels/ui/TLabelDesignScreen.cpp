#include "labels/ui/TLabelDesignScreen.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TRecordMove.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TLayoutFileNames.h"
#include "design/stream/TLayoutError.h"
#include "design/text/TDesignUnits.h"
#include "design/ui/TDesignFontDialog.h"
#include "design/ui/TImbSettingsDialog.h"
#include "labels/TLabelArt.h"
#include "labels/TLabelDesignRules.h"
#include "labels/TLabelLayoutStore.h"
#include "labels/ui/TLabelEdit.h"
#include "labels/ui/TLabelLayoutChoice.h"
#include "labels/ui/TSelectLabel.h"
#include "picture/TPictureError.h"
#include "xbase/TXbaseError.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace qm::labels {
namespace {

using R = TLabelDesignRules;
using TTool = TLabelDesignSurface::TTool;

constexpr const char* kPlacementName = "TLabelDesignScreen";
constexpr const char* kFontSection = "Label";

struct TToolFace {
    TTool tool;
    const char* icon;
    const char* hint;
};

const TToolFace kTools[] = {
    {TTool::Selection, "select", "Selection tool"},
    {TTool::Text, "text", "Text tool"},
    {TTool::MultiLine, "multiline", "Multi-line text tool"},
    {TTool::Counter, "counter", "Counter tool"},
    {TTool::Symbol, "symbol", "Symbol tool"},
    {TTool::Rectangle, "rectangle", "Rectangle tool"},
    {TTool::Ellipse, "ellipse", "Ellipse tool"},
    {TTool::RoundRectangle, "roundrect", "Round Rectangle tool"},
    {TTool::Line, "line", "Line Tool"},
    {TTool::ClipArt, "clipart", "Clip Art Tool"},
    {TTool::PostNet, "postnet", "Postnet Barcode tool"},
    {TTool::Field, "field", "Database Field tool"},
    {TTool::Memo, "memo", "Database Memo Field tool"},
    {TTool::Address, "address", "Database Mailing Address tool"},
    {TTool::Imb, "imb", "Intelligent Mail Barcode tool"},
};

QIcon ToolIcon(const char* name)
{
    return QIcon(QStringLiteral(":/label-tools/%1.svg").arg(QLatin1String(name)));
}

QToolButton* MakeToolButton(QWidget* parent, const char* icon, const QString& hint,
                            const QString& objectName, bool checkable)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(ToolIcon(icon));
    button->setIconSize(QSize(22, 22));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow, const QString& hint,
                         const QString& objectName)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setArrowType(arrow);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

data::TSettingsFile Settings()
{
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

QString LayoutErrorText(const design::TLayoutError& error, const QString& path)
{
    QString text = error.Message();
    const QString file = error.Path().isEmpty() ? path : error.Path();
    if (!file.isEmpty())
        text = QStringLiteral("%1:\n%2").arg(QDir::toNativeSeparators(file), text);
    if (error.Offset() >= 0)
        text += QStringLiteral(" (at byte %1)").arg(error.Offset());
    return text;
}

} // namespace

TLabelDesignScreen::TLabelDesignScreen(const TLabelGeometry& geometry, bool newLabel,
                                       data::TDataSet* addresses, QWidget* parent)
    : QDialog(parent), mGeometry(geometry), mNewLabel(newLabel),
      mArtDirectory(QLatin1String(TLabelArt::kResourceDir)), mAddresses(addresses)
{
    setObjectName(QStringLiteral("TLabelDesignScreen"));
    setWindowTitle(QStringLiteral("Label Design Screen"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Label);
    mPanel.SetDataSet(addresses);
    mSurface = new TLabelDesignSurface(mPanel);

    // ---- top row
    auto* layoutCaption = new QLabel(QStringLiteral("Layout:"), this);
    mLayoutNameLabel = new QLabel(this);
    mLayoutNameLabel->setObjectName(QStringLiteral("LayoutNameLabel"));
    QFont bold = mLayoutNameLabel->font();
    bold.setBold(true);
    mLayoutNameLabel->setFont(bold);
    mLayoutNameLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Long template names and fonts would widen the window past a small screen: these controls
    // give way down to a few characters (the whole text is their tooltip).
    const int character = fontMetrics().averageCharWidth();
    mLayoutNameLabel->setMinimumWidth(character * 14);
    mDescriptionEdit = new QLineEdit(geometry.description, this);
    mDescriptionEdit->setObjectName(QStringLiteral("DescriptionEdit"));
    mDescriptionEdit->setMaxLength(TLabelGeometry::kMaxDescriptionLength);
    mDescriptionEdit->setMinimumWidth(character * 12);
    auto* descriptionLabel = new QLabel(QStringLiteral("&Description:"), this);
    descriptionLabel->setBuddy(mDescriptionEdit);
    mFontButton = new QPushButton(this);
    mFontButton->setObjectName(QStringLiteral("FontButton"));
    mFontButton->setAutoDefault(false);
    mFontButton->setMinimumWidth(character * 16);
    mLeftLabel = new QLabel(QStringLiteral("Left: "), this);
    mLeftLabel->setObjectName(QStringLiteral("LeftLabel"));
    mTopLabel = new QLabel(QStringLiteral("Top: "), this);
    mTopLabel->setObjectName(QStringLiteral("TopLabel"));
    const int readOutWidth = fontMetrics().horizontalAdvance(QStringLiteral("Left: 00.00 ")) + 4;
    mLeftLabel->setMinimumWidth(readOutWidth);
    mTopLabel->setMinimumWidth(readOutWidth);
    // Two rows, so that the window stays narrow enough for a small screen: the layout name and
    // the read-out, then the description and the default font.
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(layoutCaption);
    nameRow->addWidget(mLayoutNameLabel, 1);
    nameRow->addSpacing(12);
    nameRow->addWidget(mLeftLabel);
    nameRow->addWidget(mTopLabel);
    auto* descriptionRow = new QHBoxLayout;
    descriptionRow->addWidget(descriptionLabel);
    descriptionRow->addWidget(mDescriptionEdit, 1);
    descriptionRow->addSpacing(12);
    descriptionRow->addWidget(mFontButton);
    auto* top = new QVBoxLayout;
    top->addLayout(nameRow);
    top->addLayout(descriptionRow);

    // ---- tool bar
    auto* tools = new QHBoxLayout;
    tools->setSpacing(1);
    auto* toolGroup = new QButtonGroup(this);
    toolGroup->setExclusive(true);
    for (const TToolFace& face : kTools) {
        QToolButton* button =
            MakeToolButton(this, face.icon, QLatin1String(face.hint),
                           QStringLiteral("Tool%1").arg(QLatin1String(face.icon)), true);
        toolGroup->addButton(button);
        tools->addWidget(button);
        mToolButtons[size_t(face.tool)] = button;
        const TTool tool = face.tool;
        connect(button, &QToolButton::clicked, this, [this, tool] { ToolButtonClick(tool); });
        if (face.tool == TTool::Symbol || face.tool == TTool::ClipArt)
            tools->addSpacing(6);
    }
    ToolButton(TTool::Selection)->setChecked(true);
    tools->addSpacing(10);
    mGridButton = MakeToolButton(this, "grid", QStringLiteral("Show grid"),
                                 QStringLiteral("GridButton"), true);
    mSnapButton = MakeToolButton(this, "snap", QStringLiteral("Snap to Grid"),
                                 QStringLiteral("SnapButton"), true);
    mArtButton =
        MakeToolButton(this, "art", QStringLiteral("Show art"), QStringLiteral("ArtButton"), true);
    mValuesButton = MakeToolButton(this, "values",
                                   QStringLiteral("Toggle display of field names or field values"),
                                   QStringLiteral("ValuesButton"), true);
    for (QToolButton* toggle : {mGridButton, mSnapButton, mArtButton, mValuesButton})
        tools->addWidget(toggle);
    tools->addSpacing(10);
    mZoomLabel = new QLabel(R::ZoomText(1.0f), this);
    mZoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    mZoomLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("150%")) + 6);
    mZoomLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QString zoomHint =
        QStringLiteral("Press plus (+) or minus (-) to \nincrease or decrease the zoom percentage");
    mZoomInButton = ArrowButton(this, Qt::UpArrow, zoomHint, QStringLiteral("ZoomInButton"));
    mZoomOutButton = ArrowButton(this, Qt::DownArrow, zoomHint, QStringLiteral("ZoomOutButton"));
    auto* spinner = new QVBoxLayout;
    spinner->setSpacing(0);
    spinner->addWidget(mZoomInButton);
    spinner->addWidget(mZoomOutButton);
    tools->addWidget(mZoomLabel);
    tools->addLayout(spinner);
    tools->addStretch();

    // ---- the face
    mFaceArea = new QScrollArea(this);
    mFaceArea->setObjectName(QStringLiteral("FaceArea"));
    mFaceArea->setWidget(mSurface);
    mFaceArea->setWidgetResizable(false);
    mFaceArea->setAlignment(Qt::AlignCenter);
    mFaceArea->setBackgroundRole(QPalette::Dark);
    mFaceArea->setFocusPolicy(Qt::NoFocus);

    // ---- bottom row
    mChangeLayoutButton = new QPushButton(QStringLiteral("C&hange Layout"), this);
    mChangeLayoutButton->setObjectName(QStringLiteral("ChangeLayoutButton"));
    mChangeLayoutButton->setAutoDefault(false);
    mImbSettingsButton = new QPushButton(QStringLiteral("&Intelligent Mail..."), this);
    mImbSettingsButton->setObjectName(QStringLiteral("ImbSettingsButton"));
    mImbSettingsButton->setToolTip(QStringLiteral("Intelligent Mail Settings"));
    mImbSettingsButton->setAutoDefault(false);
    mFirstButton = new QToolButton(this);
    mFirstButton->setObjectName(QStringLiteral("FirstButton"));
    mFirstButton->setText(QStringLiteral("|<"));
    mFirstButton->setToolTip(QStringLiteral("First record"));
    mPriorButton = ArrowButton(this, Qt::LeftArrow, QStringLiteral("Previous record"),
                               QStringLiteral("PriorButton"));
    mNextButton = ArrowButton(this, Qt::RightArrow, QStringLiteral("Next record"),
                              QStringLiteral("NextButton"));
    mLastButton = new QToolButton(this);
    mLastButton->setObjectName(QStringLiteral("LastButton"));
    mLastButton->setText(QStringLiteral(">|"));
    mLastButton->setToolTip(QStringLiteral("Last record"));
    for (QToolButton* b : {mFirstButton, mLastButton})
        b->setFocusPolicy(Qt::NoFocus);
    mSaveButton = new QPushButton(QStringLiteral("&Save"), this);
    mSaveButton->setObjectName(QStringLiteral("SaveButton"));
    mSaveButton->setAutoDefault(false);
    mSaveButton->hide();
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    mCancelButton->setAutoDefault(false);
    mHelpButton = new QPushButton(QStringLiteral("Help"), this);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    mHelpButton->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(mChangeLayoutButton);
    bottom->addWidget(mImbSettingsButton);
    bottom->addSpacing(12);
    for (QToolButton* b : {mFirstButton, mPriorButton, mNextButton, mLastButton})
        bottom->addWidget(b);
    bottom->addStretch();
    bottom->addWidget(mSaveButton);
    bottom->addWidget(mCancelButton);
    bottom->addWidget(mHelpButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(tools);
    layout->addWidget(mFaceArea, 1);
    layout->addLayout(bottom);

    connect(mGridButton, &QToolButton::toggled, this,
            [this](bool on) { mSurface->SetShowGrid(on); });
    connect(mSnapButton, &QToolButton::toggled, this,
            [this](bool on) { mSurface->SetSnapToGrid(on); });
    connect(mArtButton, &QToolButton::toggled, this, [this] { ShowArt(); });
    connect(mValuesButton, &QToolButton::toggled, this, [this](bool down) {
        mPanel.SetDisplayDataValues(!down);
        mSurface->update();
    });
    connect(mZoomInButton, &QToolButton::clicked, this, [this] { ZoomBy(true); });
    connect(mZoomOutButton, &QToolButton::clicked, this, [this] { ZoomBy(false); });
    connect(mChangeLayoutButton, &QPushButton::clicked, this,
            &TLabelDesignScreen::ChangeLayoutClick);
    connect(mImbSettingsButton, &QPushButton::clicked, this, [this] {
        data::TSettingsFile settings = Settings();
        design::TImbSettingsDialog::Edit(settings, this);
    });
    connect(mFirstButton, &QToolButton::clicked, this, [this] { RecordClick(0); });
    connect(mPriorButton, &QToolButton::clicked, this, [this] { RecordClick(1); });
    connect(mNextButton, &QToolButton::clicked, this, [this] { RecordClick(2); });
    connect(mLastButton, &QToolButton::clicked, this, [this] { RecordClick(3); });
    connect(mFontButton, &QPushButton::clicked, this, &TLabelDesignScreen::FontButtonClick);
    connect(mSaveButton, &QPushButton::clicked, this, &TLabelDesignScreen::SaveButtonClick);
    connect(mCancelButton, &QPushButton::clicked, this, &TLabelDesignScreen::reject);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    connect(mDescriptionEdit, &QLineEdit::textEdited, this, &TLabelDesignScreen::LabelChanged);

    mPanel.OnLabelChanged = [this] { LabelChanged(); };
    mSurface->DroppedObjectEvent = [this](const QRect&) {
        ToolButton(TTool::Selection)->setChecked(true);
        mSurface->SetLabelTool(TTool::Selection);
    };
    WatchKeys();

    ShowFontCaption();
    ShowLayoutName();
    resize(std::max(760, int(geometry.labelWidth * 96) + 80),
           std::max(440, int(geometry.labelHeight * 96) + 220));
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

TLabelDesignScreen::~TLabelDesignScreen()
{
    mPanel.OnLabelChanged = nullptr;
    // The surface unhooks itself from the panel, which outlives it here.
    delete mFaceArea->takeWidget();
}

bool TLabelDesignScreen::Changed() const
{
    return mChanged;
}

void TLabelDesignScreen::WatchKeys()
{
    // The window sees the keys first, except in the description edit; the surface is watched
    // for the mouse read-out and the window's scrolling and zoom keys.
    for (QWidget* child : findChildren<QWidget*>())
        if (child != mDescriptionEdit)
            child->installEventFilter(this);
}

void TLabelDesignScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        FormActivate();
    }
}

void TLabelDesignScreen::FormActivate()
{
    mOpening = true;
    data::TSettingsFile settings = Settings();
    data::TWindowPlacement::Restore(*this, QLatin1String(kPlacementName), settings);
    design::TGFont font;
    const QString section = QLatin1String(kFontSection);
    font.SetName(
        settings.ReadString(section, QStringLiteral("DefaultFontName"), QStringLiteral("Arial")));
    font.SetPointSize(settings.ReadInteger(section, QStringLiteral("DefaultFontSize"), 10));
    unsigned style = 0;
    if (settings.ReadBool(section, QStringLiteral("DefaultFontBold"), false))
        style |= design::fsBold;
    if (settings.ReadBool(section, QStringLiteral("DefaultFontItalic"), false))
        style |= design::fsItalic;
    font.SetStyle(style);
    mSurface->SetPanelFont(font);
    ShowFontCaption();

    SizeFace();
    ShowLayoutName();
    const QSize face = R::FaceSize(mGeometry, design::TDesignUnits::Ppi());
    const bool hasArt = !TLabelArt::Find(mGeometry.art, face, mArtDirectory).isNull();
    {
        const QSignalBlocker block(mArtButton);
        mArtButton->setEnabled(hasArt);
        mArtButton->setChecked(hasArt);
    }
    ShowArt();
    mChanged = false;
    mSaveButton->hide();
    mSurface->setFocus();

    if (mNewLabel) {
        mSurface->SetLabelTool(TTool::Address);
        // The block spans the face whatever the record on screen holds: fitted to a 4-line
        // record it would cut the city line of every longer address on paper.
        const QRect area(5, 5, std::max(1, mPanel.Width() - 15), std::max(1, mPanel.Height() - 15));
        if (design::TGGraphicControl* block = mSurface->CreateObjectInRect(area))
            block->SetBounds(area.x(), area.y(), area.width(), area.height());
        ToolButton(TTool::Selection)->setChecked(true);
        mSurface->SetLabelTool(TTool::Selection);
        mSurface->SelectAll();
        data::TMessageService::Inform(this, R::NewLabelMessage());
    }
    mOpening = false;
}

void TLabelDesignScreen::LabelChanged()
{
    if (mOpening || mZooming || mPanel.Scaling())
        return;
    mChanged = true;
    mSaveButton->show();
}

void TLabelDesignScreen::SizeFace()
{
    const float previous = mPanel.Scale();
    mZooming = true;
    if (previous != 1.0f)
        mSurface->SetScale(1.0f);
    QSize face = R::FaceSize(mGeometry, design::TDesignUnits::Ppi());
    face = face.expandedTo(QSize(1, 1)); // refused geometry never gets this far; never 0
    const QString code = mGeometry.shape.trimmed().toUpper();
    bool resized = false;
    if (face != QSize(mPanel.Width(), mPanel.Height()) || code != mShapeCode) {
        using TShape = design::TGDesignSurface::TPageShape;
        if (code == QLatin1String("RR"))
            mSurface->SetShape(TShape::lsRoundRect);
        else if (code == QLatin1String("SR"))
            mSurface->SetShape(TShape::lsRectangle);
        else if (code == QLatin1String("EL"))
            mSurface->SetShape(TShape::lsEllipse);
        mPanel.SetSize(face.width(), face.height());
        mShapeCode = code;
        resized = true;
    }
    if (previous != 1.0f)
        mSurface->SetScale(previous);
    mZooming = false;
    mSurface->setFixedSize(mSurface->sizeHint());
    mSurface->update();
    if (resized)
        mPanel.NotifyChanged();
}

void TLabelDesignScreen::ShowArt()
{
    picture::TPicture picture;
    if (mArtButton->isChecked() && mArtButton->isEnabled() && !mGeometry.art.trimmed().isEmpty()) {
        const QImage art = TLabelArt::Find(
            mGeometry.art, R::FaceSize(mGeometry, design::TDesignUnits::Ppi()), mArtDirectory);
        if (!art.isNull()) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            art.save(&buffer, "BMP");
            try {
                picture = picture::TPicture::FromBitmap(bytes);
            } catch (const picture::TPictureError&) {
                picture = {};
            }
        }
    }
    mSurface->SetPicture(picture);
}

void TLabelDesignScreen::ShowLayoutName()
{
    mLayoutNameLabel->setText(R::LayoutName(mGeometry));
    mLayoutNameLabel->setToolTip(mLayoutNameLabel->text());
}

void TLabelDesignScreen::ShowFontCaption()
{
    const design::TGFont& font = mSurface->PanelFont();
    mFontButton->setText(
        R::DefaultFontCaption(font.Name(), font.PointSize(), font.Bold(), font.Italic()));
    mFontButton->setToolTip(mFontButton->text());
}

void TLabelDesignScreen::ToolButtonClick(TTool tool)
{
    const bool refusedPostNet = tool == TTool::PostNet && !R::WideEnoughForPostNet(mGeometry);
    const bool refusedImb = tool == TTool::Imb && !R::WideEnoughForImb(mGeometry);
    if (refusedPostNet || refusedImb) {
        data::TMessageService::Inform(this,
                                      refusedImb ? R::ImbToolRefusal() : R::PostNetToolRefusal());
        ToolButton(TTool::Selection)->setChecked(true);
        mSurface->SetLabelTool(TTool::Selection);
        return;
    }
    mSurface->SetLabelTool(tool);
}

void TLabelDesignScreen::ZoomBy(bool in)
{
    const float scale = mPanel.Scale();
    mPanel.ClearSelection();
    const float next = in ? R::ZoomIn(scale) : R::ZoomOut(scale);
    if (next != scale) {
        mZooming = true;
        mSurface->SetScale(next);
        mZooming = false;
    }
    mZoomLabel->setText(R::ZoomText(mPanel.Scale()));
    mSurface->update();
}

void TLabelDesignScreen::ChangeLayoutClick()
{
    int kind = 0;
    if (OnChooseLayoutKind) {
        kind = OnChooseLayoutKind();
    } else {
        const auto choice = TLabelLayoutChoice::Ask(this);
        kind = choice == TLabelLayoutChoice::TChoice::Cancelled  ? -1
               : choice == TLabelLayoutChoice::TChoice::Template ? 0
                                                                 : 1;
    }
    if (kind < 0)
        return;
    const bool artWasEnabled = mArtButton->isEnabled();
    const bool artWasShown = artWasEnabled && mArtButton->isChecked();
    if (kind == 0) {
        const std::optional<TLabelGeometry> chosen =
            OnChooseTemplate ? OnChooseTemplate(mGeometry) : TSelectLabel::Choose(mGeometry, this);
        if (!chosen)
            return;
        R::TakeTemplate(mGeometry, *chosen);
        SizeFace();
        const QSize face = R::FaceSize(mGeometry, design::TDesignUnits::Ppi());
        const bool hasArt = !TLabelArt::Find(mGeometry.art, face, mArtDirectory).isNull();
        const QSignalBlocker block(mArtButton);
        mArtButton->setEnabled(hasArt);
        mArtButton->setChecked(hasArt && (artWasShown || !artWasEnabled));
    } else {
        const std::optional<TLabelGeometry> edited =
            OnEditLayout ? OnEditLayout(mGeometry) : TLabelEdit::Edit(mGeometry, this);
        if (!edited)
            return;
        R::TakeUserDefined(mGeometry, *edited);
        SizeFace();
        const QSignalBlocker block(mArtButton);
        mArtButton->setChecked(false);
        mArtButton->setEnabled(false);
    }
    mPanel.PullObjectsInside();
    ShowArt();
    ShowLayoutName();
    mChanged = true;
    mSaveButton->show();
    RemoveNarrowPostNet();
    mSurface->update();
}

void TLabelDesignScreen::RemoveNarrowPostNet()
{
    if (!R::WideEnoughForPostNet(mGeometry)) {
        for (const auto& object : mPanel.Objects()) {
            if (object->ClassName() != QByteArrayLiteral("TGPostNetBarCode"))
                continue;
            data::TMessageService::Inform(this, R::PostNetRemovedWarning());
            mPanel.DeleteObject(object.get());
            break;
        }
    }
    if (!R::WideEnoughForImb(mGeometry)) {
        // Every Intelligent Mail barcode goes: none of them fits.
        std::vector<design::TGGraphicControl*> narrow;
        for (const auto& object : mPanel.Objects())
            if (object->ClassName() == QByteArrayLiteral("TGIMBarCode"))
                narrow.push_back(object.get());
        if (!narrow.empty())
            data::TMessageService::Inform(this, R::ImbRemovedWarning());
        for (design::TGGraphicControl* object : narrow)
            mPanel.DeleteObject(object);
    }
}

void TLabelDesignScreen::RecordClick(int move)
{
    if (mAddresses != nullptr) {
        const QString failure = data::TRecordMove::Step(*mAddresses, data::TRecordStep(move));
        if (!failure.isEmpty())
            data::TMessageService::Inform(this, failure);
    }
    mPanel.RefreshData();
    if (move == 0)
        mPanel.ResetCounters();
    else
        mPanel.StepCounters();
    mSurface->update();
}

void TLabelDesignScreen::FontButtonClick()
{
    const std::optional<design::TGFont> chosen =
        OnChooseFont ? OnChooseFont(mSurface->PanelFont())
                     : design::TDesignFontDialog::Choose(mSurface->PanelFont(), this);
    if (!chosen)
        return;
    mSurface->SetPanelFont(*chosen);
    try {
        data::TSettingsFile settings = Settings();
        const QString section = QLatin1String(kFontSection);
        settings.WriteString(section, QStringLiteral("DefaultFontName"), chosen->Name());
        settings.WriteInteger(section, QStringLiteral("DefaultFontSize"), chosen->PointSize());
        settings.WriteBool(section, QStringLiteral("DefaultFontBold"), chosen->Bold());
        settings.WriteBool(section, QStringLiteral("DefaultFontItalic"), chosen->Italic());
    } catch (const data::TSettingsWriteError& error) {
        data::TMessageService::Inform(this, error.Message());
    }
    ShowFontCaption();
}

void TLabelDesignScreen::SaveButtonClick()
{
    mGeometry.description = mDescriptionEdit->text().left(TLabelGeometry::kMaxDescriptionLength);
    mPanel.DropOutsideObjects();
    if (OnSave) {
        const float zoom = mPanel.Scale();
        const QString failure = OnSave(*this);
        if (mPanel.Scale() != zoom) { // the face shows the zoom the read-out gives
            mZooming = true;
            mSurface->SetScale(zoom);
            mZooming = false;
        }
        mSurface->setFixedSize(mSurface->sizeHint());
        mSurface->update();
        if (!failure.isEmpty()) {
            data::TMessageService::Inform(this, failure);
            return;
        }
    }
    mChanged = false;
    accept();
}

void TLabelDesignScreen::reject()
{
    if (mChanged &&
        !data::TMessageService::Ask(this, QStringLiteral("CANCEL"),
                                    QStringLiteral("Discard the changes to this label?"), false))
        return;
    QDialog::reject();
}

void TLabelDesignScreen::done(int result)
{
    try {
        data::TSettingsFile settings = Settings();
        data::TWindowPlacement::Save(*this, QLatin1String(kPlacementName), settings);
    } catch (const data::TSettingsWriteError&) {
        // The placement is a convenience; the design is what matters here.
    }
    QDialog::done(result);
}

void TLabelDesignScreen::ShowReadOut(const QPoint& mouse)
{
    QPoint at = mouse;
    if (!mPanel.Selection().empty()) {
        QRect bounds;
        for (const design::TGGraphicControl* object : mPanel.Selection())
            bounds = bounds.united(object->BoundsRect());
        at = bounds.topLeft();
    }
    const int ppi = design::TDesignUnits::Ppi();
    mLeftLabel->setText(QStringLiteral("Left: ") + R::ReadOut(at.x(), ppi, mPanel.Scale()));
    mTopLabel->setText(QStringLiteral("Top: ") + R::ReadOut(at.y(), ppi, mPanel.Scale()));
}

bool TLabelDesignScreen::WindowKeyPress(QKeyEvent& key)
{
    QScrollBar* bar = mFaceArea->verticalScrollBar();
    switch (key.key()) {
    case Qt::Key_PageUp:
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return true;
    case Qt::Key_PageDown:
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return true;
    case Qt::Key_Home:
        bar->setValue(bar->minimum());
        return true;
    case Qt::Key_End:
        bar->setValue(bar->maximum());
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        return (key.modifiers() & Qt::KeypadModifier) != 0; // zooms on release
    default:
        return false;
    }
}

bool TLabelDesignScreen::WindowKeyRelease(QKeyEvent& key)
{
    if ((key.modifiers() & Qt::KeypadModifier) &&
        (key.key() == Qt::Key_Plus || key.key() == Qt::Key_Minus)) {
        if (!key.isAutoRepeat())
            ZoomBy(key.key() == Qt::Key_Plus);
        return true;
    }
    return false;
}

bool TLabelDesignScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mSurface && event->type() == QEvent::MouseMove) {
        ShowReadOut(static_cast<QMouseEvent*>(event)->position().toPoint());
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    if (watched == mDescriptionEdit)
        return false; // the description edit keeps every key
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyRelease) {
        if (WindowKeyRelease(*key))
            return true;
        // The surface gets its own events; from other controls it is handed the key directly.
        return watched != mSurface && mSurface->SurfaceKeyRelease(*key);
    }
    if (WindowKeyPress(*key))
        return true;
    return watched != mSurface && mSurface->SurfaceKeyPress(*key);
}

void TLabelDesignScreen::keyPressEvent(QKeyEvent* event)
{
    // The window has the key when no control has the focus, or when the description edit let
    // it pass (the arrows up and down): only the former belongs to the face.
    const bool fromEdit = focusWidget() == mDescriptionEdit;
    if (fromEdit || (!WindowKeyPress(*event) && !mSurface->SurfaceKeyPress(*event)))
        QDialog::keyPressEvent(event);
}

void TLabelDesignScreen::keyReleaseEvent(QKeyEvent* event)
{
    const bool fromEdit = focusWidget() == mDescriptionEdit;
    if (fromEdit || (!WindowKeyRelease(*event) && !mSurface->SurfaceKeyRelease(*event)))
        QDialog::keyReleaseEvent(event);
}

// ---- the "Print Labels" window's New and Modify

int TLabelDesignScreen::DesignLayout(TLabelLayoutStore& store, int row, data::TDataSet* addresses,
                                     QWidget* parent)
{
    const bool isNew = row < 0;
    TLabelGeometry geometry;
    if (isNew) {
        geometry = R::NewLabel(store.NewLayoutName());
    } else {
        if (row >= int(store.Rows().size()))
            return -1;
        const TLabelListRow& listed = store.Rows()[size_t(row)];
        if (!listed.problem.isEmpty()) {
            // A row that describes no sheet never reaches the face.
            data::TMessageService::Inform(parent, listed.problem);
            return -1;
        }
        geometry = listed.geometry;
    }

    TLabelDesignScreen designer(geometry, isNew, addresses, parent);
    if (!isNew) {
        const QString path = store.LayoutPath(row);
        if (path.isEmpty()) {
            designer.mGeometry.layoutFile = store.NewLayoutName();
        } else {
            try {
                design::TGLabelObjectFiler::LoadFromFile(designer.Panel(), path);
            } catch (const design::TLayoutError& error) {
                // The objects read before the fault stay; the file is replaced only on Save.
                data::TMessageService::Inform(parent, LayoutErrorText(error, path));
            }
        }
    }

    int saved = -1;
    designer.OnSave = [&store, &saved, isNew, row](TLabelDesignScreen& d) -> QString {
        // The store writes the design to a new file and then the row that names it; a failure
        // leaves the earlier layout as it was.
        QString failure;
        const int index = store.SaveDesign(
            isNew ? -1 : row, d.Geometry(),
            [&d](const QString& path) { design::TGLabelObjectFiler::SaveToFile(d.Panel(), path); },
            &failure);
        if (!failure.isEmpty())
            return failure;
        saved = index;
        return {};
    };
    designer.exec();
    return saved;
}

} // namespace qm::labels
