#include "data/TAddressFileRebuild.h"

#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TErrorReason.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cmath>

namespace qm::data {

int TTagPhaseProgress::Report(int tagIndex, int percent)
{
    if (tagIndex != mTag) {
        mTag = tagIndex;
        mLastPercent = 0;
    }
    if (percent > mLastPercent) {
        mSum += percent - mLastPercent;
        mLastPercent = percent;
    }
    // Halves go to the even neighbour (the default rounding mode).
    const long value = std::lrint(double(mSum) / kDivisor);
    return int(std::clamp(value, 0L, 100L));
}

QString TAddressFileRebuild::Run(TDataSet& dataSet, const TCallbacks& callbacks)
{
    const auto text = [&](const char* t) {
        if (callbacks.text)
            callbacks.text(QString::fromLatin1(t));
    };
    const auto bar = [&](int value) {
        if (callbacks.bar)
            callbacks.bar(value);
    };
    if (dataSet.Editing())
        dataSet.Cancel();
    text("Cleaning out old deleted records");
    try {
        // The index file stays while the records are packed (marked out of date by the pack)
        // until the new one takes its place.
        dataSet.Table().CloseIndexes();
        dataSet.Cursor().SetOrder(0);
        dataSet.Table().Pack([&](int percent) { bar(percent); });
    } catch (const xbase::TXbaseError& error) {
        dataSet.First();
        return TErrorReason::WithReason(QStringLiteral("Unable to create index files"),
                                        TErrorReason::Of(error));
    }
    text("Rebuilding indexes");
    bar(0);
    TTagPhaseProgress phase;
    QString message;
    const bool built = TAddressFile::BuildTags(
        dataSet.Table(), [&](int tag, int percent) { bar(phase.Report(tag, percent)); }, &message);
    dataSet.First();
    return built ? QString() : message;
}

} // namespace qm::data
