#include "design/ui/TGHandle.h"

#include "design/core/TGBasePanel.h"
#include "design/surface/TTickClock.h"
#include "design/ui/TGDesignSurface.h"

#include <algorithm>

namespace qm::design {

namespace {

std::vector<QRect> BoundsOf(const std::vector<TGGraphicControl*>& objects)
{
    std::vector<QRect> rects;
    rects.reserve(objects.size());
    for (const TGGraphicControl* object : objects)
        rects.push_back(object->BoundsRect());
    return rects;
}

} // namespace

TGHandle::TGHandle(TGDesignSurface& surface) : mSurface(surface) {}

void TGHandle::SetGrid(int gridX, int gridY)
{
    mGridX = std::clamp(gridX, 1, 32);
    mGridY = std::clamp(gridY, 1, 32);
}

QRect TGHandle::Outline() const
{
    if (mState == TState::Dragging && mDragRect.isValid())
        return THandleGeometry::DragOutline(mDragRect);
    if (mState == TState::Nudging)
        return QRect(mKeyOutline.left, mKeyOutline.top, mKeyOutline.right - mKeyOutline.left,
                     mKeyOutline.bottom - mKeyOutline.top);
    return {};
}

void TGHandle::SelectionChanged()
{
    const std::vector<TGGraphicControl*>& now = mSurface.Panel().Selection();
    if (now.empty()) {
        mKnown.clear();
        Reset();
        mState = TState::Idle;
        mBounds = QRect(0, 0, THandleGeometry::kIdleSize, THandleGeometry::kIdleSize);
        mZone = 0;
        mSurface.RepaintPage();
        return;
    }
    const bool appended =
        now.size() == mKnown.size() + 1 && std::equal(mKnown.begin(), mKnown.end(), now.begin());
    if (appended && !mKnown.empty())
        mBounds = THandleGeometry::GrowBounds(mBounds, now.back()->BoundsRect());
    else
        mBounds = THandleGeometry::UnionBounds(BoundsOf(now));
    mKnown = now;
    if (mState == TState::Idle)
        mState = TState::Showing;
    mZone = 0;
    mSurface.RepaintPage();
}

void TGHandle::SetBounds(const QRect& bounds)
{
    const QRect old = mBounds;
    mBounds = bounds;
    const std::vector<TGGraphicControl*> selected = mSurface.Panel().Selection();
    for (TGGraphicControl* object : selected) {
        if (object->Locked())
            continue;
        const QRect to = THandleGeometry::FollowHandle(object->BoundsRect(), old, bounds);
        object->SetBounds(to.x(), to.y(), to.width(), to.height());
    }
    // Moved objects ask for a refit themselves; when every one was locked nothing moved, and
    // without this the handle would stay where it was dropped, away from its objects, catching
    // clicks on empty page and passing clicks on the objects to the page.
    if (!selected.empty())
        mSurface.RequestRefit();
}

void TGHandle::Refit()
{
    const std::vector<TGGraphicControl*>& selected = mSurface.Panel().Selection();
    if (selected.empty() || mState == TState::Dragging || mState == TState::Nudging)
        return;
    mBounds = THandleGeometry::RefitBounds(BoundsOf(selected));
    mSurface.RepaintPage();
}

void TGHandle::NotePress(bool buttonDown)
{
    mPressTime = TTickClock::Now();
    mButtonDown = buttonDown;
}

void TGHandle::Reset()
{
    if (mState == TState::Dragging || mState == TState::Nudging)
        mState = mKnown.empty() ? TState::Idle : TState::Showing;
    mButtonDown = false;
    mDragRect = QRect();
    mSurface.ReleaseHandleCapture();
}

void TGHandle::MousePress(const QPoint& point, Qt::MouseButton button,
                          Qt::KeyboardModifiers modifiers)
{
    const QPoint panelPoint = ToPanel(point);
    if (button == Qt::LeftButton && mSurface.Pointing()) {
        mPressTime = TTickClock::Now();
        mButtonDown = true;
        mOrigin = point;
        mState = TState::Dragging;
        mDragRect = mBounds;
        mSurface.CaptureForHandle();
        mSurface.HandlePressOnPanel(panelPoint, modifiers);
        return;
    }
    if (button == Qt::RightButton) {
        const std::vector<TGGraphicControl*>& selected = mSurface.Panel().Selection();
        if (selected.size() == 1 &&
            selected.front()->BoundsRect().adjusted(-2, -2, 2, 2).contains(panelPoint))
            mSurface.OpenObjectMenu(*selected.front(), panelPoint);
        else
            mSurface.OpenPanelMenu(panelPoint);
        return;
    }
    mSurface.PagePress(panelPoint, button, modifiers);
}

void TGHandle::MouseDoubleClick(const QPoint& point)
{
    mDoubleClicked = true;
    if (mState == TState::Dragging)
        EndDrag();
    const QPoint panelPoint = ToPanel(point);
    const std::vector<TGGraphicControl*>& selected = mSurface.Panel().Selection();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        if ((*it)->BoundsRect().contains(panelPoint)) {
            mSurface.OpenObjectMenu(**it, panelPoint);
            return;
        }
}

QRect TGHandle::DraggedRect(const QPoint& point) const
{
    const QPoint clamped = THandleGeometry::ClampPoint(point, mBounds, mSurface.Panel().Width(),
                                                       mSurface.Panel().Height());
    return THandleGeometry::DragRect(mZone, mOrigin, clamped, mBounds, mGridX, mGridY);
}

void TGHandle::MouseMove(const QPoint& point, Qt::MouseButtons buttons)
{
    if (!(buttons & Qt::LeftButton)) {
        mButtonDown = false;
        mSurface.ReleaseHandleCapture();
        if (mState == TState::Dragging)
            EndDrag();
        const bool single = mSurface.Panel().Selection().size() == 1;
        mZone = THandleGeometry::GripZone(point.x(), point.y(), mBounds.width(), mBounds.height(),
                                          single);
        mSurface.SetCursorKind(THandleGeometry::ZoneCursor(mZone));
        return;
    }
    if (mDoubleClicked) {
        mDoubleClicked = false;
        return;
    }
    if (mState != TState::Dragging) {
        if (mButtonDown && mState == TState::Showing &&
            TTickClock::Now() - mPressTime > kDragDelayMs) {
            mState = TState::Dragging;
            mOrigin = point;
            mDragRect = mBounds;
            mSurface.RepaintPage();
        }
        return;
    }
    mDragRect = DraggedRect(point);
    mSurface.RepaintPage();
}

void TGHandle::MouseRelease(const QPoint& point, Qt::MouseButton button,
                            Qt::KeyboardModifiers modifiers)
{
    if (button != Qt::LeftButton || mState != TState::Dragging) {
        if (button == Qt::LeftButton) {
            mButtonDown = false;
            mSurface.ReleaseHandleCapture();
        }
        (void)modifiers; // a release on the page or an object does nothing more
        return;
    }
    // A quick click never moves anything.
    if (TTickClock::Now() - mPressTime < kQuickClickMs)
        mOrigin = point;
    const QPoint clamped = THandleGeometry::ClampPoint(point, mBounds, mSurface.Panel().Width(),
                                                       mSurface.Panel().Height());
    const bool moved = clamped != mOrigin;
    const QRect target = moved ? DraggedRect(point) : QRect();
    EndDrag();
    if (moved && !mKnown.empty())
        SetBounds(target);
    mSurface.RepaintPage();
}

void TGHandle::EndDrag()
{
    mState = mKnown.empty() ? TState::Idle : TState::Showing;
    mDragRect = QRect();
    mButtonDown = false;
    mSurface.SetCursorKind(TCursorKind::Arrow);
    mSurface.ReleaseHandleCapture();
}

bool TGHandle::KeyPress(int key, Qt::KeyboardModifiers modifiers)
{
    TArrow arrow;
    switch (key) {
    case Qt::Key_Left:
        arrow = TArrow::Left;
        break;
    case Qt::Key_Up:
        arrow = TArrow::Up;
        break;
    case Qt::Key_Right:
        arrow = TArrow::Right;
        break;
    case Qt::Key_Down:
        arrow = TArrow::Down;
        break;
    default:
        return false;
    }
    if (mState == TState::Idle || mState == TState::Dragging)
        return true;
    if (mState != TState::Nudging) {
        mKeyOutline = THandleGeometry::KeyOutline(mBounds);
        mState = TState::Nudging;
    }
    const bool resize = (modifiers & Qt::ShiftModifier) && mKnown.size() == 1;
    mKeyOutline = THandleGeometry::Nudge(mKeyOutline, arrow, resize, mSurface.Panel().Width(),
                                         mSurface.Panel().Height());
    mSurface.RepaintPage();
    return true;
}

bool TGHandle::KeyRelease(int key, bool autoRepeat)
{
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    if (autoRepeat || mState != TState::Nudging)
        return true;
    mState = TState::Showing;
    SetBounds(THandleGeometry::OutlineToHandle(mKeyOutline));
    mSurface.RepaintPage();
    return true;
}

} // namespace qm::design
