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

void TGGraphicControl::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
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
    if (scale == mScale)
        return;
    mScale = scale;
    ScaleSet();
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
    out.PropertyInteger("Left", mLeft);
    out.PropertyInteger("Top", mTop);
    out.PropertyInteger("Width", mWidth);
    out.PropertyInteger("Height", mHeight);
    if (mCursor != 0)
        out.PropertyInteger("Cursor", mCursor);
    out.PropertyString("Hint", mHint);
}

bool TGGraphicControl::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "Left"))
        SetLeft(value.AsInteger());
    else if (SameName(name, "Top"))
        SetTop(value.AsInteger());
    else if (SameName(name, "Width"))
        SetWidth(value.AsInteger());
    else if (SameName(name, "Height"))
        SetHeight(value.AsInteger());
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
    const auto scaled = [this](int length) {
        return mScale == 1.0f ? length : TDesignUnits::Round(length * double(mScale));
    };
    const int w = scaled(picture.width());
    const int h = scaled(picture.height());
    if (w != mWidth || h != mHeight)
        SetBounds(mLeft, mTop, w, h);
    painter.drawImage(QRect(0, 0, mWidth, mHeight), picture);
}

} // namespace qm::design
