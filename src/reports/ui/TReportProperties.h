#pragma once

// "Report Layout": the page (orientation, paper size, margins) and, per band, the frame (border
// sides, line width, shade percent and colour) of a user-designed report, with a miniature of the
// page. The dialog works on its own copy of the settings: every change recomputes the copy's page
// size from the chosen layout, its margins and frames, and redraws the miniature; Settings()
// hands the copy back, and the caller takes it over only when exec() returned Accepted ("Save").
//
// Margins are shown in inches (two decimals) and held in design pixels; a margin the user did
// not touch keeps its exact pixel value, so changing, say, the orientation moves nothing else.

#include "reports/TReportMiniature.h"
#include "reports/TReportSettings.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace qm::reports {

class TReportMiniatureView;

// The border sides in the order the band tabs show them.
enum class TBorderSide { Top = 0, Left = 1, Bottom = 2, Right = 3 };
// The margins in the order the "Page" tab shows them.
enum class TMarginSide { Left = 0, Top = 1, Right = 2, Bottom = 3 };

class TReportProperties : public QDialog {
public:
    static constexpr int kHelpContext = 1320;
    // Tab indexes: 0 "Page", then the bands in TReportBand order.
    static constexpr int kPageTab = 0;
    static int TabOf(TReportBand band) { return int(band) + 1; }

    explicit TReportProperties(const TReportSettings& settings, QWidget* parent = nullptr);

    // The edited copy (the settings given, until the user changes something).
    const TReportSettings& Settings() const { return mSettings; }

    // Asks for a colour outside the list ("Custom..."); replaced by tests. Nothing: cancelled.
    using TColorChooser = std::function<std::optional<QColor>(const QColor& current)>;
    void SetColorChooser(TColorChooser chooser) { mChooseColor = std::move(chooser); }

    QTabWidget* Tabs() const { return mTabs; }
    QRadioButton* PortraitButton() const { return mPortrait; }
    QRadioButton* LandscapeButton() const { return mLandscape; }
    QRadioButton* LetterButton() const { return mLetter; }
    QRadioButton* A4Button() const { return mA4; }
    QDoubleSpinBox* MarginEdit(TMarginSide side) const { return mMargins[std::size_t(side)]; }
    QCheckBox* BorderCheck(TReportBand band, TBorderSide side) const
    {
        return mBands[std::size_t(band)].borders[std::size_t(side)];
    }
    QSpinBox* LineWidthEdit(TReportBand band) const { return mBands[std::size_t(band)].lineWidth; }
    QSpinBox* ShadePercentEdit(TReportBand band) const
    {
        return mBands[std::size_t(band)].shadePercent;
    }
    QComboBox* ShadeColorList(TReportBand band) const
    {
        return mBands[std::size_t(band)].shadeColor;
    }
    QLabel* LayoutLabel() const { return mLayoutLabel; }
    TReportMiniatureView* Miniature() const { return mMiniature; }
    QPushButton* SaveButton() const { return mSaveButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QPushButton* DefaultsButton() const { return mDefaultsButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

    void DefaultsButtonClick();
    void HelpButtonClick();
    void MiniatureClick(TMiniatureHit hit);

private:
    struct TBandControls {
        std::array<QCheckBox*, 4> borders{};
        QSpinBox* lineWidth = nullptr;
        QSpinBox* shadePercent = nullptr;
        QComboBox* shadeColor = nullptr;
    };

    QWidget* BuildPageTab();
    QWidget* BuildBandTab(TReportBand band);
    void ShowSettings();
    void SelectColor(TReportBand band, design::TGColor color);
    void ShadeColorActivated(TReportBand band, int index);
    // Takes the controls over into the copy: layout, margins (the exact inches of each margin),
    // frames; then the layout name and the miniature.
    void ControlsChange();
    void MarginChange(TMarginSide side);
    void TabChange(int index);

    TReportSettings mSettings;
    int mPpi;
    // Each margin in inches as last set: from the pixels on opening, from its edit afterwards.
    std::array<double, 4> mMarginInches{};
    bool mShowing = false;
    TColorChooser mChooseColor;

    QTabWidget* mTabs = nullptr;
    QRadioButton* mPortrait = nullptr;
    QRadioButton* mLandscape = nullptr;
    QRadioButton* mLetter = nullptr;
    QRadioButton* mA4 = nullptr;
    std::array<QDoubleSpinBox*, 4> mMargins{};
    std::array<TBandControls, 4> mBands{};
    QLabel* mLayoutLabel = nullptr;
    TReportMiniatureView* mMiniature = nullptr;
    QPushButton* mSaveButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mDefaultsButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::reports
