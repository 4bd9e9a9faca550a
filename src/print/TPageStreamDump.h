#pragma once

// A page stream as text, one line per header, page record and command: the code's name and its
// operands. Used by "quillmark-tool pages dump" and by tests that compare recorded output.

#include "print/TPageStreamReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace qm::print {

struct TPageStreamDump {
    QStringList lines;
    QString error; // empty when the whole stream read
    std::int64_t errorOffset = -1;
};

// Lines look like "24 text-left y=1.1667 text=\"Hello\" x=0.5"; the header and page records
// begin with "header" and "page". Colours read "#RRGGBB" (red first, although the stream stores
// 0x00BBGGRR); a colour with its top byte set shows as stored, "0x" and eight hex digits.
// Reading stops at the first damage, keeping what was read.
TPageStreamDump DumpPageStream(const QByteArray& bytes);

// One command's line (without its offset).
QString DumpCommandLine(const TPageCommand& command);

} // namespace qm::print
