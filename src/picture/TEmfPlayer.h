#pragma once

// Replays an enhanced metafile as vector drawing through a TMetafileSink: the common records of
// drawing programs and clip art (lines, polygons and Bezier curves in their 32- and 16-bit forms,
// rectangles, ellipses, arcs, pies, chords, paths, text, pens, brushes, fonts, the window,
// viewport and world transform, saved states, clip rectangles and stretched bitmaps). Records the
// player does not know are skipped; the list is in docs/formats/metafile-player.md.
//
// The picture's frame is the header's frame (hundredths of a millimetre) in reference-device
// pixels, or its bounds when the frame is empty. Damage handling is as for TWmfPlayer: Check()
// throws TPictureError at the first fault, Play() stops there.

#include "picture/TMetafileSink.h"

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <cstdint>

namespace qm::picture {

struct TEmfHeader {
    QRectF frame;   // reference-device pixels
    QRectF frameMm; // millimetres
    double devicePerMm = 96 / 25.4;
    std::uint16_t handles = 0;
    std::int64_t recordsAt = 0;
};

class TEmfPlayer {
public:
    static constexpr std::uint32_t kSignature = 0x464D4520u; // " EMF"

    static bool LooksLikeEmf(const QByteArray& bytes);
    static TEmfHeader ReadHeader(const QByteArray& bytes);
    static QSizeF NaturalSize(const QByteArray& bytes, double ppi);
    static void Check(const QByteArray& bytes);
    static bool Play(const QByteArray& bytes, TMetafileSink& sink, const QRectF& target);
};

} // namespace qm::picture
