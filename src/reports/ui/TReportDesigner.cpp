#include "reports/ui/TReportDesigner.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TRecordMove.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "design/text/TDesignUnits.h"
#include "design/ui/TDesignFontDialog.h"
#include "design/ui/THRuler.h"
#include "reports/TReportBandGeometry.h"
#include "reports/TReportDesignerRules.h"
#include "reports/TReportPlacement.h"
#include "reports/ui/TReportBandSizer.h"
#include "reports/ui/TReportBandSurface.h"
#include "reports/ui/TReportMemoStrip.h"
#include "reports/ui/TReportProperties.h"
#include "xbase/TXbaseError.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace qm::reports {
namespace {

using R = TReportDesignerRules;
using G = TReportBandGeometry;

constexpr const char* kPlacementName = "TReportDesigner";
constexpr int kCaptionHeight = 20;

struct TToolFace {
    TPanelState tool; // psPointing also for the three switches, told apart by `toggle`
    int toggle;       // 0 a tool, 1 show grid, 2 snap to grid, 3 names or values
    const char* icon;
    const char* hint;
};

// The tool bar in its order.
const TToolFace kToolBar[] = {
    {TPanelState::psPointing, 0, "select", "Selection tool"},
    {TPanelState::psLabel, 0, "text", "Text tool"},
    {TPanelState::psLine, 0, "line", "Line Tool"},
    {TPanelState::psImage, 0, "clipart", "Clip Art Tool"},
    {TPanelState::psDataLabel, 0, "field", "Database Field tool"},
    {TPanelState::psPointing, 1, "grid", "Show grid"},
    {TPanelState::psPointing, 2, "snap", "Snap to Grid"},
    {TPanelState::psPointing, 3, "values", "Toggle display of field names or field values"},
    {TPanelState::psDateTime, 0, "datetime", "Date Time Tool"},
    {TPanelState::psPageNumber, 0, "pagenumber", "Page Number Tool"},
    {TPanelState::psSymbolLabel, 0, "symbol", "Symbol tool"},
    {TPanelState::psRectangle, 0, "rectangle", "Rectangle tool"},
    {TPanelState::psEllipse, 0, "ellipse", "Ellipse tool"},
    {TPanelState::psRoundRectangle, 0, "roundrect", "Round Rectangle tool"},
};

const char* const kBandCaptions[] = {"Header", "Detail", "Memo", "Footer"};
constexpr TReportBand kAllBands[] = {TReportBand::Header, TReportBand::Detail, TReportBand::Memo,
                                     TReportBand::Footer};
constexpr TReportBand kPanelBands[] = {TReportBand::Header, TReportBand::Detail,
                                       TReportBand::Footer};

std::size_t PanelIndex(TReportBand band)
{
    switch (band) {
    case TReportBand::Header:
        return 0;
    case TReportBand::Footer:
        return 2;
    default:
        return 1;
    }
}

TPanelKind KindOf(TReportBand band)
{
    switch (band) {
    case TReportBand::Header:
        return TPanelKind::rpkHeader;
    case TReportBand::Detail:
        return TPanelKind::rpkDetail;
    case TReportBand::Memo:
        return TPanelKind::rpkMemo;
    case TReportBand::Footer:
        return TPanelKind::rpkFooter;
    }
    return TPanelKind::rpkDetail;
}

QToolButton* MakeButton(QWidget* parent, const char* icon, const QString& hint, bool checkable)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("Tool%1").arg(QLatin1String(icon)));
    button->setIcon(QIcon(QStringLiteral(":/report-tools/%1.svg").arg(QLatin1String(icon))));
    button->setIconSize(QSize(22, 22));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton* RecordButton(QWidget* parent, const QString& text, Qt::ArrowType arrow,
                          const QString& hint, const QString& name)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    if (arrow == Qt::NoArrow)
        button->setText(text);
    else
        button->setArrowType(arrow);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

data::TSettingsFile ProgramSettings()
{
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

design::TGFont FontOf(const QString& name, int points, bool bold, bool italic)
{
    design::TGFont font;
    font.SetName(name);
    font.SetPointSize(points);
    font.SetStyle((bold ? design::fsBold : 0u) | (italic ? design::fsItalic : 0u));
    return font;
}

} // namespace

