#pragma once

// The routine that prints one of the four built-in list reports on a report canvas: page header
// with title, page number, date and column headings, the body area with its two rules, one
// clipped row (or report 4's three lines) per record, the codes and memo blocks and report 4's
// separator. Printer, preview, PDF and tests all draw through it.
//
// Contract: the data set stands on the first record to print (TReportRunScope); Attach() clears
// the job's other handlers and sets its before-print handler and print routine. KeepGoing is
// asked before each record (the windows let events run there); false stops the run as the
// preview's "Stop" does. Engine errors end the job and pass on.

#include "reports/TRecordValues.h"

#include <QDate>
#include <QString>
#include <functional>

namespace qm::data {
class TDataSet;
}
namespace qm::print {
class TBaseReport;
}

namespace qm::reports {

struct TBuiltInLayout;

struct TBuiltInReportOptions {
    int report = 1; // 1..4
    QString title = QStringLiteral("Report 1");
    bool printMemo = false;
    bool printCodes = false;
    QDate today = QDate::currentDate();
};

class TBuiltInReport {
public:
    static constexpr const char* kJobTitle = "Quillmark";

    TBuiltInReport(data::TDataSet& dataSet, const TBuiltInReportOptions& options);

    void Attach(print::TBaseReport& job);
    // Nothing to print from the start (the run scope passed every key).
    void SetStartAtEnd(bool atEnd) { mStartAtEnd = atEnd; }
    void SetKeepGoing(std::function<bool()> keepGoing) { mKeepGoing = std::move(keepGoing); }

    bool Stopped() const { return mStopped; }
    int Records() const { return mRecords; }

    // The steps, public for the user reports that reuse them.
    void Print(print::TBaseReport& job);
    void PageHeader(print::TBaseReport& job);

private:
    void NewPage(print::TBaseReport& job);
    void DefineTabs(print::TBaseReport& job);
    void Record(print::TBaseReport& job);
    void CodesBlock(print::TBaseReport& job);
    void MemoBlock(print::TBaseReport& job);
    void DefineBlockTab(print::TBaseReport& job, int shade);

    data::TDataSet& mDataSet;
    TRecordValues mValues;
    TBuiltInReportOptions mOptions;
    const TBuiltInLayout& mLayout;
    std::function<bool()> mKeepGoing;
    bool mStartAtEnd = false;
    bool mStopped = false;
    int mRecords = 0;
    double mMemoWidth = 0;
};

} // namespace qm::reports
