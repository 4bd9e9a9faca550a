#pragma once

// Breaks a document into pages and draws them. The document is laid out once, on a copy, at a
// fixed resolution of one layout unit per twip, to the page's text width; pages are then runs of
// whole lines that fit the page's text height. Because the breaks never depend on the device or
// the zoom, the preview at any zoom, the printer and a PDF break pages at the same lines.
//
// Rules: a page always takes at least one line (a line or picture taller than the page gets a
// page of its own and is cut at the page's foot); a paragraph that asks for a page break before
// it starts a new page unless it is already first on its page; space before a paragraph is not
// kept at the top of a page.
//
// A page is named by its start: the document position of its first character. Any position may
// be given as a start: the page then begins with the line holding that position.

#include "richtext/TPageLayout.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <QStringList>
#include <memory>
#include <vector>

class QPainter;
class QTextDocument;

namespace qm::richtext {

class TRichPager {
public:
    TRichPager();
    ~TRichPager();
    TRichPager(const TRichPager&) = delete;
    TRichPager& operator=(const TRichPager&) = delete;

    // Lays out a copy of the document (pictures named in `pictures` copied along) for the page.
    void Build(const QTextDocument& document, const QStringList& pictures,
               const TPageLayout& layout);

    // The start of the page after the one beginning at `start`, or -1 when that page is the last.
    int NextPageStart(int start) const;
    // The starts of all pages in order (at least one: 0).
    QList<int> PageStarts() const;

    // Draws the page beginning at `start` with the top left of its text area at rect.topLeft(),
    // at `zoom` percent of its real size on the painter's device (its logical resolution), and
    // returns the start of the next page or -1 after the last. Lines are drawn in the page's band
    // only; `rect` is not a clip, so text reaching into the margins (negative indents) shows.
    int DrawPage(QPainter& painter, const QRectF& rect, double zoom, int start) const;

    // Layout units (twips) from the top of the document to each page's first line; for tests.
    double LineTop(int position) const;

private:
    struct TLine {
        int position;
        double top;
        double bottom;
        bool breakBefore; // first line of a paragraph that starts a new page
    };
    // Index of the line holding the position (the last line starting at or before it).
    std::size_t LineIndex(int position) const;
    // One past the last line of the page that begins with line `first`.
    std::size_t PageEnd(std::size_t first) const;

    std::unique_ptr<QTextDocument> mLayoutCopy;
    std::vector<TLine> mLines;
    TPageLayout mLayout;
};

} // namespace qm::richtext
