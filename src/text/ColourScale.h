// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colours of the heatmaps (the month-by-year returns, the optimisation grid, the report's
// table): one diverging scale, green for gains and red for losses, stronger with the size.

#include <cstdint>
#include <string>

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

// The colour as "#RRGGBB".
std::string hexColour(Rgb colour);

// Black or white, whichever reads better on the colour.
Rgb textColourOn(Rgb background);

}  // namespace kv
