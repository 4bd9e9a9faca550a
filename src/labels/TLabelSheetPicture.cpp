#include "labels/TLabelSheetPicture.h"

#include <algorithm>
#include <cmath>

namespace qm::labels {

TLabelSheetPicture::TLabelSheetPicture(const TLabelSheet& sheet) : mSheet(sheet) {}

int TLabelSheetPicture::Pixels(double inches)
{
    // Times 96, then a fifth: the product of a stored (single-precision) length and 96 is exact,
    // so a length that is a whole number of pixels never drops to the pixel before it, as it
    // could when multiplied by 19.2 (which no binary fraction holds exactly).
    return static_cast<int>(std::trunc(inches * 96.0 / 5.0));
}

QRect TLabelSheetPicture::PageRect() const
{
    const QSizeF size = mSheet.SheetSize();
    return {kBorder, kBorder, Pixels(size.width()), Pixels(size.height())};
}

QRect TLabelSheetPicture::LabelRect(int position) const
{
    const QPointF corner = mSheet.Corner(position);
    const QSizeF size = mSheet.LabelSize();
    return {kBorder + Pixels(corner.x()), kBorder + Pixels(corner.y()), Pixels(size.width()),
            Pixels(size.height())};
}

QSize TLabelSheetPicture::AreaSize() const
{
    const QSizeF size = mSheet.SheetSize();
    const int width = Pixels(std::max(size.width(), 8.5));
    const int height = Pixels(std::max(size.height(), 11.0));
    return {width + 2 * kBorder, height + 2 * kBorder};
}

int TLabelSheetPicture::PositionAt(const QPoint& point) const
{
    for (int position = Positions() - 1; position >= 0; --position)
        if (LabelRect(position).contains(point))
            return position;
    return -1;
}

} // namespace qm::labels
