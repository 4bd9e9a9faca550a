#include "reports/TZipCount.h"

#include "data/TDataSet.h"
#include "reports/TZipTally.h"
#include "xbase/TCursor.h"
#include "xbase/TTable.h"

namespace qm::reports {
namespace {

// Puts back order and record of the table after the count, also after an error.
class TPositionKeeper {
public:
    explicit TPositionKeeper(data::TDataSet& dataSet)
        : mDataSet(dataSet), mOrder(dataSet.Cursor().Order()), mRecNo(dataSet.RecNo())
    {
    }
    ~TPositionKeeper()
    {
        try {
            xbase::TCursor& cursor = mDataSet.Cursor();
            cursor.SetTurboRead(false);
            cursor.SetOrder(mOrder);
            if (mRecNo != 0)
                mDataSet.GoTo(mRecNo);
            else
                mDataSet.Resync();
        } catch (...) {
        }
    }
    TPositionKeeper(const TPositionKeeper&) = delete;
    TPositionKeeper& operator=(const TPositionKeeper&) = delete;

private:
    data::TDataSet& mDataSet;
    int mOrder;
    uint32_t mRecNo;
};

} // namespace

bool TZipCount::Run(TZipTally& tally)
{
    constexpr int kPollEvery = 256;
    const auto status = [this](const QString& text) {
        if (mStatus)
            mStatus(text);
    };
    tally.Clear();
    bool cancelled = false;
    {
        TPositionKeeper keeper(mDataSet);
        xbase::TCursor& cursor = mDataSet.Cursor();
        xbase::TTable& table = mDataSet.Table();
        const int zip = table.FieldIndex("ZIP");
        cursor.SetOrder(0);
        cursor.SetTurboRead(true);
        cursor.GoTop();
        status(QStringLiteral("Reading database records..."));
        int sincePoll = 0;
        while (!cursor.Eof()) {
            tally.Add(zip >= 0 ? table.GetTrimmed(zip) : std::string_view());
            cursor.Skip(1);
            if (!cursor.Eof()) {
                const uint32_t recNo = cursor.RecNo();
                if (recNo % kStatusEvery == 0)
                    status(QStringLiteral("Reading record ") + QString::number(recNo));
            }
            if (++sincePoll == kPollEvery) {
                sincePoll = 0;
                if (mPoll && !mPoll()) {
                    cancelled = true;
                    break;
                }
            }
        }
        cursor.SetTurboRead(false);
    }
    if (cancelled) {
        tally.Clear();
        return false;
    }
    status(QStringLiteral("Sorting Zip Codes..."));
    return true;
}

} // namespace qm::reports
