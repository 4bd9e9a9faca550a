#pragma once

// The envelope designer's zoom: 60 % to 140 % in steps of 10 %, starting at 100 %. Kept as a
// whole percentage so that both ends are reached exactly (in 32-bit floats 1.0 + 4 x 0.1 is
// 1.4000001, which a range test on the float refuses, stopping the zoom at 130 %). A step that
// would leave the range does nothing.

#include <QString>

namespace qm::envelopes {

class TEnvelopeZoom {
public:
    static constexpr int kMinPercent = 60;
    static constexpr int kMaxPercent = 140;
    static constexpr int kStepPercent = 10;

    int Percent() const { return mPercent; }
    // The panel scale for TGBasePanel::SetScale.
    float Scale() const { return float(mPercent) / 100.0f; }
    // "100%".
    QString Caption() const { return QString::number(mPercent) + QLatin1Char('%'); }

    // One step in or out; false (and no change) at the end of the range.
    bool In() { return Step(kStepPercent); }
    bool Out() { return Step(-kStepPercent); }

private:
    bool Step(int delta)
    {
        const int next = mPercent + delta;
        if (next < kMinPercent || next > kMaxPercent)
            return false;
        mPercent = next;
        return true;
    }

    int mPercent = 100;
};

} // namespace qm::envelopes
