#pragma once

// Cleaning out and reindexing the open address file: the index file is deleted, the records
// carrying the deletion mark are packed away (the bar shows the pack's own percentage), then the
// 26 tags are built again (the bar shows the running sum of the per-tag increases divided by 21,
// rounded: it is full before the last tags are done and stays full).

#include <QString>
#include <functional>

namespace qm::data {

class TDataSet;

// Turns per-tag percentages into the bar's value.
class TTagPhaseProgress {
public:
    static constexpr int kDivisor = 21;
    // The bar value after tag tagIndex (0-based, in creation order) reports percent.
    int Report(int tagIndex, int percent);

private:
    int mTag = -1;
    int mLastPercent = 0;
    long mSum = 0;
};

class TAddressFileRebuild {
public:
    struct TCallbacks {
        std::function<void(const QString& text)> text; // "Cleaning out old deleted records", ...
        std::function<void(int value)> bar;            // 0..100
    };

    // Runs on the data set's open table. Returns an empty text, or the message to show
    // ("Unable to create index files" with the engine's reason on a second line).
    static QString Run(TDataSet& dataSet, const TCallbacks& callbacks);
};

} // namespace qm::data
