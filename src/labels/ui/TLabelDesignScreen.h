#pragma once

// "Label Design Screen": the modal window in which the user draws one label layout on the face
// of a single label: tools, grid, art, zoom, record navigation, the default font for new text,
// and "Change Layout" for another sheet. The designer only edits; whoever opened it stores the
// row and writes the layout file through OnSave, which runs before the window closes so that a
// failed write keeps the design on screen for another try.
//
// States: opening (first activation; changes do not reveal "Save"), editing unchanged, editing
// changed ("Save" visible; Cancel, Escape and the close button ask before the changes go), and
// closed. A zoom behaves like opening for "Save".
//
// Entry point for the "Print Labels" window: DesignLayout (New and Modify).

#include "design/core/TGDataPanel.h"
#include "design/text/TGFont.h"
#include "labels/TLabelGeometry.h"
#include "labels/ui/TLabelDesignSurface.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace qm::data {
class TDataSet;
}

namespace qm::labels {

class TLabelLayoutStore;

class TLabelDesignScreen : public QDialog {
public:
    static constexpr int kHelpContext = 5103;
    using TTool = TLabelDesignSurface::TTool;

    // New (row < 0) or Modify (the store's list row) a label layout from the "Print Labels"
    // window. New starts from the new-label defaults under a new layout file name; Modify reads
    // the row and loads its layout file (a missing file: a new name, an empty face; a damaged
    // file: its message, and the objects that could be read). On Save the layout file is written
    // (atomically) and then the row appended or rewritten; a failure shows its message and keeps
    // the designer open with the row and the old file as they were. addresses: the open address
    // file the face shows (may be null). Returns the saved row's list index, or -1 when nothing
    // was saved.
    static int DesignLayout(TLabelLayoutStore& store, int row, data::TDataSet* addresses,
                            QWidget* parent);

    TLabelDesignScreen(const TLabelGeometry& geometry, bool newLabel, data::TDataSet* addresses,
                       QWidget* parent = nullptr);
    ~TLabelDesignScreen() override;

    design::TGDataPanel& Panel() { return mPanel; }
    TLabelDesignSurface& Surface() { return *mSurface; }
    // The working record: the geometry as Change Layout left it; on Save also the description.
    const TLabelGeometry& Geometry() const { return mGeometry; }
    bool Changed() const;
    // True once the first activation has finished (the new-label block made, art shown).
    bool Opened() const { return mActivated && !mOpening; }
    // The zoom, as a 32-bit float.
    float Zoom() const { return mPanel.Scale(); }

    // Runs before the window closes with Save; returns an empty text, or the message to show
    // while the window stays open.
    std::function<QString(TLabelDesignScreen&)> OnSave;
    // The dialogs, replaceable by tests: the "Label Layout" choice (0 template list, 1 typed in,
    // -1 cancel), the template picker, the manual editor and the font dialog.
    std::function<int()> OnChooseLayoutKind;
    std::function<std::optional<TLabelGeometry>(const TLabelGeometry&)> OnChooseTemplate;
    std::function<std::optional<TLabelGeometry>(const TLabelGeometry&)> OnEditLayout;
    std::function<std::optional<design::TGFont>(const design::TGFont&)> OnChooseFont;
    // Where template art pictures are found (the program's resources unless a test says).
    void SetArtDirectory(const QString& directory) { mArtDirectory = directory; }

    QLabel* LayoutNameLabel() const { return mLayoutNameLabel; }
    QLineEdit* DescriptionEdit() const { return mDescriptionEdit; }
    QPushButton* FontButton() const { return mFontButton; }
    QLabel* LeftLabel() const { return mLeftLabel; }
    QLabel* TopLabel() const { return mTopLabel; }
    QToolButton* ToolButton(TTool tool) const { return mToolButtons[size_t(tool)]; }
    QPushButton* ImbSettingsButton() const { return mImbSettingsButton; }
    QToolButton* GridButton() const { return mGridButton; }
    QToolButton* SnapButton() const { return mSnapButton; }
    QToolButton* ArtButton() const { return mArtButton; }
    QToolButton* ValuesButton() const { return mValuesButton; }
    QLabel* ZoomLabel() const { return mZoomLabel; }
    QToolButton* ZoomInButton() const { return mZoomInButton; }
    QToolButton* ZoomOutButton() const { return mZoomOutButton; }
    QScrollArea* FaceArea() const { return mFaceArea; }
    QPushButton* ChangeLayoutButton() const { return mChangeLayoutButton; }
    QToolButton* FirstButton() const { return mFirstButton; }
    QToolButton* PriorButton() const { return mPriorButton; }
    QToolButton* NextButton() const { return mNextButton; }
    QToolButton* LastButton() const { return mLastButton; }
    QPushButton* SaveButton() const { return mSaveButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void FormActivate();
    void ToolButtonClick(TTool tool);
    void ZoomBy(bool in);
    void ChangeLayoutClick();
    void RecordClick(int move);
    void FontButtonClick();
    void SaveButtonClick();
    void LabelChanged();
    void SizeFace();
    void ShowArt();
    void ShowLayoutName();
    void ShowFontCaption();
    void ShowReadOut(const QPoint& mouse);
    void RemoveNarrowPostNet();
    void DescribeTools();
    void WatchKeys();
    // The window's own keys (scrolling the face, zooming on the keypad); true when used.
    bool WindowKeyPress(QKeyEvent& key);
    bool WindowKeyRelease(QKeyEvent& key);

    TLabelGeometry mGeometry;
    bool mNewLabel = false;
    design::TGDataPanel mPanel;
    TLabelDesignSurface* mSurface = nullptr;
    QString mArtDirectory;
    QString mShapeCode; // the shape the face was last sized for
    bool mActivated = false;
    bool mOpening = true;
    bool mZooming = false;
    bool mChanged = false;

    QLabel* mLayoutNameLabel = nullptr;
    QLineEdit* mDescriptionEdit = nullptr;
    QPushButton* mFontButton = nullptr;
    QLabel* mLeftLabel = nullptr;
    QLabel* mTopLabel = nullptr;
    std::array<QToolButton*, TLabelDesignSurface::kToolCount> mToolButtons{};
    QToolButton* mGridButton = nullptr;
    QToolButton* mSnapButton = nullptr;
    QToolButton* mArtButton = nullptr;
    QToolButton* mValuesButton = nullptr;
    QLabel* mZoomLabel = nullptr;
    QToolButton* mZoomInButton = nullptr;
    QToolButton* mZoomOutButton = nullptr;
    QScrollArea* mFaceArea = nullptr;
    QPushButton* mChangeLayoutButton = nullptr;
    QToolButton* mFirstButton = nullptr;
    QToolButton* mPriorButton = nullptr;
    QToolButton* mNextButton = nullptr;
    QToolButton* mLastButton = nullptr;
    QPushButton* mImbSettingsButton = nullptr;
    QPushButton* mSaveButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mHelpButton = nullptr;
    data::TDataSet* mAddresses = nullptr;
};

} // namespace qm::labels
