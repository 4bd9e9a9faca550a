#pragma once

// Replays a recorded page stream onto any QPainter: a printer, a PDF writer, a screen picture or
// a PNG image. Only the requested page is read; other pages are reached through the page links
// without reading their commands.
//
// Contract:
// - The bytes are shared (QByteArray is implicitly shared), not copied.
// - A stream that does not read as the format throws TPrintError with "Unexpected code found in
//   report file." (from the constructor for a bad header, from GotoPage/PaintPage otherwise).
//   Following links is bounded, so a looped chain cannot hang.
// - PaintPage draws the current page; the painter must be active. The mapping gives resolution,
//   zoom and wastes; scale comes from the page's own commands.
// - Fonts: after a size command the font is shrunk, 1.1 device pixels at a time, until the
//   reference text is no wider than it was when recorded; if a step does not make it narrower,
//   the recorded height is used.

#include "print/TDeviceMapping.h"
#include "print/TPageStreamReader.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

class QPainter;

namespace qm::print {

// What the text macros and status codes of a replay refer to.
struct TReplayContext {
    QDateTime start = QDateTime::currentDateTime();
    QString deviceName = QStringLiteral("Preview");
    QString driverName = QStringLiteral("Preview");
    QString port = QStringLiteral("Screen");
    QStringList macroLines;
};

class TPagePainter;
struct TPainterFont;

// The font-shrink rule: the height (inches) at which the reference text, drawn with the
// painter's mapping, is no wider than referenceWidth inches (measured at scale 100, so compared
// at the painter's vertical scale, which the font height follows; up to one device pixel wider
// still counts as fitting). Starts from font.heightInches and
// steps down 1.1 device pixels at a time; a step that does not narrow the text gives back the
// starting height. referenceWidth 0 keeps the height. Leaves the painter's font unchanged.
double FitFontHeight(TPagePainter& painter, const TPainterFont& font, double referenceWidth);

class TPageReplay {
public:
    explicit TPageReplay(QByteArray bytes);

    const TPageStreamHeader& Header() const { return mHeader; }
    int PageCount() const { return mHeader.pageCount; }
    bool HasPages() const { return mHasPage; }

    // Moves to the page with this page number by following the links from the current page.
    // Returns false (staying on the last page reached) when the chain has no such page.
    bool GotoPage(int pageNumber);
    // The first and last page records, by following the links.
    void GotoFirst();
    void GotoLast();
    bool Next();
    bool Previous();
    const TPageRecord& Current() const { return mCurrent; }
    int CurrentPageNumber() const { return mCurrent.pageNumber; }

    void PaintPage(QPainter& painter, const TDeviceMapping& mapping, const TReplayContext& context);

    // Replaces every macro marker of a text by its value.
    QByteArray ExpandMacros(const QByteArray& text, const TReplayContext& context) const;

    // Reads every page with all its commands, as a check (the tool and the fuzz target use it).
    void Validate();

private:
    void ReadPageAt(std::int64_t position);
    std::int64_t MaxSteps() const;

    QByteArray mBytes;
    TPageStreamReader mReader;
    TPageStreamHeader mHeader;
    TPageRecord mCurrent;
    bool mHasPage = false;
};

} // namespace qm::print
