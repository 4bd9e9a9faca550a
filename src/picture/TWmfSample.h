#pragma once

// The sample clip art: a placeable Windows metafile of a small scene (sky, sun with rays, a house
// with roof, door and windows, a hatched lawn, a pie chart, an arc, a chord, a caption and a
// small bitmap) that exercises every drawing record the player knows. The tool
// quillmark-wmf-sample writes it to a file; tests play it.

#include <QByteArray>

namespace qm::picture {

class TWmfSample {
public:
    // Frame (0, 0)-(2400, 1600) at 1440 units per inch: 160 x 107 pixels at 96 PPI.
    static QByteArray ClipArt();
};

} // namespace qm::picture
