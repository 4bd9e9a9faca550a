#pragma once

// The ZIP code count report: the tally's lines in four shaded columns per page, with a framed
// text area, the report's name above it and the page number below.
//
// Contract: Attach() clears the job's other handlers. KeepGoing is asked after each line (the
// windows let events run there); false stops the run as the preview's "Stop" does.

#include <QStringList>
#include <functional>

namespace qm::print {
class TBaseReport;
}

namespace qm::reports {

class TZipReport {
public:
    static constexpr int kColumns = 4;
    static constexpr double kColumnWidth = 1.875;

    explicit TZipReport(QStringList lines) : mLines(std::move(lines)) {}

    void Attach(print::TBaseReport& job);
    void SetKeepGoing(std::function<bool()> keepGoing) { mKeepGoing = std::move(keepGoing); }
    bool Stopped() const { return mStopped; }

    void Print(print::TBaseReport& job);

private:
    void PageHeader(print::TBaseReport& job);
    // The rectangle around the text area and the lines between the columns.
    void Frame(print::TBaseReport& job);
    void DefineTabs(print::TBaseReport& job, int column, int shade);

    QStringList mLines;
    std::function<bool()> mKeepGoing;
    bool mStopped = false;
};

} // namespace qm::reports
