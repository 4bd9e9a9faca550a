#pragma once

// The four built-in list reports as data: the texts the "Select Report:" list shows, the sort
// tag, whether records whose key sorts before "0" are skipped, the row font size, the four tab
// widths and the column headings. Drawing lives in TBuiltInReport, cell texts in TReportCells.

#include <QString>
#include <array>
#include <vector>

namespace qm::reports {

struct TReportHeading {
    int line; // 1-based heading line
    int tab;  // 1-based tab stop
    const char* text;
};

struct TBuiltInLayout {
    int number;           // 1..4
    const char* listText; // exactly as the list shows it
    const char* sortTag;
    bool skipLowKeys;                // start at the soft seek of "0"
    double rowPoints;                // Arial size of the rows
    std::array<double, 4> tabWidths; // inches, each tab starting where the previous one ends
    int headingLines;
    std::vector<TReportHeading> headings;
    double headingOffset; // inches below the top margin where the headings start (one line down)
};

class TBuiltInLayouts {
public:
    static constexpr int kCount = 4;
    static constexpr double kLeftMargin = 1.0;
    static constexpr double kTabMargin = 0.02;

    static const std::array<TBuiltInLayout, kCount>& All();
    // 1-based; numbers outside 1..4 give the first report.
    static const TBuiltInLayout& Get(int number);
    // Left edge of a tab stop (1-based) in inches from the paper's left edge.
    static double TabLeft(const TBuiltInLayout& layout, int tab);
    // "Report " followed by the number: the title the window proposes.
    static QString DefaultTitle(int number);
};

} // namespace qm::reports
