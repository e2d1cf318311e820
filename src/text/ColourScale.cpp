// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ColourScale.h"

#include <algorithm>
#include <cstddef>
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

RankScale rankScale(const std::vector<double>& values, bool smallerIsBetter, int maxSteps)
{
    RankScale scale;
    scale.stepOf.assign(values.size(), -1);
    std::vector<size_t> order;  // the finite values, worst first
    for (size_t i = 0; i < values.size(); ++i)
        if (std::isfinite(values[i]))
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return smallerIsBetter ? values[a] > values[b] : values[a] < values[b];
    });
    size_t distinct = 0;
    for (size_t k = 0; k < order.size(); ++k)
        if (k == 0 || values[order[k]] != values[order[k - 1]])
            ++distinct;
    const size_t steps = std::min(distinct, static_cast<size_t>(std::max(maxSteps, 1)));
    if (steps == 0)
        return scale;
    // Equal values share a step, placed by the middle of their positions; the steps are then
    // numbered densely, so that none is left without a value.
    std::vector<size_t> raw(order.size());
    for (size_t first = 0; first < order.size();) {
        size_t last = first;
        while (last + 1 < order.size() && values[order[last + 1]] == values[order[first]])
            ++last;
        for (size_t k = first; k <= last; ++k)
            raw[k] = (first + last) * steps / (2 * order.size());
        first = last + 1;
    }
    int step = -1;
    for (size_t k = 0; k < order.size(); ++k) {
        if (k == 0 || raw[k] != raw[k - 1])
            ++step;
        scale.stepOf[order[k]] = step;
    }
    const int used = step + 1;
    for (int s = 0; s < used; ++s)
        scale.colours.push_back(used == 1 ? kWhite : divergingColour(2.0 * s / (used - 1) - 1, 1));
    return scale;
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
