#include "reports/ui/TReportProperties.h"

#include "data/ui/THelpWindow.h"
#include "design/text/TDesignUnits.h"
#include "reports/ui/TReportMiniatureView.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::reports {

namespace {

using design::TGColor;

constexpr std::array<TReportBand, 4> kBands{TReportBand::Header, TReportBand::Detail,
                                            TReportBand::Memo, TReportBand::Footer};
constexpr double kMinMargin = 0.5;
constexpr double kMaxMargin = 2.5;

// The colours the shade colour list offers, in the usual order of the sixteen named colours.
constexpr std::array<TGColor, 16> kListColors{
    TGColor::Rgb(0, 0, 0),      TGColor::Rgb(128, 0, 0),     TGColor::Rgb(0, 128, 0),
    TGColor::Rgb(128, 128, 0),  TGColor::Rgb(0, 0, 128),     TGColor::Rgb(128, 0, 128),
    TGColor::Rgb(0, 128, 128),  TGColor::Rgb(128, 128, 128), TGColor::Rgb(192, 192, 192),
    TGColor::Rgb(255, 0, 0),    TGColor::Rgb(0, 255, 0),     TGColor::Rgb(255, 255, 0),
    TGColor::Rgb(0, 0, 255),    TGColor::Rgb(255, 0, 255),   TGColor::Rgb(0, 255, 255),
    TGColor::Rgb(255, 255, 255)};

const QString kCustomItem = QStringLiteral("Custom...");

const char* BandName(TReportBand band)
{
    switch (band) {
    case TReportBand::Header:
        return "Header";
    case TReportBand::Detail:
        return "Detail";
    case TReportBand::Memo:
        return "Memo";
    case TReportBand::Footer:
        return "Footer";
    }
    return "";
}

// "Red" for clRed, the colour's #rrggbb value for a colour without a name.
QString ColorText(TGColor color)
{
    if (const std::optional<QByteArray> name = color.Name())
        return QString::fromLatin1(name->startsWith("cl") ? name->mid(2) : *name);
    return color.ToQColor().name();
}

QIcon Swatch(TGColor color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(color.ToQColor());
    QPainter p(&pixmap);
    p.setPen(Qt::gray);
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

void AddColorItem(QComboBox& list, TGColor color, int at)
{
    list.insertItem(at, Swatch(color), ColorText(color), QVariant(qint32(color.value)));
}

} // namespace

TReportProperties::TReportProperties(const TReportSettings& settings, QWidget* parent)
    : QDialog(parent), mSettings(settings), mPpi(design::TDesignUnits::Ppi())
{
    setObjectName(QStringLiteral("TReportProperties"));
    setWindowTitle(QStringLiteral("Report Layout"));
    mChooseColor = [this](const QColor& current) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(current, this);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    };

    mTabs = new QTabWidget(this);
    mTabs->setObjectName(QStringLiteral("Tabs"));
    // All five tabs stay in sight, so the miniature's clicks never select a hidden one.
    mTabs->setUsesScrollButtons(false);
    mTabs->setElideMode(Qt::ElideNone);
    mTabs->addTab(BuildPageTab(), QStringLiteral("Page"));
    for (TReportBand band : kBands)
        mTabs->addTab(BuildBandTab(band), QString::fromLatin1(BandName(band)));

    mMiniature = new TReportMiniatureView(mSettings, mPpi, this);
    mMiniature->SetClickHandler([this](TMiniatureHit hit) { MiniatureClick(hit); });
    mLayoutLabel = new QLabel(this);
    mLayoutLabel->setObjectName(QStringLiteral("LayoutLabel"));
    mLayoutLabel->setAlignment(Qt::AlignHCenter);

