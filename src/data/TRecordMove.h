#pragma once

// The record buttons of the design and preview windows (first, prior, next, last) on their data
// set. A move the engine cannot make (a record it cannot read) comes back as its reason for the
// window to show; the data set stays usable and where the engine left it.

#include <QString>

namespace qm::data {

class TDataSet;

enum class TRecordStep { First, Prior, Next, Last };

class TRecordMove {
public:
    // The reason the move failed; empty when it was made (or the data set is closed).
    static QString Step(TDataSet& dataSet, TRecordStep step);
};

} // namespace qm::data
