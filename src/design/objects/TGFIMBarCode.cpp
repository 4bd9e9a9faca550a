#include "design/objects/TGFIMBarCode.h"

#include "design/barcode/TFimCode.h"
#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "print/TBaseReport.h"

#include <QPainter>

namespace qm::design {

TGFIMBarCode::TGFIMBarCode()
{
    const int ppi = TDesignUnits::Ppi();
    SetReading(true);
    SetBounds(0, 0, TDesignUnits::Trunc(0.625 * ppi), TDesignUnits::Trunc(0.5625 * ppi));
    SetReading(false);
}

void TGFIMBarCode::SetFIMType(int type)
{
    if (type == mFIMType)
        return;
    mFIMType = type;
    Invalidate();
}

std::vector<int> TGFIMBarCode::Slots(int type)
{
    return TFimCode::Slots(type);
}

void TGFIMBarCode::Paint(QPainter& painter)
{
    const int ppi = TDesignUnits::Ppi();
    const double scale = double(Scale());
    // The mark is trunc(0.625 inch) square at 100 %; the zoom shows that size scaled.
    const int side = TDesignUnits::Trunc(0.625 * ppi);
    if (DesignWidth() != side || DesignHeight() != side)
        SetDesignBounds(DesignLeft(), DesignTop(), side, side);
    const int barWidth = TDesignUnits::Trunc(ppi * kSlotWidth * scale);
    const int barHeight = TDesignUnits::Trunc(ppi * kBarHeight * scale);
    for (int slot : Slots(mFIMType))
        painter.fillRect(QRect(barWidth * (slot - 1), 0, barWidth, barHeight), Qt::black);
}

void TGFIMBarCode::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    const std::vector<int> barSlots = Slots(mFIMType);
    if (barSlots.empty())
        return;
    canvas.SetBrush(print::kBlack, print::TBrushStyle::bsSolid);
    const double left = PrintLeft(x);
    const double top = PrintTop(y);
    for (int s : barSlots)
        canvas.DrawRectangle(left + (s - 1) * kSlotWidth, top, left + s * kSlotWidth,
                             top + kBarHeight);
}

void TGFIMBarCode::WriteProperties(TLayoutWriter& out) const
{
    TGGraphicControl::WriteProperties(out);
    // Always stored; a type no writer could name is left out rather than written as garbage.
    if (mFIMType >= 0 && mFIMType < int(kFIMTypeNames.size()))
        out.PropertyEnum("FIMType", kFIMTypeNames, mFIMType);
}

bool TGFIMBarCode::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "FIMType"))
        mFIMType = value.AsEnum(kFIMTypeNames);
    else
        return TGGraphicControl::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
