#pragma once

// The editing surface of a design panel: paints the page (shape, background pictures, outline,
// grid dots), the objects and the selection marks; selects objects by click, shift-click and
// rubber band; moves and resizes them through the selection handle (TGHandle) or the arrow keys;
// draws new objects with the current tool; and offers the object and panel context menus. The
// label, envelope and report designers each host one surface per panel and set its tool.
//
// Interaction states: the tool (selection, or a drawing tool naming the kind to draw), the
// rubber band (none, selecting, drawing) and the handle's own states.
//
// Contract:
// - The panel must outlive the surface. The surface installs the panel's repaint, update,
//   refit and selection hooks and removes them when destroyed.
// - The widget is the page's size plus one pixel; panel pixels = widget pixels.
// - Destroying a surface removes the clipboard file shared by every panel.
// - Times come from TTickClock.

#include "design/surface/TGSurfaceCommands.h"
#include "design/text/TGFont.h"
#include "design/ui/TGHandle.h"
#include "picture/TPicture.h"

#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

class QKeyEvent;
class QMenu;
class QPainter;

namespace qm::design {

class TGBasePanel;
class TGGraphicControl;

class TGDesignSurface : public QWidget {
public:
    enum class TPageShape { lsRectangle, lsRoundRect, lsEllipse };
    enum class TGridSize { gs4x4, gs8x8 };
    enum class TBand { None, Selecting, Drawing };

    explicit TGDesignSurface(TGBasePanel& panel, QWidget* parent = nullptr);
    ~TGDesignSurface() override;

    TGBasePanel& Panel() const { return mPanel; }
    TGHandle& Handle() { return mHandle; }
    QSize sizeHint() const override;

    // ---- page
    TPageShape Shape() const { return mShape; }
    void SetShape(TPageShape shape);
    bool DrawOutline() const { return mDrawOutline; }
    void SetDrawOutline(bool on);
    // Background art stretched over the page inside its shape: Picture first, then ColorPicture
    // (bitmaps or metafiles; empty pictures draw nothing).
    const picture::TPicture& Picture() const { return mPicture; }
    void SetPicture(const picture::TPicture& picture);
    const picture::TPicture& ColorPicture() const { return mColorPicture; }
    void SetColorPicture(const picture::TPicture& picture);
    bool ShowGrid() const { return mShowGrid; }
    void SetShowGrid(bool on);
    bool SnapToGrid() const { return mSnapToGrid; }
    void SetSnapToGrid(bool on);
    TGridSize GridSize() const { return mGridSize; }
    void SetGridSize(TGridSize size);
    // The font new text objects and the "Font" command start from.
    const TGFont& PanelFont() const { return mFont; }
    void SetPanelFont(const TGFont& font) { mFont = font; }
    // Zoom: rescales the page and the objects (TGBasePanel::SetScale); the handle goes idle.
    void SetScale(float factor);

    // ---- tools
    bool Pointing() const { return mToolKind.isEmpty(); }
    // The kind a drawing tool makes (a registered class name), or empty for the selection tool.
    const QByteArray& ToolKind() const { return mToolKind; }
    void SetTool(const QByteArray& kind);
    TBand Band() const { return mBand; }
    // Host-specific: makes the tool's object in the rectangle. This version creates the tool's
    // kind from the class registry, runs AfterCreate, applies the kind's starting settings for a
    // drawn object (TGKindCatalogue::ApplyDrawnSettings, with the panel's font) and calls
    // PlaceObject.
    virtual TGGraphicControl* CreateObjectInRect(const QRect& rect);
    // The common placing step (TGSurfaceCommands::PlaceObject).
    TGGraphicControl* PlaceObject(std::unique_ptr<TGGraphicControl> object, const QRect& rect);

    // ---- selection
    // Adds an object as a click does: press time recorded, grab-hand cursor, handle grown.
    // capture: the press that selected it is still held, so a drag may follow.
    void AddToSelection(TGGraphicControl* object, bool capture = true);
    // The topmost selectable object at a panel point, or null.
    TGGraphicControl* SelectableObjectAt(const QPoint& point) const;
    void SelectAll();

    // ---- commands of the keyboard and menus
    void Copy();
    void Cut();
    void Paste();
    void DeleteSelection();
    void Clone(TGGraphicControl& object);
    void ChooseFont();

