// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colours of the heatmaps (the month-by-year returns, the optimisation grid, the report's
// table): one diverging scale, green for gains and red for losses, stronger with the size.

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

struct Rgb {
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;

    bool operator==(const Rgb&) const = default;
};

// White at 0, full green at +scale and beyond, full red at −scale and beyond, in between mixed
// linearly. A value that is not finite, or a scale that is not above 0, gives white.
Rgb divergingColour(double value, double scale);

// Colours by rank within a set of figures: the values, ordered from worst to best, fall into
// steps that each hold about the same number of them (equal values in the same step), at most
// `maxSteps` and never more than there are distinct values. The steps' colours run from full red
// (worst) through white to full green (best), so one outlying figure takes one step and the rest
// keep telling better from worse.
struct RankScale {
    std::vector<int> stepOf;   // by value: its step (0 the worst), −1 for a value not finite
    std::vector<Rgb> colours;  // by step
};
RankScale rankScale(const std::vector<double>& values, bool smallerIsBetter, int maxSteps = 7);

// The colour as "#RRGGBB".
std::string hexColour(Rgb colour);

// Black or white, whichever reads better on the colour.
Rgb textColourOn(Rgb background);

}  // namespace kv
