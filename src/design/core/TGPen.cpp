#include "design/core/TGPen.h"

#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"

namespace qm::design {

void TGPen::Write(TLayoutWriter& out) const
{
    if (color != kclBlack)
        out.PropertyColor("Pen.Color", color);
    if (mode != print::TPenMode::pmCopy)
        out.PropertyEnum("Pen.Mode", kPenModeNames, int(mode));
    if (style != print::TPenStyle::psSolid)
        out.PropertyEnum("Pen.Style", kPenStyleNames, int(style));
    if (width != 1)
        out.PropertyInteger("Pen.Width", width);
}

bool TGPen::ReadMember(const QByteArray& member, const TLayoutValue& value)
{
    if (member.compare("Color", Qt::CaseInsensitive) == 0)
        color = value.AsColor();
    else if (member.compare("Mode", Qt::CaseInsensitive) == 0)
        mode = print::TPenMode(value.AsEnum(kPenModeNames));
    else if (member.compare("Style", Qt::CaseInsensitive) == 0)
        style = print::TPenStyle(value.AsEnum(kPenStyleNames));
    else if (member.compare("Width", Qt::CaseInsensitive) == 0)
        width = value.AsInteger();
    else
        return false;
    return true;
}

} // namespace qm::design
