#include "envelopes/TEnvelopeRun.h"

#include "data/TDataSet.h"
#include "design/core/TGBasePanel.h"
#include "envelopes/TEnvelopePlacement.h"
#include "print/TBaseReport.h"

namespace qm::envelopes {
namespace {

constexpr int kHundredthInch = -1; // pen width: one hundredth of an inch

// Clears the panel's printing flag however the loop ends.
class TPrintingFlag {
public:
    explicit TPrintingFlag(design::TGBasePanel& panel) : mPanel(panel) { mPanel.SetPrinting(true); }
    ~TPrintingFlag() { mPanel.SetPrinting(false); }
    TPrintingFlag(const TPrintingFlag&) = delete;
    TPrintingFlag& operator=(const TPrintingFlag&) = delete;

private:
    design::TGBasePanel& mPanel;
};

} // namespace

TEnvelopeRun::TEnvelopeRun(design::TGBasePanel& panel, data::TDataSet& dataSet, TEnvelopeFace face,
                           TEnvelopeFeedMethod feed)
    : mPanel(panel), mDataSet(dataSet), mFace(face), mFeed(feed)
{
}

void TEnvelopeRun::Attach(print::TBaseReport& job)
{
    job.ClearHandlers();
    job.OnBeforePrint = [this](print::TBaseReport& j) { BeforePrint(j); };
    job.OnPrint = [this](print::TBaseReport& j) { Print(j); };
}

void TEnvelopeRun::BeforePrint(print::TBaseReport& job)
{
    mOffset = QPointF(0, 0);
    job.SetStatusFormat(StatusFormat());
    job.StatusText() << QString() << QString();
}

void TEnvelopeRun::DrawPrintableArea(print::TBaseReport& job)
{
    job.SetBrush(print::kWhite, print::TBrushStyle::bsClear);
    job.SetPen(print::TColor::Rgb(255, 0, 0), print::TPenStyle::psDot, print::TPenMode::pmCopy,
               kHundredthInch);
    job.DrawRectangle(job.LeftWaste(), job.TopWaste(), job.PageWidth() - job.RightWaste(),
                      job.PageHeight() - job.BottomWaste());
    job.SetPen(print::kBlack, print::TPenStyle::psSolid, print::TPenMode::pmCopy, kHundredthInch);
}

void TEnvelopeRun::Print(print::TBaseReport& job)
{
    mEnvelopes = 0;
    mInterrupted = false;
    mImb = design::TImbJob(mImbStart);
    mOffset = TEnvelopePlacement::Offsets(job.PageWidth(), job.PageHeight(), mFace, mFeed);

    job.SetMarginLeft(0);
    job.SetMarginTop(0);
    TPrintingFlag printing(mPanel);
    while (!mDataSet.Eof() && !mDataSet.IsEmpty()) {
        if (mStopRequested || job.Aborted()) {
            mInterrupted = true;
            break;
        }
        if (mEnvelopes > 0)
            job.NewPage();
        if (mPreview)
            DrawPrintableArea(job);
        mImb.BeginPiece(mPanel);
        mPanel.RefreshData();
        mPanel.PrintObjects(job, mOffset.x(), mOffset.y());
        mImb.EndPiece(mPanel);
        ++mEnvelopes;
        const uint32_t recNo = mDataSet.RecNo();
        if (AfterEnvelope)
            AfterEnvelope(mEnvelopes, recNo);
        if (mOnlyCurrent)
            break;
        mDataSet.Next();
    }
}

} // namespace qm::envelopes
