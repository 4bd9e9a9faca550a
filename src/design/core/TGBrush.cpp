#include "design/core/TGBrush.h"

#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"

namespace qm::design {

void TGBrush::Write(TLayoutWriter& out) const
{
    if (color != kclWhite)
        out.PropertyColor("Brush.Color", color);
    if (style != print::TBrushStyle::bsSolid)
        out.PropertyEnum("Brush.Style", kBrushStyleNames, int(style));
}

bool TGBrush::ReadMember(const QByteArray& member, const TLayoutValue& value)
{
    if (member.compare("Color", Qt::CaseInsensitive) == 0)
        color = value.AsColor();
    else if (member.compare("Style", Qt::CaseInsensitive) == 0)
        style = print::TBrushStyle(value.AsEnum(kBrushStyleNames));
    else
        return false;
    return true;
}

} // namespace qm::design
