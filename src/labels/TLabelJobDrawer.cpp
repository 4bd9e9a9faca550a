#include "labels/TLabelJobDrawer.h"

#include "data/TDataSet.h"
#include "design/core/TGBasePanel.h"
#include "print/TBaseReport.h"

namespace qm::labels {

namespace {
const QString kMarkerFont = QStringLiteral("Arial");
constexpr double kMarkerPoints = 8;
} // namespace

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
    report.SetFont(kMarkerFont, kMarkerPoints);
    mImb = design::TImbJob(mImbStart); // a job run again starts from the same number
    int page = 0;
    // A single column or row may store no pitch; its marker then keeps to the label.
    const double pitchX =
        mSheet.HorizontalPitch() > 0 ? mSheet.HorizontalPitch() : mSheet.LabelSize().width();
    const double pitchY =
        mSheet.VerticalPitch() > 0 ? mSheet.VerticalPitch() : mSheet.LabelSize().height();
    const TLabelRunResult result = mLoop.Run(mRecords, [&](const TLabelSlot& slot) {
        // Every sheet after the first starts a page; the loop never leaves an empty one.
        while (page < slot.sheet) {
            report.NewPage();
            ++page;
        }
        const double x = slot.corner.x();
        const double y = slot.corner.y();
        if (slot.IsMarker()) {
            report.SetFont(kMarkerFont, kMarkerPoints);
            report.TextInRect(report.MakeRect(x, y, x + pitchX, y + pitchY), x + 0.15,
                              y + pitchY / 3.0, slot.marker);
        } else {
            mDataSet.GoTo(slot.recNo);
            mImb.BeginPiece(mPanel);
            mPanel.RefreshData();
            mPanel.PrintObjects(report, x, y);
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
