#pragma once

// The ruler's arithmetic, apart from its widget: where the text area's twips fall in the ruler's
// pixels, the tick marks of an inch scale, which indent marker a point is on, and where a drag
// puts an indent (snapped to sixteenths of an inch, kept inside the text width).

#include "richtext/TParagraphSettings.h"

#include <QList>

namespace qm::richtext {

enum class ERulerMarker { None, FirstIndent, LeftIndent, RightIndent };

class TRulerGeometry {
public:
    // `origin`: ruler pixel of the text area's left edge; `pixelsPerInch`: ruler pixels per inch
    // of text (the editor's resolution times its zoom); `textWidth`: the page's text width, twips.
    TRulerGeometry(double origin, double pixelsPerInch, int textWidth);

    double XOf(int twips) const;
    int TwipsAt(double x) const;
    // Snapped to 1/16 inch.
    static int Snap(int twips);

    struct TTick {
        double x;
        int level; // 0 whole inch, 1 half, 2 quarter, 3 eighth
        int inch;  // for level 0: the inch number to label
    };
    QList<TTick> Ticks() const;

    // The marker within `slop` pixels of the point: first-line marker above the middle line (y <
    // middle), left and right below it.
    ERulerMarker MarkerAt(const TParagraphSettings& settings, double x, bool upperHalf,
                          double slop) const;
    // The settings with the marker dragged to x; a left-indent drag takes the first line along.
    TParagraphSettings Dragged(const TParagraphSettings& settings, ERulerMarker marker,
                               double x) const;

private:
    double mOrigin;
    double mPixelsPerInch;
    int mTextWidth;
};

} // namespace qm::richtext
