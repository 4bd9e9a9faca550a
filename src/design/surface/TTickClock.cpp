#include "design/surface/TTickClock.h"

#include <chrono>

namespace qm::design {

namespace {

TTickClock::TSource& Source()
{
    static TTickClock::TSource source;
    return source;
}

} // namespace

std::int64_t TTickClock::Now()
{
    if (Source())
        return Source()();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TTickClock::SetSource(TSource source)
{
    Source() = std::move(source);
}

} // namespace qm::design
