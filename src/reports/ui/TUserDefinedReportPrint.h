#pragma once

// Printing or previewing a user-designed report from the "Print Report" window: the report's
// layout file is loaded into three bands of its own (the detail band bound to the address table
// in printing mode), the run takes the chosen records in the table's own order, the paper comes
// from the report, and the built-in reports' status window and preview show the run with their
// captions, Cancel and Stop and final texts.
//
// Contract:
// - Print mode: the caller has shown the print dialog (ShowReportPrintDialog) and the user chose
//   to print.
// - A layout file that cannot be read shows the filer's message; nothing is printed.
// - The address table's order, query, scope and record, and the printer's paper and orientation,
//   are as before when Run returns, also after an error.

#include "reports/TReportRunScope.h"

#include <QString>

class QWidget;

namespace qm::data {
class TApollo;
class TDataSet;
} // namespace qm::data

namespace qm::reports {

struct TUserReportChoices {
    TRecordChoice choice = TRecordChoice::MatchingFilter;
    bool startFromCurrent = false;
    bool oneRecordPerPage = false;
};

class TUserDefinedReportPrint {
public:
    // layoutPath: the report's layout file in sysdata (TLayoutFileNames::PathFor of the row's
    // BINARY). Returns whether the run went to its end (not cancelled, stopped or failed).
    static bool Run(QWidget* parent, data::TDataSet& dataSet, data::TApollo& apollo,
                    const QString& layoutPath, const TUserReportChoices& choices, bool preview);
};

} // namespace qm::reports