TReportDesigner::TReportDesigner(const QString& description, const TReportSettings& settings,
                                 data::TDataSet* addresses, QWidget* parent)
    : QDialog(parent), mSettings(settings), mAddresses(addresses)
{
    setObjectName(QStringLiteral("TReportDesigner"));
    setWindowTitle(QStringLiteral("Report Designer"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    for (TReportBand band : kPanelBands) {
        auto& panel = mPanels[PanelIndex(band)];
        panel = std::make_unique<TReportPanel>(KindOf(band), &mOwner);
        panel->SetDataSet(addresses);
    }
    BuildControls();
    OnChangeLayout = [this](const TReportSettings& current) -> std::optional<TReportSettings> {
        TReportProperties dialog(current, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Settings();
    };
    mDescriptionEdit->setText(description.left(R::kDescriptionLength));
    // Every control but the description edit hands the window its keys first.
    for (QWidget* child : findChildren<QWidget*>())
        if (child != mDescriptionEdit)
            child->installEventFilter(this);
    ShowSettings(mSettings);
    resize(std::max(820, G::BandWidth(mSettings, design::TDesignUnits::Ppi()) + 80), 640);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

TReportDesigner::~TReportDesigner()
{
    // The surfaces unhook themselves from the bands, which outlive them here.
    delete mPageArea->takeWidget();
}

std::array<design::TGBasePanel*, 3> TReportDesigner::Bands()
{
    return {mPanels[0].get(), mPanels[1].get(), mPanels[2].get()};
}

std::array<const design::TGBasePanel*, 3> TReportDesigner::Bands() const
{
    return {mPanels[0].get(), mPanels[1].get(), mPanels[2].get()};
}

TReportPanel& TReportDesigner::Panel(TReportBand band)
{
    return *mPanels[PanelIndex(band)];
}

TReportBandSurface& TReportDesigner::Surface(TReportBand band)
{
    return *mSurfaces[PanelIndex(band)];
}

QString TReportDesigner::Description() const
{
    return mDescriptionEdit->text().left(R::kDescriptionLength);
}

QToolButton* TReportDesigner::ToolButton(TPanelState tool) const
{
    const auto it = mToolButtons.find(tool);
    return it == mToolButtons.end() ? nullptr : it->second;
}

void TReportDesigner::SetEditObjectHook(std::function<void(design::TGGraphicControl&)> hook)
{
    for (TReportBandSurface* surface : mSurfaces)
        surface->OnEditObject = hook;
}

int& TReportDesigner::HeightOf(TReportBand band)
{
    switch (band) {
    case TReportBand::Header:
        return mSettings.headerHeight;
    case TReportBand::Footer:
        return mSettings.footerHeight;
    default:
        return mSettings.detailHeight;
    }
}

bool& TReportDesigner::UseOf(TReportBand band)
{
    switch (band) {
    case TReportBand::Header:
        return mSettings.useHeader;
    case TReportBand::Detail:
        return mSettings.useDetail;
    case TReportBand::Memo:
        return mSettings.useMemo;
    case TReportBand::Footer:
        return mSettings.useFooter;
    }
    return mSettings.useDetail;
}

design::TGFont TReportDesigner::DefaultFont() const
{
    return FontOf(mSettings.defaultFontName, mSettings.defaultFontSize, mSettings.defaultBold,
                  mSettings.defaultItalic);
}

// ---- building

void TReportDesigner::BuildControls()
{
    // top: description, layout name, default font
    auto* descriptionLabel = new QLabel(QStringLiteral("&Description:"), this);
    mDescriptionEdit = new QLineEdit(this);
    mDescriptionEdit->setObjectName(QStringLiteral("DescriptionEdit"));
    mDescriptionEdit->setMaxLength(R::kDescriptionLength);
    // The description and the font button give way down to a few characters on a small screen.
    mDescriptionEdit->setMinimumWidth(fontMetrics().averageCharWidth() * 16);
    descriptionLabel->setBuddy(mDescriptionEdit);
    auto* layoutLabel = new QLabel(QStringLiteral("Layout:"), this);
    mLayoutNameLabel = new QLabel(this);
    mLayoutNameLabel->setObjectName(QStringLiteral("LayoutNameLabel"));
    QFont bold = mLayoutNameLabel->font();
    bold.setBold(true);
    mLayoutNameLabel->setFont(bold);
    mFontButton = new QPushButton(this);
    mFontButton->setObjectName(QStringLiteral("FontButton"));
    mFontButton->setAutoDefault(false);
    mFontButton->setMinimumWidth(fontMetrics().averageCharWidth() * 16);
    auto* top = new QHBoxLayout;
    top->addWidget(descriptionLabel);
    top->addWidget(mDescriptionEdit, 1);
    top->addSpacing(12);
    top->addWidget(layoutLabel);
    top->addWidget(mLayoutNameLabel);
    top->addSpacing(12);
    top->addWidget(mFontButton);

    // tool bar
    auto* tools = new QHBoxLayout;
    tools->setSpacing(1);
    auto* toolGroup = new QButtonGroup(this);
    toolGroup->setExclusive(true);
    for (const TToolFace& face : kToolBar) {
        QToolButton* button = MakeButton(this, face.icon, QLatin1String(face.hint), true);
        tools->addWidget(button);
        switch (face.toggle) {
        case 0: {
            toolGroup->addButton(button);
            mToolButtons[face.tool] = button;
            const TPanelState tool = face.tool;
            connect(button, &QToolButton::clicked, this, [this, tool] { ToolButtonClick(tool); });
            break;
        }
        case 1:
            mGridButton = button;
            break;
        case 2:
            mSnapButton = button;
            break;
        default:
            mValuesButton = button;
            break;
        }
        if (face.toggle == 0 && face.tool == TPanelState::psDataLabel)
            tools->addSpacing(8);
        if (face.toggle == 3)
            tools->addSpacing(8);
    }
    tools->addStretch();
    ToolButton(TPanelState::psPointing)->setChecked(true);

    // the design page
    mPageArea = new QScrollArea(this);
    mPageArea->setObjectName(QStringLiteral("PageArea"));
    mPageArea->setBackgroundRole(QPalette::Dark);
    mPageArea->setWidgetResizable(false);
    mPageArea->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    mPage = BuildPage();
    mPageArea->setWidget(mPage);

    // bottom
    mSaveButton = new QPushButton(QStringLiteral("&Save"), this);
    mSaveButton->setObjectName(QStringLiteral("SaveButton"));
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    mChangeLayoutButton = new QPushButton(QStringLiteral("C&hange Layout"), this);
    mChangeLayoutButton->setObjectName(QStringLiteral("ChangeLayoutButton"));
    mHelpButton = new QPushButton(QStringLiteral("Help"), this);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    for (QPushButton* b : {mSaveButton, mCancelButton, mChangeLayoutButton, mHelpButton})
        b->setAutoDefault(false);
    mFirstButton = RecordButton(this, QStringLiteral("|<"), Qt::NoArrow,
                                QStringLiteral("First record"), QStringLiteral("FirstButton"));
    mPriorButton = RecordButton(this, {}, Qt::LeftArrow, QStringLiteral("Previous record"),
                                QStringLiteral("PriorButton"));
    mNextButton = RecordButton(this, {}, Qt::RightArrow, QStringLiteral("Next record"),
                               QStringLiteral("NextButton"));
    mLastButton = RecordButton(this, QStringLiteral(">|"), Qt::NoArrow,
                               QStringLiteral("Last record"), QStringLiteral("LastButton"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(mSaveButton);
    bottom->addWidget(mCancelButton);
    bottom->addWidget(mChangeLayoutButton);
    bottom->addSpacing(16);
    for (QToolButton* b : {mFirstButton, mPriorButton, mNextButton, mLastButton})
        bottom->addWidget(b);
    bottom->addStretch();
    bottom->addWidget(mHelpButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(tools);
    layout->addWidget(mPageArea, 1);
    layout->addLayout(bottom);

    connect(mFontButton, &QPushButton::clicked, this, &TReportDesigner::FontButtonClick);
    connect(mGridButton, &QToolButton::toggled, this, [this](bool on) {
        for (TReportBandSurface* surface : mSurfaces)
            surface->SetShowGrid(on);
    });
    connect(mSnapButton, &QToolButton::toggled, this, [this](bool on) {
        for (TReportBandSurface* surface : mSurfaces)
            surface->SetSnapToGrid(on);
    });
    connect(mValuesButton, &QToolButton::toggled, this, [this](bool names) {
        Panel(TReportBand::Detail).SetDisplayDataValues(!names);
        Surface(TReportBand::Detail).update();
    });
    connect(mSaveButton, &QPushButton::clicked, this, &TReportDesigner::SaveButtonClick);
    connect(mCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mChangeLayoutButton, &QPushButton::clicked, this, &TReportDesigner::ChangeLayoutClick);
    connect(mFirstButton, &QToolButton::clicked, this, [this] { RecordClick(0); });
    connect(mPriorButton, &QToolButton::clicked, this, [this] { RecordClick(1); });
    connect(mNextButton, &QToolButton::clicked, this, [this] { RecordClick(2); });
    connect(mLastButton, &QToolButton::clicked, this, [this] { RecordClick(3); });
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
}

QWidget* TReportDesigner::BuildPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("DesignPage"));
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setSizeConstraint(QLayout::SetFixedSize);

    mRuler = new design::THRuler(page);
    mRuler->setObjectName(QStringLiteral("Ruler"));
    mRuler->setFixedHeight(design::THRuler::kDefaultHeight);
    column->addWidget(mRuler);

    for (TReportBand band : kAllBands) {
        const std::size_t i = std::size_t(band);
        auto* strip = new QWidget(page);
        strip->setObjectName(QStringLiteral("%1Caption").arg(QLatin1String(kBandCaptions[i])));
        strip->setAutoFillBackground(true);
        strip->setBackgroundRole(QPalette::Button);
        strip->setFixedHeight(kCaptionHeight);
        auto* stripLayout = new QHBoxLayout(strip);
        stripLayout->setContentsMargins(4, 0, 4, 0);
        auto* check = new QCheckBox(QLatin1String(kBandCaptions[i]), strip);
        check->setObjectName(QStringLiteral("%1Check").arg(QLatin1String(kBandCaptions[i])));
        stripLayout->addWidget(check);
        stripLayout->addStretch();
        mChecks[i] = check;
        mCaptionStrips[i] = strip;
        connect(check, &QCheckBox::clicked, this,
                [this, band](bool on) { BandCheckClick(band, on); });
        column->addWidget(strip);

        if (band == TReportBand::Memo) {
            mMemoProperties = new QToolButton(strip);
            mMemoProperties->setObjectName(QStringLiteral("MemoPropertiesButton"));
            mMemoProperties->setText(QStringLiteral("Properties"));
            mMemoProperties->setPopupMode(QToolButton::InstantPopup);
            mMemoProperties->setAutoRaise(true);
            mMemoMenu = new QMenu(mMemoProperties);
            mMemoMenu->setObjectName(QStringLiteral("MemoMenu"));
            connect(mMemoMenu->addAction(QStringLiteral("Font")), &QAction::triggered, this,
                    &TReportDesigner::MemoFontClick);
            mMemoMenu->addSeparator();
            auto* alignments = new QActionGroup(mMemoMenu);
            for (const R::TAlignmentEntry& entry : R::AlignmentEntries()) {
                QAction* action = mMemoMenu->addAction(QLatin1String(entry.caption));
                action->setCheckable(true);
                alignments->addAction(action);
                const TMemoAlignment alignment = entry.alignment;
                connect(action, &QAction::triggered, this,
                        [this, alignment] { MemoAlignmentClick(alignment); });
            }
            mMemoProperties->setMenu(mMemoMenu);
            stripLayout->addWidget(mMemoProperties);
            mMemo = new TReportMemoStrip(page);
            column->addWidget(mMemo);
        } else {
            TReportPanel& panel = Panel(band);
            auto* surface = new TReportBandSurface(panel, page);
            surface->setObjectName(QStringLiteral("%1Band").arg(QLatin1String(kBandCaptions[i])));
            mSurfaces[PanelIndex(band)] = surface;
            surface->DroppedObjectEvent = [this](const QRect&) {
                ToolButton(TPanelState::psPointing)->setChecked(true);
                ToolButtonClick(TPanelState::psPointing);
            };
            // Selecting in one band ends the selection in the others.
            panel.ControlMouseDownEvent = [this, &panel](design::TGGraphicControl&) {
                for (auto& other : mPanels)
                    if (other.get() != &panel && !other->Selection().empty()) {
                        other->ClearSelection();
                        for (TReportBandSurface* s : mSurfaces)
                            s->update();
                    }
            };
            column->addWidget(surface);
        }

        auto* sizer = new TReportBandSizer(page);
        sizer->setObjectName(QStringLiteral("%1Sizer").arg(QLatin1String(kBandCaptions[i])));
        mSizers[i] = sizer;
        sizer->OnPress = [this, band] { SizerPress(band); };
        sizer->OnDrag = [this, band](int dy) { SizerDrag(band, dy); };
        sizer->OnRelease = [this, band] { SizerRelease(band); };
        column->addWidget(sizer);
    }
    return page;
}

// ---- showing the settings

void TReportDesigner::ShowSettings(const TReportSettings& settings)
{
    mSettings = settings;
    // A band not in use has height 0.
    for (TReportBand band : kPanelBands)
        if (!UseOf(band))
            HeightOf(band) = 0;
    const design::TGFont font = DefaultFont();
    for (TReportBandSurface* surface : mSurfaces)
        surface->SetPanelFont(font);
    mLayoutNameLabel->setText(mSettings.LayoutName());
    ShowFontCaption();
    LayoutPage();
    for (auto& panel : mPanels)
        panel->RefreshData();
    ShowMemo();
}

void TReportDesigner::LayoutPage()
{
    const int ppi = design::TDesignUnits::Ppi();
    const int width = std::max(1, G::BandWidth(mSettings, ppi));
    mRuler->SetStartInch(double(mSettings.leftMargin) / ppi);
    mRuler->setFixedWidth(width + 1);
    for (TReportBand band : kAllBands) {
        const std::size_t i = std::size_t(band);
        const bool used = UseOf(band);
        {
            const QSignalBlocker block(mChecks[i]);
            mChecks[i]->setChecked(used);
        }
        mCaptionStrips[i]->setFixedWidth(width + 1);
        mSizers[i]->setFixedWidth(width + 1);
        if (band == TReportBand::Memo) {
            mMemo->setFixedSize(width + 1, used ? G::kMemoStripHeight : 0);
            mMemo->setVisible(used);
            mMemoProperties->setVisible(used);
            mSizers[i]->setEnabled(false); // the memo strip has its fixed height
            continue;
        }
        TReportPanel& panel = Panel(band);
        const int height = used ? std::max(0, HeightOf(band)) : 0;
        if (panel.Width() != width || panel.Height() != height)
            panel.SetSize(width, height);
        TReportBandSurface& surface = Surface(band);
        surface.setFixedSize(width + 1, height > 0 ? height + 1 : 0);
        surface.setVisible(height > 0);
        mSizers[i]->setEnabled(used);
        surface.update();
    }
    mPage->adjustSize();
}

void TReportDesigner::ShowFontCaption()
{
    mFontButton->setText(R::DefaultFontCaption(mSettings.defaultFontName, mSettings.defaultFontSize,
                                               mSettings.defaultBold, mSettings.defaultItalic));
    mFontButton->setToolTip(mFontButton->text());
}

void TReportDesigner::ShowMemo()
{
    mMemo->SetLook(mSettings);
    QString text;
    if (mAddresses != nullptr && mAddresses->Active() && !mAddresses->IsEmpty()) {
        try {
            if (mAddresses->FindField(QStringLiteral("MEMO")) != nullptr)
                text = mAddresses->AsString(QStringLiteral("MEMO"));
        } catch (const xbase::TXbaseError&) {
        } catch (const data::TDataSetError&) {
        }
    }
    mMemo->SetText(text);
    const auto& entries = R::AlignmentEntries();
    const QList<QAction*> actions = mMemoMenu->actions();
    for (QAction* action : actions)
        for (const R::TAlignmentEntry& entry : entries)
            if (action->text() == QLatin1String(entry.caption))
                action->setChecked(entry.alignment == mSettings.memoAlignment);
}

// ---- tools

void TReportDesigner::ToolButtonClick(TPanelState tool)
{
    if (QToolButton* button = ToolButton(tool))
        button->setChecked(true);
    for (TReportBand band : kPanelBands) {
        TReportPanel& panel = Panel(band);
        panel.SetPanelState(tool);
        panel.SetAcceptsClicks(TReportPlacement::AcceptsClicks(tool, panel.PAnelKind()));
    }
}

// ---- bands

void TReportDesigner::BandCheckClick(TReportBand band, bool on)
{
    if (band == TReportBand::Memo) {
        mSettings.useMemo = on;
    } else if (on) {
        HeightOf(band) = G::TurnedOnHeight(mSettings, band);
        UseOf(band) = true;
    } else {
        UseOf(band) = false;
        HeightOf(band) = 0;
    }
    LayoutPage();
    if (band != TReportBand::Memo && on)
        Panel(band).PullObjectsInside();
    ShowMemo();
}

void TReportDesigner::SizerPress(TReportBand band)
{
    if (band != TReportBand::Memo)
        mHeightAtPress = HeightOf(band);
}

void TReportDesigner::SizerDrag(TReportBand band, int dy)
{
    if (band == TReportBand::Memo || !UseOf(band))
        return;
    const int height = G::DraggedHeight(mSettings, band, mHeightAtPress, dy);
    if (height == HeightOf(band))
        return;
    HeightOf(band) = height;
    LayoutPage();
}

void TReportDesigner::SizerRelease(TReportBand band)
{
    if (band == TReportBand::Memo)
        return;
    Panel(band).PullObjectsInside();
    Surface(band).update();
}

// ---- fonts

void TReportDesigner::FontButtonClick()
{
    const design::TGFont current = DefaultFont();
    const std::optional<design::TGFont> chosen =
        OnChooseFont ? OnChooseFont(current) : design::TDesignFontDialog::Choose(current, this);
    if (chosen) {
        mSettings.defaultFontName = chosen->Name();
        mSettings.defaultFontSize = chosen->PointSize();
        mSettings.defaultBold = chosen->Bold();
        mSettings.defaultItalic = chosen->Italic();
        for (TReportBandSurface* surface : mSurfaces)
            surface->SetPanelFont(*chosen);
    }
    ShowFontCaption();
}

void TReportDesigner::MemoFontClick()
{
    const design::TGFont current = FontOf(mSettings.memoFontName, mSettings.memoFontSize,
                                          mSettings.memoBold, mSettings.memoItalic);
    const std::optional<design::TGFont> chosen =
        OnChooseFont ? OnChooseFont(current) : design::TDesignFontDialog::Choose(current, this);
    if (!chosen)
        return;
    mSettings.memoFontName = chosen->Name();
    mSettings.memoFontSize = chosen->PointSize();
    mSettings.memoBold = chosen->Bold();
    mSettings.memoItalic = chosen->Italic();
    ShowMemo();
}

void TReportDesigner::MemoAlignmentClick(TMemoAlignment alignment)
{
    mSettings.memoAlignment = alignment;
    ShowMemo();
}

// ---- layout

void TReportDesigner::ChangeLayoutClick()
{
    if (!OnChangeLayout)
        return;
    const std::optional<TReportSettings> changed = OnChangeLayout(mSettings);
    if (!changed)
        return;
    // The dialog edits the page and the frames; the bands, heights and fonts stay as designed.
    TReportSettings next = mSettings;
    next.pageWidth = changed->pageWidth;
    next.pageHeight = changed->pageHeight;
    next.leftMargin = changed->leftMargin;
    next.topMargin = changed->topMargin;
    next.rightMargin = changed->rightMargin;
    next.bottomMargin = changed->bottomMargin;
    next.frames = changed->frames;
    mSettings = next;
    mLayoutNameLabel->setText(mSettings.LayoutName());
    LayoutPage();
    for (auto& panel : mPanels)
        panel->PullObjectsInside();
    for (TReportBandSurface* surface : mSurfaces)
        surface->update();
}

// ---- records

void TReportDesigner::RecordClick(int move)
{
    if (mAddresses != nullptr) {
        const QString failure = data::TRecordMove::Step(*mAddresses, data::TRecordStep(move));
        if (!failure.isEmpty())
            data::TMessageService::Inform(this, failure);
    }
    for (auto& panel : mPanels)
        panel->RefreshData();
    for (TReportBandSurface* surface : mSurfaces)
        surface->update();
    ShowMemo();
}

// ---- save, cancel, placement

void TReportDesigner::SaveButtonClick()
{
    const std::array<int, 4> heights = {
        mSettings.useHeader ? mSettings.headerHeight : 0,
        mSettings.useDetail ? mSettings.detailHeight : 0,
        mSettings.useMemo ? G::kMemoStripHeight : 0,
        mSettings.useFooter ? mSettings.footerHeight : 0,
    };
    const std::array<bool, 4> ticks = R::TicksOnSave(
        {mSettings.useHeader, mSettings.useDetail, mSettings.useMemo, mSettings.useFooter},
        heights);
    // A band of height 0 loses its tick, also when no band is left.
    R::TakeBands(mSettings, ticks, heights);
    LayoutPage();
    if (!R::AnyTicked(ticks)) {
        data::TMessageService::Inform(this, R::NoBandsMessage());
        return;
    }
    for (TReportBand band : kPanelBands) {
        if (UseOf(band))
            Panel(band).DropOutsideObjects();
        else
            Panel(band).ClearObjects();
    }
    LayoutPage();
    if (OnSave) {
        const QString failure = OnSave(*this);
        if (!failure.isEmpty()) {
            data::TMessageService::Error(this, QStringLiteral("Error"), failure);
            return;
        }
    }
    accept();
}

void TReportDesigner::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (mActivated)
        return;
    mActivated = true;
    try {
        data::TSettingsFile settings = ProgramSettings();
        data::TWindowPlacement::Restore(*this, QLatin1String(kPlacementName), settings);
    } catch (const data::TSettingsWriteError&) {
        // The placement is a convenience; the window opens where it was centred.
    }
}

// ---- keys

TReportBandSurface& TReportDesigner::KeyTarget()
{
    for (std::size_t i = 0; i < mPanels.size(); ++i)
        if (!mPanels[i]->Selection().empty())
            return *mSurfaces[i];
    return *mSurfaces[mKeyBand];
}

bool TReportDesigner::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (std::size_t i = 0; i < mSurfaces.size(); ++i)
            if (watched == mSurfaces[i])
                mKeyBand = i;
        return false;
    }
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease)
        return false;
    if (watched == mDescriptionEdit ||
        std::find(mSurfaces.begin(), mSurfaces.end(), watched) != mSurfaces.end())
        return false; // the edit keeps its keys; a band gets its own events as they are
    // From any other control the band's keys go to the band by a direct call.
    const auto& key = *static_cast<QKeyEvent*>(event);
    TReportBandSurface& band = KeyTarget();
    return press ? band.SurfaceKeyPress(key) : band.SurfaceKeyRelease(key);
}

void TReportDesigner::keyPressEvent(QKeyEvent* event)
{
    // Keys the description edit let pass (the arrows up and down) are not the bands'.
    if (focusWidget() == mDescriptionEdit || !KeyTarget().SurfaceKeyPress(*event))
        QDialog::keyPressEvent(event);
}

void TReportDesigner::keyReleaseEvent(QKeyEvent* event)
{
    if (focusWidget() == mDescriptionEdit || !KeyTarget().SurfaceKeyRelease(*event))
        QDialog::keyReleaseEvent(event);
}

void TReportDesigner::done(int result)
{
    try {
        data::TSettingsFile settings = ProgramSettings();
        data::TWindowPlacement::Save(*this, QLatin1String(kPlacementName), settings);
    } catch (const data::TSettingsWriteError&) {
        // The placement is a convenience; the design is what matters here.
    }
    QDialog::done(result);
}

} // namespace qm::reports
