#pragma once

// Drawing steps the report routines share on the report canvas: the clipped cell, moving to a
// numbered tab stop, the page header's date text and the status texts set before each job.

#include <QDate>
#include <QString>

namespace qm::print {
class TBaseReport;
}

namespace qm::reports {

class TReportPage {
public:
    // The report jobs' set-up before each run: lines as high as the font makes them (size / 60
    // in), margins of 0.5 in, and the status line with two empty extra lines.
    static void PrepareJob(print::TBaseReport& job);
    // Today's date as the page headers print it (the program's short date format).
    static QString DateText(const QDate& date);
    // Moves from tab stop `current` (0: none yet on this line) to `tab`, both 1-based.
    static void MoveToTab(print::TBaseReport& job, int& current, int tab);
    // Draws text at the current tab stop's text position (0.02 in inside it), clipped to
    // width - 0.2 in and to one font height above and below the line, never wrapping.
    static void ClippedCell(print::TBaseReport& job, const QString& text, double width);
    // The current font's ascent at the job's resolution, in the job's units.
    static double Ascent(print::TBaseReport& job);
    // Draws a horizontal line at y from x1 to x2 with the current pen.
    static void HorizontalLine(print::TBaseReport& job, double x1, double x2, double y);
};

} // namespace qm::reports
