#include "reports/TReportPage.h"

#include "print/TBaseReport.h"
#include "print/TTextMeasure.h"

#include <memory>

namespace qm::reports {

void TReportPage::PrepareJob(print::TBaseReport& job)
{
    // A line is the font size / 60 in (Arial 9 pt: 0.15 in), as the report windows always
    // printed, not the canvas's default six lines an inch.
    job.SetLineHeightMethod(print::TLineHeightMethod::lhmFont);
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

double TReportPage::Ascent(print::TBaseReport& job)
{
    // One measure per resolution; the last font asked for and its ascent are kept, as every
    // cell of a row asks again.
    static std::unique_ptr<print::TTextMeasure> measure;
    static print::TFontState lastFont;
    static double lastAscent = 0;
    const print::TFontState& f = job.Font();
    if (!measure || measure->Dpi() != job.YDpi()) {
        measure = std::make_unique<print::TTextMeasure>(job.YDpi());
    } else if (f.name == lastFont.name && f.sizePoints == lastFont.sizePoints &&
               f.pitch == lastFont.pitch && f.bold == lastFont.bold &&
               f.italic == lastFont.italic) {
        return lastAscent * job.UnitsFactor();
    }
    print::TPainterFont font;
    font.name = f.name;
    font.heightInches = f.sizePoints / 72.0;
    font.pitch = f.pitch;
    font.bold = f.bold;
    font.italic = f.italic;
    measure->SetFont(font);
    lastFont = f;
    lastAscent = measure->Ascent();
    return lastAscent * job.UnitsFactor();
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
    // The clipped text is placed by the top of its cell; the line position is its baseline.
    job.TextInRect(job.MakeRect(x, y - height, right, y + height), x, y - Ascent(job), text);
}

void TReportPage::HorizontalLine(print::TBaseReport& job, double x1, double x2, double y)
{
    job.MoveTo(x1, y);
    job.LineTo(x2, y);
}

} // namespace qm::reports
