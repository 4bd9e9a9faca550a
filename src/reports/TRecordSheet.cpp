#include "reports/TRecordSheet.h"

#include "data/TCalculatedFields.h"
#include "data/TDataSet.h"
#include "print/TBaseReport.h"
#include "reports/TMemoLines.h"
#include "reports/TReportPage.h"

namespace qm::reports {

using print::TBaseReport;
using print::TTabJustify;

const std::array<TSheetField, TRecordSheet::kFieldCount>& TRecordSheet::Fields()
{
    static const std::array<TSheetField, kFieldCount> fields = {{
        {"Prefix", "Prefix", "PREFIX"},
        {"Last", "Last", "LNAME"},
        {"First", "First", "FNAME"},
        {"Middle", "Middle", "MIDDLE"},
        {"Title", "Title", "TITLE"},
        {"Organization", "Organization", "ORG"},
        {"Address 1", "Address 1", "STREET"},
        {"Address 2", "Address 2", "STREET2"},
        {"City", "City", "CITY"},
        {"State/Province", "State", "STATE"},
        {"Zip/Postal Code", "Zip/Postal", "ZIP"},
        {"Country", "Country", "COUNTRY"},
        {"Phone 1", "Phone 1", "PHONE"},
        {"Phone 2", "Phone 2", "PHONE2"},
        {"Fax", "Fax", "FAX"},
        {"E-mail", "E-Mail", "EMAIL"},
        {"Comment 1", "Comment 1", "USER1"},
        {"Comment 2", "Comment 2", "USER2"},
        {"Codes", "Codes", "CODES"},
        {"Date", "Date", "DisplayDate"},
        {"Memo", "", "MEMO"},
    }};
    return fields;
}

int TRecordSheet::FieldIndex(const QString& caption)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (caption == QLatin1String(Fields()[size_t(i)].caption))
            return i;
    return -1;
}

TRecordSheet::TRecordSheet(data::TDataSet& dataSet, std::array<bool, kFieldCount> chosen,
                           QDate today)
    : mDataSet(dataSet), mChosen(chosen), mToday(today)
{
}

void TRecordSheet::Attach(TBaseReport& job)
{
    job.ClearHandlers();
    job.SetTitle(QString::fromLatin1(kJobTitle));
    job.OnBeforePrint = [](TBaseReport& r) { TReportPage::PrepareJob(r); };
    job.OnPrint = [this](TBaseReport& r) { Print(r); };
}

QString TRecordSheet::Value(const TSheetField& field) const
{
    if (qstrcmp(field.field, "DisplayDate") == 0)
        return data::TCalculatedFields::DisplayDate(mDataSet.AsString(QStringLiteral("DATE")));
    return mDataSet.AsString(QString::fromLatin1(field.field));
}

void TRecordSheet::PageHeader(TBaseReport& job)
{
    const auto resetArea = [&job] {
        job.SetSectionLeft(job.MarginLeft());
        job.SetSectionRight(job.PageWidth() - job.MarginRight());
        job.SetSectionTop(job.MarginTop());
        job.SetSectionBottom(job.PageHeight() - job.MarginBottom());
    };
    job.SetMarginTop(0.5);
    resetArea();
    job.Home();
    job.TextRight(QStringLiteral("Page ") + QString::number(job.CurrentPage()), job.SectionRight());
    job.NewLine();
    job.TextRight(TReportPage::DateText(mToday), job.SectionRight());
    job.SetMarginTop(1.0);
    resetArea();
    TReportPage::HorizontalLine(job, job.SectionLeft(), job.SectionRight(), job.SectionTop());
    TReportPage::HorizontalLine(job, job.SectionLeft(), job.SectionRight(), job.SectionBottom());
    job.Home();
    job.NewLine();
}

void TRecordSheet::Print(TBaseReport& job)
{
    mStopped = false;
    job.SetFont(QStringLiteral("Times New Roman"), 10);
    job.SetBold(false);
    job.SetItalic(false);
    job.SetMarginLeft(1.0);
    job.SetMarginRight(1.0);
    job.SetMarginTop(1.0);
    job.SetMarginBottom(1.0);
    job.ClearTabs();
    job.SetTab(job.MarginLeft(), TTabJustify::Left, 1.25, 2, 0, 0);
    job.SetTab(-1, TTabJustify::Left, 5.25, 2, 0, 0);
    PageHeader(job);
    for (int i = 0; i + 1 < kFieldCount; ++i) {
        if (!mChosen[size_t(i)])
            continue;
        const TSheetField& field = Fields()[size_t(i)];
        job.NextTab();
        job.SetBold(true);
        job.PrintText(QString::fromLatin1(field.label));
        job.SetBold(false);
        job.NextTab();
        TReportPage::ClippedCell(job, Value(field), 5.25);
        job.NewLine();
    }
    job.NewLine();
    if (mChosen[kFieldCount - 1])
        MemoBlock(job);
}

void TRecordSheet::DefineMemoTab(TBaseReport& job, unsigned borders)
{
    job.SetTab(job.MarginLeft(), TTabJustify::Left, job.SectionRight() - job.SectionLeft(), 2,
               borders, 0);
}

void TRecordSheet::MemoBlock(TBaseReport& job)
{
    job.SetItalic(true);
    const double width = job.PageWidth() - job.MarginLeft() - job.MarginRight();
    const QStringList lines =
        TMemoLines::Break(mDataSet.AsString(QStringLiteral("MEMO")), width,
                          [&job](const QString& text) { return job.TextWidth(text); });
    if (lines.isEmpty()) {
        job.SetItalic(false);
        return;
    }
    job.SaveTabs();
    job.ClearTabs();
    // An empty line whose box has a bottom border: the separator above the memo.
    DefineMemoTab(job, print::kBoxBottom);
    job.NextTab();
    job.NewLine();
    job.ClearTabs();
    DefineMemoTab(job, 0);
    for (const QString& line : lines) {
        if (job.LinesLeft() == 0) {
            if (mKeepGoing && !mKeepGoing()) {
                mStopped = true;
                break;
            }
            job.RestoreTabs();
            job.SetItalic(false);
            job.NewPage();
            PageHeader(job);
            job.SaveTabs();
            job.ClearTabs();
            job.SetItalic(true);
            DefineMemoTab(job, 0);
        }
        job.NextTab();
        job.PrintText(line);
        job.NewLine();
    }
    job.RestoreTabs();
    job.SetItalic(false);
}

} // namespace qm::reports