    mSaveButton = new QPushButton(QStringLiteral("Save"), this);
    mSaveButton->setObjectName(QStringLiteral("SaveButton"));
    mSaveButton->setDefault(true);
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    mDefaultsButton = new QPushButton(QStringLiteral("Defaults"), this);
    mDefaultsButton->setObjectName(QStringLiteral("DefaultsButton"));
    mDefaultsButton->setAutoDefault(false);
    mHelpButton = new QPushButton(QStringLiteral("Help"), this);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    mHelpButton->setAutoDefault(false);
    connect(mSaveButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(mCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mDefaultsButton, &QPushButton::clicked, this, &TReportProperties::DefaultsButtonClick);
    connect(mHelpButton, &QPushButton::clicked, this, &TReportProperties::HelpButtonClick);
    connect(mTabs, &QTabWidget::currentChanged, this, &TReportProperties::TabChange);

    auto* picture = new QVBoxLayout;
    picture->addWidget(mMiniature, 0, Qt::AlignHCenter);
    picture->addWidget(mLayoutLabel);
    picture->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(mTabs, 1);
    top->addLayout(picture);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(mSaveButton);
    buttons->addWidget(mCancelButton);
    buttons->addWidget(mDefaultsButton);
    buttons->addWidget(mHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    ShowSettings();
    mLayoutLabel->setText(mSettings.LayoutName());
    TabChange(mTabs->currentIndex());
}

QWidget* TReportProperties::BuildPageTab()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageTab"));

    auto* orientation = new QGroupBox(QStringLiteral("Orientation"), page);
    mPortrait = new QRadioButton(QStringLiteral("Portrait"), orientation);
    mPortrait->setObjectName(QStringLiteral("PortraitButton"));
    mLandscape = new QRadioButton(QStringLiteral("Landscape"), orientation);
    mLandscape->setObjectName(QStringLiteral("LandscapeButton"));
    auto* orientationLayout = new QVBoxLayout(orientation);
    orientationLayout->addWidget(mPortrait);
    orientationLayout->addWidget(mLandscape);

    auto* size = new QGroupBox(QStringLiteral("Size"), page);
    mLetter = new QRadioButton(QStringLiteral("Letter"), size);
    mLetter->setObjectName(QStringLiteral("LetterButton"));
    mA4 = new QRadioButton(QStringLiteral("A4"), size);
    mA4->setObjectName(QStringLiteral("A4Button"));
    auto* sizeLayout = new QVBoxLayout(size);
    sizeLayout->addWidget(mLetter);
    sizeLayout->addWidget(mA4);

    for (QRadioButton* button : {mPortrait, mLandscape, mLetter, mA4})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                ControlsChange();
        });

    auto* margins = new QGroupBox(QStringLiteral("Margins (in inches)"), page);
    auto* marginForm = new QFormLayout(margins);
    const std::array<const char*, 4> captions{"Left", "Top", "Right", "Bottom"};
    for (std::size_t i = 0; i < mMargins.size(); ++i) {
        auto* edit = new QDoubleSpinBox(margins);
        edit->setObjectName(QString::fromLatin1(captions[i]) + QStringLiteral("MarginEdit"));
        edit->setRange(kMinMargin, kMaxMargin);
        edit->setDecimals(2);
        edit->setSingleStep(0.05);
        mMargins[i] = edit;
        marginForm->addRow(QString::fromLatin1(captions[i]), edit);
        connect(edit, &QDoubleSpinBox::valueChanged, this,
                [this, i] { MarginChange(TMarginSide(i)); });
    }

    auto* choices = new QHBoxLayout;
    choices->addWidget(orientation);
    choices->addWidget(size);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(choices);
    layout->addWidget(margins);
    layout->addStretch(1);
    return page;
}

