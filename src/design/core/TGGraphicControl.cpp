#include "design/core/TGGraphicControl.h"

#include "design/core/TGBasePanel.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <limits>

namespace qm::design {

TGGraphicControl::TGGraphicControl() = default;
TGGraphicControl::~TGGraphicControl() = default;

QRect TGGraphicControl::BoundsRect() const
{
    // QRect keeps the last pixel as an int, computed as (start + length) - 1: both steps must
    // stay inside the range.
    const auto fit = [](std::int32_t start, std::int32_t length) {
        const std::int64_t low = std::int64_t{std::numeric_limits<int>::min()} + 1 - start;
        const std::int64_t high = std::int64_t{std::numeric_limits<int>::max()} - start;
        return int(std::clamp<std::int64_t>(length, low, high));
    };
    return QRect(mLeft, mTop, fit(mLeft, mWidth), fit(mTop, mHeight));
}

std::int32_t TGGraphicControl::Shown(std::int32_t designLength) const
{
    return mScale == 1.0f ? designLength
                          : TDesignUnits::Round(double(designLength) * double(mScale));
}

std::int32_t TGGraphicControl::Unscaled(std::int32_t shownLength) const
{
    return mScale == 1.0f ? shownLength : TDesignUnits::Round(double(shownLength) / double(mScale));
}

void TGGraphicControl::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                                 std::int32_t height)
{
    // A kind fitting itself to a new zoom changes only what is shown, except at 100 %, where
    // what is shown is the 100 % geometry.
    if (!mFollowingScale || mScale == 1.0f) {
        // Only the edges that were edited go back to 100 %: a move at 50 % keeps the width,
        // which halving and doubling would round away.
        if (left != mLeft)
            mDesignLeft = Unscaled(left);
        if (top != mTop)
            mDesignTop = Unscaled(top);
        if (width != mWidth)
            mDesignWidth = Unscaled(width);
        if (height != mHeight)
            mDesignHeight = Unscaled(height);
    }
    ShowBounds(left, top, width, height);
}

void TGGraphicControl::FitShownSize(std::int32_t width, std::int32_t height)
{
    const bool following = mFollowingScale;
    mFollowingScale = true;
    SetBounds(mLeft, mTop, width, height);
    mFollowingScale = following;
}

void TGGraphicControl::SetDesignBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                                       std::int32_t height)
{
    mDesignLeft = left;
    mDesignTop = top;
    mDesignWidth = width;
    mDesignHeight = height;
    ShowBounds(Shown(left), Shown(top), Shown(width), Shown(height));
}

void TGGraphicControl::ShowBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                                  std::int32_t height)
{
    if (left == mLeft && top == mTop && width == mWidth && height == mHeight)
        return;
    const QRect before = BoundsRect();
    mLeft = left;
    mTop = top;
    mWidth = width;
    mHeight = height;
    BoundsMoved();
    if (mPanel) {
        mPanel->InvalidateRect(before);
        mPanel->InvalidateRect(BoundsRect());
    }
    if (!mReading)
        BoundsChanged();
}

void TGGraphicControl::SetScale(float scale)
{
    if (scale == mScale || !(scale > 0.0f))
        return;
    mScale = scale;
    // Whatever the kind does to its shown size for the new zoom leaves the 100 % geometry alone.
    mFollowingScale = true;
    ShowBounds(Shown(mDesignLeft), Shown(mDesignTop), Shown(mDesignWidth), Shown(mDesignHeight));
    ScaleSet();
    mFollowingScale = false;
    Invalidate();
}

void TGGraphicControl::Paint(QPainter&) {}

void TGGraphicControl::BoundsChanged()
{
    if (!mBoundsRecorded) {
        mBoundsRecorded = true;
        mLastBounds = BoundsRect();
        return;
    }
    if (BoundsRect() == mLastBounds)
        return;
    NotifyChanged();
    mLastBounds = BoundsRect();
    if (mPanel && mPanel->OnRefitHandle)
        mPanel->OnRefitHandle();
}

void TGGraphicControl::ApplyFont(const TGFont&) {}

void TGGraphicControl::PrintObject(print::TBaseReport&, double, double) {}

void TGGraphicControl::WriteProperties(TLayoutWriter& out) const
{
    if (mTag != 0)
        out.PropertyInteger("Tag", mTag);
    // The 100 % geometry, whatever the zoom: a layout (and a copy on the clipboard) means the
    // same place at every zoom.
    out.PropertyInteger("Left", mDesignLeft);
    out.PropertyInteger("Top", mDesignTop);
    out.PropertyInteger("Width", mDesignWidth);
    out.PropertyInteger("Height", mDesignHeight);
    if (mCursor != 0)
        out.PropertyInteger("Cursor", mCursor);
    out.PropertyString("Hint", mHint);
}

bool TGGraphicControl::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "Left"))
        SetDesignBounds(value.AsInteger(), mDesignTop, mDesignWidth, mDesignHeight);
    else if (SameName(name, "Top"))
        SetDesignBounds(mDesignLeft, value.AsInteger(), mDesignWidth, mDesignHeight);
    else if (SameName(name, "Width"))
        SetDesignBounds(mDesignLeft, mDesignTop, value.AsInteger(), mDesignHeight);
    else if (SameName(name, "Height"))
        SetDesignBounds(mDesignLeft, mDesignTop, mDesignWidth, value.AsInteger());
    else if (SameName(name, "Tag"))
        mTag = value.AsInteger();
    else if (SameName(name, "Cursor"))
        mCursor = value.AsInteger();
    else if (SameName(name, "Hint"))
        mHint = value.AsString();
    else
        return false;
    return true;
}

void TGGraphicControl::Invalidate()
{
    if (mPanel)
        mPanel->InvalidateRect(BoundsRect());
}

void TGGraphicControl::NotifyChanged()
{
    if (mPanel && !mReading)
        mPanel->NotifyChanged();
}

double TGGraphicControl::PrintLeft(double x) const
{
    return x + TDesignUnits::ToInches(mLeft);
}
double TGGraphicControl::PrintTop(double y) const
{
    return y + TDesignUnits::ToInches(mTop);
}

void TGGraphicControl::PaintPicture(QPainter& painter, const QImage& picture)
{
    // The picture's own size is the 100 % size; the zoomed one follows from it.
    if (picture.width() != mDesignWidth || picture.height() != mDesignHeight)
        SetDesignBounds(mDesignLeft, mDesignTop, picture.width(), picture.height());
    painter.drawImage(QRect(0, 0, mWidth, mHeight), picture);
}

} // namespace qm::design
