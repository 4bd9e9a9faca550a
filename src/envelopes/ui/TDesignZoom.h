#pragma once

// The envelope designer's zoom, kept as a whole percentage so that both ends of the range are
// reached exactly: steps of 10 % from 60 % to 140 %, starting at 100 %. A step that would leave
// the range does nothing. (Adding 0.1 to a float scale four times gives 1.4000001, which a
// range test on floats would refuse.)

#include <QString>

namespace qm::envelopes {

class TDesignZoom {
public:
    static constexpr int kMinPercent = 60;
    static constexpr int kMaxPercent = 140;
    static constexpr int kStepPercent = 10;

    int Percent() const { return mPercent; }
    // The panel scale of the percentage.
    float Scale() const { return float(mPercent) / 100.0f; }
    // "100%".
    QString Caption() const;
    // True when the zoom changed.
    bool ZoomIn();
    bool ZoomOut();

private:
    int mPercent = 100;
};

} // namespace qm::envelopes
