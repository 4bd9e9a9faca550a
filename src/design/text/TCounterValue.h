#pragma once

// The running value of a counter object: the number it shows and how many printed items have
// shown it. Lives only in memory; the layout stream keeps the starting number alone.

#include <QString>

namespace qm::design {

class TCounterValue {
public:
    explicit TCounterValue(int startingNumber = 1) { Reset(startingNumber); }

    // Back to the starting number with no items counted.
    void Reset(int startingNumber)
    {
        mValue = startingNumber;
        mRepeat = 0;
    }
    // Counts one more printed item; every repeatEach items the value goes up by one. Returns true
    // when the value changed. A repeat figure below 1 (only a damaged layout holds one) counts
    // every item, so the counter never stalls.
    bool Step(int repeatEach);

    int Value() const { return mValue; }
    int RepeatCount() const { return mRepeat; }

    // textBefore + the value with at least leadingZeros digits (zero padded; plain decimal for
    // 0) + textAfter. A negative value keeps its sign in front of the padded digits.
    static QString Caption(const QString& textBefore, int value, int leadingZeros,
                           const QString& textAfter);

private:
    int mValue = 1;
    int mRepeat = 0;
};

} // namespace qm::design
