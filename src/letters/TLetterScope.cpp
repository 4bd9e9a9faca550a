#include "letters/TLetterScope.h"

#include "data/TDataSet.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

namespace qm::letters {

TLetterScope::TLetterScope(data::TDataSet& dataSet) : mSet(dataSet)
{
    mRecNo = mSet.RecNo();
    mQuery = mSet.Cursor().Query();
}

TLetterScope::~TLetterScope()
{
    try {
        xbase::TCursor& cursor = mSet.Cursor();
        if (cursor.Query() != mQuery) {
            cursor.SetQuery(mQuery);
            cursor.GoTop();
            mSet.Resync();
        }
        if (mRecNo > 0)
            mSet.GoTo(mRecNo);
    } catch (...) {
        // As after any window: a failure to put the table back is ignored.
    }
}

QString TLetterScope::OutOfRangeMessage()
{
    return QStringLiteral("Current record is out of range. Starting with first record");
}

bool TLetterScope::Shown(uint32_t recNo)
{
    xbase::TCursor& cursor = mSet.Cursor();
    const std::string query = cursor.Query();
    const std::string test =
        (query.empty() ? std::string("RECNO()=") : "(" + query + ").and. RECNO()=") +
        std::to_string(recNo);
    bool shown = false;
    try {
        cursor.SetQuery(test);
        cursor.GoTop();
        shown = !cursor.Eof();
        cursor.SetQuery(query);
    } catch (const xbase::TXbaseError&) {
        // A filter near the query's length limit leaves no room for the test: walk the set.
        cursor.SetQuery(query);
        for (cursor.GoTop(); !cursor.Eof() && !shown; cursor.Skip(1))
            shown = cursor.RecNo() == recNo;
    }
    return shown;
}

QString TLetterScope::Apply(TLetterWhat what, bool startFromCurrent)
{
    xbase::TCursor& cursor = mSet.Cursor();
    if (what == TLetterWhat::AllRecords) {
        cursor.SetQuery(kAllRecordsQuery);
        cursor.GoTop();
        mSet.Resync();
    }
    QString message;
    if (startFromCurrent) {
        if (mRecNo > 0 && Shown(mRecNo)) {
            mSet.GoTo(mRecNo);
        } else {
            message = OutOfRangeMessage();
            mSet.First();
        }
    } else if (what != TLetterWhat::CurrentRecord) {
        mSet.First();
    } else if (mRecNo > 0) {
        mSet.GoTo(mRecNo);
    }
    return message;
}

} // namespace qm::letters
