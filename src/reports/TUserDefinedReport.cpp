#include "reports/TUserDefinedReport.h"

#include "data/TDataSet.h"
#include "design/core/TGDataPanel.h"
#include "design/text/TDesignUnits.h"
#include "print/TBaseReport.h"
#include "reports/TMemoLines.h"
#include "reports/TReportBandGeometry.h"
#include "reports/TReportPage.h"

#include <algorithm>
#include <cmath>

namespace qm::reports {

using print::TBaseReport;

namespace {

// Comparisons of positions allow for float noise in inch arithmetic.
constexpr double kEpsilon = 1e-9;

// The bands print with data values and no placeholders while the run lasts, also after an error.
class TPrintingBands {
public:
    explicit TPrintingBands(const TUserReportBands& bands) : mBands(bands) { Set(true); }
    ~TPrintingBands() { Set(false); }
    TPrintingBands(const TPrintingBands&) = delete;
    TPrintingBands& operator=(const TPrintingBands&) = delete;

private:
    void Set(bool on)
    {
        for (design::TGBasePanel* band : {mBands.header, mBands.footer})
            if (band != nullptr)
                band->SetPrinting(on);
        if (mBands.detail != nullptr)
            mBands.detail->SetPrinting(on);
    }
    TUserReportBands mBands;
};

} // namespace

TUserDefinedReport::TUserDefinedReport(data::TDataSet& dataSet, const TReportSettings& settings,
                                       const TUserReportBands& bands, bool oneRecordPerPage)
    : mDataSet(dataSet), mValues(dataSet), mSettings(settings), mBands(bands),
      mOneRecordPerPage(oneRecordPerPage)
{
    const double ppi = design::TDesignUnits::Ppi();
    mHeader = mSettings.useHeader ? std::max(0, mSettings.headerHeight) / ppi : 0;
    mDetail = mSettings.useDetail ? std::max(0, mSettings.detailHeight) / ppi : 0;
    mFooter = mSettings.useFooter ? std::max(0, mSettings.footerHeight) / ppi : 0;
    // Each band is the face its objects print on: an address block prints down to the band's
    // bottom edge.
    const int width = std::max(0, TReportBandGeometry::BandWidth(mSettings, int(ppi)));
    const auto size = [width](design::TGBasePanel* band, bool used, int height) {
        if (band != nullptr)
            band->SetSize(width, used ? std::max(0, height) : 0);
    };
    size(mBands.header, mSettings.useHeader, mSettings.headerHeight);
    size(mBands.detail, mSettings.useDetail, mSettings.detailHeight);
    size(mBands.footer, mSettings.useFooter, mSettings.footerHeight);
}

int TUserDefinedReport::PaperCode(const TReportSettings& settings)
{
    const TReportLayout* layout = settings.Layout();
    return layout != nullptr && layout->paper == TReportPaper::A4 ? kA4Paper : kLetterPaper;
}

bool TUserDefinedReport::Landscape(const TReportSettings& settings)
{
    if (const TReportLayout* layout = settings.Layout())
        return layout->landscape;
    return settings.pageWidth > settings.pageHeight;
}

void TUserDefinedReport::SetPaper(TBaseReport& job, const TReportSettings& settings)
{
    job.SetPaperSize(PaperCode(settings));
    job.SetOrientation(Landscape(settings) ? print::TOrientation::poLandScape
                                           : print::TOrientation::poPortrait);
}

void TUserDefinedReport::Attach(TBaseReport& job)
{
    SetPaper(job, mSettings);
    job.ClearHandlers();
    job.SetTitle(QString::fromLatin1(kJobTitle));
    job.OnBeforePrint = [this](TBaseReport& r) { BeforePrint(r); };
    job.OnNewPage = [this](TBaseReport& r) { PageFrame(r); };
    job.OnPrint = [this](TBaseReport& r) { Print(r); };
}

void TUserDefinedReport::BeforePrint(TBaseReport& job)
{
    mStarted = false;
    TReportPage::PrepareJob(job);
    // Lines are as high as their font (the memo's 120 percent of its size).
    job.SetLineHeightMethod(print::TLineHeightMethod::lhmFont);
}

void TUserDefinedReport::Print(TBaseReport& job)
{
    mStopped = false;
    mRecords = 0;
    const TPrintingBands printing(mBands);
    struct TStartedMark {
        bool& started;
        ~TStartedMark() { started = false; }
    } mark{mStarted};
    mStarted = true;

    const double ppi = design::TDesignUnits::Ppi();
    job.SetMarginLeft(mSettings.leftMargin / ppi + kBoxOutset);
    job.SetMarginRight(mSettings.rightMargin / ppi + kBoxOutset);
    job.SetMarginTop(mSettings.topMargin / ppi + mHeader);
    job.SetMarginBottom(mSettings.bottomMargin / ppi + mFooter);
    PageFrame(job);

    bool atEnd = mStartAtEnd || mDataSet.IsEmpty() || mDataSet.Eof();
    bool first = true;
    while (!atEnd && !job.Aborted()) {
        if (mKeepGoing && !mKeepGoing()) {
            mStopped = true;
            break;
        }
        if (job.Aborted())
            break;
        // One record a page: each record after the first starts one, so none follows the last
        // (nor a stopped preview).
        if (mOneRecordPerPage && !first)
            job.NewPage();
        first = false;
        if (mSettings.useDetail)
            Detail(job);
        if (mSettings.useMemo)
            Memo(job);
        ++mRecords;
        mDataSet.Next();
        atEnd = mDataSet.Eof();
    }
}

void TUserDefinedReport::PageFrame(TBaseReport& job)
{
    if (!mStarted)
        return;
    const double left = job.SectionLeft();
    const double right = job.SectionRight();
    const double top = job.SectionTop();
    const double bottom = job.SectionBottom();
    if (mSettings.useHeader) {
        BandBox(job, TReportBand::Header, top - mHeader, top);
        if (mBands.header != nullptr)
            mBands.header->PrintObjects(job, left, top - mHeader);
    }
    if (mSettings.useFooter) {
        // The footer's shade covers the text area's width only; its frame the whole box.
        const TBandFrame& frame = mSettings.Frame(TReportBand::Footer);
        Shade(job, frame, left, bottom, right, bottom + mFooter);
        Borders(job, frame, left - kBoxOutset, bottom, right + kBoxOutset, bottom + mFooter);
        if (mBands.footer != nullptr)
            mBands.footer->PrintObjects(job, left, bottom);
    }
    mY = top;
}

bool TUserDefinedReport::PageEmpty(TBaseReport& job) const
{
    return mY <= job.SectionTop() + kEpsilon;
}

void TUserDefinedReport::Detail(TBaseReport& job)
{
    // A band taller than the whole text area overruns it rather than leave pages empty.
    if (job.SectionBottom() - mY < mDetail - kEpsilon && !PageEmpty(job))
        job.NewPage();
    BandBox(job, TReportBand::Detail, mY, mY + mDetail);
    if (mBands.detail != nullptr) {
        mBands.detail->RefreshData();
        mBands.detail->PrintObjects(job, job.SectionLeft(), mY);
        mBands.detail->StepCounters();
    }
    mY += mDetail;
}

void TUserDefinedReport::SetMemoFont(TBaseReport& job)
{
    job.SetLineHeightMethod(print::TLineHeightMethod::lhmFont);
    job.SetFont(mSettings.memoFontName, std::max(1, mSettings.memoFontSize));
    job.SetBold(mSettings.memoBold);
    job.SetItalic(mSettings.memoItalic);
}

void TUserDefinedReport::Memo(TBaseReport& job)
{
    SetMemoFont(job);
    // Wrapped at the text area's width in the memo font, so every line, however aligned, stays
    // inside the band's frame.
    const QStringList lines =
        TMemoLines::Break(mValues.Value("MEMO"), job.SectionRight() - job.SectionLeft(),
                          [&job](const QString& text) { return job.TextWidth(text); });
    qsizetype next = 0;
    while (next < lines.size()) {
        const double h = job.LineHeight();
        const auto fits = [&] {
            return int(std::floor((job.SectionBottom() - mY) / h + kEpsilon));
        };
        int k = std::max(0, fits());
        if (k == 0 && !PageEmpty(job)) {
            job.NewPage();
            SetMemoFont(job);
            k = std::max(0, fits());
        }
        // A line taller than the whole text area prints alone on a page, over the footer;
        // starting another page would never end.
        k = int(std::clamp<qsizetype>(k, 1, lines.size() - next));
        const double d = job.LineBottom() - job.YPos();
        BandBox(job, TReportBand::Memo, mY, mY + k * h + d);

        const double left = job.SectionLeft();
        const double right = job.SectionRight();
        const double middle = left + (right - left) / 2;
        job.GotoXY(left, mY);
        job.NewLine();
        for (int i = 0; i < k; ++i, ++next) {
            const QString& line = lines[next];
            switch (mSettings.memoAlignment) {
            case TMemoAlignment::Left:
                job.TextLeft(line, left);
                break;
            case TMemoAlignment::Right:
                job.TextRight(line, right);
                break;
            case TMemoAlignment::Centre:
                job.TextCenter(line, middle);
                break;
            }
            job.NewLine();
            mY += h;
        }
        mY += d;
        if (next < lines.size()) {
            job.NewPage();
            SetMemoFont(job);
        }
    }
}

void TUserDefinedReport::BandBox(TBaseReport& job, TReportBand band, double top, double bottom)
{
    const TBandFrame& frame = mSettings.Frame(band);
    const double left = job.SectionLeft() - kBoxOutset;
    const double right = job.SectionRight() + kBoxOutset;
    Shade(job, frame, left, top, right, bottom);
    Borders(job, frame, left, top, right, bottom);
}

void TUserDefinedReport::Shade(TBaseReport& job, const TBandFrame& frame, double left, double top,
                               double right, double bottom)
{
    if (frame.shadePercent <= 0)
        return;
    job.SetPen(print::kBlack, print::TPenStyle::psClear, print::TPenMode::pmCopy, 1);
    job.SetBrush(print::TColor::FromQColor(
                     TReportSettings::ShadeColor(frame.shadeColor, frame.shadePercent)),
                 print::TBrushStyle::bsSolid);
    job.FillRect(left + 0.01, top + 0.01, right, bottom);
    job.SetBrush(print::kWhite, print::TBrushStyle::bsClear);
}

void TUserDefinedReport::Borders(TBaseReport& job, const TBandFrame& frame, double left, double top,
                                 double right, double bottom)
{
    if (!frame.left && !frame.top && !frame.right && !frame.bottom)
        return;
    const int width = std::clamp(frame.lineWidth, 1, 3);
    // Lines of 2 and 3 hundredths are drawn inset by as many printer pixels, keeping them
    // inside the box.
    const double insetX = width >= 2 ? width / job.XDpi() : 0;
    const double insetY = width >= 2 ? width / job.YDpi() : 0;
    left += insetX;
    right -= insetX;
    top += insetY;
    bottom -= insetY;
    job.SetPen(print::kBlack, print::TPenStyle::psSolid, print::TPenMode::pmCopy, -width);
    const auto line = [&job](double x1, double y1, double x2, double y2) {
        job.MoveTo(x1, y1);
        job.LineTo(x2, y2);
    };
    if (frame.top)
        line(left, top, right, top);
    if (frame.right)
        line(right, top, right, bottom);
    if (frame.bottom)
        line(left, bottom, right, bottom);
    if (frame.left)
        line(left, top, left, bottom);
}

} // namespace qm::reports