QWidget* TReportProperties::BuildBandTab(TReportBand band)
{
    const QString name = QString::fromLatin1(BandName(band));
    auto* tab = new QWidget;
    tab->setObjectName(name + QStringLiteral("Tab"));
    TBandControls& controls = mBands[std::size_t(band)];

    auto* borders = new QGroupBox(QStringLiteral("Borders"), tab);
    auto* bordersLayout = new QGridLayout(borders);
    const std::array<const char*, 4> sides{"Top", "Left", "Bottom", "Right"};
    for (std::size_t i = 0; i < sides.size(); ++i) {
        auto* check = new QCheckBox(QString::fromLatin1(sides[i]), borders);
        check->setObjectName(name + QString::fromLatin1(sides[i]) + QStringLiteral("Check"));
        controls.borders[i] = check;
        bordersLayout->addWidget(check, int(i) / 2, int(i) % 2);
        connect(check, &QCheckBox::toggled, this, &TReportProperties::ControlsChange);
    }

    controls.lineWidth = new QSpinBox(tab);
    controls.lineWidth->setObjectName(name + QStringLiteral("LineWidthEdit"));
    controls.lineWidth->setRange(1, 3);
    controls.shadePercent = new QSpinBox(tab);
    controls.shadePercent->setObjectName(name + QStringLiteral("ShadePercentEdit"));
    controls.shadePercent->setRange(0, 100);
    controls.shadePercent->setSingleStep(20);
    controls.shadePercent->setSuffix(QStringLiteral(" %"));
    connect(controls.lineWidth, &QSpinBox::valueChanged, this, &TReportProperties::ControlsChange);
    connect(controls.shadePercent, &QSpinBox::valueChanged, this,
            &TReportProperties::ControlsChange);

    controls.shadeColor = new QComboBox(tab);
    controls.shadeColor->setObjectName(name + QStringLiteral("ShadeColorList"));
    for (TGColor color : kListColors)
        AddColorItem(*controls.shadeColor, color, controls.shadeColor->count());
    controls.shadeColor->addItem(kCustomItem);
    connect(controls.shadeColor, &QComboBox::currentIndexChanged, this,
            &TReportProperties::ControlsChange);
    connect(controls.shadeColor, &QComboBox::activated, this,
            [this, band](int index) { ShadeColorActivated(band, index); });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Line Width"), controls.lineWidth);
    form->addRow(QStringLiteral("Shade Percent"), controls.shadePercent);
    form->addRow(QStringLiteral("Shade Color"), controls.shadeColor);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(borders);
    layout->addLayout(form);
    layout->addStretch(1);
    return tab;
}

void TReportProperties::ShowSettings()
{
    mShowing = true;
    // A page matching no layout shows as Letter in its orientation, as such a page is read.
    const TReportLayout* layout = mSettings.Layout();
    const bool landscape = layout ? layout->landscape : mSettings.pageWidth > mSettings.pageHeight;
    const bool a4 = layout && layout->paper == TReportPaper::A4;
    (landscape ? mLandscape : mPortrait)->setChecked(true);
    (a4 ? mA4 : mLetter)->setChecked(true);

    const std::array<int, 4> margins{mSettings.leftMargin, mSettings.topMargin,
                                     mSettings.rightMargin, mSettings.bottomMargin};
    for (std::size_t i = 0; i < margins.size(); ++i) {
        mMarginInches[i] = std::clamp(double(margins[i]) / mPpi, kMinMargin, kMaxMargin);
        mMargins[i]->setValue(mMarginInches[i]);
    }

    for (TReportBand band : kBands) {
        const TBandFrame& frame = mSettings.Frame(band);
        TBandControls& controls = mBands[std::size_t(band)];
        const std::array<bool, 4> sides{frame.top, frame.left, frame.bottom, frame.right};
        for (std::size_t i = 0; i < sides.size(); ++i)
            controls.borders[i]->setChecked(sides[i]);
        controls.lineWidth->setValue(frame.lineWidth);
        controls.shadePercent->setValue(frame.shadePercent);
        SelectColor(band, frame.shadeColor);
    }
    mShowing = false;
}

void TReportProperties::SelectColor(TReportBand band, TGColor color)
{
    QComboBox& list = *mBands[std::size_t(band)].shadeColor;
    int index = list.findData(QVariant(qint32(color.value)));
    if (index < 0) {
        // A colour outside the list (from the layout file or "Custom...") joins it.
        index = list.count() - 1;
        AddColorItem(list, color, index);
    }
    list.setCurrentIndex(index);
}

