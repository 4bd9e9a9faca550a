#include "reports/TBuiltInReport.h"

#include "data/TDataSet.h"
#include "print/TBaseReport.h"
#include "reports/TBuiltInLayouts.h"
#include "reports/TMemoLines.h"
#include "reports/TRecordValues.h"
#include "reports/TReportCells.h"
#include "reports/TReportPage.h"

namespace qm::reports {

using print::TBaseReport;
using print::TTabJustify;

TBuiltInReport::TBuiltInReport(data::TDataSet& dataSet, const TBuiltInReportOptions& options)
    : mDataSet(dataSet), mValues(dataSet), mOptions(options),
      mLayout(TBuiltInLayouts::Get(options.report))
{
}

void TBuiltInReport::Attach(TBaseReport& job)
{
    job.ClearHandlers();
    job.SetTitle(QString::fromLatin1(kJobTitle));
    job.OnBeforePrint = [](TBaseReport& r) { TReportPage::PrepareJob(r); };
    job.OnPrint = [this](TBaseReport& r) { Print(r); };
}

void TBuiltInReport::DefineTabs(TBaseReport& job)
{
    job.ClearTabs();
    for (int tab = 1; tab <= 4; ++tab)
        job.SetTab(TBuiltInLayouts::TabLeft(mLayout, tab), TTabJustify::Left,
                   mLayout.tabWidths[size_t(tab - 1)], 2, 0, 0);
}

void TBuiltInReport::Print(TBaseReport& job)
{
    mStopped = false;
    mRecords = 0;
    job.SetMarginLeft(TBuiltInLayouts::kLeftMargin);
    job.SetFont(QStringLiteral("Arial"), mLayout.rowPoints);
    job.SetBold(false);
    job.SetItalic(false);
    mMemoWidth = job.PageWidth() - job.MarginLeft() - 1.0 - 0.25;
    DefineTabs(job);
    PageHeader(job);

    bool atEnd = mStartAtEnd || mDataSet.IsEmpty();
    while (!atEnd && !job.Aborted()) {
        if (mKeepGoing && !mKeepGoing()) {
            mStopped = true;
            break;
        }
        if (job.Aborted())
            break;
        if (job.LinesLeft() < (mLayout.number == 4 ? 3 : 1))
            NewPage(job);
        job.SetBold(false);
        Record(job);
        CodesBlock(job);
        MemoBlock(job);
        if (mLayout.number == 4 && job.LinesLeft() >= 4) {
            job.SetPen(print::TColor::Rgb(0xC0, 0xC0, 0xC0), print::TPenStyle::psSolid,
                       print::TPenMode::pmCopy, 1);
            TReportPage::HorizontalLine(job, job.SectionLeft(), job.SectionRight(), job.YPos());
            job.SetPen(print::kBlack, print::TPenStyle::psSolid, print::TPenMode::pmCopy, 1);
            job.NewLine();
        }
        ++mRecords;
        mDataSet.Next();
        atEnd = mDataSet.Eof();
    }
}

void TBuiltInReport::NewPage(TBaseReport& job)
{
    job.NewPage();
    PageHeader(job);
}

void TBuiltInReport::PageHeader(TBaseReport& job)
{
    job.SetSectionLeft(job.MarginLeft());
    job.SetSectionRight(job.PageWidth() - job.MarginRight());
    job.SetSectionTop(job.MarginTop());
    job.SetSectionBottom(job.PageHeight() - job.MarginBottom());
    job.SetFont(QStringLiteral("Times New Roman"), 14);
    job.SetBold(true);
    job.SetItalic(false);
    job.Home();
    if (!mOptions.title.isEmpty())
        job.TextLeft(mOptions.title, job.SectionLeft());
    job.TextRight(QStringLiteral("Page ") + QString::number(job.CurrentPage()), job.SectionRight());
    job.NewLine();
    job.TextRight(TReportPage::DateText(mOptions.today), job.SectionRight());

    job.SetFont(QStringLiteral("Arial"), 9);
    job.SetBold(true);
    job.SetYPos(job.MarginTop() + mLayout.headingOffset);
    job.NewLine();
    for (int line = 1; line <= mLayout.headingLines; ++line) {
        if (line > 1)
            job.NewLine();
        int tab = 0;
        for (const TReportHeading& heading : mLayout.headings) {
            if (heading.line != line)
                continue;
            TReportPage::MoveToTab(job, tab, heading.tab);
            job.PrintText(QString::fromLatin1(heading.text));
        }
    }

    // The rows go on in the report's own font, whatever the header used.
    job.SetFont(QStringLiteral("Arial"), mLayout.rowPoints);
    job.SetBold(false);
    job.SetItalic(false);
    const double top = job.MarginTop() + 1.0;
    const double bottom = job.PageHeight() - job.MarginBottom() - 0.5;
    const double left = job.MarginLeft();
    const double right = job.PageWidth() - job.MarginLeft() + job.MarginRight();
    job.SetSectionTop(top);
    job.SetSectionBottom(bottom);
    job.SetSectionLeft(left);
    job.SetSectionRight(right);
    TReportPage::HorizontalLine(job, left, right, top);
    TReportPage::HorizontalLine(job, left, right, bottom);
    job.Home();
}

void TBuiltInReport::Record(TBaseReport& job)
{
    const auto value = [this](const char* field) { return mValues.Value(field); };
    for (const TReportLine& line : TReportCells::Lines(mLayout.number, value)) {
        int tab = 0;
        for (const TReportCell& cell : line) {
            TReportPage::MoveToTab(job, tab, cell.tab);
            TReportPage::ClippedCell(job, cell.text, cell.width);
        }
        job.NewLine();
    }
}

void TBuiltInReport::DefineBlockTab(TBaseReport& job, int shade)
{
    job.SetTab(job.MarginLeft(), TTabJustify::Left, job.SectionRight() - job.SectionLeft(), 2, 0,
               shade);
}

void TBuiltInReport::CodesBlock(TBaseReport& job)
{
    if (!mOptions.printCodes)
        return;
    const QString codes = mValues.Value("CODES");
    if (codes.isEmpty())
        return;
    if (job.LinesLeft() == 0)
        NewPage(job);
    job.SaveTabs();
    job.ClearTabs();
    DefineBlockTab(job, 5);
    job.NextTab();
    job.PrintText(QStringLiteral("Codes: ") + codes);
    job.NewLine();
    job.RestoreTabs();
}

void TBuiltInReport::MemoBlock(TBaseReport& job)
{
    if (!mOptions.printMemo)
        return;
    const QStringList lines =
        TMemoLines::Break(mValues.Value("MEMO"), mMemoWidth,
                          [&job](const QString& text) { return job.TextWidth(text); });
    if (lines.isEmpty())
        return;
    job.SaveTabs();
    job.ClearTabs();
    DefineBlockTab(job, 10);
    for (const QString& line : lines) {
        // A memo line never goes below the body area: the memo goes on after a fresh header.
        if (job.LinesLeft() == 0) {
            job.RestoreTabs();
            NewPage(job);
            job.SaveTabs();
            job.ClearTabs();
            DefineBlockTab(job, 10);
        }
        job.NextTab();
        job.PrintText(line);
        job.NewLine();
    }
    job.RestoreTabs();
}

} // namespace qm::reports
