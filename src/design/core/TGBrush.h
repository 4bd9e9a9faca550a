#pragma once

// The Brush group of shapes: "Brush.Color" (default white) and "Brush.Style" (default bsSolid),
// each written only when it differs from its default, so a white solid brush stores nothing.

#include "design/stream/TGColor.h"
#include "print/TPrintTypes.h"

#include <QByteArray>

namespace qm::design {

class TLayoutWriter;
struct TLayoutValue;

class TGBrush {
public:
    TGColor color = kclWhite;
    print::TBrushStyle style = print::TBrushStyle::bsSolid;

    void Write(TLayoutWriter& out) const;
    // member is the part after "Brush."; false when there is no such member.
    bool ReadMember(const QByteArray& member, const TLayoutValue& value);

    friend bool operator==(const TGBrush&, const TGBrush&) = default;
};

} // namespace qm::design
