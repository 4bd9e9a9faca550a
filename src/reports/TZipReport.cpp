#include "reports/TZipReport.h"

#include "print/TBaseReport.h"
#include "reports/TBuiltInReport.h"
#include "reports/TReportPage.h"

namespace qm::reports {

using print::TBaseReport;
using print::TTabJustify;

void TZipReport::Attach(TBaseReport& job)
{
    job.ClearHandlers();
    job.SetTitle(QString::fromLatin1(TBuiltInReport::kJobTitle));
    job.OnBeforePrint = [](TBaseReport& r) { TReportPage::PrepareJob(r); };
    job.OnPrint = [this](TBaseReport& r) { Print(r); };
}

void TZipReport::DefineTabs(TBaseReport& job, int column, int shade)
{
    job.ClearTabs();
    const double left = job.MarginLeft() + kColumnWidth * column;
    job.SetTab(left, TTabJustify::Left, 0.625, 5, 0, shade);
    job.SetTab(-1, TTabJustify::Right, 0.625, 5, 0, shade);
    job.SetTab(-1, TTabJustify::Left, 0.625, 5, 0, shade);
}

void TZipReport::PageHeader(TBaseReport& job)
{
    job.SetOriginX(0);
    const double top = job.SectionTop();
    const double bottom = job.SectionBottom();
    job.SetBold(true);
    job.SetYPos(top - 0.25);
    job.NewLine();
    job.TextLeft(QStringLiteral("Zip Code Count Report"), job.MarginLeft());
    job.SetBold(false);
    job.SetYPos(bottom);
    job.NewLine();
    job.TextLeft(QStringLiteral("Page ") + QString::number(job.CurrentPage()), job.MarginLeft());
    Frame(job);
    job.Home();
}

void TZipReport::Frame(TBaseReport& job)
{
    const double left = job.SectionLeft();
    const double right = job.SectionRight();
    const double top = job.SectionTop();
    const double bottom = job.SectionBottom();
    TReportPage::HorizontalLine(job, left, right, top);
    TReportPage::HorizontalLine(job, left, right, bottom);
    for (int c = 0; c <= kColumns; ++c) {
        const double x = c == kColumns ? right : left + kColumnWidth * c;
        job.MoveTo(x, top);
        job.LineTo(x, bottom);
    }
}

void TZipReport::Print(TBaseReport& job)
{
    mStopped = false;
    job.SetFont(QStringLiteral("Arial"), 10);
    job.SetMarginLeft(0.5);
    job.SetMarginRight(0.5);
    job.SetMarginTop(1.0);
    job.SetMarginBottom(1.0);
    job.SetSectionLeft(0.5);
    job.SetSectionRight(job.PageWidth() - 0.5);
    job.SetSectionTop(1.0);
    job.SetSectionBottom(job.PageHeight() - 1.0);
    PageHeader(job);
    int column = 0;
    int line = 0;
    for (const QString& text : mLines) {
        if (job.Aborted())
            break;
        if (job.LinesLeft() == 0) {
            if (++column == kColumns) {
                // The shaded cells were painted over the frame: it goes on top again.
                Frame(job);
                job.NewPage();
                job.SetSectionLeft(0.5);
                job.SetSectionRight(job.PageWidth() - 0.5);
                job.SetSectionTop(1.0);
                job.SetSectionBottom(job.PageHeight() - 1.0);
                PageHeader(job);
                column = 0;
            } else {
                job.Home();
            }
            line = 0;
        }
        ++line;
        DefineTabs(job, column, line % 2 == 1 ? 5 : 0);
        job.NextTab();
        job.PrintText(text.left(5));
        job.NextTab();
        // The whole count, however many digits it has.
        job.PrintText(text.mid(5).trimmed());
        job.NextTab();
        job.NewLine();
        if (mKeepGoing && !mKeepGoing()) {
            mStopped = true;
            break;
        }
    }
    Frame(job);
}

} // namespace qm::reports
