#pragma once

// Replays a Windows metafile as vector drawing through a TMetafileSink.
//
// Accepted: a placeable metafile (the 22-byte header with key 0x9AC6CDD7, whose box and units per
// inch give the picture's frame and natural size) or a bare one (its first SetWindowOrg and
// SetWindowExt give the frame, at 96 units per inch). Records the player does not know are
// skipped; the list it knows is in docs/formats/metafile-player.md.
//
// Damage: every record's size is checked against the bytes left and every parameter it reads
// against the record's size; a bitmap inside a record goes through TBmpDecoder. Check() plays the
// whole file without drawing and throws TPictureError at the first fault; Play() draws up to the
// first fault and stops there, so a picture that passed Check() draws completely.

#include "picture/TMetafileSink.h"

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <cstdint>

namespace qm::picture {

struct TWmfHeader {
    bool placeable = false;
    QRectF frame;             // metafile units
    double unitsPerInch = 96; // placeable: the header's; bare: 96
    std::uint16_t objects = 0;
    std::int64_t recordsAt = 0;
};

class TWmfPlayer {
public:
    static constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;

    // True when the bytes start like a Windows metafile (placeable or bare); says nothing of the
    // rest.
    static bool LooksLikeWmf(const QByteArray& bytes);
    static TWmfHeader ReadHeader(const QByteArray& bytes);
    // The picture's size in pixels at ppi pixels per inch.
    static QSizeF NaturalSize(const QByteArray& bytes, double ppi);
    static void Check(const QByteArray& bytes);
    // Draws the frame stretched over target; returns false when it stopped at a damaged record.
    static bool Play(const QByteArray& bytes, TMetafileSink& sink, const QRectF& target);
};

} // namespace qm::picture
