// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ColourScale.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGain{26, 152, 80};
constexpr Rgb kLoss{215, 48, 39};

uint8_t mix(uint8_t from, uint8_t to, double share)
{
    return static_cast<uint8_t>(std::lround(from + (to - from) * share));
}

}  // namespace

Rgb divergingColour(double value, double scale)
{
    if (!std::isfinite(value) || !std::isfinite(scale) || !(scale > 0) || value == 0)
        return kWhite;
    double share = std::min(std::fabs(value) / scale, 1.0);
    const Rgb& end = value > 0 ? kGain : kLoss;
    return {mix(kWhite.red, end.red, share), mix(kWhite.green, end.green, share),
            mix(kWhite.blue, end.blue, share)};
}

std::string hexColour(Rgb colour)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (uint8_t part : {colour.red, colour.green, colour.blue}) {
        text += digits[part >> 4];
        text += digits[part & 0x0F];
    }
    return text;
}

Rgb textColourOn(Rgb background)
{
    // Relative brightness with the usual weights of the three channels.
    double brightness = 0.299 * background.red + 0.587 * background.green + 0.114 * background.blue;
    return brightness < 140 ? kWhite : Rgb{0, 0, 0};
}

}  // namespace kv
