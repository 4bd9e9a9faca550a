#pragma once

// Writes a QTextDocument and its page as RTF in the subset described in
// docs/formats/rtf-subset.md: 7-bit ASCII, CR LF line ends, Windows-1252 characters as \'xx and
// every other character as \uN? (with \uc1). Fonts and colours are numbered in the order the
// text first uses them, so the same document always gives the same bytes, and text read by
// TRtfReader from the writer's own output is written back byte for byte.
//
// Kept: font family, size, bold, italic, underline, text and background colour of every run;
// alignment, indents, spacing, line height and page-break-before of every paragraph; tabs and
// line breaks; PNG and JPEG pictures (the bytes of a QByteArray image resource as they are; a
// QImage resource is stored as PNG). Other formats (lists, tables, frames) are written as their
// plain paragraphs.

#include "richtext/TPageLayout.h"

#include <QByteArray>

class QTextDocument;

namespace qm::richtext {

class TRtfWriter {
public:
    static QByteArray Write(const QTextDocument& document, const TPageLayout& layout);
};

} // namespace qm::richtext
