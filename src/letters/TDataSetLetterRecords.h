#pragma once

// The letter run's record set over an opened data set in the order and query the caller set up:
// the run starts on the data set's current record and ends past its last shown record.

#include "data/TDataSet.h"
#include "letters/TLetterRecords.h"
#include "letters/TMergeTexts.h"

#include <QDate>
#include <QLocale>

namespace qm::letters {

class TDataSetLetterRecords : public TLetterRecords {
public:
    explicit TDataSetLetterRecords(data::TDataSet& dataSet) : mSet(dataSet) {}

    bool AtEnd() const override { return mSet.IsEmpty() || mPastEnd; }
    void Next() override
    {
        mSet.Next();
        mPastEnd = mSet.Eof();
    }

    // The merge texts of the current record for the given day.
    TMergeTexts Texts(const QDate& today, const QLocale& locale = QLocale()) const
    {
        return TMergeTexts::FromRecord([this](const QString& f) { return mSet.AsString(f); }, today,
                                       locale);
    }

private:
    data::TDataSet& mSet;
    bool mPastEnd = false;
};

} // namespace qm::letters
