#pragma once

// Draws a label job onto a print job (printer or page stream): the print loop decides where each
// label goes, this class turns pages and draws. A record's label is the layout's design objects
// filled from the record and printed at the label's corner, then the counters step; a marker
// line of a presorted job is drawn by TMarkerLabel, as the command-line tool draws it.
//
// Contract: the panel's data set is the one the records walk; the caller sets the panel's
// printing flag. keepGoing is asked after every label (the status window lets window messages
// run there and answers false once Stop or Cancel was used).
//
// Each record's label is one piece for the Intelligent Mail barcodes (Imb()): their serial
// numbers, the skipped pieces and the counter the caller writes back after a finished job. The
// job's status line keeps the notes in its third text line (%2), which the final status shows.

#include "design/objects/TImbJob.h"
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

    // The barcodes' side of the job; the counter starts at nextSerial (SetImbStart before Print).
    void SetImbStart(std::int64_t nextSerial) { mImbStart = nextSerial; }
    const design::TImbJob& Imb() const { return mImb; }

private:
    TLabelSheet mSheet;
    TLabelPrintLoop& mLoop;
    TLabelRecords& mRecords;
    design::TGBasePanel& mPanel;
    data::TDataSet& mDataSet;
    std::int64_t mImbStart = 0;
    design::TImbJob mImb;
};

} // namespace qm::labels
