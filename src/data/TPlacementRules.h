#pragma once

// The arithmetic of window placement, apart from any window: which settings section a window
// uses, where a stored rectangle lands on a smaller screen, where a dialog is centred.
// Rectangles are edges in screen pixels with Right and Bottom exclusive (Left + width).

#include <QString>

namespace qm::data {

struct TEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const TEdges&, const TEdges&) = default;
};

class TPlacementRules {
public:
    // Class name + "_Placement", with the resolution appended above 96 pixels per inch.
    static QString SectionName(const QString& className, int logicalDpi);

    // A rectangle put inside an area (the screen less its panels): first made no larger than the
    // area, then moved left and up until its right and bottom edges are inside, then right and
    // down until its left and top edges are. A rectangle that fits is only moved.
    static TEdges FitInto(TEdges r, const TEdges& area);

    // Top-left corner that centres a window of the given size on an outer rectangle; halves are
    // rounded toward zero.
    static TEdges CentreOn(const TEdges& outer, int width, int height);

    // A window's design size (pixels at 96 per inch) for a screen of the given resolution, in
    // the logical pixels of a screen with the given device pixel ratio: above 96 pixels per inch
    // the design size grows by resolution / 96 x 0.95 (in screen pixels); rounded to the nearest.
    static TEdges ScaledDesignSize(int designWidth, int designHeight, int logicalDpi,
                                   double devicePixelRatio);

    // The main window's resize rule: sticking out past the right (bottom) screen edge while its
    // left (top) edge is positive moves that edge to 0.
    static TEdges KeepMainWindowOnScreen(TEdges window, int screenWidth, int screenHeight);
};

} // namespace qm::data
