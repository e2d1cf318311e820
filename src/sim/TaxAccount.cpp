// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/TaxAccount.h"

#include <algorithm>

namespace kv {

namespace {

constexpr int32_t kCarryYears = 3;

}  // namespace

void TaxAccount::begin(double carriedLoss)
{
    *this = TaxAccount{};
    carriedIn = carriedLoss;
}

void TaxAccount::firstYear(int32_t year)
{
    if (carriedPlaced)
        return;
    carriedPlaced = true;
    if (carriedIn > 0)
        losses.push_back({year - 1, carriedIn});
}

// Closes the year in progress (its loss carried, or its gain set against the losses, oldest
// first) and opens `year` with the losses still usable in it.
void TaxAccount::enterYear(int32_t year)
{
    firstYear(year);
    if (current) {
        if (yearGains < 0) {
            losses.push_back({*current, -yearGains});
        } else {
            double gain = yearGains;
            for (Loss& loss : losses) {
                const double used = std::min(gain, loss.amount);
                loss.amount -= used;
                gain -= used;
            }
        }
    }
    current = year;
    std::erase_if(losses,
                  [&](const Loss& loss) { return loss.amount <= 0 || loss.year < year - kCarryYears; });
    yearStart = 0;
    for (const Loss& loss : losses)
        yearStart -= loss.amount;
    yearGains = 0;
    charged = 0;
}

double TaxAccount::tax(double gain, int32_t year, double taxRate)
{
    if (!current || year > *current)
        enterYear(year);
    yearGains += gain;
    const double due = taxRate * std::max(0.0, yearStart + yearGains) - charged;
    charged += due;
    return due;
}

}  // namespace kv