void TReportProperties::ShadeColorActivated(TReportBand band, int index)
{
    QComboBox& list = *mBands[std::size_t(band)].shadeColor;
    if (list.itemData(index).isValid())
        return;
    const TGColor current = mSettings.Frame(band).shadeColor;
    const std::optional<QColor> chosen = mChooseColor(current.ToQColor());
    SelectColor(band, chosen ? TGColor::FromQColor(*chosen) : current);
}

void TReportProperties::MarginChange(TMarginSide side)
{
    if (mShowing)
        return;
    mMarginInches[std::size_t(side)] = mMargins[std::size_t(side)]->value();
    ControlsChange();
}

void TReportProperties::ControlsChange()
{
    if (mShowing)
        return;
    const bool landscape = mLandscape->isChecked();
    const TReportPaper paper = mA4->isChecked() ? TReportPaper::A4 : TReportPaper::Letter;
    for (const TReportLayout& layout : TReportSettings::Layouts())
        if (layout.paper == paper && layout.landscape == landscape)
            mSettings.SetLayout(layout);

    // Rounded rather than truncated: inches taken from pixels come back a hair under the
    // pixel count, and truncating would shrink an untouched margin by a pixel per change.
    const auto pixels = [this](TMarginSide side) {
        return design::TDesignUnits::Round(mMarginInches[std::size_t(side)] * mPpi);
    };
    mSettings.leftMargin = pixels(TMarginSide::Left);
    mSettings.topMargin = pixels(TMarginSide::Top);
    mSettings.rightMargin = pixels(TMarginSide::Right);
    mSettings.bottomMargin = pixels(TMarginSide::Bottom);

    for (TReportBand band : kBands) {
        const TBandControls& controls = mBands[std::size_t(band)];
        TBandFrame& frame = mSettings.Frame(band);
        frame.top = controls.borders[std::size_t(TBorderSide::Top)]->isChecked();
        frame.left = controls.borders[std::size_t(TBorderSide::Left)]->isChecked();
        frame.bottom = controls.borders[std::size_t(TBorderSide::Bottom)]->isChecked();
        frame.right = controls.borders[std::size_t(TBorderSide::Right)]->isChecked();
        frame.lineWidth = controls.lineWidth->value();
        frame.shadePercent = controls.shadePercent->value();
        // "Custom..." stays on the colour in force until a colour is chosen.
        const QVariant color = controls.shadeColor->currentData();
        if (color.isValid())
            frame.shadeColor = TGColor{qint32(color.toInt())};
    }

    mLayoutLabel->setText(mSettings.LayoutName());
    mMiniature->SetSettings(mSettings);
}

void TReportProperties::DefaultsButtonClick()
{
    mShowing = true;
    mPortrait->setChecked(true);
    mLetter->setChecked(true);
    for (std::size_t i = 0; i < mMargins.size(); ++i) {
        mMarginInches[i] = kMinMargin;
        mMargins[i]->setValue(kMinMargin);
    }
    const TBandFrame none;
    for (TReportBand band : kBands) {
        TBandControls& controls = mBands[std::size_t(band)];
        for (QCheckBox* check : controls.borders)
            check->setChecked(false);
        controls.lineWidth->setValue(none.lineWidth);
        controls.shadePercent->setValue(none.shadePercent);
        SelectColor(band, none.shadeColor);
    }
    mShowing = false;
    ControlsChange();
}

void TReportProperties::HelpButtonClick()
{
    data::THelpWindow::ShowContext(kHelpContext, this);
}

void TReportProperties::MiniatureClick(TMiniatureHit hit)
{
    for (TReportBand band : kBands)
        if (TReportMiniature::HitFor(band) == hit)
            mTabs->setCurrentIndex(TabOf(band));
    if (hit == TMiniatureHit::Page)
        mTabs->setCurrentIndex(kPageTab);
}

void TReportProperties::TabChange(int index)
{
    mMiniature->SetSelected(index >= 1 && index <= int(kBands.size())
                                ? TReportMiniature::HitFor(kBands[std::size_t(index - 1)])
                                : TMiniatureHit::Page);
}

} // namespace qm::reports
