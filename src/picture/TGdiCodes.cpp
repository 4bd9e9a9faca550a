#include "picture/TGdiCodes.h"

#include "picture/TGdiContext.h"

namespace qm::picture {

TGdiPenStyle TGdiCodes::PenStyle(std::uint32_t style)
{
    const std::uint32_t kind = style & 0x0F;
    return kind <= std::uint32_t(TGdiPenStyle::InsideFrame) ? TGdiPenStyle(kind)
                                                            : TGdiPenStyle::Solid;
}

TGdiHatch TGdiCodes::Hatch(std::uint32_t hatch)
{
    return hatch <= std::uint32_t(TGdiHatch::DiagCross) ? TGdiHatch(hatch) : TGdiHatch::Horizontal;
}

void TGdiCodes::PatternBlit(TGdiContext& dc, std::uint32_t rop, const QRectF& box)
{
    if (rop == kBlackness)
        dc.FillRect(box, Qt::black);
    else if (rop == kWhiteness)
        dc.FillRect(box, Qt::white);
    else if (rop == kPatCopy)
        dc.Rectangle(box);
}

} // namespace qm::picture
