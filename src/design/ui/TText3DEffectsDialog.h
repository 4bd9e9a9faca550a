#pragma once

// "Text 3D Effects": shadow and highlight direction, depth (0 to 10) and colour, the font
// colour, and a live sample (a fixed text "Sample") that shows every change at once. After Ok,
// ApplyTo() copies the sample's font, depths, directions and colours to the object.

#include "design/objects/TGPLabel.h"

#include <QColor>
#include <QDialog>
#include <functional>
#include <optional>

class QComboBox;
class QPushButton;
class QSpinBox;

namespace qm::design {

class TDesignDialogButtons;
class TObjectPreview;

class TText3DEffectsDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1205;

    explicit TText3DEffectsDialog(const TGBaseLabel& object, QWidget* parent = nullptr);

    const TGPLabel& Sample() const { return mSample; }
    void ApplyTo(TGBaseLabel& object) const;

    QComboBox* ShadowDirectionBox() const { return mShadowDirection; }
    QSpinBox* ShadowDepthEdit() const { return mShadowDepth; }
    QPushButton* ShadowColorButton() const { return mShadowColor; }
    QComboBox* HighlightDirectionBox() const { return mHighlightDirection; }
    QSpinBox* HighlightDepthEdit() const { return mHighlightDepth; }
    QPushButton* HighlightColorButton() const { return mHighlightColor; }
    QPushButton* FontColorButton() const { return mFontColor; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

    // Colour choices go through this (tests replace the colour dialog).
    std::function<std::optional<QColor>(const QColor& current)> ChooseColor;

private:
    void Changed();
    void PickColor(int which);
    void ShowColors();

    TGPLabel mSample;
    QComboBox* mShadowDirection;
    QSpinBox* mShadowDepth;
    QPushButton* mShadowColor;
    QComboBox* mHighlightDirection;
    QSpinBox* mHighlightDepth;
    QPushButton* mHighlightColor;
    QPushButton* mFontColor;
    TObjectPreview* mPreview;
    TDesignDialogButtons* mButtons;
};

} // namespace qm::design