    // ---- keys
    // The surface's own keys: Ctrl+C, Ctrl+X, Ctrl+V, Delete, Ctrl+A (select all), the undo and
    // redo keys (which do nothing yet) and the arrows. A designer hands them over from whichever
    // of its controls has the focus by calling SurfaceKeyPress and SurfaceKeyRelease directly,
    // never by sending the event again (a re-sent key comes back to the window's filter).
    static bool IsSurfaceKey(const QKeyEvent& event);
    // Acts on a surface key; false (and nothing done) for any other key.
    bool SurfaceKeyPress(const QKeyEvent& event);
    // The release of an arrow key ends the keyboard outline; false for any other key.
    bool SurfaceKeyRelease(const QKeyEvent& event);

    // ---- menus
    // Fills the panel menu with its entries enabled by the rules; actions act on this surface.
    void BuildPanelMenu(QMenu& menu);
    // Fills the object menu: the common entries, then the kind's own.
    void BuildObjectMenu(QMenu& menu, TGGraphicControl& object);
    void OpenPanelMenu(const QPoint& panelPoint);
    void OpenObjectMenu(TGGraphicControl& object, const QPoint& panelPoint);

    // ---- hooks for hosts and tests
    // After an object was drawn (the rectangle as dragged). Without a hook the surface returns to
    // the selection tool itself.
    std::function<void(const QRect&)> DroppedObjectEvent;
    // Replaces showing a menu (tests look at it and trigger its actions).
    std::function<void(QMenu&)> OnShowMenu;
    // Replaces the font dialog; nothing means cancelled.
    std::function<std::optional<TGFont>(const TGFont&)> OnChooseFont;
    // Host guides in panel pixels, also part of RenderPage: OnPaintBackground after the page,
    // its pictures, outline and grid and before the objects (the envelope designer's postal
    // template), OnPaintOverlay last, over objects, marks and outlines (its printer margins).
    std::function<void(QPainter&)> OnPaintBackground;
    std::function<void(QPainter&)> OnPaintOverlay;

    // ---- called by the handle
    void SetCursorKind(TCursorKind kind);
    TCursorKind CursorKind() const { return mCursorKind; }
    void CaptureForHandle() { mCaptured = true; }
    void ReleaseHandleCapture() { mCaptured = false; }
    // The panel's part of a press that the handle received: with Shift, the object under the
    // point leaves the selection.
    void HandlePressOnPanel(const QPoint& panelPoint, Qt::KeyboardModifiers modifiers);
    // A press the handle does not take, as if it had landed on the page or object underneath.
    void PagePress(const QPoint& panelPoint, Qt::MouseButton button,
                   Qt::KeyboardModifiers modifiers);
    void RepaintPage() { update(); }
    // Refits the handle around the selection once the current input event is handled.
    void RequestRefit();

    // Paints everything into an image of the page's size plus one (as the widget shows it), in
    // device pixels of the given ratio.
    QImage RenderPage(qreal pixelRatio = 1.0) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool OnHandle(const QPoint& point) const;
    void FinishBand(Qt::KeyboardModifiers modifiers);
    void RubberSelect(const QRect& band, bool toggle);
    void UpdateGrid();
    void FitToPage();
    void ShowMenu(QMenu& menu, const QPoint& panelPoint);
    void ReportError(const QString& message);
    void PaintPage(QPainter& painter) const;
    void PaintMarks(QPainter& painter, const TGGraphicControl& object, bool single) const;
    QRect BandRect() const;

    TGBasePanel& mPanel;
    TGHandle mHandle;
    TPageShape mShape = TPageShape::lsRoundRect;
    bool mDrawOutline = false;
    picture::TPicture mPicture;
    picture::TPicture mColorPicture;
    bool mShowGrid = false;
    bool mSnapToGrid = false;
    TGridSize mGridSize = TGridSize::gs4x4;
    TGFont mFont;
    QByteArray mToolKind;
    TBand mBand = TBand::None;
    QPoint mBandStart;
    QPoint mBandEnd;
    bool mCaptured = false;
    TCursorKind mCursorKind = TCursorKind::Arrow;
    bool mRefitPosted = false;
    TPasteGate mPasteGate;
};

} // namespace qm::design
