#include "design/ui/TText3DEffectsDialog.h"

#include "data/ui/TWindowPlacement.h"
#include "design/ui/TDesignDialogButtons.h"
#include "design/ui/TObjectPreview.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::design {

namespace {

void Swatch(QPushButton* button, TGColor color)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(color.ToQColor());
    button->setIcon(QIcon(pixmap));
}

} // namespace

TText3DEffectsDialog::TText3DEffectsDialog(const TGBaseLabel& object, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TText3DEffectsDialog"));
    setWindowTitle(QStringLiteral("Text 3D Effects"));
    ChooseColor = [this](const QColor& current) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(current, this);
        if (!c.isValid())
            return std::nullopt;
        return c;
    };

    mSample.SetCaption(QStringLiteral("Sample"));
    mSample.SetFont(object.Font());
    mSample.SetDepthShadow(object.DepthShadow());
    mSample.SetDirectionShadow(object.DirectionShadow());
    mSample.SetColorShadow(object.ColorShadow());
    mSample.SetDepthHighlight(object.DepthHighlight());
    mSample.SetDirectionHighlight(object.DirectionHighlight());
    mSample.SetColorHighlight(object.ColorHighlight());

    mShadowDirection = new QComboBox(this);
    mShadowDirection->setObjectName(QStringLiteral("ShadowDirectionBox"));
    mShadowDirection->addItems({QStringLiteral("None"), QStringLiteral("Right"),
                                QStringLiteral("Left"), QStringLiteral("Lower Right"),
                                QStringLiteral("Lower Left"), QStringLiteral("Down")});
    mShadowDirection->setCurrentIndex(int(object.DirectionShadow()));
    mShadowDepth = new QSpinBox(this);
    mShadowDepth->setObjectName(QStringLiteral("ShadowDepthEdit"));
    mShadowDepth->setRange(0, 10);
    mShadowDepth->setValue(std::clamp(object.DepthShadow(), 0, 10));
    mShadowColor = new QPushButton(QStringLiteral("Shadow Color"), this);
    mShadowColor->setObjectName(QStringLiteral("ShadowColorButton"));

    mHighlightDirection = new QComboBox(this);
    mHighlightDirection->setObjectName(QStringLiteral("HighlightDirectionBox"));
    mHighlightDirection->addItems({QStringLiteral("None"), QStringLiteral("Right"),
                                   QStringLiteral("Left"), QStringLiteral("Upper Right"),
                                   QStringLiteral("Upper Left"), QStringLiteral("Up")});
    mHighlightDirection->setCurrentIndex(int(object.DirectionHighlight()));
    mHighlightDepth = new QSpinBox(this);
    mHighlightDepth->setObjectName(QStringLiteral("HighlightDepthEdit"));
    mHighlightDepth->setRange(0, 10);
    mHighlightDepth->setValue(std::clamp(object.DepthHighlight(), 0, 10));
    mHighlightColor = new QPushButton(QStringLiteral("Highlight Color"), this);
    mHighlightColor->setObjectName(QStringLiteral("HighlightColorButton"));
    mFontColor = new QPushButton(QStringLiteral("Font Color"), this);
    mFontColor->setObjectName(QStringLiteral("FontColorButton"));

    auto* shadow = new QGroupBox(QStringLiteral("Shadow"), this);
    auto* shadowForm = new QFormLayout(shadow);
    shadowForm->addRow(QStringLiteral("Shadow Direction"), mShadowDirection);
    shadowForm->addRow(QStringLiteral("Shadow Depth"), mShadowDepth);
    shadowForm->addRow(mShadowColor);
    auto* highlight = new QGroupBox(QStringLiteral("Highlight"), this);
    auto* highlightForm = new QFormLayout(highlight);
    highlightForm->addRow(QStringLiteral("Highlight Direction"), mHighlightDirection);
    highlightForm->addRow(QStringLiteral("Highlight Depth"), mHighlightDepth);
    highlightForm->addRow(mHighlightColor);

    mPreview = new TObjectPreview(this);
    mPreview->setObjectName(QStringLiteral("SamplePreview"));
    mPreview->setMinimumSize(200, 80);
    mPreview->SetObject(&mSample);
    mButtons = new TDesignDialogButtons(*this, kHelpContext);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(shadow);
    layout->addWidget(highlight);
    layout->addWidget(mFontColor);
    layout->addWidget(mPreview);
    layout->addWidget(mButtons);

    connect(mShadowDirection, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    connect(mHighlightDirection, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    connect(mShadowDepth, &QSpinBox::valueChanged, this, [this] { Changed(); });
    connect(mHighlightDepth, &QSpinBox::valueChanged, this, [this] { Changed(); });
    connect(mShadowColor, &QPushButton::clicked, this, [this] { PickColor(0); });
    connect(mHighlightColor, &QPushButton::clicked, this, [this] { PickColor(1); });
    connect(mFontColor, &QPushButton::clicked, this, [this] { PickColor(2); });
    Changed();
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

void TText3DEffectsDialog::Changed()
{
    mSample.SetDirectionShadow(TGShadowDirection(mShadowDirection->currentIndex()));
    mSample.SetDepthShadow(mShadowDepth->value());
    mSample.SetDirectionHighlight(TGHighlightDirection(mHighlightDirection->currentIndex()));
    mSample.SetDepthHighlight(mHighlightDepth->value());
    ShowColors();
    mPreview->update();
}

void TText3DEffectsDialog::ShowColors()
{
    Swatch(mShadowColor, mSample.ColorShadow());
    Swatch(mHighlightColor, mSample.ColorHighlight());
    Swatch(mFontColor, mSample.Font().Color());
}

void TText3DEffectsDialog::PickColor(int which)
{
    const TGColor current = which == 0   ? mSample.ColorShadow()
                            : which == 1 ? mSample.ColorHighlight()
                                         : mSample.Font().Color();
    const std::optional<QColor> chosen = ChooseColor(current.ToQColor());
    if (!chosen)
        return;
    const TGColor color = TGColor::FromQColor(*chosen);
    if (which == 0) {
        mSample.SetColorShadow(color);
    } else if (which == 1) {
        mSample.SetColorHighlight(color);
    } else {
        TGFont font = mSample.Font();
        font.SetColor(color);
        mSample.SetFont(font);
    }
    Changed();
}

void TText3DEffectsDialog::ApplyTo(TGBaseLabel& object) const
{
    object.SetFont(mSample.Font());
    object.SetDepthShadow(mSample.DepthShadow());
    object.SetDirectionShadow(mSample.DirectionShadow());
    object.SetColorShadow(mSample.ColorShadow());
    object.SetDepthHighlight(mSample.DepthHighlight());
    object.SetDirectionHighlight(mSample.DirectionHighlight());
    object.SetColorHighlight(mSample.ColorHighlight());
    object.Invalidate();
    object.NotifyChanged();
}

} // namespace qm::design
