#pragma once

// Layout, screen painting and printing of single-line text objects (every TGBaseLabel kind
// holds one). Keeps the layout of the last run; the label's LayoutDirty flag says when it is out
// of date.
//
// Contract:
// - The caption is passed in by the kind (counters, dates and page numbers build theirs). In a
//   symbol face that is not installed (WingDings) the screen shows each code as its pictogram,
//   whatever the kind (TSymbolFont::DisplayText); measuring and painting use the shown text,
//   printing sends the caption in the label's own face and the page canvas maps it alike.
// - LayOut may resize the label (automatic size); it runs when the label is dirty, or always
//   with force, and clears the flag.
// - Paint draws in the label's own pixels (origin = its top-left corner) at its current scale.
// - Print draws through the page canvas with the panel's corner at (x, y) inches; an empty
//   caption draws only the background.

#include "design/text/TGFont.h"
#include "design/text/TSingleLineLayout.h"

#include <QFont>
#include <QString>

class QPainter;

namespace qm::print {
class TBaseReport;
}

namespace qm::design {

class TGBaseLabel;

class TSingleLineText {
public:
    const TSingleLineLayout& LayOut(TGBaseLabel& label, const QString& caption, bool force = false);
    const TSingleLineLayout& Layout() const { return mLayout; }
    // w and h of the last layout; w is 0 when the layout did not depend on it (angle 0, left
    // aligned, wider than 5 pixels).
    std::int32_t TextWidth() const { return mTextWidth; }
    std::int32_t LineHeight() const { return mLineHeight; }

    void Paint(TGBaseLabel& label, QPainter& painter, const QString& caption);
    void Print(TGBaseLabel& label, print::TBaseReport& canvas, double x, double y,
               const QString& caption);

    // Fit width (only at angle 0): grows the label to hold the text plus five blanks; never
    // shrinks it.
    void FitWidth(TGBaseLabel& label, const QString& caption);

    // A rotation command: when the new angle turns the text across the object, width and height
    // swap first; a non-zero angle forces left alignment; then the angle is set.
    static void Rotate(TGBaseLabel& label, int angle);

    // The label's font as drawn on screen at its scale.
    static QFont ScreenFont(const TGBaseLabel& label);
    // What the screen shows for a caption in the label's face (pictograms for a symbol face).
    static QString ShownText(const TGBaseLabel& label, const QString& caption);

private:
    TSingleLineLayout mLayout;
    std::int32_t mTextWidth = 0;
    // The font the line height was measured for.
    bool mMetricsValid = false;
    TGFont mMetricsFont;
    int mMetricsPointSize = 0;
    int mMetricsPpi = 0;
    std::int32_t mLineHeight = 0;
};

} // namespace qm::design
