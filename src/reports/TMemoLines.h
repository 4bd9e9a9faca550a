#pragma once

// Breaking a record memo into printed lines, shared by the list reports, the current-record
// sheet and the user reports: every hard line break starts a line, long lines are word-wrapped
// at the given width, and a memo that is one blank line (or empty) gives no lines at all.
//
// The measure is the one of the font the lines are printed in, so a memo breaks the same way
// on every machine; width and measure share one unit (inches on the report canvas).

#include "design/text/TWordWrap.h"

#include <QStringList>

namespace qm::reports {

class TMemoLines {
public:
    static QStringList Break(const QString& memo, double width,
                             const design::TWordWrap::TMeasure& measure);
};

} // namespace qm::reports
