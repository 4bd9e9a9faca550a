#pragma once

// Breaking text into lines no wider than a given width, as a multi-line edit wraps it.
//
// Contract:
// - Widths are in whatever unit the measure returns (design pixels for the objects); the measure
//   is called with candidate lines and must return their width.
// - Lines break after a run of blanks where possible; the blanks at a break are dropped. A word
//   wider than the width alone is broken between characters; a single character wider than the
//   width still gets a line of its own, so wrapping always ends.
// - An empty input line stays one empty line. A width of 0 or less leaves the lines as they are.

#include <QString>
#include <QStringList>
#include <functional>

namespace qm::design {

class TWordWrap {
public:
    using TMeasure = std::function<double(const QString& text)>;

    static QStringList Wrap(const QStringList& lines, double width, const TMeasure& measure);
    static QStringList WrapLine(const QString& line, double width, const TMeasure& measure);

    // Splits a text at its line breaks (CR LF, LF or CR).
    static QStringList SplitLines(const QString& text);
};

} // namespace qm::design
