#pragma once

// The routine that prints a user-designed report on a report canvas: the header and footer
// bands on every page, the detail band once per record, the record's memo in the memo band, each
// band optionally shaded and framed. Printer, preview, PDF and tests all draw through it.
//
// Geometry (inches; lengths of the settings are design pixels at the PPI in force):
// - band origin left L = left margin + 0.125, right inset R = right margin + 0.125;
// - the canvas margins, and with them the text area: left L, right R, top = top margin + header
//   height, bottom = bottom margin + footer height. The header sits above the text area, the
//   footer below it; a band's box reaches 0.125 in beyond the text area on both sides.
//
// Contract:
// - The data set stands on the first record to print (TReportRunScope without a sort tag and
//   without the seek); the detail band is bound to it (its RefreshData reads the current record).
//   Header and footer are never refreshed. The bands outlive the run; any may be null.
// - Attach() sets the job's paper from the settings (the job must be idle), clears its other
//   handlers and attaches the before-print, new-page and print steps.
// - KeepGoing is asked before each record; false stops the run as the preview's "Stop" does.
//   Engine errors end the job and pass on.

#include "reports/TRecordValues.h"
#include "reports/TReportSettings.h"

#include <functional>

namespace qm::data {
class TDataSet;
}
namespace qm::design {
class TGBasePanel;
class TGDataPanel;
} // namespace qm::design
namespace qm::print {
class TBaseReport;
}

namespace qm::reports {

struct TUserReportBands {
    design::TGBasePanel* header = nullptr;
    design::TGDataPanel* detail = nullptr;
    design::TGBasePanel* footer = nullptr;
};

class TUserDefinedReport {
public:
    static constexpr const char* kJobTitle = "Quillmark";
    // How far a band's box reaches beyond the text area on each side.
    static constexpr double kBoxOutset = 0.125;
    static constexpr int kLetterPaper = 1;
    static constexpr int kA4Paper = 9;

    TUserDefinedReport(data::TDataSet& dataSet, const TReportSettings& settings,
                       const TUserReportBands& bands, bool oneRecordPerPage);

    // The paper of the report: Letter or A4 by its layout, a page matching none is Letter; the
    // orientation is the layout's (or landscape when the page is wider than high).
    static int PaperCode(const TReportSettings& settings);
    static bool Landscape(const TReportSettings& settings);
    // Sets paper and orientation on an idle job.
    static void SetPaper(print::TBaseReport& job, const TReportSettings& settings);

    void Attach(print::TBaseReport& job);
    // Nothing to print from the start (an empty view).
    void SetStartAtEnd(bool atEnd) { mStartAtEnd = atEnd; }
    void SetKeepGoing(std::function<bool()> keepGoing) { mKeepGoing = std::move(keepGoing); }

    bool Stopped() const { return mStopped; }
    int Records() const { return mRecords; }

    // The steps.
    void BeforePrint(print::TBaseReport& job);
    void Print(print::TBaseReport& job);
    // Header and footer of the page the job has just started; the running position goes to the
    // top of the text area. Does nothing until Print has begun (the job calls its new-page
    // handler for page 1 before the print step).
    void PageFrame(print::TBaseReport& job);

private:
    void Detail(print::TBaseReport& job);
    void Memo(print::TBaseReport& job);
    void SetMemoFont(print::TBaseReport& job);
    // True while nothing was printed below the header of the current page.
    bool PageEmpty(print::TBaseReport& job) const;
    void Shade(print::TBaseReport& job, const TBandFrame& frame, double left, double top,
               double right, double bottom);
    void Borders(print::TBaseReport& job, const TBandFrame& frame, double left, double top,
                 double right, double bottom);
    // The band's box from top to bottom, shaded and framed.
    void BandBox(print::TBaseReport& job, TReportBand band, double top, double bottom);

    data::TDataSet& mDataSet;
    TRecordValues mValues;
    TReportSettings mSettings;
    TUserReportBands mBands;
    bool mOneRecordPerPage = false;
    std::function<bool()> mKeepGoing;
    bool mStartAtEnd = false;
    bool mStarted = false;
    bool mStopped = false;
    int mRecords = 0;
    // Band heights in inches (0 for a band not in use), the running position y.
    double mHeader = 0, mDetail = 0, mFooter = 0;
    double mY = 0;
};

} // namespace qm::reports
