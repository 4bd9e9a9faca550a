#pragma once

// The texts the built-in reports print for one record, apart from drawing so they can be
// checked as strings. Field values are read without trailing blanks through the caller's
// accessor (the address file's field names).

#include <QString>
#include <functional>
#include <vector>

namespace qm::reports {

struct TReportCell {
    int tab;      // 1-based tab stop the cell starts at
    double width; // inches the cell may use (its clip box is 0.2 in narrower)
    QString text; // empty: nothing is drawn
};

using TReportLine = std::vector<TReportCell>;

class TReportCells {
public:
    using TValue = std::function<QString(const char* field)>;

    // "Smith, John Q.": (LNAME + ", ") left-trimmed, (FNAME + " ") left-trimmed, then MIDDLE
    // with a full stop when there is one.
    static QString ListName(const TValue& value);
    // Report 1's "City/St/Zip": "Salem, OR  97301 ".
    static QString CityStZip(const TValue& value);
    // Report 4's first cell, with the prefix rule that puts two blanks before a first name
    // without prefix; empty when LNAME is empty.
    static QString FullListName(const TValue& value);
    // Every line one record prints in report 1..4, cells in drawing order.
    static std::vector<TReportLine> Lines(int report, const TValue& value);
};

} // namespace qm::reports
