#include "reports/TReportPage.h"

#include "print/TBaseReport.h"

namespace qm::reports {

void TReportPage::PrepareJob(print::TBaseReport& job)
{
    job.SetMarginLeft(0.5);
    job.SetMarginRight(0.5);
    job.SetMarginTop(0.5);
    job.SetMarginBottom(0.5);
    job.SetStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
    job.StatusText() = QStringList{QString(), QString()};
}

QString TReportPage::DateText(const QDate& date)
{
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

void TReportPage::MoveToTab(print::TBaseReport& job, int& current, int tab)
{
    while (current < tab) {
        job.NextTab();
        ++current;
    }
}

void TReportPage::ClippedCell(print::TBaseReport& job, const QString& text, double width)
{
    if (text.isEmpty())
        return;
    const double x = job.XPos() + 0.02;
    const double y = job.YPos();
    const double height = job.Font().sizePoints / 72.0;
    const double right = x + width - 0.2;
    if (right <= x)
        return;
    job.TextInRect(job.MakeRect(x, y - height, right, y + height), x, y, text);
}

void TReportPage::HorizontalLine(print::TBaseReport& job, double x1, double x2, double y)
{
    job.MoveTo(x1, y);
    job.LineTo(x2, y);
}

} // namespace qm::reports
