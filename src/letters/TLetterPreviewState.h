#pragma once

// What the letter preview decides, apart from its window: the zoom and its steps, the page shown
// with the starts of the pages before it, and the size of the page panel and its text area on the
// screen. Zooms are whole percents.

#include "letters/TLetterBounds.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace qm::letters {

class TLetterPreviewState {
public:
    static constexpr int kMinZoom = 10;

    // The zoom that fits `extent` screen pixels with `pagePixels` (the page's width or height at
    // 100 %): extent × 100 / pagePixels in floating point, fraction dropped, never below 10 (so a
    // window narrower than the page still shows it, and zooming in still moves).
    static int FitZoom(int extent, int pagePixels);
    // The page's size on a screen of `dpi` pixels per inch at 100 % (twips × dpi / 1440,
    // fractions dropped).
    static QSize PageSizeOnScreen(const TLetterPageTwips& page, int dpi);
    // The page panel at the zoom, and the text area inside it (margins rounded to nearest).
    static QSize PanelSize(const TLetterPageTwips& page, int dpi, int zoom);
    static QRect TextArea(const TLetterPageTwips& page, int dpi, int zoom);

    int Zoom() const { return mZoom; }
    void SetZoom(int zoom) { mZoom = zoom < kMinZoom ? kMinZoom : zoom; }
    // Zoom in: only while below 150, × 1.25. Zoom out: only while above 50, × 0.75. Fractions are
    // dropped. Return whether the zoom changed.
    bool ZoomIn();
    bool ZoomOut();

    // --- pages ---
    int PageNumber() const { return mPage; }
    int Start() const { return mStart; }
    // What the last drawing reported: the start of the following page, 0 or less at the end.
    void SetFollowing(int start) { mFollowing = start; }
    bool HasNextPage() const { return mFollowing > 0; }
    bool HasPreviousPage() const { return !mStack.empty(); }
    // Return whether the page changed.
    bool NextPage();
    bool PreviousPage();
    // Back to page 1 (after a record move).
    void Reset();
    // "Preview Letters Page " + the page number.
    QString Caption() const;

private:
    int mZoom = 100;
    int mPage = 1;
    int mStart = 0;
    int mFollowing = 0;
    std::vector<int> mStack;
};

} // namespace qm::letters
