#pragma once

// The Pen group of shapes and lines: "Pen.Color" (default black), "Pen.Mode" (default pmCopy),
// "Pen.Style" (default psSolid), "Pen.Width" (default 1), each written only when it differs from
// its default, so a default pen stores nothing.

#include "design/stream/TGColor.h"
#include "print/TPrintTypes.h"

#include <QByteArray>
#include <cstdint>

namespace qm::design {

class TLayoutWriter;
struct TLayoutValue;

class TGPen {
public:
    TGColor color = kclBlack;
    print::TPenMode mode = print::TPenMode::pmCopy;
    print::TPenStyle style = print::TPenStyle::psSolid;
    std::int32_t width = 1;

    void Write(TLayoutWriter& out) const;
    // member is the part after "Pen."; false when there is no such member.
    bool ReadMember(const QByteArray& member, const TLayoutValue& value);

    friend bool operator==(const TGPen&, const TGPen&) = default;
};

} // namespace qm::design
