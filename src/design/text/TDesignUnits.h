#pragma once

// Design units: every position and size of a design object is a 32-bit signed integer in design
// pixels, logical screen pixels at 100 % zoom. One inch is Ppi() design pixels: the primary
// screen's logical pixels per inch when a screen is present, else 96 (the command-line tool and
// tests). Layout streams hold design pixels as saved; the PPI itself is never stored.

#include <cstdint>

namespace qm::design {

class TDesignUnits {
public:
    static constexpr int kDefaultPpi = 96;

    // The PPI in force: an override set for tests, else the primary screen's logical DPI (when a
    // QGuiApplication with a screen exists), else kDefaultPpi.
    static int Ppi();
    // Forces a PPI (0 returns to the automatic choice). For tests and the tool.
    static void SetPpiOverride(int ppi);

    // Design pixels to inches at the current PPI.
    static double ToInches(std::int32_t pixels) { return double(pixels) / Ppi(); }

    // The nearest integer, halves to the even neighbour (the rounding of every design
    // computation that says "round").
    static std::int32_t Round(double value);
    // The fraction dropped.
    static std::int32_t Trunc(double value);
    // a * b / c rounded half away from zero, as font heights are derived from point sizes.
    static std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);
};

} // namespace qm::design
