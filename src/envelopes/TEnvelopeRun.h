#pragma once

// The envelope print loop: one page per record, the design panel printed at the envelope's place
// on the page. The "Print Envelope" window's status window and the command-line tool both run a
// job through it:
//
//     TEnvelopeRun run(panel, dataSet, face, feed);
//     run.SetPreview(true);           // the printable area is outlined on every page
//     run.Attach(job);                // the job's handlers become the run's; others are cleared
//     job.RunJob();
//
// The run starts where the data set stands (see TEnvelopeRecordScope for placing it) and prints
// each record up to the end, or just that one with SetOnlyCurrentRecord. For each envelope it
// starts a page (the first page is the job's own), in preview outlines the printer's printable
// area (red, dotted), then fills the panel from the record (RefreshData) and prints its objects
// with the panel's corner at Offset() (TEnvelopePlacement, from the job's page size). Counters
// are not stepped: the envelope tools create none.
//
// Stopping: Cancel of a printing job aborts the job (job.AbortJob()), which ends the loop at once;
// Stop of a preview calls Stop(), which the loop looks at before the next envelope. After each
// envelope AfterEnvelope runs (the window lets pending messages run there; the tool lists).
//
// Each envelope is one piece for the Intelligent Mail barcodes (Imb(), its counter starting at
// SetImbStart's number): the caller writes the counter back after a finished job and shows
// Imb().Notes() as part of the job's end.
//
// The panel, the data set and the job must outlive the run. An exception from the panel, the
// data set or the job ends the loop and reaches the caller of RunJob; the panel's printing flag
// is cleared in every case.

#include "design/objects/TImbJob.h"
#include "envelopes/TEnvelopeFeedMethod.h"
#include "envelopes/TEnvelopeSizes.h"

#include <QPointF>
#include <QString>
#include <cstdint>
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

namespace qm::envelopes {

class TEnvelopeRun {
public:
    static QString StatusFormat() { return QStringLiteral("Printing Page %p\r%0\r%1"); }

    TEnvelopeRun(design::TGBasePanel& panel, data::TDataSet& dataSet, TEnvelopeFace face,
                 TEnvelopeFeedMethod feed);

    void SetPreview(bool preview) { mPreview = preview; }
    bool Preview() const { return mPreview; }
    void SetOnlyCurrentRecord(bool only) { mOnlyCurrent = only; }

    // Called after every envelope with the envelopes printed so far and the record just printed.
    std::function<void(int envelopes, uint32_t recNo)> AfterEnvelope;

    // Makes BeforePrint and Print the job's OnBeforePrint and OnPrint, clearing its other handlers.
    void Attach(print::TBaseReport& job);
    // X = Y = 0, the status format, two empty status lines.
    void BeforePrint(print::TBaseReport& job);
    // The placement, then the loop.
    void Print(print::TBaseReport& job);

    // The preview's Stop: no further envelope is started.
    void Stop() { mStopRequested = true; }
    bool StopRequested() const { return mStopRequested; }
    // True when the last Print ended by Stop or by an aborted job before the records ran out.
    bool Interrupted() const { return mInterrupted; }

    int Envelopes() const { return mEnvelopes; }
    void SetImbStart(std::int64_t nextSerial) { mImbStart = nextSerial; }
    const design::TImbJob& Imb() const { return mImb; }
    // The envelope's top-left corner on the page, in inches, as the last Print placed it.
    QPointF Offset() const { return mOffset; }
    TEnvelopeFace Face() const { return mFace; }

    // Outlines the job's printable area: a red dotted rectangle one hundredth of an inch wide,
    // clear brush, from (LeftWaste, TopWaste) to (PageWidth - RightWaste, PageHeight -
    // BottomWaste); the pen is black and solid again afterwards.
    static void DrawPrintableArea(print::TBaseReport& job);

private:
    design::TGBasePanel& mPanel;
    data::TDataSet& mDataSet;
    TEnvelopeFace mFace;
    TEnvelopeFeedMethod mFeed;
    bool mPreview = false;
    bool mOnlyCurrent = false;
    bool mStopRequested = false;
    bool mInterrupted = false;
    int mEnvelopes = 0;
    QPointF mOffset;
    std::int64_t mImbStart = 0;
    design::TImbJob mImb;
};

} // namespace qm::envelopes
