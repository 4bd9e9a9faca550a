#pragma once

// "Envelope Design Screen": edits an envelope layout on the panel it is handed (the "Print
// Envelope" window owns the panel and writes nothing until this window closes with Save).
//
// The face is round(PPI x width) by round(PPI x height) design pixels. The window offers the
// twelve tools, grid, snapping, field names or values, the printer margins and the postal
// template overlays, the default font, the description (at most 50 characters), "Change Size"
// (objects beyond the new edges are pulled inside), zoom from 60 % to 140 % in steps of 10 %,
// the pointer read-out and the record buttons. Save drops the objects outside the face and
// closes with Accepted; Cancel (also Escape and the close button) asks "Discard the changes to
// this envelope?" once anything changed, and closes with Rejected.

#include "data/TRecordMove.h"
#include "envelopes/ui/TDesignZoom.h"
#include "envelopes/ui/TEnvelopeTools.h"
#include "print/TRPDevice.h"

#include <QDialog>
#include <QSizeF>
#include <functional>
#include <map>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace qm::data {
class TDataSet;
}

namespace qm::design {
class TGDataPanel;
class TGFont;
} // namespace qm::design

namespace qm::envelopes {

class TEnvelopeSurface;

// What the designer needs to know about envelope sizes.
struct TEnvelopeFaceSource {
    // The face in inches (width, height) of a size code; an empty size for unknown codes.
    std::function<QSizeF(int code)> face;
    // The "Envelope Size" dialog on a code: the chosen code, or nothing when cancelled.
    std::function<std::optional<int>(int code, QWidget* parent)> choose;
};

class TEnvelopeDesignScreen : public QDialog {
public:
    static constexpr int kHelpContext = 1403;
    static constexpr int kMaxDescription = 50;
    static constexpr const char* kClassName = "TEnvelopeDesignScreen";

    // table: the address table whose records the data objects show (may be null). printer: the
    // envelope printer's page as set up for printing.
    TEnvelopeDesignScreen(design::TGDataPanel& panel, data::TDataSet* table,
                          const print::TPageGeometry& printer, const QString& description, int code,
                          TEnvelopeFaceSource sizes, QWidget* parent = nullptr);
    ~TEnvelopeDesignScreen() override;

    // ---- results (after Save)
    QString Description() const;
    int Code() const { return mCode; }

    // ---- state
    const TDesignZoom& Zoom() const { return mZoom; }
    bool Changed() const;
    bool ShowsMargins() const;
    bool ShowsTemplate() const;

    // ---- controls
    TEnvelopeSurface* Surface() const { return mSurface; }
    QToolButton* ToolButton(TEnvelopeTool tool) const { return mToolButtons.at(tool); }
    QToolButton* GridButton() const { return mGridButton; }
    QToolButton* SnapButton() const { return mSnapButton; }
    QToolButton* FieldNamesButton() const { return mFieldNamesButton; }
    QToolButton* MarginsButton() const { return mMarginsButton; }
    QToolButton* TemplateButton() const { return mTemplateButton; }
    QPushButton* FontButton() const { return mFontButton; }
    QLineEdit* DescriptionEdit() const { return mDescriptionEdit; }
    QPushButton* ChangeSizeButton() const { return mChangeSizeButton; }
    QPushButton* ImbSettingsButton() const { return mImbSettingsButton; }
    QToolButton* ZoomInButton() const { return mZoomInButton; }
    QToolButton* ZoomOutButton() const { return mZoomOutButton; }
    QLabel* ZoomLabel() const { return mZoomLabel; }
    QLabel* LeftLabel() const { return mLeftLabel; }
    QLabel* TopLabel() const { return mTopLabel; }
    QToolButton* FirstButton() const { return mFirstButton; }
    QToolButton* PriorButton() const { return mPriorButton; }
    QToolButton* NextButton() const { return mNextButton; }
    QToolButton* LastButton() const { return mLastButton; }
    QPushButton* SaveButton() const { return mSaveButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QScrollArea* WorkArea() const { return mWorkArea; }

    // ---- commands
    void ZoomInClick();
    void ZoomOutClick();
    void ChangeSizeClick();
    void FontButtonClick();
    void SaveButtonClick();
    void CancelButtonClick();

    // Replaces the font dialog of the default font button (tests); nothing means cancelled.
    std::function<std::optional<design::TGFont>(const design::TGFont&)> OnChooseDefaultFont;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void done(int result) override;

private:
    void BuildControls();
    void FormActivate();
    void SizePanel();
    void ApplyZoom();
    void MarkChanged();
    void ShowFont();
    void ShowPosition(const QPoint& panelPoint);
    void SelectTool(TEnvelopeTool tool);
    void Navigate(data::TRecordStep step);
    void PaintTemplate(QPainter& painter) const;
    void PaintMargins(QPainter& painter) const;
    bool ScrollKey(int key);
    // The window's own keys: zoom on the keypad's plus and minus, scrolling; true when used.
    bool WindowKeyPress(const QKeyEvent& event);

    design::TGDataPanel& mPanel;
    data::TDataSet* mTable;
    print::TPageGeometry mPrinter;
    QString mDescription;
    int mCode;
    TEnvelopeFaceSource mSizes;
    TDesignZoom mZoom;
    bool mActivated = false;
    bool mClosing = false;
    bool mPlacementSaved = false;

    TEnvelopeSurface* mSurface = nullptr;
    QScrollArea* mWorkArea = nullptr;
    std::map<TEnvelopeTool, QToolButton*> mToolButtons;
    QToolButton* mGridButton = nullptr;
    QToolButton* mSnapButton = nullptr;
    QToolButton* mFieldNamesButton = nullptr;
    QToolButton* mMarginsButton = nullptr;
    QToolButton* mTemplateButton = nullptr;
    QPushButton* mFontButton = nullptr;
    QLineEdit* mDescriptionEdit = nullptr;
    QPushButton* mChangeSizeButton = nullptr;
    QPushButton* mImbSettingsButton = nullptr;
    QToolButton* mZoomInButton = nullptr;
    QToolButton* mZoomOutButton = nullptr;
    QLabel* mZoomLabel = nullptr;
    QLabel* mLeftLabel = nullptr;
    QLabel* mTopLabel = nullptr;
    QToolButton* mFirstButton = nullptr;
    QToolButton* mPriorButton = nullptr;
    QToolButton* mNextButton = nullptr;
    QToolButton* mLastButton = nullptr;
    QPushButton* mSaveButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::envelopes
