// Fuzzes the Intelligent Mail encoder: the input, split at its first two newlines, is a tracking
// code, a routing code and an address line (UTF-8). Any text must be refused with a message or
// give 65 bars, never crash or read out of bounds, and the checks must agree with Encode:
//   - Encode succeeds exactly when TrackingProblem and RoutingProblem are both empty;
//   - a routing code Routing() derives from any ZIP and address is one Encode takes;
//   - a tracking code Tracking() builds is one Encode takes.

#include "design/barcode/TImbCode.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using qm::design::TImbBar;
using qm::design::TImbBars;
using qm::design::TImbCode;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool ValidBars(const TImbBars& bars)
{
    for (TImbBar bar : bars)
        if (bar != TImbBar::Full && bar != TImbBar::Ascender && bar != TImbBar::Descender &&
            bar != TImbBar::Tracker)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList parts =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size))
            .split(QLatin1Char('\n'));
    const QString first = parts.value(0);
    const QString second = parts.value(1);
    const QString third = parts.value(2);

    TImbBars bars{};
    QString problem;
    const bool encoded = TImbCode::Encode(first, second, &bars, &problem);
    Require(encoded == (TImbCode::TrackingProblem(first).isEmpty() &&
                        TImbCode::RoutingProblem(second).isEmpty()));
    Require(encoded ? problem.isEmpty() && ValidBars(bars) : !problem.isEmpty());

    // The second line as a ZIP, the third as the address line.
    const QString routing = TImbCode::Routing(second, third);
    Require(TImbCode::RoutingProblem(routing).isEmpty());

    // The first line cut into parts, the serial from the input's length.
    const QString tracking = TImbCode::Tracking(first.left(2), first.mid(2, 3), first.mid(5, 9),
                                                std::int64_t(size) * 7919 - 100, &problem);
    if (!tracking.isEmpty()) {
        Require(problem.isEmpty());
        Require(TImbCode::Encode(tracking, routing, &bars, &problem));
    } else {
        Require(!problem.isEmpty());
    }
    return 0;
}
