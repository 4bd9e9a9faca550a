#pragma once

// Painting, wrapping, fitting and printing of multi-line text objects (every
// TGMultiLineBaseLabel kind uses these).
//
// Contract:
// - The shown lines are the wrapped lines with WordWrap on, else Items. On screen a single blank
//   line or no line at all shows the kind's placeholder; printing never prints placeholders.
// - Wrap widths are the object's width in design pixels, in its font at its current scale.
// - In a symbol face that is not installed (WingDings) the screen shows, measures and wraps each
//   code as its pictogram, as the symbol objects and the page canvas do.
// - Print draws through the page canvas with the panel's corner at (x, y) inches.

#include <QFont>
#include <QString>
#include <QStringList>
#include <cstdint>

class QPainter;

namespace qm::print {
class TBaseReport;
}

namespace qm::design {

class TGMultiLineBaseLabel;

class TMultiLineText {
public:
    static QFont ScreenFont(const TGMultiLineBaseLabel& label);
    // What the screen shows for a line in the label's face (pictograms for a symbol face).
    static QString ShownText(const TGMultiLineBaseLabel& label, const QString& line);
    // The height of one painted line: the text height of "XXX".
    static std::int32_t LinePitch(const TGMultiLineBaseLabel& label);

    // Lines broken at the label's width in its screen font.
    static QStringList WrapLines(const TGMultiLineBaseLabel& label, const QStringList& lines);
    // Recomputes the wrapped lines from Items when WordWrap is on.
    static void Rewrap(TGMultiLineBaseLabel& label);
    // Height = line pitch x the number of shown lines; width = the larger of the current width
    // and the widest line.
    static void FitLines(TGMultiLineBaseLabel& label);

    // The lines painted on screen (the placeholder where there is nothing to show).
    static QStringList PaintedLines(const TGMultiLineBaseLabel& label);
    static void Paint(const TGMultiLineBaseLabel& label, QPainter& painter);
    // growTo: the lowest panel coordinate (design pixels) the printed lines may reach. Lines are
    // clipped at the object's bottom, or at growTo when that is lower: an address block prints
    // every line that starts above its face's bottom edge, however high it was drawn.
    static void Print(const TGMultiLineBaseLabel& label, print::TBaseReport& canvas, double x,
                      double y, std::int32_t growTo = 0);
};

} // namespace qm::design
