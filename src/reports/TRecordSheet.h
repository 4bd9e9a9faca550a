#pragma once

// The current-record sheet: one line per chosen field (label in bold, value beside it) and
// the memo in italics below a separator, continued on further pages after a fresh page header.
//
// Contract: the data set stands on the record to print. Attach() clears the job's other
// handlers. KeepGoing is asked before each memo line after the first page.

#include <QDate>
#include <QString>
#include <array>
#include <functional>

namespace qm::data {
class TDataSet;
}
namespace qm::print {
class TBaseReport;
}

namespace qm::reports {

struct TSheetField {
    const char* caption; // the check box
    const char* label;   // printed in bold
    const char* field;   // address file field; "DisplayDate" for the date, "MEMO" for the memo
};

class TRecordSheet {
public:
    static constexpr int kFieldCount = 21;
    static constexpr const char* kJobTitle = "Single Record Report";

    static const std::array<TSheetField, kFieldCount>& Fields();
    // Index of a check box caption (exact text), -1 when none.
    static int FieldIndex(const QString& caption);

    TRecordSheet(data::TDataSet& dataSet, std::array<bool, kFieldCount> chosen,
                 QDate today = QDate::currentDate());

    void Attach(print::TBaseReport& job);
    void SetKeepGoing(std::function<bool()> keepGoing) { mKeepGoing = std::move(keepGoing); }
    bool Stopped() const { return mStopped; }

    void Print(print::TBaseReport& job);

private:
    void PageHeader(print::TBaseReport& job);
    void MemoBlock(print::TBaseReport& job);
    void DefineMemoTab(print::TBaseReport& job, unsigned borders);
    QString Value(const TSheetField& field) const;

    data::TDataSet& mDataSet;
    std::array<bool, kFieldCount> mChosen;
    QDate mToday;
    std::function<bool()> mKeepGoing;
    bool mStopped = false;
};

} // namespace qm::reports
