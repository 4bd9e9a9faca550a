#pragma once

// Draws a label job onto a print job (printer or page stream): the print loop decides where each
// label goes, this class turns pages and draws. A record's label is the layout's design objects
// filled from the record and printed at the label's corner, then the counters step; a marker
// line of a presorted job is its text in Arial 8 pt, a third of the pitch down from the label's
// corner and 0.15 in in, clipped to the pitch.
//
// Contract: the panel's data set is the one the records walk; the caller sets the panel's
// printing flag. keepGoing is asked after every label (the status window lets window messages
// run there and answers false once Stop or Cancel was used).

#include "labels/TLabelPrintLoop.h"

#include <functional>

namespace qm::data {
class TDataSet;
}
namespace qm::design {
class TGBasePanel;
}
namespace qm::print {
class TBaseReport;
}

namespace qm::labels {

class TLabelJobDrawer {
public:
    TLabelJobDrawer(const TLabelSheet& sheet, TLabelPrintLoop& loop, TLabelRecords& records,
                    design::TGBasePanel& panel, data::TDataSet& dataSet);

    // The job's before-print step: the status line "Printing Page %p" or "Preparing Preview Page
    // %p", each followed by two lines of status text.
    static void BeforePrint(print::TBaseReport& report, bool preview);

    // The job's print step: every label of the job. Returns what the loop placed.
    TLabelRunResult Print(print::TBaseReport& report, const std::function<bool()>& keepGoing);

private:
    TLabelSheet mSheet;
    TLabelPrintLoop& mLoop;
    TLabelRecords& mRecords;
    design::TGBasePanel& mPanel;
    data::TDataSet& mDataSet;
};

} // namespace qm::labels
