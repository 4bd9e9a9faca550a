#include "labels/TLabelJobDrawer.h"

#include "data/TDataSet.h"
#include "design/core/TGBasePanel.h"
#include "design/text/TDesignUnits.h"
#include "labels/TMarkerLabel.h"
#include "print/TBaseReport.h"

namespace qm::labels {

TLabelJobDrawer::TLabelJobDrawer(const TLabelSheet& sheet, TLabelPrintLoop& loop,
                                 TLabelRecords& records, design::TGBasePanel& panel,
                                 data::TDataSet& dataSet)
    : mSheet(sheet), mLoop(loop), mRecords(records), mPanel(panel), mDataSet(dataSet)
{
}

void TLabelJobDrawer::BeforePrint(print::TBaseReport& report, bool preview)
{
    report.SetStatusFormat(preview ? QStringLiteral("Preparing Preview Page %p\r%0\r%1")
                                   : QStringLiteral("Printing Page %p\r%0\r%1"));
    report.StatusText() << QString() << QString() << QString();
}

TLabelRunResult TLabelJobDrawer::Print(print::TBaseReport& report,
                                       const std::function<bool()>& keepGoing)
{
    report.SetFont(QStringLiteral("Arial"), 8);
    // The panel is the label face: an address block prints down to the face's bottom edge.
    const double ppi = design::TDesignUnits::Ppi();
    mPanel.SetSize(design::TDesignUnits::Round(mSheet.LabelSize().width() * ppi),
                   design::TDesignUnits::Round(mSheet.LabelSize().height() * ppi));
    mImb = design::TImbJob(mImbStart); // a job run again starts from the same number
    int page = 0;
    const TLabelRunResult result = mLoop.Run(mRecords, [&](const TLabelSlot& slot) {
        // Every sheet after the first starts a page; the loop never leaves an empty one.
        while (page < slot.sheet) {
            report.NewPage();
            ++page;
        }
        if (slot.IsMarker()) {
            TMarkerLabel::Print(report, mSheet, slot);
        } else {
            mDataSet.GoTo(slot.recNo);
            mImb.BeginPiece(mPanel);
            mPanel.RefreshData();
            mPanel.PrintObjects(report, slot.corner.x(), slot.corner.y());
            mImb.EndPiece(mPanel);
            mPanel.StepCounters();
        }
        return !keepGoing || keepGoing();
    });
    // The notes go where the final status text finds them.
    QStringList& lines = report.StatusText();
    while (lines.size() < 3)
        lines << QString();
    lines[2] = mImb.StatusText();
    return result;
}

} // namespace qm::labels
