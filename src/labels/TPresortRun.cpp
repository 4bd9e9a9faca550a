#include "labels/TPresortRun.h"

#include "data/TApollo.h"
#include "data/TDataSet.h"
#include "labels/TCursorLabelRecords.h"
#include "labels/TPresortFile.h"
#include "xbase/TTable.h"

#include <QFile>

namespace qm::labels {
namespace {

// Puts the order back and turns turbo read off, also when the run ends with an error.
class TNaturalOrderScope {
public:
    explicit TNaturalOrderScope(data::TApollo& apollo)
        : mApollo(apollo), mOrder(apollo.IndexOrd()), mRecNo(apollo.DataSet().RecNo())
    {
        mApollo.SetOrder(0);
        mApollo.SetTurboRead(true);
    }
    ~TNaturalOrderScope()
    {
        try {
            mApollo.SetTurboRead(false);
            if (mApollo.IndexOrd() != mOrder)
                mApollo.SetOrder(mOrder);
            if (mRecNo != 0)
                mApollo.DataSet().GoTo(mRecNo);
        } catch (...) {
        }
    }
    TNaturalOrderScope(const TNaturalOrderScope&) = delete;
    TNaturalOrderScope& operator=(const TNaturalOrderScope&) = delete;

private:
    data::TApollo& mApollo;
    int mOrder;
    uint32_t mRecNo;
};

} // namespace

TPresortRun::TPresortRun(data::TApollo& apollo, QString presortPath)
    : mApollo(apollo), mPath(std::move(presortPath))
{
}

QString TPresortRun::LeftOutMessage(uint64_t records)
{
    // They are left out of the presort list, which is all a presorted job prints.
    return QStringLiteral("%1 record(s) have no valid ZIP code and are not printed at all in a "
                          "presorted job.")
        .arg(records);
}

TPresortRun::TOutcome TPresortRun::Run(const std::atomic<bool>& cancel, const TStatus& status,
                                       const TPump& pump)
{
    const auto show = [&](const QString& text) {
        if (status)
            status(text);
        if (pump)
            pump();
    };
    mError.clear();
    mCounts = {};
    TPresort presort;
    bool read = false;
    try {
        data::TDataSet& ds = mApollo.DataSet();
        TNaturalOrderScope natural(mApollo);
        show(QStringLiteral("Reading database records..."));
        TCursorLabelRecords records(ds.Cursor(), ds.Table().FieldIndex("ZIP"));
        read = presort.Read(
            records, [&](uint32_t recNo) { show(QStringLiteral("Reading record %1").arg(recNo)); },
            &cancel);
    } catch (const std::exception& e) {
        mError = QString::fromLocal8Bit(e.what());
        return TOutcome::Failed;
    }
    mCounts = presort.Counts();
    if (!read || cancel.load())
        return TOutcome::Cancelled;

    show(QStringLiteral("Sorting Zip Codes..."));
    if (cancel.load())
        return TOutcome::Cancelled;
    const QStringList lines = presort.List();
    mCounts = presort.Counts();
    if (!TPresortFile::Write(mPath, lines, &mError, &cancel))
        return mError.isEmpty() ? TOutcome::Cancelled : TOutcome::Failed;
    if (pump)
        pump();
    if (cancel.load()) {
        // Answered after the list was written: the run leaves no list behind.
        QFile::remove(mPath);
        return TOutcome::Cancelled;
    }
    return TOutcome::Finished;
}

} // namespace qm::labels
