#pragma once

// Reads the RTF subset that letters use (docs/formats/rtf-subset.md) into a QTextDocument.
//
// The reader is one pass over the bytes with an explicit group stack (no recursion), so its time
// is linear in the input and its memory bounded by the input and the nesting limit. What it
// refuses, with a message and the byte offset: input over MaxInputBytes, groups nested deeper than
// MaxNesting, and a \binN whose count is negative or runs past the end. Everything else is read
// as well as it can be: unknown words and {\*...} groups are skipped, \uN values out of range and
// lone surrogates become U+FFFD, bad \'xx escapes are dropped, unknown font and colour numbers
// fall back to the default font and colour, font sizes are clamped to 1..1638 pt, missing closing
// braces are supplied and text after the outermost group is ignored. A page whose values lie
// outside 1..31680 twips or that leaves no text area is replaced by the default page.
//
// Pictures: PNG and JPEG pictures are kept as image resources of the document, named
// "rtfpict:N", holding the original bytes (a QByteArray), so the writer stores them unchanged.
// Other pictures, objects, headers, footers and footnotes are dropped and listed in Dropped.
// Nothing the input names (linked pictures, included files) is ever opened.
//
// Input that does not begin with "{\rtf" (blanks and a UTF-8 byte-order mark before it allowed)
// is plain text: UTF-8 when valid, else Windows-1252, one paragraph per line.

#include "richtext/TPageLayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace qm::richtext {

struct TRtfReadResult {
    bool ok = true;
    // When !ok: what was wrong, in words for the user ("groups nested deeper than 1,000 levels").
    QString error;
    // Byte offset of the fault (when !ok), else -1.
    qint64 offset = -1;
    // False when the input was read as plain text.
    bool wasRtf = true;
    // The page the text asks for; the default page when it names none or an unusable one.
    TPageLayout layout;
    // True when the text gave a usable page of its own.
    bool layoutFromText = false;
    // Kinds of content left out, each once, in words for the user: "pictures" (other than PNG
    // and JPEG), "objects", "headers and footers", "footnotes".
    QStringList dropped;
    // Names of the picture resources added to the document, in the order read.
    QStringList pictures;
    // Faults read past (bad escapes, out-of-range values, unbalanced braces); for tests and the
    // fuzz target's invariants, not shown to users.
    int repairs = 0;
};

class TRtfReader {
public:
    static constexpr qsizetype MaxInputBytes = 16 * 1024 * 1024;
    static constexpr int MaxNesting = 1000;

    // Replaces the content of `document` with the text. On failure the document is left empty
    // (callers that must keep a text unchanged read into a scratch document first; see
    // TRichDocument). The document's default font is used where the text names no font. Reading
    // is not an undo step: the document's undo history is gone afterwards.
    static TRtfReadResult Read(const QByteArray& bytes, QTextDocument& document);

    // True when the bytes start like RTF ("{\rtf" after optional blanks and byte-order mark).
    static bool LooksLikeRtf(const QByteArray& bytes);
};

} // namespace qm::richtext
