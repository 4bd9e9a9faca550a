#pragma once

// Lets pending window messages run during long work, at most every ~30 ms, so progress shows
// and buttons answer without slowing the loop down.

#include <QElapsedTimer>

namespace qm::data {

class TEventPump {
public:
    TEventPump();
    // Runs pending events when ~30 ms have passed since the last time (or always when forced).
    void Pump(bool force = false);

private:
    QElapsedTimer mSince;
};

} // namespace qm::data
