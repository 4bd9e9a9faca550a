#pragma once

// "Report Designer": the modal window in which the user draws a report's header, detail and
// footer bands, turns the memo band on and off, and sets the default font, the memo's font and
// alignment and (through "Change Layout") the page and band frames. The designer edits a copy
// of the report's settings and the objects on its three bands; whoever opened it stores the row
// and the layout file through OnSave, which runs before the window closes, so that a failed
// save shows its message and keeps the designer open with the design.
//
// The design page, top to bottom: a ruler in inches from the left margin, then for each band a
// 20-pixel caption strip with its check box, the band and a 5-pixel sizer bar. The bands are as
// wide as the page less its margins and a quarter inch; header, detail and footer share the
// page height less the top and bottom margins (TReportBandGeometry); the memo band is a fixed
// read-only strip.

#include "design/core/TGOwner.h"
#include "design/text/TGFont.h"
#include "reports/TReportPanelState.h"
#include "reports/TReportSettings.h"
#include "reports/ui/TReportPanel.h"

#include <QDialog>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace qm::data {
class TDataSet;
}

namespace qm::design {
class TGBasePanel;
class TGGraphicControl;
class THRuler;
} // namespace qm::design

namespace qm::reports {

class TReportBandSizer;
class TReportBandSurface;
class TReportMemoStrip;

class TReportDesigner : public QDialog {
public:
    static constexpr int kHelpContext = 1321;

    // description: the report's description ("<new report>" for a new one); settings: the
    // report's settings as loaded; addresses: the open address file the bands show (may be
    // null). The bands start empty: load a layout file into Bands() and call ShowSettings.
    TReportDesigner(const QString& description, const TReportSettings& settings,
                    data::TDataSet* addresses, QWidget* parent = nullptr);
    ~TReportDesigner() override;

    // ---- the design
    design::TGOwner& Owner() { return mOwner; }
    // Header, detail and footer, in the layout file's order.
    std::array<design::TGBasePanel*, 3> Bands();
    std::array<const design::TGBasePanel*, 3> Bands() const;
    // The band of header, detail or footer (the memo band has no objects).
    TReportPanel& Panel(TReportBand band);
    TReportBandSurface& Surface(TReportBand band);
    // The working settings: on Save with the band heights and ticks taken over.
    const TReportSettings& Settings() const { return mSettings; }
    // Replaces the working settings (after a load) and redraws the page; the bands refresh
    // their objects.
    void ShowSettings(const TReportSettings& settings);
    // The description as the "Description:" edit holds it.
    QString Description() const;

    // ---- hooks
    // Runs on Save before the window closes: stores the design. Returns an empty text, or the
    // message shown while the designer stays open.
    std::function<QString(TReportDesigner&)> OnSave;
    // The layout dialog on a copy of the settings; nothing when cancelled. The default opens
    // "Report Layout" (TReportProperties) and takes its settings on "Save".
    std::function<std::optional<TReportSettings>(const TReportSettings&)> OnChangeLayout;
    // The font dialog (default font and memo font); nothing when cancelled.
    std::function<std::optional<design::TGFont>(const design::TGFont&)> OnChooseFont;
    // The dialog a new text, field or symbol opens (tests replace it).
    void SetEditObjectHook(std::function<void(design::TGGraphicControl&)> hook);

    // ---- controls
    QLineEdit* DescriptionEdit() const { return mDescriptionEdit; }
    QLabel* LayoutNameLabel() const { return mLayoutNameLabel; }
    QPushButton* FontButton() const { return mFontButton; }
    QToolButton* ToolButton(TPanelState tool) const;
    QToolButton* GridButton() const { return mGridButton; }
    QToolButton* SnapButton() const { return mSnapButton; }
    QToolButton* ValuesButton() const { return mValuesButton; }
    design::THRuler* Ruler() const { return mRuler; }
    QCheckBox* BandCheck(TReportBand band) const { return mChecks[std::size_t(band)]; }
    TReportBandSizer* Sizer(TReportBand band) const { return mSizers[std::size_t(band)]; }
    TReportMemoStrip* MemoStrip() const { return mMemo; }
    QToolButton* MemoPropertiesButton() const { return mMemoProperties; }
    QMenu* MemoMenu() const { return mMemoMenu; }
    QScrollArea* PageArea() const { return mPageArea; }
    QPushButton* SaveButton() const { return mSaveButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QPushButton* ChangeLayoutButton() const { return mChangeLayoutButton; }
    QToolButton* FirstButton() const { return mFirstButton; }
    QToolButton* PriorButton() const { return mPriorButton; }
    QToolButton* NextButton() const { return mNextButton; }
    QToolButton* LastButton() const { return mLastButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

    // ---- behaviour (the controls call these)
    void ToolButtonClick(TPanelState tool);
    void BandCheckClick(TReportBand band, bool on);
    void FontButtonClick();
    void MemoFontClick();
    void MemoAlignmentClick(TMemoAlignment alignment);
    void ChangeLayoutClick();
    void RecordClick(int move); // 0 first, 1 previous, 2 next, 3 last
    void SaveButtonClick();

    void done(int result) override;

    // The band the design keys (copy, cut, paste, delete, select all, the arrows) act on when a
    // control other than a band has the focus: the band holding the selection, else the band
    // that last had the focus, else the detail band.
    TReportBandSurface& KeyTarget();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    QWidget* BuildPage();
    void LayoutPage();
    void ShowFontCaption();
    void ShowMemo();
    void SizerPress(TReportBand band);
    void SizerDrag(TReportBand band, int dy);
    void SizerRelease(TReportBand band);
    int& HeightOf(TReportBand band);
    bool& UseOf(TReportBand band);
    design::TGFont DefaultFont() const;

    TReportSettings mSettings;
    data::TDataSet* mAddresses = nullptr;
    design::TGOwner mOwner;
    std::array<std::unique_ptr<TReportPanel>, 3> mPanels; // header, detail, footer
    std::array<TReportBandSurface*, 3> mSurfaces{};
    TReportMemoStrip* mMemo = nullptr;
    int mHeightAtPress = 0;
    bool mActivated = false;
    std::size_t mKeyBand = 1; // the band that last had the focus (header 0, detail 1, footer 2)

    QLineEdit* mDescriptionEdit = nullptr;
    QLabel* mLayoutNameLabel = nullptr;
    QPushButton* mFontButton = nullptr;
    std::map<TPanelState, QToolButton*> mToolButtons;
    QToolButton* mGridButton = nullptr;
    QToolButton* mSnapButton = nullptr;
    QToolButton* mValuesButton = nullptr;
    QScrollArea* mPageArea = nullptr;
    QWidget* mPage = nullptr;
    design::THRuler* mRuler = nullptr;
    std::array<QCheckBox*, 4> mChecks{};
    std::array<QWidget*, 4> mCaptionStrips{};
    std::array<TReportBandSizer*, 4> mSizers{};
    QToolButton* mMemoProperties = nullptr;
    QMenu* mMemoMenu = nullptr;
    QPushButton* mSaveButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mChangeLayoutButton = nullptr;
    QToolButton* mFirstButton = nullptr;
    QToolButton* mPriorButton = nullptr;
    QToolButton* mNextButton = nullptr;
    QToolButton* mLastButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::reports
