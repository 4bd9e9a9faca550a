#pragma once

// The selection handle of a design surface: the transparent area over the selected objects that
// catches the mouse there, shows the grips, and moves or resizes the selection by mouse and arrow
// keys. It is an overlay kept by the surface rather than a window of its own: the surface hands
// it the mouse events over its bounds (and all of them while it holds the capture) and the arrow
// keys while something is selected.
//
// States: Idle (nothing selected, hidden, 24 x 24), Showing (something selected), Dragging
// (between a press and its release), Nudging (the keyboard outline is active between an arrow
// key press and its release). The arithmetic is in THandleGeometry.
//
// Contract: the selected objects are the panel's selection; the surface calls SelectionChanged()
// whenever it changes. Points are in handle coordinates unless named panel points.

#include "design/surface/THandleGeometry.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <Qt>
#include <cstdint>
#include <vector>

namespace qm::design {

class TGDesignSurface;
class TGGraphicControl;

class TGHandle {
public:
    enum class TState { Idle, Showing, Dragging, Nudging };

    static constexpr std::int64_t kDragDelayMs = 10;   // press to drag
    static constexpr std::int64_t kQuickClickMs = 150; // a release this soon moves nothing

    explicit TGHandle(TGDesignSurface& surface);

    TState State() const { return mState; }
    bool Visible() const { return mState != TState::Idle; }
    QRect Bounds() const { return mBounds; }
    int Zone() const { return mZone; }
    QColor Color() const { return mColor; }
    void SetColor(const QColor& color) { mColor = color; }
    QColor SecondaryColor() const { return mSecondaryColor; }
    void SetSecondaryColor(const QColor& color) { mSecondaryColor = color; }
    int GridX() const { return mGridX; }
    int GridY() const { return mGridY; }
    // Snapping steps, 1 (none) to 32.
    void SetGrid(int gridX, int gridY);

    // The outline drawn inverted while dragging or nudging (empty otherwise), in panel pixels.
    QRect Outline() const;

    // The selection changed (objects added, removed or emptied); the handle grows, shrinks,
    // or returns to idle. Never moves objects.
    void SelectionChanged();
    // Sets the handle's bounds and moves/resizes every selected object that is not Locked by the
    // same change.
    void SetBounds(const QRect& bounds);
    // After objects moved by themselves: fits the handle around the selection (the refit rule).
    void Refit();
    // Records a press time for a press that selected an object, so that a drag may follow.
    void NotePress(bool buttonDown);
    // Ends any drag or keyboard outline without moving anything (zoom, emptied selection).
    void Reset();

    // ---- input (handle coordinates)
    void MousePress(const QPoint& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void MouseDoubleClick(const QPoint& point);
    void MouseMove(const QPoint& point, Qt::MouseButtons buttons);
    void MouseRelease(const QPoint& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // Arrow keys only; returns false for other keys.
    bool KeyPress(int key, Qt::KeyboardModifiers modifiers);
    bool KeyRelease(int key, bool autoRepeat);

private:
    QPoint ToPanel(const QPoint& point) const { return point + mBounds.topLeft(); }
    QRect DraggedRect(const QPoint& point) const;
    void EndDrag();

    TGDesignSurface& mSurface;
    TState mState = TState::Idle;
    QRect mBounds{0, 0, THandleGeometry::kIdleSize, THandleGeometry::kIdleSize};
    std::vector<TGGraphicControl*> mKnown; // the selection as last seen
    QColor mColor{Qt::black};
    QColor mSecondaryColor{0x80, 0x80, 0x80};
    int mGridX = 1;
    int mGridY = 1;
    int mZone = 0;
    QPoint mOrigin;
    std::int64_t mPressTime = 0;
    bool mButtonDown = false;
    bool mDoubleClicked = false;
    QRect mDragRect;
    TKeyOutline mKeyOutline;
};

} // namespace qm::design
