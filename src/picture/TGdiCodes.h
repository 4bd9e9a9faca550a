#pragma once

// The GDI values Windows and enhanced metafiles store alike: the raster operations the players
// reproduce, pen and hatch style numbers, and a blit that takes no bitmap.

#include "picture/TMetafileSink.h"

#include <QRectF>
#include <cstdint>

namespace qm::picture {

class TGdiContext;

class TGdiCodes {
public:
    static constexpr std::uint32_t kSrcCopy = 0x00CC0020u;
    static constexpr std::uint32_t kPatCopy = 0x00F00021u;
    static constexpr std::uint32_t kBlackness = 0x00000042u;
    static constexpr std::uint32_t kWhiteness = 0x00FF0062u;

    // PS_* in the low four bits; an unknown style draws solid.
    static TGdiPenStyle PenStyle(std::uint32_t style);
    // HS_*; an unknown one is horizontal.
    static TGdiHatch Hatch(std::uint32_t hatch);
    // A blit without a bitmap: black, white or the brush over box as rop says; any other
    // operation draws nothing (the pen is left out of a brush fill by the caller's context).
    static void PatternBlit(TGdiContext& dc, std::uint32_t rop, const QRectF& box);
};

} // namespace qm::picture
